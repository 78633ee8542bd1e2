#include "FileStamp.h"

#include <system_error>

namespace tintara {

FileStamp ReadFileStamp(const std::filesystem::path& path) {
    std::error_code error;
    FileStamp stamp;
    const auto size = std::filesystem::file_size(path, error);
    if (error)
        return {};
    const auto time = std::filesystem::last_write_time(path, error);
    if (error)
        return {};
    stamp.valid = true;
    stamp.size = size;
    stamp.modifiedNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    return stamp;
}

} // namespace tintara
