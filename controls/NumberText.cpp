#include "controls/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace tintara {

namespace {

constexpr int SignificantDigits = 15;
constexpr int LowestFixedExponent = -3;
constexpr int HighestFixedExponent = 15;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::string FormatNumber(double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0.0)
        return "0";

    // Correctly rounded to 15 significant digits: "-d.dddddddddddddde+XXX".
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, SignificantDigits - 1);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));

    std::size_t pos = 0;
    const bool negative = scientific[pos] == '-';
    if (negative)
        ++pos;
    std::string digits;
    for (; pos < scientific.size() && scientific[pos] != 'e'; ++pos) {
        if (IsDigit(scientific[pos]))
            digits += scientific[pos];
    }
    int exponent10 = 0;
    std::from_chars(scientific.data() + pos + 1 + (scientific[pos + 1] == '+' ? 1 : 0),
                    scientific.data() + scientific.size(), exponent10);
    // Rounding the largest doubles up to 15 digits can pass the largest double, and
    // such a text would read back as an infinity: take the 15-digit value below.
    double check = 0;
    if (std::from_chars(scientific.data(), scientific.data() + scientific.size(), check).ec ==
        std::errc::result_out_of_range) {
        for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
            if (*digit != '0') {
                --*digit;
                break;
            }
            *digit = '9';
        }
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    // The value is 0.d1d2...dn x 10^e.
    const int e = exponent10 + 1;
    const int n = static_cast<int>(digits.size());
    std::string text = negative ? "-" : "";
    if (e >= LowestFixedExponent && e <= HighestFixedExponent) {
        if (e <= 0) {
            text += "0.";
            text.append(static_cast<std::size_t>(-e), '0');
            text += digits;
        } else if (n <= e) {
            text += digits;
            text.append(static_cast<std::size_t>(e - n), '0');
        } else {
            text.append(digits, 0, static_cast<std::size_t>(e));
            text += '.';
            text.append(digits, static_cast<std::size_t>(e));
        }
    } else {
        text += digits[0];
        if (n > 1) {
            text += '.';
            text.append(digits, 1);
        }
        text += 'E';
        text += std::to_string(e - 1);
    }
    return text;
}

QString FormatNumberText(double value) {
    return QString::fromStdString(FormatNumber(value));
}

double ConvertNumber(std::string_view text) {
    std::size_t pos = 0;
    const std::size_t size = text.size();
    while (pos < size && IsSpace(text[pos]))
        ++pos;

    bool negative = false;
    if (pos < size && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    // Mantissa digits without leading zeros, and the power of ten of the first of
    // them, so that very long inputs and huge exponents stay cheap and exact.
    std::string mantissa;
    bool anyDigit = false;
    while (pos < size && IsDigit(text[pos])) {
        anyDigit = true;
        if (!mantissa.empty() || text[pos] != '0')
            mantissa += text[pos];
        ++pos;
    }
    long long pointShift = static_cast<long long>(mantissa.size());
    if (pos < size && text[pos] == '.') {
        ++pos;
        while (pos < size && IsDigit(text[pos])) {
            anyDigit = true;
            if (mantissa.empty() && text[pos] == '0')
                --pointShift;
            else
                mantissa += text[pos];
            ++pos;
        }
    }
    if (!anyDigit || mantissa.empty())
        return 0.0;

    long long exponent = 0;
    if (pos < size && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t p = pos + 1;
        bool exponentNegative = false;
        if (p < size && (text[p] == '+' || text[p] == '-')) {
            exponentNegative = text[p] == '-';
            ++p;
        }
        if (p < size && IsDigit(text[p])) {
            constexpr long long ExponentCap = 1000000;
            for (; p < size && IsDigit(text[p]); ++p) {
                if (exponent < ExponentCap)
                    exponent = exponent * 10 + (text[p] - '0');
            }
            if (exponent > ExponentCap)
                exponent = ExponentCap;
            if (exponentNegative)
                exponent = -exponent;
        }
    }

    // The value is 0.m1m2... x 10^magnitude.
    const long long magnitude = pointShift + exponent;
    constexpr long long TooLarge = 400;  // beyond the double range (about 1.8e308)
    constexpr long long TooSmall = -400; // below the smallest subnormal (about 4.9e-324)
    double value = 0.0;
    if (magnitude > TooLarge) {
        value = std::numeric_limits<double>::infinity();
    } else if (magnitude < TooSmall) {
        value = 0.0;
    } else {
        std::string canonical = "0.";
        canonical += mantissa;
        canonical += 'e';
        canonical += std::to_string(magnitude);
        const auto result =
            std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
        if (result.ec != std::errc())
            value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

double ConvertNumberText(const QString& text) {
    // Characters outside ASCII cannot belong to a number; reading stops at them.
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            break;
        }
        ascii += static_cast<char>(c.unicode());
    }
    return ConvertNumber(ascii);
}

} // namespace tintara
