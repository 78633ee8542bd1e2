#include "controls/ClickableControl.h"

#include <QMouseEvent>
#include <QtMath>

namespace tintara {

TClickableControl::TClickableControl(QWidget* parent) : QWidget(parent) {}

QPoint TClickableControl::EventPoint(const QMouseEvent* event) {
    const QPointF position = event->position();
    return {qFloor(position.x()), qFloor(position.y())};
}

void TClickableControl::mousePressEvent(QMouseEvent* event) {
    const QPoint p = EventPoint(event);
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    emit OnMouseDown(event->button(), event->modifiers(), p.x(), p.y());
    PressNoted(p);
    if (event->button() == Qt::RightButton)
        return;
    Pressed(p);
}

void TClickableControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = EventPoint(event);
    if (Moving(p))
        emit OnMouseMove(event->modifiers(), p.x(), p.y());
}

void TClickableControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = EventPoint(event);
    if (event->button() == Qt::LeftButton) {
        const bool click = m_leftPressed && rect().contains(p);
        m_leftPressed = false;
        if (click)
            emit OnClick();
    }
    emit OnMouseUp(event->button(), event->modifiers(), p.x(), p.y());
    if (event->button() == Qt::RightButton)
        return;
    Released(p);
}

} // namespace tintara
