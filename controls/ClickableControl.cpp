#include "controls/ClickableControl.h"

#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QtMath>

namespace tintara {

TClickableControl::TClickableControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void TClickableControl::SetColor(const QColor& colour) {
    m_colour.set(colour);
    update();
}

void TClickableControl::SetParentColor(bool value) {
    m_colour.setFollowsParent(value);
    update();
}

void TClickableControl::UpdateKeyboardReach() {
    SetKeyboardReach(ActsWhenClicked() ||
                     isSignalConnected(QMetaMethod::fromSignal(&TClickableControl::OnClick)));
}

void TClickableControl::SetKeyboardReach(bool acts) {
    // Tab only: the mouse rules stay as they are, and a click takes no focus.
    setFocusPolicy(acts ? Qt::TabFocus : Qt::NoFocus);
}

// Both notifications may come with Qt's connection lock held, so neither asks which
// connections remain: a new one makes the control act, and a removed one is weighed
// once the event loop runs again.
void TClickableControl::connectNotify(const QMetaMethod& signal) {
    if (signal == QMetaMethod::fromSignal(&TClickableControl::OnClick))
        SetKeyboardReach(true);
}

void TClickableControl::disconnectNotify(const QMetaMethod& signal) {
    // An invalid method: every signal was disconnected at once.
    if (!signal.isValid() || signal == QMetaMethod::fromSignal(&TClickableControl::OnClick))
        QMetaObject::invokeMethod(this, &TClickableControl::UpdateKeyboardReach,
                                  Qt::QueuedConnection);
}

void TClickableControl::DrawFocusMark(QPainter& painter) const {
    if (!hasFocus())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(3, 3, -3, -3);
    option.backgroundColor = Color();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void TClickableControl::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (focusPolicy() == Qt::NoFocus ||
        (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)) {
        QWidget::keyPressEvent(event);
        return;
    }
    // As a push button: down on the press, the click on the release.
    if (!event->isAutoRepeat() && m_keyPressed == 0) {
        m_keyPressed = key;
        Pressed(rect().center());
    }
    event->accept();
}

void TClickableControl::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != m_keyPressed || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    m_keyPressed = 0;
    emit OnClick();
    Released(rect().center());
    event->accept();
}

void TClickableControl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TClickableControl::focusOutEvent(QFocusEvent* event) {
    // A key that pressed the control and lost the focus before its release clicks nothing.
    if (m_keyPressed != 0) {
        m_keyPressed = 0;
        Released(QPoint(-1, -1));
    }
    QWidget::focusOutEvent(event);
    update();
}

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
