#include "CliArgs.h"
#include "Commands.h"
#include "ScanFile.h"
#include "TerminalText.h"

#include "material/MaterialLines.h"

#include <cstdio>
#include <string_view>

namespace tintara::cli {
namespace {

constexpr const char* ListHelp =
    "Usage: tintara-cli list [--show PROPERTY] [--scenery | --model] FILE\n"
    "\n"
    "Prints the material list of a model or scenery file, one line per material,\n"
    "then the count of materials found.\n"
    "\n"
    "  --show PROPERTY  diffuse (default), ambient, specular, emissive or specularity\n"
    "  --scenery        mark lines OBJ, as for a scenery file (the default for .bgl)\n"
    "  --model          mark lines LOD, as for a model file (the default otherwise)\n";

int PropertyIndex(const std::string& name) {
    static const char* const names[] = {"diffuse", "ambient", "specular", "emissive",
                                        "specularity"};
    for (int i = 0; i < 5; ++i)
        if (name == names[i])
            return i;
    throw BadInput("unknown property '" + name +
                   "' (use diffuse, ambient, specular, emissive or specularity)");
}

// A ".bgl" file, in any letter case, is listed as scenery, as the editor opens it.
bool IsSceneryFileName(const std::string& file) {
    const std::string_view suffix = ".bgl";
    if (file.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = file[file.size() - suffix.size() + i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != suffix[i])
            return false;
    }
    return true;
}

} // namespace

int RunList(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const ParsedArgs args = ParseArgs(words, {"--show"}, {"--scenery", "--model"});
    if (args.help) {
        out << ListHelp;
        return ExitOk;
    }
    const int property = PropertyIndex(args.value("--show").value_or("diffuse"));
    if (args.has("--scenery") && args.has("--model"))
        throw BadInput("options --scenery and --model exclude each other");
    const std::string file = RequireOneFile(args);
    const bool scenery = args.has("--scenery") || (!args.has("--model") && IsSceneryFileName(file));

    MaterialTable table;
    if (!ScanFileForCommand(file, table, err))
        return ExitFailure;
    WarnOfInterruptedSave(file, err);
    const MaterialLines lines = BuildMaterialLines(BlockPrefix(scenery), table, property);
    for (const std::string& line : lines.lines)
        out << line << '\n';
    if (lines.error) {
        err << ReadProblemMessage << '\n';
        const MaterialRecord& bad = table[lines.lines.size()];
        char place[64];
        std::snprintf(place, sizeof place, " in the material at offset 0x%08llX",
                      static_cast<unsigned long long>(bad.FileOffset));
        ReportError(err, *lines.error + place + " of '" + file + "'");
        return ExitFailure;
    }
    out << CountLabelText(table.count()) << '\n';
    return ExitOk;
}

} // namespace tintara::cli
