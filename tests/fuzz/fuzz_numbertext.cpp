// The numeric edit's text rules: converting any text must not crash, and formatting a
// number then converting the text must give the number back within 15 significant
// digits.

#include "controls/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double read = tintara::ConvertNumber(text);
    (void)tintara::ConvertNumberText(QString::fromUtf8(text.data(), qsizetype(text.size())));

    if (size >= 8) {
        double value;
        std::memcpy(&value, data, sizeof value);
        if (std::isfinite(value)) {
            const std::string formatted = tintara::FormatNumber(value);
            const double back = tintara::ConvertNumber(formatted);
            const double tolerance = std::fabs(value) * 1e-14;
            // Values below the smallest normal double lose digits by nature.
            if (std::fabs(value) > 1e-300 && !(std::fabs(back - value) <= tolerance)) {
                std::fprintf(stderr, "%.17g formatted as %s reads back as %.17g\n", value,
                             formatted.c_str(), back);
                std::abort();
            }
            if (std::fabs(value) <= 1e-300 && !std::isfinite(back))
                std::abort();
        }
    }
    (void)read;
    return 0;
}
