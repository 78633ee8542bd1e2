#pragma once
// One material entry of a model or scenery file, as the editor holds it.

#include <array>
#include <cstdint>

namespace tintara {

// Index of a material colour. The list's property chooser adds PowerProperty.
enum ColourSlot : int { Diffuse = 0, Ambient = 1, Specular = 2, Emissive = 3 };
inline constexpr int ColourSlotCount = 4;
inline constexpr int PowerProperty = 4;

// Size of one entry in the file: 17 little-endian 32-bit floats.
inline constexpr int MaterialEntrySize = 68;

// Fields of an entry, one bit per float in file order: the four colours' red, green,
// blue and alpha, then the power. An edit marks the fields it changes, and a save
// writes only those; every other byte keeps what the file held.
inline constexpr std::uint32_t ChannelField(int slot, int channel) {
    return 1u << (4 * slot + channel);
}
inline constexpr std::uint32_t ColourFields(int slot) {
    return 0xFu << (4 * slot);
}
inline constexpr std::uint32_t PowerField = 1u << 16;
inline constexpr std::uint32_t AllFields = (1u << 17) - 1;

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
    // The entry's bytes as the scan read them; the floats above are their guarded
    // values, which may differ (a value the guard shows as 0 stays as stored).
    std::array<unsigned char, MaterialEntrySize> Stored = {};
    // The fields an edit changed (see ChannelField). Modified with no field marked
    // stands for the whole entry.
    std::uint32_t ChangedFields = 0;
};

} // namespace tintara
