#pragma once
// The float guard applied to every value read, and the conversions between stored
// colour floats and the byte values the window shows and edits.

#include <cstdint>
#include <stdexcept>

namespace tintara {

// Raised for a value that cannot be converted: a NaN met by the float guard, or a
// channel whose product with 255 is NaN or leaves the signed 64-bit range.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Values above this limit (compared in double precision) are read as 0.0.
inline constexpr double FloatGuardLimit = 1111111111.0;

// Applies the float guard to a value read from a material entry. Throws
// ConversionError for any NaN.
float GuardFloat(float value);

// Decodes four little-endian bytes as a float and applies the float guard.
float ReadGuardedFloat(const unsigned char* bytes);

// float x 255, truncated toward zero into a signed 64-bit integer, of which the low
// 32 bits are returned as a signed integer. 0.5 gives 127, 1.5 gives 382, -0.5 gives
// -127. Throws ConversionError for NaN or a product outside the 64-bit range.
std::int32_t ChannelToByte(float channel);

// value x 1/255 as the nearest float; every value 0..255 survives the round trip
// through ChannelToByte.
float ByteToChannel(double value);

// Little-endian float encoding used by the file format.
float DecodeFloatLE(const unsigned char* bytes);
void EncodeFloatLE(float value, unsigned char* bytes);

} // namespace tintara
