#pragma once
// The model view's picture: shows what a ModelRenderer draws and turns the mouse into
// camera moves. Left drag orbits around the model's centre, right or middle drag pans,
// the wheel zooms towards the point under the cursor; Reframe shows it as at first. A
// left click without a drag on a material's part raises materialClicked; the tool tip
// names what is under the cursor. With a message set, the message shows instead.

#include "mainwindow/ModelRenderer.h"

#include <QPoint>
#include <QString>
#include <QWidget>

#include <functional>

namespace tintara {

class ModelViewCanvas final : public QWidget {
    Q_OBJECT
public:
    explicit ModelViewCanvas(QWidget* parent = nullptr);

    ModelRenderer& Renderer() { return m_renderer; }
    // Back to the view that frames the whole model.
    void Reframe();
    // Shows the text in place of the picture; an empty text shows the picture.
    void SetMessage(const QString& text);
    const QString& Message() const { return m_message; }
    // The tool tip for a material's part.
    void SetToolTipText(std::function<QString(int material)> text) { m_toolTip = std::move(text); }

    // The picture as drawn now, at the widget's size.
    const QImage& Picture();

    QSize sizeHint() const override { return {800, 600}; }

signals:
    // A left click on a part of `material`; `toggle` with Ctrl held.
    void materialClicked(int material, bool toggle);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    ModelRenderer m_renderer;
    QString m_message;
    std::function<QString(int)> m_toolTip;
    Qt::MouseButton m_dragButton = Qt::NoButton;
    QPoint m_pressAt;
    QPoint m_lastAt;
    bool m_dragged = false;
};

} // namespace tintara
