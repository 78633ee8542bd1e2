#pragma once
// The arithmetic of the properties panel: screen colour values built from channel
// values without clamping or masking, taken apart again by their low three bytes, and
// the edit-field numbers turned into integers and floats without overflow.

#include <cstdint>

namespace tintara {

// red + 256 x green + 65536 x blue, wrapped to 32 bits as a 32-bit integer sum would
// be: 300 in red carries one unit into green, a negative channel borrows.
std::int32_t ComposeColour(std::int64_t red, std::int64_t green, std::int64_t blue);

inline int RedOf(std::int32_t colour) {
    return static_cast<int>(static_cast<std::uint32_t>(colour) & 0xFFu);
}
inline int GreenOf(std::int32_t colour) {
    return static_cast<int>((static_cast<std::uint32_t>(colour) >> 8) & 0xFFu);
}
inline int BlueOf(std::int32_t colour) {
    return static_cast<int>((static_cast<std::uint32_t>(colour) >> 16) & 0xFFu);
}

// A number truncated toward zero to a 64-bit integer; values beyond that range
// (infinities included) give its nearer end, and a NaN gives 0.
std::int64_t TruncateSaturated(double value);

// The float nearest to the value; values beyond the float range give the largest
// float of that sign, a NaN stays a NaN.
float NearestFloat(double value);

// ByteToChannel of an edit's number: value x 1/255 as the nearest float, saturating
// at the largest float for values no channel could hold.
float ChannelFromEditValue(double value);

} // namespace tintara
