#include "ScanFile.h"

#include "CliArgs.h"
#include "Commands.h"

#include "TerminalText.h"

#include "material/MaterialScanner.h"
#include "material/PendingSave.h"
#include "material/WriteBack.h"

namespace tintara::cli {

std::filesystem::path CommandPath(const std::string& file) {
#ifdef _WIN32
    // The tool's words are UTF-8 on Windows (see main.cpp), so any file name works,
    // not only those of the ANSI code page.
    return std::filesystem::path(std::u8string(file.begin(), file.end()));
#else
    // Arguments arrive as the bytes of the file name, which is what the path holds.
    return std::filesystem::path(file);
#endif
}

bool ScanFileForCommand(const std::string& file, MaterialTable& table, std::ostream& err) {
    const ScanResult result = ScanMaterialFile(CommandPath(file), table);
    switch (result.status) {
    case ScanStatus::Ok:
        return true;
    case ScanStatus::OpenFailed:
        ReportError(err, result.message);
        return false;
    case ScanStatus::ReadFailed:
    case ScanStatus::BadFloat:
        break;
    }
    err << ReadProblemMessage << '\n';
    ReportError(err, result.message);
    return false;
}

const SaveWording CommandWording{"run the command again",
                                 "run 'tintara-cli recover' with --finish or --rollback first",
                                 "the next time the file is opened"};

std::optional<PendingSave> PendingSaveFor(const std::string& file, TornJournals torn) {
    try {
        return InspectPendingSave(CommandPath(file), torn);
    } catch (const IoError&) {
        return std::nullopt; // the scan or the save reports why the file cannot be used
    }
}

bool WarnOfInterruptedSave(const std::string& file, std::ostream& err) {
    const std::optional<PendingSave> pending = PendingSaveFor(file, TornJournals::Keep);
    if (!pending)
        return false;
    for (const std::string& note : pending->notes)
        ReportError(err, "warning: " + note);
    switch (pending->state) {
    case PendingState::None:
        return false;
    case PendingState::SaveRunning:
        ReportError(err, "warning: " + SaveRunningMessage(file));
        return true;
    case PendingState::Interrupted:
        break;
    }
    ReportError(err, "warning: an earlier save of '" + file +
                         "' was interrupted; run 'tintara-cli recover' with --finish or "
                         "--rollback to complete it or undo it");
    return true;
}

} // namespace tintara::cli
