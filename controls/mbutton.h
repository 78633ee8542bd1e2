#pragma once
// TMButton: a bitmap inside a one-pixel 3-D frame that works as a push button, a
// latching button, a two-halved rocker or a drop-down button, optionally drawn flat
// with a hover frame.
//
// It derives from QWidget rather than QAbstractButton: the button's own press, release
// and click order (OnClick runs while a push button is still Down, a latch toggles on
// every press, a rocker remembers which half was pressed) differs from
// QAbstractButton's state machine, which would have to be overridden entirely.
//
// Colours. A colour written as an invalid QColor means "the system colour", resolved
// from the widget's palette at paint time:
//   ColorDark  (cl3DDkShadow) -> QPalette::Shadow
//   ColorLight (cl3DLight)    -> QPalette::Midlight
//   Color      (clWindow)     -> QPalette::Base, used when ParentColor is false
// With ParentColor true (the default) Color is the palette's Window colour, which Qt
// propagates from the parent widget.
//
// In a Designer form, promote a QWidget to tintara::TMButton (header controls/mbutton.h) and
// set the properties below as dynamic properties (stdset="0"), so the generated code
// sets them by name; connect OnClick() in the form's connections.
//
// Hover tracking. The control keeps Qt's mouse tracking on; the first move (or enter
// event) over it "captures" the pointer (Captured), paints the hover look once with Hot
// set, and a move past the edges or a leave event ends the capture. A global
// QWidget::grabMouse is not used: Qt's leave events already report the exit, and a grab
// would steal clicks from other windows.

#include "controls/ClickableControl.h"
#include "controls/ControlColour.h"

#include <QColor>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

namespace tintara {

class TMButton : public TClickableControl {
    Q_OBJECT
    Q_PROPERTY(QMenu* DropDownMenu READ DropDownMenu WRITE SetDropDownMenu)
    Q_PROPERTY(QPixmap Bitmap READ Bitmap WRITE SetBitmap)
    Q_PROPERTY(bool Latch READ Latch WRITE SetLatch)
    Q_PROPERTY(bool Highlight READ Highlight WRITE SetHighlight)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(bool Border READ Border WRITE SetBorder)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool RockerLR READ RockerLR WRITE SetRockerLR)
    Q_PROPERTY(bool RockerUD READ RockerUD WRITE SetRockerUD)
    Q_PROPERTY(bool ClickLeft READ ClickLeft)
    Q_PROPERTY(QColor ColorDark READ ColorDark WRITE SetColorDark)
    Q_PROPERTY(QColor ColorLight READ ColorLight WRITE SetColorLight)

public:
    // Indices of SetFlag; 0 and 4 name no property.
    enum FlagIndex {
        LatchFlag = 1,
        DownFlag = 2,
        BorderFlag = 3,
        StretchFlag = 5,
        RockerLRFlag = 6,
        RockerUDFlag = 7,
        HighlightFlag = 8,
    };

    explicit TMButton(QWidget* parent = nullptr);
    ~TMButton() override;

    QMenu* DropDownMenu() const { return m_dropDownMenu; }
    // Not owned; stored without a repaint.
    void SetDropDownMenu(QMenu* menu);

    QPixmap Bitmap() const { return m_bitmap; }
    // Copies the picture, then Redraw.
    void SetBitmap(const QPixmap& bitmap);

    bool Latch() const { return m_latch; }
    bool Down() const { return m_down; }
    bool Border() const { return m_border; }
    bool Stretch() const { return m_stretch; }
    bool RockerLR() const { return m_rockerLR; }
    bool RockerUD() const { return m_rockerUD; }
    bool Highlight() const { return m_highlight; }
    void SetLatch(bool value) { SetFlag(LatchFlag, value); }
    // Changes only the look; raises no event.
    void SetDown(bool value) { SetFlag(DownFlag, value); }
    void SetBorder(bool value) { SetFlag(BorderFlag, value); }
    void SetStretch(bool value) { SetFlag(StretchFlag, value); }
    void SetRockerLR(bool value) { SetFlag(RockerLRFlag, value); }
    void SetRockerUD(bool value) { SetFlag(RockerUDFlag, value); }
    void SetHighlight(bool value) { SetFlag(HighlightFlag, value); }

    // Stores value in the property named by index, then Redraw (for any index).
    virtual void SetFlag(int index, bool value);
    // Repaints at once: paintEvent has run when this returns.
    virtual void Redraw();

    // Set by painting a pressed rocker: the press was on the left half.
    bool ClickLeft() const { return m_clickLeft; }
    // True only during the repaint that follows the pointer's entry.
    bool Hot() const { return m_hot; }
    // Horizontal client position of the last press.
    int PressX() const { return m_pressX; }
    // The control is tracking the pointer for its hover look.
    bool Captured() const { return m_captured; }

    // Resolved colours (system colours taken from the palette).
    QColor ColorDark() const;
    QColor ColorLight() const;
    // Stored without a repaint; an invalid colour restores the system colour.
    void SetColorDark(const QColor& colour) { m_colorDark = colour; }
    void SetColorLight(const QColor& colour) { m_colorLight = colour; }

    QSize sizeHint() const override;

    // OnClick (see TClickableControl) comes before the release is handled, so a push
    // button is still Down.

protected:
    void paintEvent(QPaintEvent* event) override;
    void PressNoted(QPoint p) override;
    void Pressed(QPoint p) override;
    bool Moving(QPoint p) override;
    void Released(QPoint p) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void TakeCapture();
    void ReleaseCapture();
    bool IsOutside(int x, int y) const;

    QPointer<QMenu> m_dropDownMenu;
    QPixmap m_bitmap;
    bool m_latch = false;
    bool m_down = false;
    bool m_border = true;
    bool m_stretch = true;
    bool m_rockerLR = false;
    bool m_rockerUD = false;
    bool m_highlight = true;
    bool m_clickLeft = false;
    bool m_hot = false;
    QColor m_colorDark;  // invalid: QPalette::Shadow
    QColor m_colorLight; // invalid: QPalette::Midlight
    int m_pressX = 0;
    bool m_captured = false;
};

} // namespace tintara
