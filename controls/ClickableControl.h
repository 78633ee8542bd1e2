#pragma once
// What the bitmap button and the file-icon button share: the mouse signals, the click
// rule (a left press on the control, then a left release inside its client rectangle),
// the rule that the right button reports its press and release but does nothing else,
// the background colour, and the keyboard: a control that does something (its OnClick
// is connected, or it acts on its own) takes the focus with Tab and is pressed with
// Space, Return or Enter as a push button is. Each control adds its own reaction
// through the hooks.

#include "controls/ControlColour.h"

#include <QColor>
#include <QWidget>

class QKeyEvent;
class QMouseEvent;
class QPainter;

namespace tintara {

class TClickableControl : public QWidget {
    Q_OBJECT
    // With ParentColor true (the default) Color is the palette's Window colour, which Qt
    // takes from the parent; writing Color clears ParentColor. An invalid Color stands
    // for the system window colour (the palette's Base).
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
public:
    explicit TClickableControl(QWidget* parent = nullptr);

    QColor Color() const { return m_colour.resolve(palette()); }
    // Both schedule a repaint.
    void SetColor(const QColor& colour);
    bool ParentColor() const { return m_colour.followsParent(); }
    void SetParentColor(bool value);

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

    // Whether the control acts on its own, without a connected OnClick; such a control
    // calls UpdateKeyboardReach when that changes.
    virtual bool ActsWhenClicked() const { return false; }
    void UpdateKeyboardReach();
    // Draws the focus mark inside the control while it has the focus; the controls
    // call it last in their paintEvent.
    void DrawFocusMark(QPainter& painter) const;

    void connectNotify(const QMetaMethod& signal) override;
    void disconnectNotify(const QMetaMethod& signal) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    void mousePressEvent(QMouseEvent* event) final;
    void mouseMoveEvent(QMouseEvent* event) final;
    void mouseReleaseEvent(QMouseEvent* event) final;

private:
    void SetKeyboardReach(bool acts);

    bool m_leftPressed = false; // a left press awaits its release
    int m_keyPressed = 0;       // the key that pressed the control, until its release
    ControlColour m_colour;
};

} // namespace tintara
