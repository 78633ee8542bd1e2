#pragma once
// Scanning the file a command names, with the tool's error reporting.

#include "material/MaterialTable.h"

#include <filesystem>
#include <ostream>
#include <string>

namespace tintara::cli {

// Scans `file` into `table`. Any problem with the file (it cannot be opened, is not a
// regular file, cannot be read as a model) is reported on `err` with the reason and the
// place, and gives false.
bool ScanFileForCommand(const std::string& file, MaterialTable& table, std::ostream& err);

// Reports on `err` when an earlier save of `file` was interrupted; returns whether.
bool WarnOfInterruptedSave(const std::string& file, std::ostream& err);

// The path for a file name given on the command line (UTF-8 on Windows, the file
// name's own bytes elsewhere).
std::filesystem::path CommandPath(const std::string& file);

} // namespace tintara::cli
