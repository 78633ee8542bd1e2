#pragma once
// Scanning the file a command names, with the tool's error reporting.

#include "material/MaterialTable.h"
#include "material/PendingSave.h"
#include "material/WriteBack.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace tintara::cli {

// Scans `file` into `table`. Any problem with the file (it cannot be opened, is not a
// regular file, cannot be read as a model) is reported on `err` with the reason and the
// place, and gives false.
bool ScanFileForCommand(const std::string& file, MaterialTable& table, std::ostream& err);

// The tool's own words for what to do after a failed save.
extern const SaveWording CommandWording;

// What the file's journals and save lock say, or nothing when the file cannot be
// opened (the command's scan reports that).
std::optional<PendingSave> PendingSaveFor(const std::string& file, TornJournals torn);

// Reports on `err` when a save of `file` is running or was interrupted, and every
// journal ignored; returns whether a save is running or was interrupted.
bool WarnOfInterruptedSave(const std::string& file, std::ostream& err);

// The path for a file name given on the command line (UTF-8 on Windows, the file
// name's own bytes elsewhere).
std::filesystem::path CommandPath(const std::string& file);

} // namespace tintara::cli
