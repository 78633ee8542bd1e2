#include "WriteBack.h"

#include "Conversions.h"
#include "PendingSave.h"

#include <array>
#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace tintara {
namespace {

using EntryBytes = std::array<unsigned char, MaterialEntrySize>;

std::string Quoted(const std::string& name) {
    std::string text;
    return text.append("'").append(name).append("'");
}

std::string HexOffset(std::uint64_t offset) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%08" PRIX64, offset);
    return text;
}

// Built by appending throughout: GCC 12 misreports "literal" + string at -O3.
std::string ChangedMessage(const std::string& name, const SaveWording& words) {
    std::string text = Quoted(name);
    return text
        .append(" was changed by another program after it was read. Nothing was "
                "written; ")
        .append(words.retry)
        .append(".");
}

bool Inside(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
    return offset <= size && size - offset >= length;
}

// One entry of a save: where, what the scan read, what goes there, what is there now
// (read back under the lock).
struct PlannedEntry {
    std::uint64_t offset = 0;
    EntryBytes before{};
    EntryBytes after{};
    EntryBytes now{};
};

} // namespace

void EncodeMaterialEntry(const MaterialRecord& record, unsigned char* bytes) {
    for (int slot = 0; slot < ColourSlotCount; ++slot) {
        unsigned char* colour = bytes + 16 * slot;
        EncodeFloatLE(record.Red[slot], colour);
        EncodeFloatLE(record.Green[slot], colour + 4);
        EncodeFloatLE(record.Blue[slot], colour + 8);
        EncodeFloatLE(record.Alpha[slot], colour + 12);
    }
    EncodeFloatLE(record.Power, bytes + 64);
}

void ComposeMaterialEntry(const MaterialRecord& record, unsigned char* bytes) {
    const std::uint32_t fields =
        record.ChangedFields != 0 ? record.ChangedFields : (record.Modified != 0 ? AllFields : 0);
    EntryBytes encoded{};
    EncodeMaterialEntry(record, encoded.data());
    for (int field = 0; field < 17; ++field) {
        const unsigned char* from = (fields & (1u << field)) ? encoded.data() + 4 * field
                                                             : record.Stored.data() + 4 * field;
        std::memcpy(bytes + 4 * field, from, 4);
    }
}

WriteBackResult WriteModifiedMaterials(RandomAccessFile& file, JournalStore& journal,
                                       const MaterialTable& table, const SaveWording& words) {
    WriteBackResult result;
    std::vector<PlannedEntry> plan;
    try {
        // Everything below reads and writes under the lock, so no other save runs
        // between the comparison and the journal, nor while the journal exists.
        if (!file.lockForSave()) {
            result.error = SaveRunningMessage(file.name());
            return result;
        }
        if (journal.exists()) {
            result.error.append("An earlier save of ").append(Quoted(file.name()));
            result.error.append(" was interrupted and has not been finished or rolled back (")
                .append(Quoted(journal.name()))
                .append("). Nothing was written; ")
                .append(words.settleFirst)
                .append(".");
            return result;
        }
        // Offsets come from the last scan: the file must still hold, at every place the
        // save relies on, what that scan read there.
        const FileStamp now = file.stamp();
        if (!table.stamp().valid || now.size != table.stamp().size) {
            result.error = ChangedMessage(file.name(), words);
            return result;
        }
        for (const MaterialRecord& record : table.records()) {
            if (record.Modified == 0)
                continue;
            if (record.FileOffset < 0 || !Inside(static_cast<std::uint64_t>(record.FileOffset),
                                                 MaterialEntrySize, now.size)) {
                result.error.append("A material at offset ")
                    .append(std::to_string(record.FileOffset))
                    .append(" lies beyond the end of ")
                    .append(Quoted(file.name()))
                    .append(". Nothing was written.");
                return result;
            }
            PlannedEntry entry;
            entry.offset = static_cast<std::uint64_t>(record.FileOffset);
            entry.before = record.Stored;
            ComposeMaterialEntry(record, entry.after.data());
            plan.push_back(entry);
        }
        for (const ListHeader& header : table.listHeaders()) {
            std::array<unsigned char, 8> bytes{};
            if (header.offset < 0 ||
                !Inside(static_cast<std::uint64_t>(header.offset), bytes.size(), now.size)) {
                result.error = ChangedMessage(file.name(), words);
                return result;
            }
            file.readAt(static_cast<std::uint64_t>(header.offset), bytes);
            if (bytes != header.bytes) {
                result.error = ChangedMessage(file.name(), words);
                return result;
            }
        }
        for (PlannedEntry& entry : plan) {
            file.readAt(entry.offset, entry.now);
            if (entry.now != entry.before && entry.now != entry.after) {
                result.error = ChangedMessage(file.name(), words);
                return result;
            }
        }
        // An entry that holds its new bytes already is neither journalled nor written,
        // so a rollback never touches what this save did not write.
        std::erase_if(plan, [](const PlannedEntry& entry) { return entry.now == entry.after; });
        if (plan.empty()) {
            result.ok = true;
            return result;
        }

        Journal record{now.size, {}};
        for (const PlannedEntry& entry : plan)
            record.entries.push_back({entry.offset, entry.now, entry.after});
        try {
            journal.write(EncodeJournal(record));
        } catch (const IoError& error) {
            result.error.append("Cannot save ").append(Quoted(file.name()));
            result.error.append(": its journal could not be written (")
                .append(error.what())
                .append("). Nothing was written.");
            return result;
        }

        try {
            for (const PlannedEntry& entry : plan) {
                result.fileChanged = true;
                file.writeAt(entry.offset, entry.after);
            }
            file.sync();
        } catch (const IoError& error) {
            result.error = error.what();
            // Put back what the file held while the journal still holds it. An entry
            // that still holds it is left alone: where writing failed (past the file
            // size limit, say), writing again would fail too.
            try {
                for (const PlannedEntry& entry : plan) {
                    EntryBytes there{};
                    file.readAt(entry.offset, there);
                    if (there != entry.now)
                        file.writeAt(entry.offset, entry.now);
                }
                file.sync();
                journal.remove();
                result.fileChanged = false;
                result.error.append(". Nothing was changed: the old bytes were put back.");
            } catch (const IoError&) {
                result.error.append(". The save was interrupted; ")
                    .append(Quoted(journal.name()))
                    .append(" holds what is needed to finish it or roll it back ")
                    .append(words.nextTime)
                    .append(".");
            }
            return result;
        }
        result.entriesWritten = plan.size();
        try {
            journal.remove();
        } catch (const IoError& error) {
            result.error.append("The materials were written to ").append(Quoted(file.name()));
            result.error.append(", but the last step of the save failed: ").append(error.what());
            return result;
        }
        if (!file.pathNamesThisFile()) {
            result.error.append("The materials were written, but ").append(Quoted(file.name()));
            result.error.append(" no longer names the file that was written: it was renamed "
                                "or replaced during the save.");
            return result;
        }
        file.close();
    } catch (const IoError& error) {
        result.error = error.what();
        return result;
    }
    result.ok = true;
    return result;
}

