#include "CliArgs.h"
#include "Commands.h"
#include "JsonText.h"
#include "ScanFile.h"

#include "material/ModelWalk.h"

namespace tintara::cli {
namespace {

constexpr const char* DumpHelp =
    "Usage: tintara-cli dump FILE\n"
    "\n"
    "Writes every material of a model or scenery file as JSON: its number, list,\n"
    "offset, the four colours as [red, green, blue, alpha] floats, the textures and\n"
    "triangles the model's drawing code uses it with, and the power. \"model\" tells\n"
    "the file's format and whether its drawing code could be followed.\n";

void WriteColour(std::ostream& out, const char* name, const MaterialRecord& r, int slot) {
    out << ", " << JsonString(name) << ": [" << JsonFloat(r.Red[slot]) << ", "
        << JsonFloat(r.Green[slot]) << ", " << JsonFloat(r.Blue[slot]) << ", "
        << JsonFloat(r.Alpha[slot]) << "]";
}

} // namespace

int RunDump(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const ParsedArgs args = ParseArgs(words, {}, {});
    if (args.help) {
        out << DumpHelp;
        return ExitOk;
    }
    const std::string file = RequireOneFile(args);
    MaterialTable table;
    if (!ScanFileForCommand(file, table, err))
        return ExitFailure;
    WarnOfInterruptedSave(file, err);

    const ModelWalk walk = WalkModelFile(CommandPath(file), table);

    out << "{\"file\": " << JsonString(file)
        << ", \"model\": {\"format\": " << JsonString(ModelFormatName(walk.format))
        << ", \"walked\": " << (walk.walked ? "true" : "false");
    if (!walk.walked)
        out << ", \"problem\": " << JsonString(walk.problem);
    out << "}, \"materials\": [";
    for (std::size_t i = 0; i < table.count(); ++i) {
        const MaterialRecord& r = table[i];
        out << (i == 0 ? "\n" : ",\n") << "  {\"number\": " << i + 1
            << ", \"list\": " << r.ListNumber << ", \"offset\": " << r.FileOffset;
        WriteColour(out, "diffuse", r, Diffuse);
        WriteColour(out, "ambient", r, Ambient);
        WriteColour(out, "specular", r, Specular);
        WriteColour(out, "emissive", r, Emissive);
        const MaterialUse& use = walk.uses[i];
        out << ", \"textures\": [";
        for (std::size_t t = 0; t < use.textures.size(); ++t)
            out << (t == 0 ? "" : ", ") << JsonString(use.textures[t]);
        out << "], \"triangles\": " << use.triangles;
        out << ", \"power\": " << JsonFloat(r.Power) << "}";
    }
    out << (table.empty() ? "]}\n" : "\n]}\n");
    return ExitOk;
}

} // namespace tintara::cli
