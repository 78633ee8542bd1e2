#pragma once
// Follows a model's drawing code to tell, for each material the byte search found,
// which textures and how many triangles draw with it, and keeps the triangles for the
// model view. It only reads: the material table stays the one authority for which
// materials exist and where they are.

#include "BigBlockAllocator.h"
#include "MaterialTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tintara {

enum class ModelFormat { None, Mdl8, Mdl9, Bgl };

// "none", "MDL8", "MDL9" or "BGL".
const char* ModelFormatName(ModelFormat format);

struct ModelPoint {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// One triangle as drawn, after the static transforms on its path.
struct ModelTriangle {
    std::array<ModelPoint, 3> position;
    std::array<ModelPoint, 3> normal;
    int material = -1; // index into the table's records; -1: a list the search did not find
    int texture = -1;  // index into ModelWalk::textureNames; -1: no texture
    int detail = 0;    // detail level: 0 for the most detailed
};

using ModelTriangles = std::vector<ModelTriangle, BigBlockAllocator<ModelTriangle>>;

// What the drawing code does with one material of the table.
struct MaterialUse {
    std::vector<std::string> textures; // distinct names, in the order described in the .cpp
    std::uint64_t triangles = 0;
    std::vector<int> detailLevels; // ascending, each once
    bool selected = false;         // some walked path selects it
};

struct ModelWalk {
    ModelFormat format = ModelFormat::None;
    bool walked = false;
    std::string problem; // set when !walked
    // One entry per record of the table, in its order (all empty when !walked).
    std::vector<MaterialUse> uses;
    // Every triangle drawn (none when !walked).
    ModelTriangles triangles;
    std::vector<std::string> textureNames;
};

// Walks the drawing code of a whole file's bytes.
ModelWalk WalkModel(std::span<const unsigned char> file, const MaterialTable& table);

// Reads the file and walks it; a file that cannot be read gives its reason as problem.
ModelWalk WalkModelFile(const std::filesystem::path& path, const MaterialTable& table);

// The list line's tool tip for one record: "a.bmp, b.bmp — 1,204 triangles, detail
// levels 0–1", "No texture — 1 triangle, detail level 0", "Not drawn by the model's
// code", or the walk's problem. UTF-8.
std::string MaterialUseText(const ModelWalk& walk, std::size_t record);

} // namespace tintara
