#pragma once
// The command-line tool as a function, so tests run it in-process.

#include <ostream>
#include <string>
#include <vector>

namespace tintara::cli {

enum ExitCode : int { ExitOk = 0, ExitFailure = 1, ExitBadInput = 2 };

// Runs the tool with the arguments after the program name.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tintara::cli
