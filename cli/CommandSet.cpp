#include "CliArgs.h"
#include "Commands.h"
#include "ScanFile.h"

#include "material/Conversions.h"
#include "material/MaterialLines.h"
#include "material/WriteBack.h"

#include <cinttypes>
#include <cstdio>
#include <system_error>

namespace tintara::cli {
namespace {

constexpr const char* SetHelp =
    "Usage: tintara-cli set FILE --materials LIST [--diffuse R,G,B,A]\n"
    "         [--ambient R,G,B,A] [--specular R,G,B,A] [--emissive R,G,B,A]\n"
    "         [--power X] [--backup]\n"
    "\n"
    "Changes materials in place and writes only those entries back into the file.\n"
    "\n"
    "  --materials LIST  material numbers as the list shows them, like 3 or 1,4-6\n"
    "  --diffuse R,G,B,A and the other colours: byte values from 0 to 255\n"
    "  --power X         specular power, stored as the nearest 32-bit float\n"
    "  --backup          first copy FILE to FILE.bak (never overwrites one)\n"
    "\n"
    "Colours and the power that are not named keep their stored values exactly.\n";

constexpr const char* ColourOptions[] = {"--diffuse", "--ambient", "--specular", "--emissive"};

std::string Offset(std::int64_t offset) {
    char text[32];
    std::snprintf(text, sizeof text, "%08" PRIX64, static_cast<std::uint64_t>(offset));
    return text;
}

void MakeBackup(const std::string& file) {
    const auto source = CommandPath(file);
    const auto backup = CommandPath(file + ".bak");
    std::error_code error;
    if (std::filesystem::exists(backup, error) || error)
        throw BadInput("backup '" + file + ".bak' already exists; move it away first");
    // copy_file creates the copy only when it does not exist, so a file appearing
    // meanwhile is not overwritten either.
    if (!std::filesystem::copy_file(source, backup, std::filesystem::copy_options::none, error))
        throw BadInput("cannot create backup '" + file + ".bak': " + error.message());
}

} // namespace

int RunSet(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const ParsedArgs args = ParseArgs(
        words, {"--materials", "--diffuse", "--ambient", "--specular", "--emissive", "--power"},
        {"--backup"});
    if (args.help) {
        out << SetHelp;
        return ExitOk;
    }
    const std::string file = RequireOneFile(args);
    const auto materials = args.value("--materials");
    if (!materials)
        throw BadInput("--materials is required");

    // Check every value before the file is read, so bad input never touches it.
    std::optional<std::array<int, 4>> colours[4];
    for (int slot = 0; slot < 4; ++slot)
        if (const auto text = args.value(ColourOptions[slot]))
            colours[slot] = ParseChannels(ColourOptions[slot], *text);
    std::optional<float> power;
    if (const auto text = args.value("--power")) {
        const double value = ParseNumber("--power", *text);
        if (value > FloatGuardLimit || value < -3.4028234663852886e38)
            throw BadInput("--power must lie between -3.4e38 and 1111111111");
        power = static_cast<float>(value);
    }
    bool anyChange = power.has_value();
    for (const auto& c : colours)
        anyChange = anyChange || c.has_value();
    if (!anyChange)
        throw BadInput("nothing to set: give a colour option or --power");

    MaterialTable table;
    if (!ScanFileForCommand(file, table, err))
        return ExitFailure;
    const std::vector<std::size_t> numbers = ParseMaterialList(*materials, table.count());

    if (args.has("--backup"))
        MakeBackup(file);

    for (const std::size_t number : numbers) {
        MaterialRecord& r = table[number - 1];
        for (int slot = 0; slot < 4; ++slot) {
            if (!colours[slot])
                continue;
            r.Red[slot] = ByteToChannel((*colours[slot])[0]);
            r.Green[slot] = ByteToChannel((*colours[slot])[1]);
            r.Blue[slot] = ByteToChannel((*colours[slot])[2]);
            r.Alpha[slot] = ByteToChannel((*colours[slot])[3]);
        }
        if (power)
            r.Power = *power;
        r.Modified = 1;
    }

    const WriteBackResult result = WriteModifiedMaterials(CommandPath(file), table);
    if (!result.ok) {
        err << result.error << '\n';
        return ExitFailure;
    }
    for (const std::size_t number : numbers) {
        const MaterialRecord& r = table[number - 1];
        out << "material " << number << " (list " << r.ListNumber << ", offset "
            << Offset(r.FileOffset) << "):";
        for (int slot = 0; slot < 4; ++slot)
            if (colours[slot]) {
                const auto& c = *colours[slot];
                out << ' ' << (ColourOptions[slot] + 2) << ' ' << c[0] << ',' << c[1] << ',' << c[2]
                    << ',' << c[3];
            }
        if (power)
            out << " power " << static_cast<double>(*power);
        out << '\n';
    }
    out << result.entriesWritten << (result.entriesWritten == 1 ? " material" : " materials")
        << " written to " << file << '\n';
    return ExitOk;
}

} // namespace tintara::cli
