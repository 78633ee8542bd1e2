#include "WriteBack.h"

#include "Conversions.h"

#include <array>

namespace tintara {

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

WriteBackResult WriteModifiedMaterials(RandomAccessFile& file, const MaterialTable& table) {
    WriteBackResult result;
    try {
        // Offsets come from the last scan: refuse when the file is no longer the one
        // that scan read, rather than write at offsets that may now mean anything.
        const FileStamp now = file.stamp();
        if (!table.stamp().valid || now != table.stamp()) {
            // Built by appending: GCC 12 misreports "literal" + string at -O3.
            result.error.append("'").append(file.name());
            result.error.append("' was changed by another program after it was read. Nothing "
                                "was written; rescan the file and make the changes again.");
            return result;
        }
        for (const MaterialRecord& record : table.records()) {
            if (record.Modified == 0)
                continue;
            const bool inside =
                record.FileOffset >= 0 &&
                static_cast<std::uint64_t>(record.FileOffset) <= now.size &&
                now.size - static_cast<std::uint64_t>(record.FileOffset) >= MaterialEntrySize;
            if (!inside) {
                result.error.append("A material at offset ")
                    .append(std::to_string(record.FileOffset))
                    .append(" lies beyond the end of '")
                    .append(file.name())
                    .append("'. Nothing was written.");
                return result;
            }
        }
        std::array<unsigned char, MaterialEntrySize> bytes{};
        for (const MaterialRecord& record : table.records()) {
            if (record.Modified == 0)
                continue;
            EncodeMaterialEntry(record, bytes.data());
            file.writeAt(static_cast<std::uint64_t>(record.FileOffset), bytes);
            ++result.entriesWritten;
        }
        file.sync();
        file.close();
    } catch (const IoError& error) {
        result.error = error.what();
        if (result.entriesWritten > 0)
            result.error += " (the file may be partly updated; keep your backup)";
        return result;
    }
    result.ok = true;
    return result;
}

WriteBackResult WriteModifiedMaterials(const std::filesystem::path& path,
                                       const MaterialTable& table) {
    if (!table.anyModified())
        return {true, 0, {}};
    try {
        DiskFile file(path);
        return WriteModifiedMaterials(file, table);
    } catch (const IoError& error) {
        return {false, 0, error.what()};
    }
}

} // namespace tintara
