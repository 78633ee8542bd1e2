#include "controls/bmshapedform.h"

#include "controls/bmshapedform_region.h"

#include <QMouseEvent>
#include <QPainter>

#include <utility>

namespace tintara {
namespace {

// Gives a top-level window the shape of a region in its client coordinates, and takes
// away its caption and borders. Qt reads an empty mask as "no mask", so an empty shape
// becomes one pixel outside the window: a mask that covers none of it.
void ApplyWindowShape(QWidget* form, const QRegion& shape) {
    if (!form->windowFlags().testFlag(Qt::FramelessWindowHint)) {
        const bool visible = form->isVisible();
        form->setWindowFlags(form->windowFlags() | Qt::FramelessWindowHint);
        if (visible)
            form->show();
    }
    form->setMask(shape.isEmpty() ? QRegion(-1, -1, 1, 1) : shape);
}

} // namespace

TBMShapedForm::TBMShapedForm(QWidget* parent) : TImage(nullptr) {
    SetAlign(alClient);
    SetAutoSize(false);
    SetStretch(false);
    ReplacePictureChangeHandler(&TBMShapedForm::UpdateShape);
    if (parent)
        SetParent(parent);
}

// A shape the form never received is a plain value and goes with the control; the form
// keeps the last shape it was given.
TBMShapedForm::~TBMShapedForm() = default;

void TBMShapedForm::SetParent(QWidget* parent) {
    const bool hiddenByUser = isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide);
    setParent(parent);
    if (!parent)
        return;
    if (!hiddenByUser)
        show();
    CheckParent(parent);
}

void TBMShapedForm::CheckParent(QWidget* parent) const {
    if (!parent->isWindow())
        throw ShapedFormError("Please Drop on a Form");
    for (QObject* child : parent->children()) {
        if (child != this && qobject_cast<TBMShapedForm*>(child))
            throw ShapedFormError("Please Drop only one TBMShapedForm per Form");
    }
}

QWidget* TBMShapedForm::Form() const {
    QWidget* parent = parentWidget();
    return parent && parent->isWindow() ? parent : nullptr;
}

void TBMShapedForm::Loaded() {
    m_loading = false;
    BuildRegion();
    ApplyRegion();
}

void TBMShapedForm::SetBounds(int left, int top, int width, int height) {
    m_settingBounds = true;
    TImage::SetBounds(left, top, width, height);
    m_settingBounds = false;
    GeometryChanged();
}

void TBMShapedForm::moveEvent(QMoveEvent* event) {
    TImage::moveEvent(event);
    if (!m_settingBounds && geometry() != m_shapedBounds)
        GeometryChanged();
}

void TBMShapedForm::resizeEvent(QResizeEvent* event) {
    TImage::resizeEvent(event);
    if (!m_settingBounds && geometry() != m_shapedBounds)
        GeometryChanged();
}

void TBMShapedForm::GeometryChanged() {
    m_shapedBounds = geometry();
    if (!m_loading && parentWidget())
        UpdateShape();
}

void TBMShapedForm::UpdateShape() {
    m_shapeRegion.reset();
    const TPicture& picture = *Picture();
    if (AutoSize()) {
        if (QWidget* form = Form()) {
            form->resize(picture.Width(), picture.Height());
            // A hidden form reports its new size only when shown; follow it now.
            AlignToParent();
        }
        m_shapeWidth = picture.Width();
        m_shapeHeight = picture.Height();
    } else {
        m_shapeWidth = width();
        m_shapeHeight = height();
    }
    BuildRegion();
    ApplyRegion();
    update();
}

QImage TBMShapedForm::ShapePixels() const {
    const QImage& bitmap = Picture()->Bitmap();
    const QSize size(m_shapeWidth, m_shapeHeight);
    if (bitmap.size() == size)
        return bitmap;
    // Stretched the way TImage paints it, so the shape matches what is shown.
    QImage pixels(size, QImage::Format_RGB32);
    if (pixels.isNull())
        return pixels;
    pixels.fill(Qt::black);
    QPainter painter(&pixels);
    painter.drawImage(QRect(QPoint(0, 0), size), bitmap);
    return pixels;
}

void TBMShapedForm::BuildRegion() {
    if (!Form() || Picture()->Empty())
        return;
    if (m_shapeRegion) {
        if (m_shapeWidth == m_lastWidth && m_shapeHeight == m_lastHeight)
            return;
        m_shapeRegion.reset();
    }
    m_lastWidth = width();
    m_lastHeight = height();
    // The mask is in the form's client coordinates: the shape sits where the control
    // shows the picture.
    const QPoint offset = pos();
    if (m_shapeWidth <= 0 || m_shapeHeight <= 0)
        return;
    const QImage pixels = ShapePixels();
    if (pixels.isNull())
        return; // no memory for the pixels: the form keeps its shape
    // The same build the tests check and the benchmark measures.
    QRegion region = RegionOneStep(pixels);
    region.translate(offset);
    m_shapeRegion = std::move(region);
    m_regionApplied = false;
}

void TBMShapedForm::ApplyRegion() {
    QWidget* form = Form();
    if (!form || !m_shapeRegion || m_regionApplied)
        return;
    ApplyWindowShape(form, *m_shapeRegion);
    m_regionApplied = true;
    update();
}

void TBMShapedForm::paintEvent(QPaintEvent* event) {
    if (!Picture()->Empty())
        MakeSwitchesAgree();
    TImage::paintEvent(event);
}

// Exactly one of AutoSize and Stretch stays on; the one changed last wins.
void TBMShapedForm::MakeSwitchesAgree() {
    if (AutoSize() != m_prevAutoSize) {
        if (!AutoSize() && !Stretch()) {
            SetStretch(true);
            m_prevStretch = true;
        } else if (AutoSize() && Stretch()) {
            SetStretch(false);
            m_prevStretch = false;
        }
    }
    if (Stretch() != m_prevStretch) {
        if (AutoSize() && Stretch())
            SetAutoSize(false);
        else if (!AutoSize() && !Stretch())
            SetAutoSize(true);
    }
    if (AutoSize() && Stretch())
        SetStretch(false);
    else if (!AutoSize() && !Stretch())
        SetAutoSize(true);
    m_prevStretch = Stretch();
    m_prevAutoSize = AutoSize();
}

void TBMShapedForm::mousePressEvent(QMouseEvent* event) {
    TImage::mousePressEvent(event);
    const QPoint pos = event->position().toPoint();
    m_downX = pos.x();
    m_downY = pos.y();
    m_dragging = true;
}

void TBMShapedForm::mouseMoveEvent(QMouseEvent* event) {
    TImage::mouseMoveEvent(event);
    const Qt::KeyboardModifiers keys = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    const bool leftAlone = event->buttons() == Qt::MouseButtons(Qt::LeftButton) &&
                           (event->modifiers() & keys) == Qt::NoModifier;
    QWidget* form = Form();
    if (!m_moveable || !m_dragging || !leftAlone || !form)
        return;
    // The control moves with the form, so the pointer keeps its place on the image.
    const QPoint pos = event->position().toPoint();
    form->move(form->x() + (pos.x() - m_downX), form->y() + (pos.y() - m_downY));
    form->repaint();
}

void TBMShapedForm::mouseReleaseEvent(QMouseEvent* event) {
    TImage::mouseReleaseEvent(event);
    m_dragging = false;
}

} // namespace tintara
