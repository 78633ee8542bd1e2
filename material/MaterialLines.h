#pragma once
// The material list's line formats and the count label, shared by the window and
// the command-line tool so both print identical lines.

#include "MaterialTable.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tintara {

// "LOD" for models, "OBJ" for scenery files.
std::string_view BlockPrefix(bool scenery);

// One list line for table entry `index` showing `property` (a ColourSlot, or
// PowerProperty for the specular power; any other value shows the diffuse colour):
//   "%s %02d %02d %08X  %02X %02X %02X %02X"  colour byte values
//   "%s %02d %02d %08X %2.4f"                 specular power
// Byte values print as the 32-bit pattern of the signed value (-127 as FFFFFF81).
// The texts are those of printf in the "C" locale whatever the process's locale: the
// power always has "." as its decimal point.
// Throws ConversionError when a shown channel cannot be converted.
std::string FormatMaterialLine(std::string_view prefix, const MaterialTable& table,
                               std::size_t index, int property);

// The characters of FormatMaterialLine's line for entry `index`, not counting the block
// prefix, counted without building the text. Throws ConversionError as it does.
std::size_t MaterialLineLength(const MaterialTable& table, std::size_t index, int property);

// "N Materials found", or "No materials found. This may be an old format MDL".
std::string CountLabelText(std::size_t count);

// How many leading lines of the list can be built: all of them, or the lines before
// the first entry whose shown channels fail to convert (with that error's text).
// Also the characters of the longest of those lines, not counting the block prefix, so
// that a view can size itself without building a single line.
struct LineCheck {
    std::size_t lineCount = 0;
    std::optional<std::string> error;
    std::size_t widestLine = 0;
};
LineCheck CheckMaterialLines(const MaterialTable& table, int property);

// Builds the lines the list would hold; on a conversion error the lines before it and
// the error's text.
struct MaterialLines {
    std::vector<std::string> lines;
    std::optional<std::string> error;
};
MaterialLines BuildMaterialLines(std::string_view prefix, const MaterialTable& table, int property);

} // namespace tintara
