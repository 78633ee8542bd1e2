#include "MaterialLines.h"

#include "Conversions.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>

namespace tintara {
namespace {

// printf into a std::string of whatever length the result needs (a huge power
// prints with dozens of digits).
std::string Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
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
    const std::string head(prefix);
    const auto offset = static_cast<std::uint64_t>(e.FileOffset);
    const auto number = static_cast<std::uint64_t>(index) + 1;
    if (property == PowerProperty) {
        return Printf("%s %02" PRId32 " %02" PRIu64 " %08" PRIX64 " %2.4f", head.c_str(),
                      e.ListNumber, number, offset, static_cast<double>(e.Power));
    }
    const int s = ShownSlot(property);
    const auto byte = [](float channel) {
        return static_cast<std::uint32_t>(ChannelToByte(channel));
    };
    const std::uint32_t r = byte(e.Red[s]);
    const std::uint32_t g = byte(e.Green[s]);
    const std::uint32_t b = byte(e.Blue[s]);
    const std::uint32_t a = byte(e.Alpha[s]);
    return Printf("%s %02" PRId32 " %02" PRIu64 " %08" PRIX64 "  %02" PRIX32 " %02" PRIX32
                  " %02" PRIX32 " %02" PRIX32,
                  head.c_str(), e.ListNumber, number, offset, r, g, b, a);
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
