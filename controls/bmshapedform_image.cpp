#include "controls/bmshapedform_image.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tintara {

void TPicture::Assign(const QImage& image) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        m_bitmap = QImage();
    else
        m_bitmap = image.convertToFormat(QImage::Format_RGB32);
    emit OnChange();
}

TImage::TImage(QWidget* parent) : QWidget(parent), m_picture(new TPicture(this)) {
    m_pictureConnection = connect(m_picture, &TPicture::OnChange, this, &TImage::PictureChanged);
    if (parent)
        parent->installEventFilter(this);
}

TImage::~TImage() {
    // The filter must not run while this control is being torn down.
    if (QWidget* parent = parentWidget())
        parent->removeEventFilter(this);
}

void TImage::SetAlign(TAlign align) {
    m_align = align;
    AlignToParent();
}

void TImage::SetAutoSize(bool value) {
    if (m_autoSize == value)
        return;
    m_autoSize = value;
    if (m_autoSize)
        AdjustToPicture();
    update();
}

void TImage::SetCenter(bool value) {
    if (m_center == value)
        return;
    m_center = value;
    update();
}

void TImage::SetStretch(bool value) {
    if (m_stretch == value)
        return;
    m_stretch = value;
    update();
}

void TImage::SetBounds(int left, int top, int width, int height) {
    QWidget* parent = parentWidget();
    if (m_align == alClient && parent)
        setGeometry(parent->rect());
    else
        setGeometry(left, top, width, height);
}

QSize TImage::sizeHint() const {
    return m_picture->Empty() ? QWidget::sizeHint() : m_picture->Bitmap().size();
}

void TImage::AlignToParent() {
    QWidget* parent = parentWidget();
    if (m_align == alClient && parent && geometry() != parent->rect())
        SetBounds(0, 0, parent->width(), parent->height());
}

void TImage::PictureChanged() {
    AdjustToPicture();
    update();
}

void TImage::AdjustToPicture() {
    if (m_autoSize && !m_picture->Empty())
        SetBounds(x(), y(), m_picture->Width(), m_picture->Height());
}

bool TImage::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ParentAboutToChange:
        if (QWidget* parent = parentWidget())
            parent->removeEventFilter(this);
        break;
    case QEvent::ParentChange:
        if (QWidget* parent = parentWidget()) {
            parent->installEventFilter(this);
            AlignToParent();
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool TImage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        AlignToParent();
    return QWidget::eventFilter(watched, event);
}

void TImage::paintEvent(QPaintEvent*) {
    if (m_picture->Empty())
        return;
    const QImage& bitmap = m_picture->Bitmap();
    QPainter painter(this);
    if (m_stretch)
        painter.drawImage(rect(), bitmap);
    else if (m_center)
        painter.drawImage(QPoint((width() - bitmap.width()) / 2, (height() - bitmap.height()) / 2),
                          bitmap);
    else
        painter.drawImage(QPoint(0, 0), bitmap);
}

// The mouse handlers accept every event, so the control keeps the pointer from the
// press to the release.
void TImage::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    emit OnMouseDown(event->button(), event->modifiers(), pos.x(), pos.y());
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    emit OnMouseMove(event->buttons(), event->modifiers(), pos.x(), pos.y());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_leftPressed) {
        m_leftPressed = false;
        if (rect().contains(pos))
            emit OnClick();
    }
    emit OnMouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
}

void TImage::mouseDoubleClickEvent(QMouseEvent* event) {
    emit OnDblClick();
    mousePressEvent(event);
}

} // namespace tintara
