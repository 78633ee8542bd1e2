#include "CliArgs.h"
#include "Commands.h"
#include "ScanFile.h"

#include "TerminalText.h"

#include "material/Conversions.h"
#include "material/MaterialLines.h"
#include "material/RegularFile.h"
#include "material/WriteBack.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <optional>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <signal.h>
#include <unistd.h>
#endif

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
    "Exit status: 0 done, 1 a problem with the file (nothing or, as said, part\n"
    "written), 2 bad arguments (nothing opened).\n"
    "\n"
    "Colours and the power that are not named keep their stored values exactly.\n";

constexpr const char* ColourOptions[] = {"--diffuse", "--ambient", "--specular", "--emissive"};

std::string Offset(std::int64_t offset) {
    char text[32];
    std::snprintf(text, sizeof text, "%08" PRIX64, static_cast<std::uint64_t>(offset));
    return text;
}

long ProcessId() {
#ifdef _WIN32
    return static_cast<long>(GetCurrentProcessId());
#else
    return static_cast<long>(getpid());
#endif
}

bool ProcessRuns(long id) {
#ifdef _WIN32
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#else
    return id > 0 && (::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH);
#endif
}

// Removes the temporary copies "FILE.bak.<pid>.tintara-tmp" that runs killed during a
// backup left behind; those of runs still going are theirs.
void RemoveStaleBackupCopies(const std::filesystem::path& backup) {
    const std::string prefix = backup.filename().string() + ".";
    const std::string suffix = ".tintara-tmp";
    std::error_code error;
    const std::filesystem::path folder =
        backup.has_parent_path() ? backup.parent_path() : std::filesystem::path(".");
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const std::string id =
            name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (id.empty() || id.find_first_not_of("0123456789") != std::string::npos || id.size() > 9)
            continue;
        if (!ProcessRuns(std::stol(id))) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

// Copies the file to FILE.bak whole or not at all: into a temporary file in the same
// folder, synced, then given the backup's name without ever replacing an existing
// file. Any failure removes the temporary file; the message gives the system's reason.
bool MakeBackup(const std::string& file, std::ostream& err) {
    const auto source = CommandPath(file);
    const auto backup = CommandPath(file + ".bak");
    // Named for this run, so a copy left by a run that was killed never blocks the next.
    auto temporary = backup;
    // (Appended piece by piece: GCC 12 misreports "literal" + string at -O3.)
    temporary += std::string(".").append(std::to_string(ProcessId())).append(".tintara-tmp");
    try {
        RemoveStaleBackupCopies(backup);
        if (PathExists(backup)) {
            ReportError(err, "backup '" + file +
                                 ".bak' already exists; move it away first. "
                                 "Nothing was written");
            return false;
        }
        RegularFile from(source, RegularFile::Access::Read);
        CreateWholeFile(temporary, source, true, [&](NewFile& to) {
            std::vector<unsigned char> block(1 << 20);
            while (const std::size_t got = from.read(block))
                to.write(std::span(block.data(), got));
        });
        try {
            MoveNoReplace(temporary, backup);
        } catch (const IoError&) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw;
        }
        SyncFolderOf(backup);
    } catch (const IoError& error) {
        ReportError(err, std::string("cannot make the backup: ") + error.what() +
                             ". Nothing was written");
        return false;
    }
    return true;
}

// Marks the fields of the named colours and the power as changed and sets them.
void ApplyEdit(MaterialRecord& r, const std::optional<std::array<int, 4>> (&colours)[4],
               const std::optional<float>& power) {
    for (int slot = 0; slot < 4; ++slot) {
        if (!colours[slot])
            continue;
        r.Red[slot] = ByteToChannel((*colours[slot])[0]);
        r.Green[slot] = ByteToChannel((*colours[slot])[1]);
        r.Blue[slot] = ByteToChannel((*colours[slot])[2]);
        r.Alpha[slot] = ByteToChannel((*colours[slot])[3]);
        r.ChangedFields |= ColourFields(slot);
    }
    if (power) {
        r.Power = *power;
        r.ChangedFields |= PowerField;
    }
    r.Modified = 1;
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
        // Checked as stored: the nearest 32-bit float must read back as itself.
        const float stored = static_cast<float>(value);
        if (!std::isfinite(stored) || static_cast<double>(stored) > FloatGuardLimit)
            throw BadInput("--power must lie between -3.4e38 and 1111111040 (a stored power "
                           "above 1111111111 reads back as 0)");
        power = stored;
    }
    bool anyChange = power.has_value();
    for (const auto& c : colours)
        anyChange = anyChange || c.has_value();
    if (!anyChange)
        throw BadInput("nothing to set: give a colour option or --power");
    const std::vector<MaterialRange> ranges = ParseMaterialRanges(*materials);

    const auto path = CommandPath(file);
    std::vector<std::string> told; // each note once, though the save looks again
    if (const auto pending = PendingSaveFor(file, TornJournals::Remove)) {
        told = pending->notes;
        for (const std::string& note : told)
            ReportError(err, note);
        if (pending->state == PendingState::SaveRunning) {
            ReportError(err, SaveRunningMessage(file) + ". Nothing was written");
            return ExitFailure;
        }
        if (pending->state == PendingState::Interrupted) {
            ReportError(err, "an earlier save of '" + file +
                                 "' was interrupted; run 'tintara-cli recover' with --finish "
                                 "or --rollback first. Nothing was written");
            return ExitFailure;
        }
    }
    MaterialTable table;
    if (!ScanFileForCommand(file, table, err))
        return ExitFailure;
    const std::vector<std::size_t> numbers = ExpandMaterialRanges(ranges, table.count());

    const bool backup = args.has("--backup");
    if (backup && !MakeBackup(file, err))
        return ExitFailure;

    for (const std::size_t number : numbers)
        ApplyEdit(table[number - 1], colours, power);

    const WriteBackResult result = WriteModifiedMaterials(path, table, CommandWording);
    for (const std::string& note : result.notes)
        if (std::find(told.begin(), told.end(), note) == told.end())
            ReportError(err, note);
    if (!result.ok) {
        ReportError(err, result.error);
        if (backup)
            ReportError(err, "the backup '" + file + ".bak' made before the save was kept");
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
        << " written to " << ForTerminal(file) << '\n';
    out.flush();
    if (!out) {
        ReportError(err, "cannot write the output; '" + file + "' was changed as asked");
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace tintara::cli
