#pragma once
// Size and modification time of a file, taken when it is scanned, so a later save
// can tell whether another program changed the file meanwhile.

#include <cstdint>
#include <filesystem>
#include <string>

namespace tintara {

struct FileStamp {
    bool valid = false;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0; // modification time, in the file system's clock

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// Reads the stamp of a file; an invalid stamp when the file cannot be examined.
FileStamp ReadFileStamp(const std::filesystem::path& path);

} // namespace tintara
