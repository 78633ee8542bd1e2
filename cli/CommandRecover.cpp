#include "CliArgs.h"
#include "Commands.h"
#include "ScanFile.h"
#include "TerminalText.h"

#include "material/WriteBack.h"

namespace tintara::cli {
namespace {

constexpr const char* RecoverHelp =
    "Usage: tintara-cli recover FILE --finish | --rollback\n"
    "\n"
    "Completes or undoes a save of FILE that was interrupted (a crash, a full disk),\n"
    "from the journal the save left beside it (FILE.tintara-journal) or, where that\n"
    "folder could take none, in the user's state folder.\n"
    "\n"
    "  --finish    write the new materials, as the save meant to\n"
    "  --rollback  put the old materials back, as before the save\n"
    "\n"
    "A journal that does not match the file is reported and never applied.\n";

} // namespace

int RunRecover(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const ParsedArgs args = ParseArgs(words, {}, {"--finish", "--rollback"});
    if (args.help) {
        out << RecoverHelp;
        return ExitOk;
    }
    const std::string file = RequireOneFile(args);
    if (args.has("--finish") == args.has("--rollback"))
        throw BadInput("give either --finish or --rollback");
    const Recovery action = args.has("--finish") ? Recovery::Finish : Recovery::RollBack;

    const RecoveryResult result = RecoverInterruptedSave(CommandPath(file), action);
    if (result.ok && result.entries == 0 && !result.notes.empty()) {
        // Only a torn journal: nothing had been written, and nothing is left to do.
        for (const std::string& note : result.notes)
            out << ForTerminal(note) << '\n';
        return ExitOk;
    }
    for (const std::string& note : result.notes)
        ReportError(err, "warning: " + note);
    if (!result.ok) {
        ReportError(err, result.error);
        return ExitFailure;
    }
    out << (action == Recovery::Finish ? "finished: " : "rolled back: ") << result.entries
        << (result.entries == 1 ? " material" : " materials") << " written to " << ForTerminal(file)
        << '\n';
    return ExitOk;
}

} // namespace tintara::cli
