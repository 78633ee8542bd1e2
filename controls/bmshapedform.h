#pragma once
// TBMShapedForm: an image control that gives its form the shape of its picture.
//
// The key colour is the picture's bottom-left pixel. Every pixel of that colour, and
// everything outside the picture, is cut out of the form's window (its caption and
// borders too); the other pixels stay, where the control shows them. The control fills
// the form's client area, can size that area to the picture, and lets the user drag the
// form by the image with the left button.
//
// The shape is handed to the form as a widget mask (QWidget::setMask), in the form's
// client coordinates, and the form is made frameless while it has one. The control may
// sit only directly on a form (a top-level widget), and only once per form.
//
// Geometry. A change of the control's position or size (SetBounds, or any QWidget
// geometry change) and every change of the picture rebuild the shape. Between
// BeginLoading and Loaded geometry changes do not; Loaded then rebuilds the shape only
// if the size differs from the one it was built for.
//
// At each paint with a picture, AutoSize and Stretch are made exclusive: the one changed
// last wins, and with both off AutoSize comes on. A move with the left button alone held
// (no other button, no Shift, Ctrl or Alt) drags the form while Moveable is on.

#include "controls/bmshapedform_image.h"

#include <QRect>
#include <QRegion>

#include <optional>
#include <stdexcept>

namespace tintara {

// Raised when the control is put on something that is not a form, or on a form that
// already holds one. Carries the message shown to the user.
class ShapedFormError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TBMShapedForm : public TImage {
    Q_OBJECT
    Q_PROPERTY(bool Moveable READ Moveable WRITE SetMoveable)

public:
    // Fills its parent's client area, AutoSize and Stretch off. A parent given here is
    // set and checked as by SetParent; on an error the control is not created.
    explicit TBMShapedForm(QWidget* parent = nullptr);
    ~TBMShapedForm() override;

    // Sets the parent, then checks it: throws ShapedFormError "Please Drop on a Form"
    // when it is not a top-level widget, "Please Drop only one TBMShapedForm per Form"
    // when it already holds another TBMShapedForm among its direct children. The
    // parent stays set when the error is thrown.
    void SetParent(QWidget* parent);

    bool Moveable() const { return m_moveable; }
    void SetMoveable(bool value) { m_moveable = value; }

    // A layout is being applied: geometry changes leave the shape alone until Loaded.
    void BeginLoading() { m_loading = true; }
    // Loading is over: builds the shape unless the one held fits the size, and hands
    // it to the form.
    void Loaded();

    void SetBounds(int left, int top, int width, int height) override;

    // Rebuilds the shape from the picture and hands it to the form. With AutoSize on,
    // first sizes the form's client area to the picture.
    void UpdateShape();

    // The shape built last (none before the first build, or after a build over no
    // pixels), and whether the form has received it.
    const std::optional<QRegion>& ShapeRegion() const { return m_shapeRegion; }
    bool RegionApplied() const { return m_regionApplied; }
    // A mouse button went down on the control and has not come up yet.
    bool Dragging() const { return m_dragging; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* Form() const;
    void CheckParent(QWidget* parent) const;
    void GeometryChanged();
    void MakeSwitchesAgree();
    QImage ShapePixels() const;
    void BuildRegion();
    void ApplyRegion();

    bool m_moveable = true;
    int m_downX = 0;
    int m_downY = 0;
    bool m_dragging = false;
    int m_shapeHeight = 0;
    int m_shapeWidth = 0;
    bool m_prevStretch = false;
    bool m_prevAutoSize = false;
    int m_lastWidth = 0;
    int m_lastHeight = 0;
    bool m_regionApplied = false;
    std::optional<QRegion> m_shapeRegion;

    bool m_loading = false;
    bool m_settingBounds = false;
    QRect m_shapedBounds; // the geometry the last geometry change was handled for
};

} // namespace tintara
