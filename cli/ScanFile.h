#pragma once
// Scanning the file a command names, with the tool's error reporting.

#include "material/MaterialTable.h"

#include <filesystem>
#include <ostream>
#include <string>

namespace tintara::cli {

// Scans `file` into `table`. A file that cannot be opened is bad input (throws
// BadInput naming the file and the reason); a file that cannot be read as a model
// is reported on `err` and gives false.
bool ScanFileForCommand(const std::string& file, MaterialTable& table, std::ostream& err);

// The path for a file name given on the command line (UTF-8 on Windows, the file
// name's own bytes elsewhere).
std::filesystem::path CommandPath(const std::string& file);

} // namespace tintara::cli
