#include "framework/ColourChooser.h"

#include <QColorDialog>

namespace tintara {

std::optional<std::int32_t> QtColourChooser::ChooseColour(QWidget* owner, std::int32_t initial) {
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

} // namespace tintara
