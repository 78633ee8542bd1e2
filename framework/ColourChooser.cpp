#include "framework/ColourChooser.h"

#include <QtGlobal> // Q_OS_WIN

#ifdef Q_OS_WIN
#include <QWidget>

#include <windows.h>

#include <commdlg.h>
#else
#include <QColorDialog>
#endif

namespace tintara {

#ifdef Q_OS_WIN

std::optional<std::int32_t> SystemColourChooser::ChooseColour(QWidget* owner,
                                                              std::int32_t initial) {
    // The custom colours the user mixes are kept for the rest of the run.
    static COLORREF customColours[16] = {};
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
    choose.rgbResult = static_cast<COLORREF>(static_cast<std::uint32_t>(initial) & 0xFFFFFFu);
    choose.lpCustColors = customColours;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (!ChooseColorW(&choose))
        return std::nullopt;
    return static_cast<std::int32_t>(choose.rgbResult & 0xFFFFFFu);
}

#else

std::optional<std::int32_t> SystemColourChooser::ChooseColour(QWidget* owner,
                                                              std::int32_t initial) {
    const auto bits = static_cast<std::uint32_t>(initial);
    const QColor start(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                       static_cast<int>((bits >> 16) & 0xFFu));
    // Qt's own dialog always shows the custom colours and accepts any colour; the
    // alpha channel is not offered.
    const QColor chosen = QColorDialog::getColor(start, owner);
    if (!chosen.isValid())
        return std::nullopt;
    const QColor rgb = chosen.toRgb();
    return rgb.red() + 256 * rgb.green() + 65536 * rgb.blue();
}

#endif

} // namespace tintara
