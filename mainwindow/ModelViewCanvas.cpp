#include "mainwindow/ModelViewCanvas.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

namespace tintara {
namespace {

constexpr float OrbitPerPixel = 0.01f;
constexpr int DragThreshold = 3;
// Each wheel notch brings the camera this much nearer.
constexpr float ZoomPerNotch = 0.85f;

} // namespace

ModelViewCanvas::ModelViewCanvas(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 120);
    m_renderer.SetSize(size());
}

void ModelViewCanvas::SetMessage(const QString& text) {
    m_message = text;
    update();
}

const QImage& ModelViewCanvas::Picture() {
    m_renderer.SetSize(size());
    return m_renderer.Render();
}

bool ModelViewCanvas::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int material =
            m_message.isEmpty() ? m_renderer.MaterialAt(help->pos()) : ModelRenderer::NoMaterial;
        if (material >= 0 && m_toolTip)
            QToolTip::showText(help->globalPos(), m_toolTip(material), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void ModelViewCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_message.isEmpty()) {
        painter.fillRect(rect(), palette().window());
        painter.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                         m_message);
        return;
    }
    painter.drawImage(0, 0, Picture());
}

void ModelViewCanvas::resizeEvent(QResizeEvent* event) {
    m_renderer.SetSize(size());
    QWidget::resizeEvent(event);
}

void ModelViewCanvas::Reframe() {
    m_renderer.Frame();
    update();
}

void ModelViewCanvas::mousePressEvent(QMouseEvent* event) {
    if (m_dragButton != Qt::NoButton)
        return;
    m_dragButton = event->button();
    m_pressAt = m_lastAt = event->position().toPoint();
    m_dragged = false;
}

void ModelViewCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragButton == Qt::NoButton)
        return;
    const QPoint at = event->position().toPoint();
    if ((at - m_pressAt).manhattanLength() > DragThreshold)
        m_dragged = true;
    if (!m_dragged)
        return;
    const QPoint step = at - m_lastAt;
    m_lastAt = at;
    const float height = static_cast<float>(std::max(1, this->height()));
    if (m_dragButton == Qt::LeftButton) {
        m_renderer.MoveCamera([&](ModelCamera& camera) {
            camera.Orbit(-static_cast<float>(step.x()) * OrbitPerPixel,
                         static_cast<float>(step.y()) * OrbitPerPixel);
        });
    } else {
        m_renderer.MoveCamera([&](ModelCamera& camera) {
            camera.Pan(static_cast<float>(step.x()) / height,
                       -static_cast<float>(step.y()) / height);
        });
    }
    update();
}

void ModelViewCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != m_dragButton)
        return;
    const bool click = m_dragButton == Qt::LeftButton && !m_dragged;
    m_dragButton = Qt::NoButton;
    if (!click || !m_message.isEmpty())
        return;
    Picture();
    const int material = m_renderer.MaterialAt(event->position().toPoint());
    // A click on the background or a grey part changes nothing.
    if (material >= 0)
        emit materialClicked(material, event->modifiers().testFlag(Qt::ControlModifier));
}

void ModelViewCanvas::wheelEvent(QWheelEvent* event) {
    const float notches = static_cast<float>(event->angleDelta().y()) / 120.0f;
    if (notches == 0.0f || !m_message.isEmpty())
        return;
    Picture();
    const QPoint at = event->position().toPoint();
    // Towards the part under the cursor, or the point on its ray as deep as the centre.
    std::optional<Vec3> target = m_renderer.PointAt(at);
    if (!target) {
        const ModelCamera& camera = m_renderer.Camera();
        const Vec3 centre = camera.ToCamera(m_renderer.Centre());
        const auto [x, y] = m_renderer.Normalised(at);
        target = camera.PointOnRay(x, y, std::max(-centre[2], camera.Radius() * 0.1f));
    }
    const float factor = std::pow(ZoomPerNotch, notches);
    m_renderer.MoveCamera([&](ModelCamera& camera) { camera.ZoomTowards(*target, factor); });
    update();
}

} // namespace tintara
