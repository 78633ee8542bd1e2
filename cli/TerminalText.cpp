#include "TerminalText.h"

#include <cstdio>

namespace tintara::cli {
namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02X", byte);
    out += escape;
}

} // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = at(0);
    std::size_t length = 0;
    char32_t min = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((at(i) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (at(i) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

std::string ForTerminal(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            AppendEscaped(out, byte);
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else if (const std::size_t length = Utf8SequenceLength(text.substr(i));
                   length > 0 &&
                   !(byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0)) {
            out.append(text.substr(i, length));
            i += length - 1;
        } else {
            // A C1 control character (CSI is C2 9B in UTF-8), or a byte that is not
            // UTF-8, which an 8-bit terminal may take for one.
            AppendEscaped(out, byte);
        }
    }
    return out;
}

void ReportError(std::ostream& err, std::string_view message) {
    err << "tintara-cli: " << ForTerminal(message) << '\n';
}

} // namespace tintara::cli
