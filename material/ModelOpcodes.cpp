#include "ModelOpcodes.h"

#include <algorithm>
#include <array>

namespace tintara {
namespace {

// Where the sources disagree, the reading most of them give.
// IFINF1: a 32-bit fail offset, two floats and a variable: 16 bytes in all.
constexpr std::uint16_t IfInF1Length = 16;
// SHADOW_VPOSITION: laid out as VPOSITION, 12 bytes, as in aircraft files of this era.
constexpr std::uint16_t ShadowVPositionLength = 12;

struct Entry {
    unsigned opcode;
    OpcodeInfo info;
};

constexpr OpcodeInfo Fixed(std::uint16_t length, OpFlow flow = OpFlow::Plain) {
    return {flow, LengthRule::Fixed, length, 0, 0};
}
constexpr OpcodeInfo Counted(std::uint16_t base, std::uint8_t countAt, std::uint16_t element,
                             OpFlow flow = OpFlow::Plain) {
    return {flow, LengthRule::Counted, base, countAt, element};
}
constexpr OpcodeInfo Self(OpFlow flow = OpFlow::Plain) {
    return {flow, LengthRule::SelfLength, 4, 0, 0};
}

// Opcodes not listed (0x15, 0x19, 0x36, 0x4A, 0x59, 0x82, 0x85, 0x86, 0x90, 0x9A, 0xA3,
// 0xAB) have no agreed length and stop the walk.
// clang-format off
constexpr Entry Entries[] = {
    {0x00, Fixed(2, OpFlow::End)},      {0x01, Fixed(2)},   {0x02, Fixed(2)},
    {0x03, Counted(8, 2, 2, OpFlow::Case)},
    {0x04, Fixed(2)},   {0x05, Fixed(2)},   {0x06, Fixed(8)},   {0x07, Fixed(8)},
    {0x08, Fixed(2)},   {0x09, Fixed(2)},   {0x0A, Fixed(10)},  {0x0B, Fixed(10)},
    {0x0C, Fixed(2)},   {0x0D, Fixed(4, OpFlow::Jump16)},       {0x0E, Fixed(10)},
    {0x0F, Fixed(4)},   {0x10, Fixed(4)},   {0x11, Fixed(12)},  {0x12, Fixed(4)},
    {0x13, Fixed(4)},   {0x14, Fixed(4)},   {0x16, Self()},     {0x17, Fixed(4)},
    {0x18, Fixed(24)},  {0x1A, Counted(6, 4, 6)},               {0x1B, Fixed(22)},
    {0x1C, Fixed(16, OpFlow::Branch16)},    {0x1D, Counted(16, 2, 2)},
    {0x1E, Fixed(4)},   {0x1F, Self()},     {0x20, Counted(14, 2, 6)},
    {0x21, Fixed(22, OpFlow::Branch16)},    {0x22, Fixed(2, OpFlow::Return)},
    {0x23, Fixed(4, OpFlow::Call16)},       {0x24, Fixed(10, OpFlow::Branch16)},
    {0x25, Fixed(14, OpFlow::Branch16)},    {0x26, Fixed(6)},
    {0x27, Counted(14, 2, 2)},              {0x28, Fixed(10)},
    {0x29, Counted(6, 4, 12)},              {0x2A, Counted(14, 2, 2)},
    {0x2B, Fixed(6, OpFlow::Call32)},       {0x2C, Fixed(12)},  {0x2D, Fixed(6)},
    {0x2E, Fixed(6)},   {0x2F, Fixed(32, OpFlow::Branch16)},    {0x30, Fixed(4)},
    {0x31, Fixed(18)},  {0x32, Fixed(4, OpFlow::Call16)},       {0x33, Fixed(10, OpFlow::Call16)},
    {0x34, Fixed(10, OpFlow::Branch16)},    {0x35, Fixed(16)},  {0x37, Fixed(8)},
    {0x38, Fixed(2)},   {0x39, Fixed(8, OpFlow::Branch16)},     {0x3A, Fixed(12, OpFlow::Branch16)},
    {0x3B, Fixed(6, OpFlow::Call16)},       {0x3C, Fixed(28, OpFlow::Branch16)},
    {0x3D, Fixed(24)},  {0x3E, Counted(14, 2, 2)},              {0x3F, Fixed(4)},
    {0x40, Fixed(ShadowVPositionLength, OpFlow::Branch16)},     {0x41, Fixed(6)},
    {0x42, Fixed(64)},  {0x43, Self()},     {0x44, Fixed(64)},  {0x45, Fixed(16)},
    {0x46, Fixed(22, OpFlow::Call16)},      {0x47, Fixed(4)},   {0x48, Fixed(4)},
    {0x49, Fixed(18)},  {0x4B, Self()},     {0x4C, Fixed(16)},  {0x4D, Fixed(6)},
    {0x4E, Fixed(6)},   {0x4F, Fixed(6)},   {0x50, Fixed(4)},   {0x51, Fixed(4)},
    {0x52, Fixed(4)},   {0x53, Fixed(4)},   {0x54, Fixed(6)},   {0x55, Fixed(10)},
    {0x56, Fixed(4)},   {0x57, Fixed(10)},  {0x58, Fixed(18)},  {0x5A, Fixed(4)},
    {0x5B, Fixed(4)},   {0x5C, Fixed(6)},   {0x5D, Fixed(8)},   {0x5E, Fixed(4)},
    {0x5F, Fixed(8, OpFlow::DetailBranch)}, {0x60, Counted(16, 2, 6)},
    {0x61, Fixed(6)},   {0x62, Counted(6, 4, 2, OpFlow::Branch16)},
    {0x63, Fixed(20)},  {0x64, Self()},     {0x65, Fixed(4)},   {0x66, Fixed(4)},
    {0x67, Fixed(4)},   {0x68, Fixed(8)},   {0x69, Fixed(10)},  {0x6A, Fixed(8)},
    {0x6B, Fixed(10)},  {0x6C, Fixed(8)},   {0x6D, Fixed(8, OpFlow::Branch16)},
    {0x6E, Fixed(10)},  {0x6F, Fixed(8)},   {0x70, Counted(6, 4, 4)},
    {0x71, Fixed(4)},   {0x72, Fixed(20)},  {0x73, Fixed(16, OpFlow::Branch16)},
    {0x74, Fixed(6, OpFlow::Call16)},       {0x75, Fixed(4)},   {0x76, Fixed(2)},
    {0x77, Fixed(32)},  {0x78, Fixed(10)},  {0x79, Fixed(10)},  {0x7A, Counted(14, 2, 6)},
    {0x7B, Counted(16, 2, 6)},              {0x7C, Fixed(10)},  {0x7D, Fixed(2)},
    {0x7E, Fixed(6)},   {0x7F, Fixed(2)},   {0x80, Fixed(4)},   {0x81, Fixed(4)},
    {0x83, Fixed(12)},  {0x84, Fixed(8)},   {0x87, Fixed(4)},   {0x88, Fixed(6, OpFlow::Jump32)},
    {0x89, Fixed(6)},   {0x8A, Fixed(6, OpFlow::Call32)},       {0x8B, Fixed(8)},
    {0x8C, Fixed(6)},   {0x8D, Fixed(6)},   {0x8E, Fixed(4)},   {0x8F, Fixed(6)},
    {0x91, Fixed(12)},  {0x92, Fixed(4)},   {0x93, Fixed(4)},   {0x94, Fixed(12)},
    {0x95, Fixed(10)},  {0x96, Self()},     {0x97, Fixed(6)},   {0x98, Fixed(22)},
    {0x99, Fixed(4)},   {0x9B, Fixed(8)},   {0x9C, Fixed(6)},   {0x9D, Fixed(14)},
    {0x9E, Fixed(20)},  {0x9F, Fixed(6)},   {0xA0, Self()},     {0xA1, Fixed(10)},
    {0xA2, Fixed(8)},   {0xA4, Fixed(4)},   {0xA5, Fixed(4)},   {0xA6, Fixed(8)},
    {0xA7, Fixed(22, OpFlow::Call16)},      {0xA8, Fixed(12)},  {0xA9, Fixed(22)},
    {0xAA, Self()},     {0xAC, Fixed(4)},   {0xAD, Fixed(30, OpFlow::PushIdentity)},
    {0xAE, Fixed(2, OpFlow::PopTransform)}, {0xAF, Fixed(50, OpFlow::PushTransform)},
    {0xB0, Self()},     {0xB1, Fixed(22)},  {0xB2, Fixed(44)},
    {0xB3, Fixed(IfInF1Length, OpFlow::Branch32)},              {0xB4, Fixed(6)},
    {0xB5, Counted(8, 2, 32, OpFlow::VertexList)},
    {0xB6, Counted(8, 2, 68, OpFlow::MaterialList)},
    {0xB7, Counted(8, 2, 80, OpFlow::TextureList)},
    {0xB8, Fixed(6, OpFlow::SetMaterial)},
    {0xB9, Counted(8, 6, 2, OpFlow::DrawTriangles)},
    {0xBA, Counted(8, 6, 2, OpFlow::DrawOther)},
    {0xBB, Counted(8, 6, 2, OpFlow::DrawOther)},
    {0xBC, Fixed(6)},   {0xBD, Fixed(2, OpFlow::End)},          {0xBE, Counted(38, 2, 1)},
    {0xBF, Counted(4, 2, 44)},              {0xC0, Fixed(4)},
    {0xC1, Fixed(16, OpFlow::SetMaterialAnimate)},              {0xC2, Fixed(26)},
    {0xC3, Fixed(32)},  {0xC4, Fixed(4)},   {0xC5, Fixed(24)},  {0xC6, Fixed(6)},
};
// clang-format on

constexpr std::array<OpcodeInfo, MaxOpcode + 1> BuildTable() {
    std::array<OpcodeInfo, MaxOpcode + 1> table{};
    for (const Entry& e : Entries)
        table[e.opcode] = e.info;
    return table;
}

constexpr std::array<OpcodeInfo, MaxOpcode + 1> Table = BuildTable();
constexpr OpcodeInfo UnknownOpcode{};

unsigned U16At(std::span<const unsigned char> code, std::size_t at) {
    return code[at] | (unsigned(code[at + 1]) << 8);
}

} // namespace

const OpcodeInfo& Opcode(unsigned opcode) {
    if (opcode > MaxOpcode)
        return UnknownOpcode;
    return Table[opcode];
}

std::optional<std::size_t> InstructionLength(const OpcodeInfo& info,
                                             std::span<const unsigned char> code) {
    switch (info.rule) {
    case LengthRule::Fixed:
        return info.flow == OpFlow::Unknown ? 0 : info.base;
    case LengthRule::Counted:
        if (code.size() < info.countAt + 2u)
            return std::nullopt;
        return info.base + std::size_t(info.element) * U16At(code, info.countAt);
    case LengthRule::SelfLength:
        if (code.size() < 4)
            return std::nullopt;
        // A length too short to step over the length field itself counts as the field.
        return std::max<std::size_t>(info.base, U16At(code, 2));
    }
    return 0;
}

} // namespace tintara
