#include "MaterialLines.h"

#include "Conversions.h"

#include <charconv>
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
void AppendFixed4(std::string& text, double value) {
    char buffer[400]; // the largest double has 309 integer digits
    const char* const end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4).ptr;
    text.append(buffer, static_cast<std::size_t>(end - buffer));
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

LineCheck CheckMaterialLines(const MaterialTable& table, int property) {
    LineCheck check;
    check.lineCount = table.count();
    if (property == PowerProperty)
        return check;
    const int s = ShownSlot(property);
    for (std::size_t i = 0; i < table.count(); ++i) {
        const MaterialRecord& e = table[i];
        try {
            ChannelToByte(e.Red[s]);
            ChannelToByte(e.Green[s]);
            ChannelToByte(e.Blue[s]);
            ChannelToByte(e.Alpha[s]);
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
