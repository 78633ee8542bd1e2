// The model walk on arbitrary bytes: it must end (libFuzzer reports a hang), never read
// outside the file (ASan), keep its results consistent with the table, and keep no more
// geometry than the file's size allows.

#include "material/MaterialScanner.h"
#include "material/ModelWalk.h"
#include "material/ModelWalker.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const unsigned char> bytes(data, size);
    tintara::MemoryByteSource source(bytes);
    tintara::MaterialTable table;
    tintara::ScanMaterials(source, table);
    const tintara::ModelWalk walk = tintara::WalkModel(bytes, table);

    auto fail = [](const char* what) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    };
    if (walk.uses.size() != table.count())
        fail("one use per record");
    if (walk.walked == !walk.problem.empty())
        fail("a problem exactly when the walk failed");
    if (!walk.walked && (!walk.triangles.empty() || !walk.textureNames.empty()))
        fail("no geometry from a failed walk");
    if (walk.triangles.size() > tintara::MinKeptTriangles + size)
        fail("geometry beyond the file's size");
    for (const tintara::ModelTriangle& t : walk.triangles) {
        if (t.material < -1 || t.material >= static_cast<int>(table.count()) || t.texture < -1 ||
            t.texture >= static_cast<int>(walk.textureNames.size()))
            fail("a triangle's material or texture out of range");
    }
    for (std::size_t i = 0; i < walk.uses.size(); ++i) {
        const tintara::MaterialUse& use = walk.uses[i];
        if (!use.selected && (use.triangles != 0 || !use.textures.empty()))
            fail("textures or triangles for a material never selected");
        if (tintara::MaterialUseText(walk, i).empty())
            fail("an empty tool tip");
    }
    return 0;
}
