#include "Conversions.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace tintara {

float DecodeFloatLE(const unsigned char* bytes) {
    const std::uint32_t bits =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return std::bit_cast<float>(bits);
}

void EncodeFloatLE(float value, unsigned char* bytes) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    bytes[0] = static_cast<unsigned char>(bits & 0xFFu);
    bytes[1] = static_cast<unsigned char>((bits >> 8) & 0xFFu);
    bytes[2] = static_cast<unsigned char>((bits >> 16) & 0xFFu);
    bytes[3] = static_cast<unsigned char>((bits >> 24) & 0xFFu);
}

float GuardFloat(float value) {
    if (std::isnan(value))
        throw ConversionError("Invalid floating point operation");
    if (static_cast<double>(value) > FloatGuardLimit)
        return 0.0f;
    return value;
}

float ReadGuardedFloat(const unsigned char* bytes) {
    return GuardFloat(DecodeFloatLE(bytes));
}

std::int32_t ChannelToByte(float channel) {
    // The product of a float and 255 is exact in double precision.
    const double product = static_cast<double>(channel) * 255.0;
    // 2^63 itself is outside the range; -2^63 is inside.
    constexpr double limit = 9223372036854775808.0;
    if (std::isnan(product) || product >= limit || product < -limit)
        throw ConversionError("Invalid floating point operation");
    const auto whole = static_cast<std::int64_t>(product); // truncates toward zero
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(whole & 0xFFFFFFFF));
}

float ByteToChannel(double value) {
    return static_cast<float>(value * (1.0 / 255.0));
}

} // namespace tintara
