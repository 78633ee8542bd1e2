#pragma once
// Where the journal of a save goes and where scans look for one. A journal lies beside
// the file its path resolves to, so every name of the file (a link, a relative path)
// finds it; where no file can be made there (a folder the user cannot write, a full
// disk, a name too long) it lies in the user's own state folder instead. Either way the
// state folder also holds a record under the file's identity (device and inode, or
// volume serial and file index on Windows), which is how hard links find it.

#include "FileStamp.h"

#include <filesystem>
#include <vector>

namespace tintara {

// $XDG_STATE_HOME/tintara, or ~/.local/state/tintara without it; %LOCALAPPDATA%\Tintara
// on Windows. Empty when the environment names no such folder.
std::filesystem::path UserStateFolder();

struct JournalPlaces {
    std::filesystem::path beside;  // "<resolved path>.tintara-journal"
    std::filesystem::path inState; // "<state>/<identity>.tintara-journal"; empty without state
    std::filesystem::path record;  // "<state>/<identity>.tintara-where"; empty without state
};

// `identity` is the stamp of the open file.
JournalPlaces JournalPlacesFor(const std::filesystem::path& model, const FileStamp& identity);

// "<resolved path>.tintara-journal": the journal beside the file the path names.
std::filesystem::path JournalPathFor(const std::filesystem::path& model);

// Every place a journal of the file may be now: beside it, in the state folder, and
// where the record says; each once.
std::vector<std::filesystem::path> JournalCandidates(const JournalPlaces& places);

// Writes the record naming `journal` (replacing an earlier one) and syncs it; throws
// IoError.
void WriteJournalRecord(const JournalPlaces& places, const std::filesystem::path& journal);
// Removes the record if it names `journal`; a record that is already gone is fine.
void RemoveJournalRecord(const JournalPlaces& places, const std::filesystem::path& journal);

} // namespace tintara
