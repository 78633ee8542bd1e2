#pragma once
// The text form of the numbers shown in numeric edit fields, and the reading of such
// text back into a number. Pure functions, independent of widgets and of the locale:
// the decimal separator is always ".".

#include <QString>

#include <string>
#include <string_view>

namespace tintara {

// Formats a number with at most 15 significant digits and no trailing zeros, in fixed
// notation when the decimal exponent e of 0.d1d2...dn x 10^e lies in -3..15 and in
// scientific notation otherwise: 0 -> "0", 12.5 -> "12.5", 0.0001 -> "0.0001",
// 0.00001 -> "1E-5", 1e15 -> "1E15", -2.5e20 -> "-2.5E20". Infinities give "INF" and
// "-INF", NaN gives "NAN".
std::string FormatNumber(double value);
QString FormatNumberText(double value);

// Reads the longest leading part of the text that has the form
//   [white space] [+|-] digits [. digits] [(e|E) [+|-] digits]
// and returns its value; reading stops at the first character that doesn't fit
// ("12abc" reads as 12, "1,5" as 1). A text without digits reads as 0. A value too
// large for a double reads as an infinity of its sign, one too small as zero.
double ConvertNumber(std::string_view text);
double ConvertNumberText(const QString& text);

} // namespace tintara
