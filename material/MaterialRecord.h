#pragma once
// One material entry of a model or scenery file, as the editor holds it.

#include <cstdint>

namespace tintara {

// Index of a material colour. The list's property chooser adds PowerProperty.
enum ColourSlot : int { Diffuse = 0, Ambient = 1, Specular = 2, Emissive = 3 };
inline constexpr int ColourSlotCount = 4;
inline constexpr int PowerProperty = 4;

// Size of one entry in the file: 17 little-endian 32-bit floats.
inline constexpr int MaterialEntrySize = 68;

// The file stores each colour's red, green, blue, alpha together; the record keeps
// them channel by channel, indexed by ColourSlot.
struct MaterialRecord {
    std::int64_t FileOffset = 0; // offset of the entry's first float (diffuse red)
    std::int32_t Modified = 0;   // non-zero: written back at the next save
    std::int32_t ListNumber = 0; // 1-based number of the material list it came from
    float Red[ColourSlotCount] = {};
    float Green[ColourSlotCount] = {};
    float Blue[ColourSlotCount] = {};
    float Alpha[ColourSlotCount] = {};
    float Power = 0.0f;
};

} // namespace tintara
