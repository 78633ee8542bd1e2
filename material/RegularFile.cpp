// What regular files do the same way on every system.

#include "RegularFile.h"

#include <optional>
#include <system_error>

namespace tintara {

void CreateWholeFile(const std::filesystem::path& path, const std::filesystem::path& model,
                     bool othersMayWrite, const std::function<void(NewFile&)>& fill) {
    std::optional<NewFile> file(std::in_place, path); // nothing to clean up if this throws
    try {
        file->shareAccessOf(model, othersMayWrite);
        fill(*file);
        file->sync();
        file->close();
        SyncFolderOf(path);
    } catch (const IoError&) {
        file.reset();
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw;
    }
}

} // namespace tintara
