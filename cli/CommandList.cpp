#include "CliArgs.h"
#include "Commands.h"
#include "ScanFile.h"
#include "TerminalText.h"

#include "material/MaterialLines.h"
#include "material/ModelWalk.h"

#include <cstdio>
#include <string_view>

namespace tintara::cli {
namespace {

constexpr const char* ListHelp =
    "Usage: tintara-cli list [--show PROPERTY] [--scenery | --model] [--textures] FILE\n"
    "\n"
    "Prints the material list of a model or scenery file, one line per material,\n"
    "then the count of materials found.\n"
    "\n"
    "  --show PROPERTY  diffuse (default), ambient, specular, emissive or specularity\n"
    "  --scenery        mark lines OBJ, as for a scenery file (the default for .bgl)\n"
    "  --model          mark lines LOD, as for a model file (the default otherwise)\n"
    "  --textures       follow each line with the textures the model's drawing code\n"
    "                   uses the material with\n";

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
    const ParsedArgs args = ParseArgs(words, {"--show"}, {"--scenery", "--model", "--textures"});
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
    const ModelWalk walk =
        args.has("--textures") ? WalkModelFile(CommandPath(file), table) : ModelWalk{};
    for (std::size_t i = 0; i < lines.lines.size(); ++i) {
        out << lines.lines[i];
        const std::vector<std::string> none;
        const std::vector<std::string>& names = i < walk.uses.size() ? walk.uses[i].textures : none;
        for (std::size_t t = 0; t < names.size(); ++t)
            out << (t == 0 ? "  " : ", ") << ForTerminal(names[t]);
        out << '\n';
    }
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
