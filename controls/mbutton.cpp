#include "controls/mbutton.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace tintara {
namespace {

// Draws the line from `from` towards `to`, leaving out `to` itself, as a pen moved
// with line-to commands does; `to` is where the next segment starts.
void DrawSegment(QPainter& painter, QPoint from, QPoint to, const QColor& colour) {
    if (from == to)
        return;
    const QPoint step((to.x() > from.x()) - (to.x() < from.x()),
                      (to.y() > from.y()) - (to.y() < from.y()));
    painter.setPen(QPen(colour, 0));
    painter.drawLine(from, to - step);
}

} // namespace

TMButton::TMButton(QWidget* parent) : TClickableControl(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TMButton::~TMButton() = default;

void TMButton::SetDropDownMenu(QMenu* menu) {
    m_dropDownMenu = menu;
}

void TMButton::SetBitmap(const QPixmap& bitmap) {
    m_bitmap = bitmap.copy();
    Redraw();
}

void TMButton::SetFlag(int index, bool value) {
    switch (index) {
    case LatchFlag:
        m_latch = value;
        break;
    case DownFlag:
        m_down = value;
        break;
    case BorderFlag:
        m_border = value;
        break;
    case StretchFlag:
        m_stretch = value;
        break;
    case RockerLRFlag:
        m_rockerLR = value;
        break;
    case RockerUDFlag:
        m_rockerUD = value;
        break;
    case HighlightFlag:
        m_highlight = value;
        break;
    default:
        break;
    }
    Redraw();
}

void TMButton::Redraw() {
    repaint();
}

QColor TMButton::ColorDark() const {
    return m_colorDark.isValid() ? m_colorDark : palette().color(QPalette::Shadow);
}

QColor TMButton::ColorLight() const {
    return m_colorLight.isValid() ? m_colorLight : palette().color(QPalette::Midlight);
}

QSize TMButton::sizeHint() const {
    return m_bitmap.isNull() ? QSize(49, 41) : m_bitmap.size() + QSize(6, 6);
}

void TMButton::paintEvent(QPaintEvent*) {
    const int w = width();
    const int h = height();
    QPainter painter(this);
    // Qt has no separate background erase for this widget; filling with Color first
    // gives the same picture.
    painter.fillRect(rect(), Color());

    QRect bitmapRect;
    if (m_stretch) {
        bitmapRect = QRect(QPoint(2, 2), QPoint(w - 4, h - 4) - QPoint(1, 1));
    } else {
        bitmapRect =
            QRect(QPoint((w - m_bitmap.width()) / 2, (h - m_bitmap.height()) / 2), m_bitmap.size());
    }

    const QColor dark = ColorDark();
    const QColor light = ColorLight();
    // Segments A1..A4 (top-left side) then B1..B4 (bottom-right side).
    QColor colours[8];
    if (!m_down) {
        for (int i = 0; i < 4; ++i) {
            colours[i] = light;
            colours[i + 4] = dark;
        }
    } else if (!m_rockerLR) {
        for (int i = 0; i < 4; ++i) {
            colours[i] = dark;
            colours[i + 4] = light;
        }
    } else {
        m_clickLeft = m_pressX < w / 2;
        const QColor outer = m_clickLeft ? dark : light;
        const QColor inner = m_clickLeft ? light : dark;
        for (int i = 0; i < 3; ++i) {
            colours[i] = outer;
            colours[i + 4] = outer;
        }
        colours[3] = inner;
        colours[7] = inner;
    }
    if (!m_border && !m_hot && !m_down) {
        for (QColor& colour : colours)
            colour = Color();
    }

    const QPoint path[9] = {{0, h - 1},     {0, h / 2},     {0, 0},         {w / 2, 0}, {w - 1, 0},
                            {w - 1, h / 2}, {w - 1, h - 1}, {w / 2, h - 1}, {0, h - 1}};
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < 8; ++i)
        DrawSegment(painter, path[i], path[i + 1], colours[i]);

    // A control too small for the stretched rectangle draws no bitmap rather than a
    // mirrored one.
    if (!m_bitmap.isNull() && !bitmapRect.isEmpty()) {
        if (m_stretch)
            painter.drawPixmap(bitmapRect, m_bitmap);
        else
            painter.drawPixmap(bitmapRect.topLeft(), m_bitmap);
    }
    DrawFocusMark(painter);
}

void TMButton::PressNoted(QPoint p) {
    m_pressX = p.x();
}

void TMButton::Pressed(QPoint) {
    m_down = m_latch ? !m_down : true;
    Redraw();
    if (m_dropDownMenu && m_down) {
        const QPointer<TMButton> self(this);
        m_dropDownMenu->exec(mapToGlobal(QPoint(0, height())));
        if (!self)
            return; // a menu command destroyed the button
        // The menu took the release.
        ForgetPress();
        m_down = false;
        m_captured = false;
        Redraw();
    }
}

bool TMButton::IsOutside(int x, int y) const {
    return x < 0 || y < 0 || x > width() || y > height();
}

void TMButton::TakeCapture() {
    m_captured = true;
    m_hot = true;
    Redraw();
    m_hot = false;
}

void TMButton::ReleaseCapture() {
    m_captured = false;
    Redraw();
}

bool TMButton::Moving(QPoint p) {
    if (m_highlight) {
        if (!m_captured)
            TakeCapture();
        if (IsOutside(p.x(), p.y())) {
            ReleaseCapture();
            return false;
        }
    }
    return true;
}

void TMButton::Released(QPoint) {
    if (!m_latch)
        m_down = false;
    m_captured = false;
    Redraw();
}

void TMButton::enterEvent(QEnterEvent*) {
    if (m_highlight && !m_captured)
        TakeCapture();
}

void TMButton::leaveEvent(QEvent*) {
    // The pointer left without a move past the edges reaching us (no button held).
    if (m_captured)
        ReleaseCapture();
}

} // namespace tintara
