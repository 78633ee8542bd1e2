#pragma once
// Helpers shared by the TExeButton tests: the test colours and a shown or hidden
// button whose palette carries them.

#include "controls/ExeButtn.h"

#include <QColor>
#include <QPalette>
#include <QTest>

#include <memory>

namespace tintara::test::exebutton {

inline constexpr QRgb Back = 0x00C000;  // Color
inline constexpr QRgb Light = 0xFF0000; // palette Midlight
inline constexpr QRgb Dark = 0x0000FF;  // palette Shadow

inline std::unique_ptr<TExeButton> MakeButton(bool show = true) {
    auto button = std::make_unique<TExeButton>();
    QPalette palette = button->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(Back));
    palette.setColor(QPalette::Midlight, QColor::fromRgb(Light));
    palette.setColor(QPalette::Shadow, QColor::fromRgb(Dark));
    button->setPalette(palette);
    button->resize(60, 30);
    if (show) {
        button->move(300, 300); // away from the pointer
        button->show();
        if (!QTest::qWaitForWindowExposed(button.get()))
            qWarning("button window not exposed");
    }
    return button;
}

} // namespace tintara::test::exebutton
