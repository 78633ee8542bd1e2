#include "mainwindow/PanelValues.h"

#include "material/Conversions.h"

#include <cmath>
#include <limits>

namespace tintara {

std::int32_t ComposeColour(std::int64_t red, std::int64_t green, std::int64_t blue) {
    // Unsigned arithmetic wraps where the signed sum would overflow.
    const std::uint64_t sum = static_cast<std::uint64_t>(red) +
                              256u * static_cast<std::uint64_t>(green) +
                              65536u * static_cast<std::uint64_t>(blue);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(sum & 0xFFFFFFFFu));
}

std::int64_t TruncateSaturated(double value) {
    if (std::isnan(value))
        return 0;
    // 2^63 is outside the range, -2^63 inside.
    constexpr double limit = 9223372036854775808.0;
    if (value >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (value < -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

float NearestFloat(double value) {
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest)
        return std::numeric_limits<float>::max();
    if (value < -largest)
        return -std::numeric_limits<float>::max();
    return static_cast<float>(value);
}

float ChannelFromEditValue(double value) {
    // Beyond this the quotient leaves the float range.
    constexpr double limit = 1e38;
    if (std::abs(value) > limit)
        return NearestFloat(value / 255.0);
    return ByteToChannel(value);
}

} // namespace tintara
