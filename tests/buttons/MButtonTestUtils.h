#pragma once
// Helpers shared by the TMButton tests: the test colours and size, a shown or hidden
// button in those colours, and the frame read back as a code of its eight segments.

#include "controls/mbutton.h"

#include "ButtonTestUtils.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QTest>

#include <memory>

namespace tintara::test::mbutton {

inline constexpr QRgb Back = 0x00C000;  // Color
inline constexpr QRgb Light = 0xFF0000; // ColorLight
inline constexpr QRgb Dark = 0x0000FF;  // ColorDark

// Odd sizes, so that the halves of the frame differ by a pixel.
inline constexpr int kW = 21;
inline constexpr int kH = 15;

// The eight frame segments A1..A4, B1..B4 as "L" (light), "D" (dark) or "B" (the
// background colour), read from both ends of each segment.
inline QString FrameCode(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    const QPoint ends[8][2] = {
        {{0, h - 1}, {0, h / 2 + 1}},
        {{0, h / 2}, {0, 1}},
        {{0, 0}, {w / 2 - 1, 0}},
        {{w / 2, 0}, {w - 2, 0}},
        {{w - 1, 0}, {w - 1, h / 2 - 1}},
        {{w - 1, h / 2}, {w - 1, h - 2}},
        {{w - 1, h - 1}, {w / 2 + 1, h - 1}},
        {{w / 2, h - 1}, {1, h - 1}},
    };
    QString code;
    for (const auto& segment : ends) {
        const QRgb first = PixelAt(image, segment[0].x(), segment[0].y());
        const QRgb last = PixelAt(image, segment[1].x(), segment[1].y());
        if (first != last)
            code += QLatin1Char('?');
        else if (first == Light)
            code += QLatin1Char('L');
        else if (first == Dark)
            code += QLatin1Char('D');
        else if (first == Back)
            code += QLatin1Char('B');
        else
            code += QLatin1Char('x');
    }
    return code;
}

inline std::unique_ptr<TMButton> MakeButton(bool show = true) {
    auto button = std::make_unique<TMButton>();
    button->resize(kW, kH);
    button->SetColor(QColor::fromRgb(Back));
    button->SetColorLight(QColor::fromRgb(Light));
    button->SetColorDark(QColor::fromRgb(Dark));
    if (show) {
        button->move(300, 300);
        button->show();
        if (!QTest::qWaitForWindowExposed(button.get()))
            qWarning("button window not exposed");
    }
    return button;
}

} // namespace tintara::test::mbutton
