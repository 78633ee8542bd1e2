#pragma once
// The window's fonts: the closest this system has to the 8-point "MS Sans Serif" the
// layout was drawn for, and a fixed-pitch font for the material list whose characters
// are 8 pixels wide, so the list's fields line up under the column headings.

#include <QFont>
#include <QStringList>

namespace tintara {

// Registers the fallbacks for "MS Sans Serif" and "Courier" (once per process), so
// fonts that name them find the nearest installed family.
void InstallFontSubstitutes();

QFont WindowFont();
QFont ListFont();

// `base`, made smaller a pixel at a time (down to 8 pixels) until every one of `lines`
// fits in `width` pixels, so a text laid out for a narrower face does not wrap.
QFont FontFittingLines(QFont base, const QStringList& lines, int width);

// Width of one character of the list font, in pixels.
inline constexpr int ListCharacterWidth = 8;

} // namespace tintara
