#include "JsonText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tintara::cli {

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
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
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
                json += escape;
            } else {
                json += c;
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
