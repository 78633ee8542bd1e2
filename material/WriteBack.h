#pragma once
// Writes the modified entries of the material table back into the file, in place:
// the 17 floats of every entry whose Modified is non-zero at its FileOffset, in
// ascending order, and nothing else. The file never changes length.

#include "MaterialTable.h"
#include "RandomAccessFile.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace tintara {

struct WriteBackResult {
    bool ok = false;
    std::size_t entriesWritten = 0;
    std::string error; // names the file and the system's reason when !ok
};

// Refuses without writing a byte when the file's size or modification time differ
// from the table's stamp, or when an entry would run past the end of the file.
// Checks every open, seek, write, flush and close, and flushes the data to disk
// before reporting success. Never changes the table.
WriteBackResult WriteModifiedMaterials(const std::filesystem::path& path,
                                       const MaterialTable& table);

// The same over any random-access file (tests use in-memory and failing files).
WriteBackResult WriteModifiedMaterials(RandomAccessFile& file, const MaterialTable& table);

// The 68 bytes of one entry as the file stores them.
void EncodeMaterialEntry(const MaterialRecord& record, unsigned char* bytes);

} // namespace tintara
