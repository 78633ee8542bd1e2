#pragma once
// The small pieces of JSON the dump command writes.

#include <string>
#include <string_view>

namespace tintara::cli {

// A quoted, escaped JSON string; bytes that are not UTF-8 become U+FFFD, so the
// output stays valid JSON for any file name.
std::string JsonString(std::string_view text);

// The shortest decimal that reads back as the same 32-bit float; infinities as the
// strings "Infinity" and "-Infinity".
std::string JsonFloat(float value);

} // namespace tintara::cli
