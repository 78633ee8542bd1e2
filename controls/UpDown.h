#pragma once
// TUpDown: a small up-down spinner (two arrow buttons, one above the other) that
// holds a whole-number position within a range and can be bound to a buddy edit.
// Bound, it shows its position as decimal text in the edit, and each step first takes
// the value back from the edit's text, so typing into the edit and spinning combine.
//
// Range 0..255, position 0 and no wrapping by default; the range and position are the
// QAbstractSlider properties minimum, maximum and value. In a Designer form, promote
// a QWidget to TUpDown (header "controls/UpDown.h") and bind it in code with
// setBuddy() after setupUi().

#include <QAbstractSlider>
#include <QPointer>
#include <QTimer>

class QLineEdit;

namespace tintara {

class TUpDown : public QAbstractSlider {
    Q_OBJECT
    Q_PROPERTY(bool wrapping READ wrapping WRITE setWrapping)

public:
    explicit TUpDown(QWidget* parent = nullptr);

    // Binds the spinner to an edit (or unbinds it with nullptr) and writes the position
    // into the edit's text, which raises its textChanged when the text changes.
    void setBuddy(QLineEdit* buddy);
    QLineEdit* buddy() const { return m_buddy; }

    // Whether stepping past one end of the range continues at the other end.
    bool wrapping() const { return m_wrapping; }
    void setWrapping(bool wrap) { m_wrapping = wrap; }

    // What a click on the up (+1) or down (-1) arrow does: takes the value from the
    // buddy's text, steps within the range and writes the new position.
    void stepBy(int steps);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    enum class Arrow { None, Up, Down };

    void takeValueFromBuddy();
    void writeBuddy();
    void repeatStep();
    QRect arrowRect(Arrow arrow) const;

    QPointer<QLineEdit> m_buddy;
    bool m_wrapping = false;
    bool m_readingBuddy = false;
    Arrow m_pressed = Arrow::None;
    QTimer m_repeat; // auto-repeat while an arrow is held down
};

} // namespace tintara
