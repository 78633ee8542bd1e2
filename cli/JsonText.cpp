#include "JsonText.h"

#include "TerminalText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tintara::cli {

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
                json += escape;
            } else if (static_cast<unsigned char>(c) < 0x80) {
                json += c;
            } else if (const std::size_t length = Utf8SequenceLength(text.substr(i))) {
                json.append(text.substr(i, length));
                i += length - 1;
            } else {
                // Not UTF-8 (a file name in another encoding): the replacement character.
                json += "\\ufffd";
            }
        }
    }
    return json + "\"";
}

std::string JsonFloat(float value) {
    if (std::isinf(value))
        return value < 0 ? "\"-Infinity\"" : "\"Infinity\"";
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc())
        return "null";
    return std::string(buffer, end);
}

} // namespace tintara::cli