WriteBackResult WriteModifiedMaterials(const std::filesystem::path& path,
                                       const MaterialTable& table, const SaveWording& words) {
    if (!table.anyModified())
        return {true, 0, {}, false, {}};
    try {
        DiskFile file(path);
        if (!file.lockForSave())
            return {false, 0, SaveRunningMessage(file.name()), false, {}};
        const PendingSave pending = InspectPendingSave(file.regular(), true, TornJournals::Remove);
        DiskJournal journal = pending.state == PendingState::Interrupted
                                  ? DiskJournal(path, pending.places, pending.journal)
                                  : DiskJournal(path, pending.places, pending.besideUsable);
        WriteBackResult result = WriteModifiedMaterials(file, journal, table, words);
        result.notes = pending.notes;
        return result;
    } catch (const IoError& error) {
        return {false, 0, error.what(), false, {}};
    }
}

RecoveryResult RecoverInterruptedSave(RandomAccessFile& file, JournalStore& journal,
                                      Recovery action) {
    RecoveryResult result;
    const auto mismatch = [&](const std::string& why) {
        result.error.append("The journal ").append(Quoted(journal.name()));
        result.error.append(" does not match ")
            .append(Quoted(file.name()))
            .append(" (")
            .append(why)
            .append("); it was not applied.");
        return result;
    };
    try {
        if (!file.lockForSave()) {
            result.error = SaveRunningMessage(file.name());
            return result;
        }
        if (!journal.exists()) {
            result.error.append("No save of ").append(Quoted(file.name()));
            result.error.append(" was interrupted; there is nothing to recover.");
            return result;
        }
        const std::optional<Journal> decoded = DecodeJournal(journal.read());
        if (!decoded) {
            // Torn while it was written: its save never wrote to the file.
            journal.remove();
            result.notes.push_back(UnfinishedSaveNote(file.name()));
            result.ok = true;
            return result;
        }
        const FileStamp now = file.stamp();
        if (now.size != decoded->fileSize)
            return mismatch("the file's size has changed");
        std::vector<EntryBytes> current(decoded->entries.size());
        for (std::size_t i = 0; i < decoded->entries.size(); ++i) {
            const JournalEntry& entry = decoded->entries[i];
            if (!Inside(entry.offset, MaterialEntrySize, now.size))
                return mismatch("an entry lies beyond the end of the file");
            file.readAt(entry.offset, current[i]);
            // Byte by byte: a write cut short leaves a mixture of the two.
            bool mixture = true;
            for (std::size_t b = 0; b < current[i].size(); ++b)
                mixture = mixture &&
                          (current[i][b] == entry.before[b] || current[i][b] == entry.after[b]);
            if (!mixture)
                return mismatch("the material at offset " + HexOffset(entry.offset) +
                                " holds neither its old nor its new bytes");
        }
        for (std::size_t i = 0; i < decoded->entries.size(); ++i) {
            const JournalEntry& entry = decoded->entries[i];
            const EntryBytes& target = action == Recovery::Finish ? entry.after : entry.before;
            if (current[i] != target)
                file.writeAt(entry.offset, target);
        }
        file.sync();
        journal.remove();
        file.close();
        result.entries = decoded->entries.size();
    } catch (const IoError& error) {
        result.error = error.what();
        return result;
    }
    result.ok = true;
    return result;
}

RecoveryResult RecoverInterruptedSave(const std::filesystem::path& path, Recovery action) {
    RecoveryResult result;
    try {
        DiskFile file(path);
        if (!file.lockForSave()) {
            result.error = SaveRunningMessage(file.name());
            return result;
        }
        const PendingSave pending = InspectPendingSave(file.regular(), true, TornJournals::Remove);
        if (pending.state != PendingState::Interrupted) {
            result.notes = pending.notes;
            // A torn journal removed: the file is as it was before that save, which is
            // all there was to recover.
            result.ok = pending.tornRemoved > 0;
            if (!result.ok)
                result.error.append("No save of ")
                    .append(Quoted(file.name()))
                    .append(" was interrupted; there is nothing to recover.");
            return result;
        }
        DiskJournal journal(path, pending.places, pending.journal);
        result = RecoverInterruptedSave(file, journal, action);
        result.notes.insert(result.notes.begin(), pending.notes.begin(), pending.notes.end());
    } catch (const IoError& error) {
        result.error = error.what();
    }
    return result;
}

} // namespace tintara
