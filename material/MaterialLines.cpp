#include "MaterialLines.h"

#include "Conversions.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <type_traits>

namespace tintara {
namespace {

// Numbers are written with std::to_chars, never through printf: the C library's
// locale (which Qt sets from the environment) would otherwise turn the decimal point
// of the power into a comma.

// Appends `value` in `base` (upper-case hexadecimal digits), zero-padded after any
// sign to `width` characters, as printf's "%0<width>d" and "%0<width>X" do.
template <class Integer> void AppendPadded(std::string& text, Integer value, int base, int width) {
    char buffer[24] = {};
    const char* const end = std::to_chars(buffer, buffer + sizeof buffer, value, base).ptr;
    const char* digits = buffer;
    if constexpr (std::is_signed_v<Integer>) {
        if (value < 0) {
            text += '-';
            ++digits;
            --width;
        }
    }
    const auto count = static_cast<int>(end - digits);
    if (count < width)
        text.append(static_cast<std::size_t>(width - count), '0');
    for (; digits != end; ++digits)
        text += *digits >= 'a' && *digits <= 'z' ? static_cast<char>(*digits - 'a' + 'A') : *digits;
}

// The digits of printf's "%.4f": correctly rounded to four decimals, in full however
// large the value, "-0.0000" for a negative zero, "inf" and "nan" with their sign.
struct Fixed4 {
    explicit Fixed4(double value)
        : length(static_cast<std::size_t>(
              std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4)
                  .ptr -
              buffer)) {}
    char buffer[400]; // the largest double has 309 integer digits
    std::size_t length;
};

void AppendFixed4(std::string& text, double value) {
    const Fixed4 digits(value);
    text.append(digits.buffer, digits.length);
}

// Fixed4(value).length, mostly without writing the digits: a sign, the integer digits,
// the point and four decimals. Only a fraction that may round up into the next integer,
// and values too large or not finite, are written out to be sure.
std::size_t Fixed4Length(double value) {
    const double magnitude = std::fabs(value);
    if (!std::isfinite(value) || magnitude >= 1e15)
        return Fixed4(value).length;
    const double whole = std::floor(magnitude);
    if (magnitude - whole >= 0.9999)
        return Fixed4(value).length;
    std::size_t digits = 1;
    for (double power = 10; power <= whole; power *= 10)
        ++digits;
    return (std::signbit(value) ? 1 : 0) + digits + 5;
}

// The length of AppendPadded's text for a decimal or a hexadecimal number.
std::size_t DecimalLength(std::uint64_t value, std::size_t width) {
    std::size_t digits = 1;
    for (; value >= 10; value /= 10)
        ++digits;
    return std::max(digits, width);
}

std::size_t DecimalLength(std::int32_t value, std::size_t width) {
    if (value >= 0)
        return DecimalLength(static_cast<std::uint64_t>(value), width);
    const auto magnitude = static_cast<std::uint64_t>(-static_cast<std::int64_t>(value));
    return std::max(1 + DecimalLength(magnitude, 1), width);
}

std::size_t HexLength(std::uint64_t value, std::size_t width) {
    const auto digits = std::max<std::size_t>(1, (std::bit_width(value) + 3) / 4);
    return std::max(digits, width);
}

int ShownSlot(int property) {
    return property >= 0 && property < ColourSlotCount ? property : Diffuse;
}

} // namespace

std::string_view BlockPrefix(bool scenery) {
    return scenery ? "OBJ" : "LOD";
}

std::string FormatMaterialLine(std::string_view prefix, const MaterialTable& table,
                               std::size_t index, int property) {
    const MaterialRecord& e = table[index];
    std::string text(prefix);
    text.reserve(text.size() + 40);
    text += ' ';
    AppendPadded(text, std::int32_t{e.ListNumber}, 10, 2);
    text += ' ';
    AppendPadded(text, static_cast<std::uint64_t>(index) + 1, 10, 2);
    text += ' ';
    AppendPadded(text, static_cast<std::uint64_t>(e.FileOffset), 16, 8);
    if (property == PowerProperty) {
        text += ' ';
        AppendFixed4(text, static_cast<double>(e.Power));
        return text;
    }
    const int s = ShownSlot(property);
    // A byte value prints as the 32-bit pattern of the signed value.
    const auto appendByte = [&text](float channel) {
        text += ' ';
        AppendPadded(text, static_cast<std::uint32_t>(ChannelToByte(channel)), 16, 2);
    };
    text += ' ';
    appendByte(e.Red[s]);
    appendByte(e.Green[s]);
    appendByte(e.Blue[s]);
    appendByte(e.Alpha[s]);
    return text;
}

std::string CountLabelText(std::size_t count) {
    if (count == 0)
        return "No materials found. This may be an old format MDL";
    return std::to_string(count) + " Materials found";
}

std::size_t MaterialLineLength(const MaterialTable& table, std::size_t index, int property) {
    const MaterialRecord& e = table[index];
    // The spaces before the three numbers, then the power or a space and four byte values,
    // each after a space of its own.
    std::size_t length = 3 + DecimalLength(e.ListNumber, 2) +
                         DecimalLength(static_cast<std::uint64_t>(index) + 1, 2) +
                         HexLength(static_cast<std::uint64_t>(e.FileOffset), 8);
    if (property == PowerProperty)
        return length + 1 + Fixed4Length(static_cast<double>(e.Power));
    length += 1;
    const int s = ShownSlot(property);
    for (const float channel : {e.Red[s], e.Green[s], e.Blue[s], e.Alpha[s]})
        length += 1 + HexLength(static_cast<std::uint32_t>(ChannelToByte(channel)), 2);
    return length;
}

LineCheck CheckMaterialLines(const MaterialTable& table, int property) {
    LineCheck check;
    check.lineCount = table.count();
    for (std::size_t i = 0; i < table.count(); ++i) {
        try {
            check.widestLine = std::max(check.widestLine, MaterialLineLength(table, i, property));
        } catch (const ConversionError& error) {
            check.lineCount = i;
            check.error = error.what();
            break;
        }
    }
    return check;
}

MaterialLines BuildMaterialLines(std::string_view prefix, const MaterialTable& table,
                                 int property) {
    MaterialLines result;
    const LineCheck check = CheckMaterialLines(table, property);
    result.lines.reserve(check.lineCount);
    for (std::size_t i = 0; i < check.lineCount; ++i)
        result.lines.push_back(FormatMaterialLine(prefix, table, i, property));
    result.error = check.error;
    return result;
}

} // namespace tintara
