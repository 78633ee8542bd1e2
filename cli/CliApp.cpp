#include "CliApp.h"

#include "CliArgs.h"
#include "Commands.h"
#include "TerminalText.h"

#include <exception>

namespace tintara::cli {
namespace {

constexpr const char* ToolHelp =
    "Usage: tintara-cli COMMAND [OPTIONS] FILE\n"
    "\n"
    "Lists and edits the materials of flight simulator model (.mdl) and scenery\n"
    "(.bgl) files.\n"
    "\n"
    "Commands:\n"
    "  list   print the material list, as the editor's window shows it\n"
    "  dump   write every material as JSON\n"
    "  set    change colours or the power of materials, in place\n"
    "  recover  finish or undo a save that was interrupted\n"
    "\n"
    "Exit status: 0 done, 1 a problem with the file, 2 bad arguments.\n"
    "Run 'tintara-cli COMMAND --help' for a command's options.\n";

} // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << ToolHelp;
        return ExitBadInput;
    }
    const std::string& command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    try {
        if (command == "--help" || command == "-h" || command == "help") {
            out << ToolHelp;
            return ExitOk;
        }
        if (command == "list")
            return RunList(rest, out, err);
        if (command == "dump")
            return RunDump(rest, out, err);
        if (command == "set")
            return RunSet(rest, out, err);
        if (command == "recover")
            return RunRecover(rest, out, err);
        throw BadInput("unknown command '" + command + "' (try tintara-cli --help)");
    } catch (const BadInput& error) {
        ReportError(err, error.what());
        return ExitBadInput;
    } catch (const std::exception& error) {
        ReportError(err, error.what());
        return ExitFailure;
    }
}

} // namespace tintara::cli
