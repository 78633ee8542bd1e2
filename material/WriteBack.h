#pragma once
// Writes the modified entries of the material table back into the file, in place, and
// nothing else: for each entry, the fields its edits changed, over the bytes the scan
// read. The file never changes length.
//
// A save is safe against other programs and against interruption:
// - it holds the file's save lock from before it reads anything back until its journal
//   is gone, so two saves never interleave, and one running is never taken for one
//   interrupted;
// - it refuses, writing nothing, when the file's size differs from the scan's, or when
//   any list header or any entry it would write no longer holds the bytes the scan read
//   (an entry that already holds the new bytes counts as matching and is left alone, so
//   a save that failed part-way can be repeated);
// - before the first byte changes, it writes a journal (see SaveJournal.h and
//   JournalPlaces.h) holding, for each entry it writes, the bytes read back under the
//   lock and the new ones, and syncs it; it then writes, syncs the file and removes the
//   journal. A journal left behind lets the save be finished or rolled back;
// - after the last write it checks that the path still names the file written.

#include "MaterialTable.h"
#include "RandomAccessFile.h"
#include "SaveJournal.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace tintara {

struct WriteBackResult {
    bool ok = false;
    std::size_t entriesWritten = 0;
    std::string error;              // names the file and the system's reason when !ok
    bool fileChanged = false;       // true when bytes of the file were changed, even if !ok
    std::vector<std::string> notes; // journals ignored or removed on the way, one line each
};

// How the messages tell the user what to do next: the editor's words by default.
struct SaveWording {
    const char* retry = "rescan the file and make the changes again";
    const char* settleFirst = "rescan the file to deal with it first";
    const char* nextTime = "the next time the file is scanned";
};

// Never changes the table.
WriteBackResult WriteModifiedMaterials(const std::filesystem::path& path,
                                       const MaterialTable& table, const SaveWording& words = {});

// The same over any file and journal (tests use in-memory and failing ones).
WriteBackResult WriteModifiedMaterials(RandomAccessFile& file, JournalStore& journal,
                                       const MaterialTable& table, const SaveWording& words = {});

// The 68 bytes a save writes for an entry: the bytes the scan read, with the fields the
// edits changed (all of them when the entry is Modified with no field marked) encoded
// from the record's values.
void ComposeMaterialEntry(const MaterialRecord& record, unsigned char* bytes);

// The 68 bytes of one entry made from the record's values alone.
void EncodeMaterialEntry(const MaterialRecord& record, unsigned char* bytes);

enum class Recovery { Finish, RollBack };

struct RecoveryResult {
    bool ok = false;
    std::size_t entries = 0;
    std::string error;
    std::vector<std::string> notes; // journals ignored or removed, one line each
};

// Finishes an interrupted save (writes the new bytes) or rolls it back (writes the old
// ones), under the save lock, then removes the journal. A journal whose entries hold
// other bytes than their old or new ones (or a mixture of the two, which a write cut
// short leaves), or that is not ours (see PendingSave.h), is reported and never
// applied; a torn one is removed, since its save never touched the file.
RecoveryResult RecoverInterruptedSave(const std::filesystem::path& path, Recovery action);
RecoveryResult RecoverInterruptedSave(RandomAccessFile& file, JournalStore& journal,
                                      Recovery action);

} // namespace tintara
