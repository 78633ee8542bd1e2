#pragma once
// The walk over the blocks of drawing code: follows jumps, branches and calls, keeps
// the lists, material and texture of each path, and records what is drawn with what.
// Each state is walked once and the instructions run are bounded, so no file loops
// the walk or makes it keep more than its code's size warrants.

#include "ModelContainers.h"
#include "ModelWalk.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace tintara {

// Instructions a walk may run, each new state counting as one: a floor for small
// files, more for each byte of code.
inline constexpr std::uint64_t MinInstructionBudget = 100'000;
inline constexpr std::uint64_t InstructionsPerCodeByte = 4;
inline constexpr std::uint64_t MaxInstructionBudget = 1'000'000'000;
// Triangles kept for the view: a floor, and one more per byte of code (a triangle
// takes at least 6 bytes, so every drawing can be kept several times over).
inline constexpr std::size_t MinKeptTriangles = 65'536;
// Calls nested deeper than this end the walk.
inline constexpr int MaxCallDepth = 64;

// A fault met on the way: its text (after "could not be followed: ") and the file
// offset of the instruction.
struct WalkFault {
    std::string text;
    std::size_t offset = 0;
};

// Walks every block of the layout into `walk` (uses sized to the table). Throws
// WalkFault at the first fault.
void WalkBlocks(std::span<const unsigned char> file, const ModelLayout& layout,
                const MaterialTable& table, ModelWalk& walk);

} // namespace tintara
