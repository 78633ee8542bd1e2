#include "mainwindow/WindowFonts.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace tintara {

void InstallFontSubstitutes() {
    static const bool installed = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Microsoft Sans Serif"),
                                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                    QStringLiteral("DejaVu Sans")});
        QFont::insertSubstitutions(QStringLiteral("Courier"), {QStringLiteral("Courier New"),
                                                               QStringLiteral("Liberation Mono"),
                                                               QStringLiteral("DejaVu Sans Mono")});
        return true;
    }();
    (void)installed;
}

QFont WindowFont() {
    InstallFontSubstitutes();
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont ListFont() {
    InstallFontSubstitutes();
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // The list was laid out for a fixed-pitch face 8 pixels wide and 13 high; take the
    // size of the font found here whose characters come closest to that width.
    int chosen = 13;
    qreal best = 1e9;
    for (int size = 10; size <= 16; ++size) {
        font.setPixelSize(size);
        const qreal miss =
            std::abs(QFontMetricsF(font).horizontalAdvance(QLatin1Char('0')) - ListCharacterWidth);
        if (miss < best) {
            best = miss;
            chosen = size;
        }
    }
    font.setPixelSize(chosen);
    // Spread the characters to exactly that width, so the columns stay under their
    // headings along the whole line.
    const qreal advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
    font.setLetterSpacing(QFont::AbsoluteSpacing, ListCharacterWidth - advance);
    return font;
}

QFont FontFittingLines(QFont base, const QStringList& lines, int width) {
    const auto widest = [&lines](const QFont& font) {
        const QFontMetricsF metrics(font);
        qreal most = 0;
        for (const QString& line : lines)
            most = std::max(most, metrics.horizontalAdvance(line));
        return most;
    };
    while (base.pixelSize() > 8 && widest(base) > width)
        base.setPixelSize(base.pixelSize() - 1);
    return base;
}

} // namespace tintara
