#pragma once
// What a scan, a save or a recovery finds of other saves of a file: one running now
// (another program holds the save lock), one that was interrupted (its journal waits),
// and journals that are not to be used (torn before the model was touched, or not
// written by this program for this file).

#include "JournalPlaces.h"
#include "RegularFile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tintara {

enum class PendingState {
    None,
    SaveRunning, // another open of the file holds the save lock
    Interrupted, // a journal of ours waits to be finished or rolled back
};

// A torn journal (empty, cut short, failing its checksum) means its save never wrote to
// the model, since the journal is synced before the first write: it can go.
enum class TornJournals { Keep, Remove };

struct PendingSave {
    PendingState state = PendingState::None;
    std::filesystem::path journal; // the interrupted save's journal
    JournalPlaces places;
    // One line each, naming the file: journals ignored, torn journals removed.
    std::vector<std::string> notes;
    // False when a file that is not a journal of ours holds the place beside the model.
    bool besideUsable = true;
    std::size_t tornRemoved = 0; // torn journals removed
};

// "Another program is saving 'FILE' right now; try again when it has finished".
std::string SaveRunningMessage(const std::string& file);

// "An unfinished save of 'FILE' was found; it had not changed the file, and its journal
// was removed".
std::string UnfinishedSaveNote(const std::string& file);

// Looks at the open model. `lockHeld` when the caller holds the save lock on it.
// Throws IoError when the model cannot be examined.
PendingSave InspectPendingSave(const RegularFile& model, bool lockHeld, TornJournals torn);
// The same for a path, opened for reading.
PendingSave InspectPendingSave(const std::filesystem::path& model, TornJournals torn);

} // namespace tintara
