#pragma once
// Size and identity of an open file, taken when it is scanned and again when it is
// saved.

#include <cstdint>

namespace tintara {

struct FileStamp {
    bool valid = false;
    std::uint64_t size = 0;
    std::uint64_t device = 0; // with `inode`: which file it is (volume and file index
    std::uint64_t inode = 0;  // on Windows)

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

} // namespace tintara
