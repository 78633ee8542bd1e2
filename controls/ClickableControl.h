#pragma once
// What the bitmap button and the file-icon button share: the mouse signals, the click
// rule (a left press on the control, then a left release inside its client rectangle)
// and the rule that the right button reports its press and release but does nothing
// else. Each control adds its own reaction through the hooks.

#include <QWidget>

class QMouseEvent;

namespace tintara {

class TClickableControl : public QWidget {
    Q_OBJECT
public:
    explicit TClickableControl(QWidget* parent = nullptr);

signals:
    // Emitted before the control handles the release (see Released).
    void OnClick();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    // After OnMouseDown, for every button.
    virtual void PressNoted(QPoint) {}
    // After PressNoted, for any button but the right one.
    virtual void Pressed(QPoint) {}
    // Before OnMouseMove; false holds the signal back.
    virtual bool Moving(QPoint) { return true; }
    // After OnClick (if any) and OnMouseUp, for any button but the right one.
    virtual void Released(QPoint) {}
    // The press was taken elsewhere (by a menu, say): its release is no click.
    void ForgetPress() { m_leftPressed = false; }

    // The event's position in whole pixels, as the control's coordinates.
    static QPoint EventPoint(const QMouseEvent* event);

    void mousePressEvent(QMouseEvent* event) final;
    void mouseMoveEvent(QMouseEvent* event) final;
    void mouseReleaseEvent(QMouseEvent* event) final;

private:
    bool m_leftPressed = false; // a left press awaits its release
};

} // namespace tintara
