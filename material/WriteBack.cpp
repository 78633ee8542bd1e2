#include "WriteBack.h"

#include "Conversions.h"

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
std::string ChangedMessage(const std::string& name) {
    std::string text = Quoted(name);
    return text.append(" was changed by another program after it was read. Nothing was "
                       "written; rescan the file and make the changes again.");
}

bool Inside(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
    return offset <= size && size - offset >= length;
}

// One entry of a save: where, what the scan read, what goes there, what is there now.
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
        const unsigned char* from =
            (fields & (1u << field)) ? encoded.data() + 4 * field : record.Stored.data() + 4 * field;
        std::memcpy(bytes + 4 * field, from, 4);
    }
}

WriteBackResult WriteModifiedMaterials(RandomAccessFile& file, JournalStore& journal,
                                       const MaterialTable& table) {
    WriteBackResult result;
    std::vector<PlannedEntry> plan;
    try {
        if (journal.exists()) {
            result.error.append("An earlier save of ").append(Quoted(file.name()));
            result.error.append(" was interrupted and has not been finished or rolled back (")
                .append(Quoted(journal.name()))
                .append("). Nothing was written; rescan the file to deal with it first.");
            return result;
        }
        // Offsets come from the last scan: the file must still hold, at every place the
        // save relies on, what that scan read there.
        const FileStamp now = file.stamp();
        if (!table.stamp().valid || now.size != table.stamp().size) {
            result.error = ChangedMessage(file.name());
            return result;
        }
        for (const MaterialRecord& record : table.records()) {
            if (record.Modified == 0)
                continue;
            if (record.FileOffset < 0 ||
                !Inside(static_cast<std::uint64_t>(record.FileOffset), MaterialEntrySize,
                        now.size)) {
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
                result.error = ChangedMessage(file.name());
                return result;
            }
            file.readAt(static_cast<std::uint64_t>(header.offset), bytes);
            if (bytes != header.bytes) {
                result.error = ChangedMessage(file.name());
                return result;
            }
        }
        for (PlannedEntry& entry : plan) {
            file.readAt(entry.offset, entry.now);
            if (entry.now != entry.before && entry.now != entry.after) {
                result.error = ChangedMessage(file.name());
                return result;
            }
        }
        if (plan.empty())
            return {true, 0, {}, false};

        Journal record{now.size, {}};
        for (const PlannedEntry& entry : plan)
            record.entries.push_back({entry.offset, entry.before, entry.after});
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
                if (entry.now == entry.after)
                    continue;
                result.fileChanged = true;
                file.writeAt(entry.offset, entry.after);
            }
            file.sync();
        } catch (const IoError& error) {
            result.error = error.what();
            // Put the old bytes back while the journal still holds them.
            try {
                for (const PlannedEntry& entry : plan)
                    file.writeAt(entry.offset, entry.before);
                file.sync();
                journal.remove();
                result.fileChanged = false;
                result.error.append(". Nothing was changed: the old bytes were put back.");
            } catch (const IoError&) {
                result.error.append(". The save was interrupted; ")
                    .append(Quoted(journal.name()))
                    .append(" holds what is needed to finish it or roll it back the next time "
                            "the file is scanned.");
            }
            return result;
        }
        result.entriesWritten = plan.size();
        try {
            journal.remove();
        } catch (const IoError& error) {
            result.error.append("The materials were written to ").append(Quoted(file.name()));
            result.error.append(", but its journal could not be removed: ").append(error.what());
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
                                       const MaterialTable& table) {
    if (!table.anyModified())
        return {true, 0, {}, false};
    try {
        DiskFile file(path);
        DiskJournal journal(path);
        return WriteModifiedMaterials(file, journal, table);
    } catch (const IoError& error) {
        return {false, 0, error.what(), false};
    }
}

bool SaveInterrupted(const std::filesystem::path& path) {
    try {
        return DiskJournal(path).exists();
    } catch (const IoError&) {
        return false;
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
        if (!journal.exists()) {
            result.error.append("No save of ").append(Quoted(file.name()));
            result.error.append(" was interrupted; there is nothing to recover.");
            return result;
        }
        const std::optional<Journal> decoded = DecodeJournal(journal.read());
        if (!decoded)
            return mismatch("it is damaged");
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
                mixture = mixture && (current[i][b] == entry.before[b] ||
                                      current[i][b] == entry.after[b]);
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
    try {
        DiskFile file(path);
        DiskJournal journal(path);
        return RecoverInterruptedSave(file, journal, action);
    } catch (const IoError& error) {
        RecoveryResult result;
        result.error = error.what();
        return result;
    }
}

} // namespace tintara
