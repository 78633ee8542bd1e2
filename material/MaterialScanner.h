#pragma once
// Finds the material lists of a model or scenery file by a byte search and fills
// the material table.
//
// A list is the opcode B6 00 at an even offset, a 16-bit count from 1 to 40, four
// zero bytes, then count entries of 68 bytes. The search moves in non-overlapping
// two-byte steps from offset 0; a rejected header's 4 (bad count) or 8 (bad reserved
// bytes) bytes are not looked at again, and the search resumes right after a list.

#include "ByteSource.h"
#include "MaterialTable.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tintara {

enum class ScanStatus {
    Ok,         // the whole file was searched
    OpenFailed, // the file could not be opened; the table is empty
    ReadFailed, // a read failed part way; entries completed before it are kept
    BadFloat,   // a NaN in an entry; entries completed before it are kept
};

struct ScanResult {
    ScanStatus status = ScanStatus::Ok;
    std::string message; // empty for Ok; otherwise what went wrong, naming the file
    bool ok() const { return status == ScanStatus::Ok; }
};

// Bytes read from the source at a time.
inline constexpr std::size_t DefaultScanBlockSize = 256 * 1024;

// Empties the table and refills it from the bytes of the source. An entry that the
// source cannot supply in full is not created, and the search ends there.
// `blockSize` (at least 128) only changes how the source is read.
ScanResult ScanMaterials(ByteSource& source, MaterialTable& table,
                         std::size_t blockSize = DefaultScanBlockSize);

// Where a list is and how many whole entries follow its header.
struct ListPlace {
    std::uint64_t offset = 0;
    unsigned count = 0;
};

// The same search as ScanMaterials, finding the lists without judging their values (a
// half-written entry may hold any bytes, a NaN among them). Throws IoError.
std::vector<ListPlace> LocateMaterialLists(ByteSource& source);

// Scans a file and records its stamp in the table.
ScanResult ScanMaterialFile(const std::filesystem::path& path, MaterialTable& table);

} // namespace tintara
