#include "mainwindow/WindowFonts.h"

#include <QFontMetrics>
#include <QStringList>

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
    // largest size of the font found here whose characters are that wide.
    int chosen = 13;
    for (int size = 10; size <= 16; ++size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(QLatin1Char('0')) == ListCharacterWidth)
            chosen = size;
    }
    font.setPixelSize(chosen);
    return font;
}

} // namespace tintara
