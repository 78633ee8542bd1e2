#include "controls/Shape.h"

#include <QPainter>

#include <algorithm>

namespace tintara {

TShape::TShape(QWidget* parent) : QWidget(parent) {}

void TShape::setShapeType(ShapeType shape) {
    if (shape == m_shape)
        return;
    m_shape = shape;
    update();
}

void TShape::setFillColor(std::int32_t value) {
    if (value == m_fill)
        return;
    m_fill = value;
    update();
    emit fillColorChanged(value);
}

QColor TShape::DrawnColour(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

std::int32_t TShape::ValueOf(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return rgb.red() + 256 * rgb.green() + 65536 * rgb.blue();
}

void TShape::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(DrawnColour(m_fill));
    if (m_shape == Rectangle) {
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        return;
    }
    // The largest circle that fits, centred.
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height());
    const QRectF square((width() - side) / 2.0 + 0.5, (height() - side) / 2.0 + 0.5, side - 1.0,
                        side - 1.0);
    painter.drawEllipse(square);
}

} // namespace tintara
