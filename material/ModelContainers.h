#pragma once
// Where a model file keeps its drawing code: the format told by content alone, and
// each block of code with the lists current when it starts.

#include "ModelWalk.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tintara {

// One stretch of drawing code, [begin, end) in the file. The lists are the offsets of
// the list instructions in force when it starts (-1: none).
struct CodeBlock {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::int64_t vertexList = -1;
    std::int64_t materialList = -1;
    std::int64_t textureList = -1;
};

struct ModelLayout {
    ModelFormat format = ModelFormat::None;
    std::string problem; // why the code cannot be walked; empty when it can
    std::vector<CodeBlock> blocks;
};

ModelLayout ReadModelLayout(std::span<const unsigned char> file);

} // namespace tintara
