#pragma once
// The image control TBMShapedForm builds on: TPicture, a holder of one bitmap that
// reports each change, and TImage, a windowless control that paints it.

#include <QImage>
#include <QMetaObject>
#include <QWidget>

namespace tintara {

// One bitmap, held as 32-bit pixels without alpha (Format_RGB32), or nothing.
class TPicture : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    const QImage& Bitmap() const { return m_bitmap; }
    int Width() const { return m_bitmap.width(); }
    int Height() const { return m_bitmap.height(); }
    bool Empty() const { return m_bitmap.isNull(); }

    // Takes a copy of the image (a null image empties the picture), then OnChange.
    void Assign(const QImage& image);
    void Clear() { Assign(QImage()); }

signals:
    void OnChange();

private:
    QImage m_bitmap;
};

// Paints its picture at the top-left corner, centred, or stretched over the whole
// control; can size itself to the picture and fill its parent's client area.
class TImage : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)

public:
    enum TAlign { alNone, alClient };
    Q_ENUM(TAlign)

    explicit TImage(QWidget* parent = nullptr);
    ~TImage() override;

    TPicture* Picture() const { return m_picture; }

    TAlign Align() const { return m_align; }
    // alClient makes the control cover its parent's client area, now and on every
    // resize of the parent.
    void SetAlign(TAlign align);
    bool AutoSize() const { return m_autoSize; }
    // Turning AutoSize on sizes the control to a non-empty picture; both repaint.
    void SetAutoSize(bool value);
    bool Center() const { return m_center; }
    void SetCenter(bool value);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool value);

    // Sets position and size; with alClient the parent's client area has the last word.
    virtual void SetBounds(int left, int top, int width, int height);

    QSize sizeHint() const override;

signals:
    void OnClick();
    void OnDblClick();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    // Moves the control onto its parent's client area when aligned to it.
    void AlignToParent();

    // Replaces the control's own response to picture changes (size to it, repaint).
    template <typename Receiver> void ReplacePictureChangeHandler(void (Receiver::*handler)()) {
        disconnect(m_pictureConnection);
        m_pictureConnection =
            connect(m_picture, &TPicture::OnChange, static_cast<Receiver*>(this), handler);
    }

private:
    void PictureChanged();
    void AdjustToPicture();

    TPicture* m_picture;
    QMetaObject::Connection m_pictureConnection;
    TAlign m_align = alNone;
    bool m_autoSize = false;
    bool m_center = false;
    bool m_stretch = false;
    bool m_leftPressed = false; // a left press awaits its release (click rule)
};

} // namespace tintara
