#pragma once
// Text the walk shows: texture names and the list line's tool tip.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tintara {

// A texture entry's name field up to its first zero byte, as UTF-8; bytes that are not
// UTF-8 become U+FFFD.
std::string TextureNameText(std::span<const unsigned char> field);

// 1204 as "1,204", in any locale.
std::string ThousandsText(std::uint64_t value);

// Ascending levels as "0", "0–1" or "0–2, 4" (en dashes between the ends of runs).
std::string LevelsText(const std::vector<int>& levels);

} // namespace tintara
