#pragma once
// The tool's commands. Each takes the words after its name and returns the exit code;
// a BadInput it throws is reported by the caller.

#include "CliApp.h"

#include <ostream>
#include <string>
#include <vector>

namespace tintara::cli {

int RunList(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
int RunDump(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
int RunSet(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
int RunRecover(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// The message for a file that cannot be read as a model.
inline constexpr const char* ReadProblemMessage = "Sorry. Having a problem reading this MDL";

} // namespace tintara::cli
