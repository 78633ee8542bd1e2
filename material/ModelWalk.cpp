#include "ModelWalk.h"

#include "ModelContainers.h"
#include "ModelWalker.h"
#include "RegularFile.h"

#include <cstdio>

namespace tintara {

const char* ModelFormatName(ModelFormat format) {
    switch (format) {
    case ModelFormat::Mdl8:
        return "MDL8";
    case ModelFormat::Mdl9:
        return "MDL9";
    case ModelFormat::Bgl:
        return "BGL";
    case ModelFormat::None:
        break;
    }
    return "none";
}

ModelWalk WalkModel(std::span<const unsigned char> file, const MaterialTable& table) {
    ModelWalk walk;
    const ModelLayout layout = ReadModelLayout(file);
    walk.format = layout.format;
    walk.uses.assign(table.count(), {});
    if (!layout.problem.empty()) {
        walk.problem = layout.problem;
        return walk;
    }
    try {
        WalkBlocks(file, layout, table, walk);
        walk.walked = true;
    } catch (const WalkFault& fault) {
        char place[40];
        std::snprintf(place, sizeof place, " at offset 0x%08llX",
                      static_cast<unsigned long long>(fault.offset));
        walk.problem = "The model's drawing code could not be followed: " + fault.text + place;
        walk.uses.assign(table.count(), {});
        walk.triangles.clear();
        walk.textureNames.clear();
    }
    return walk;
}

ModelWalk WalkModelFile(const std::filesystem::path& path, const MaterialTable& table) {
    std::vector<unsigned char> bytes;
    try {
        RegularFile file(path, RegularFile::Access::Read);
        bytes.resize(static_cast<std::size_t>(file.stamp().size));
        std::size_t filled = 0;
        // The file may have changed size since its stamp: read to its end.
        for (;;) {
            if (filled == bytes.size())
                bytes.resize(bytes.size() + 64 * 1024);
            const std::size_t got = file.read(std::span(bytes).subspan(filled));
            if (got == 0)
                break;
            filled += got;
        }
        bytes.resize(filled);
    } catch (const IoError& error) {
        ModelWalk walk;
        walk.uses.assign(table.count(), {});
        walk.problem = error.what();
        return walk;
    }
    return WalkModel(bytes, table);
}

} // namespace tintara
