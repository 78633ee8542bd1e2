#pragma once
// The length rule and the meaning for the walk of every drawing-code instruction, in
// one table indexed by the opcode word.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tintara {

// What an instruction does to the walk's path.
enum class OpFlow : std::uint8_t {
    Unknown, // no length known: the walk cannot go on
    Plain,   // stepped over
    End,     // EOF, BGL_END: the path ends
    Return,  // back to the caller; with no caller the path ends
    Jump16,  // to the target only
    Jump32,
    Branch16, // the fall-through and the target
    Branch32,
    DetailBranch, // IFSIZEV: as Branch16, one detail level lower on the target
    Case,         // the fall-through, the fail offset and every case
    Call16,       // the callee, then on after the call
    Call32,
    VertexList,
    MaterialList,
    TextureList,
    SetMaterial,
    SetMaterialAnimate,
    DrawTriangles,
    DrawOther, // lines and points: vertices, no triangles
    PushTransform,
    PushIdentity, // ANIMATE: the model at rest
    PopTransform,
};

// How the length is found: `base` bytes, plus `element` bytes times the 16-bit count at
// `countAt`; or, for SelfLength, the 16-bit length at +2 itself.
enum class LengthRule : std::uint8_t { Fixed, Counted, SelfLength };

struct OpcodeInfo {
    OpFlow flow = OpFlow::Unknown;
    LengthRule rule = LengthRule::Fixed;
    std::uint16_t base = 0;
    std::uint8_t countAt = 0;
    std::uint16_t element = 0;
};

// The highest opcode the table knows.
inline constexpr unsigned MaxOpcode = 0xC6;

const OpcodeInfo& Opcode(unsigned opcode);

// The length of the instruction at the start of `code`, or nullopt when the bytes its
// length depends on are cut off. The result may exceed code.size(); an unknown opcode
// gives 0.
std::optional<std::size_t> InstructionLength(const OpcodeInfo& info,
                                             std::span<const unsigned char> code);

} // namespace tintara
