#include "mainwindow/MaterialPreviewWindow.h"

#include <QPainter>

namespace tintara {

MaterialPreviewWindow::MaterialPreviewWindow(QWidget* owner) : QWidget(owner, Qt::Tool) {
    setWindowTitle(QStringLiteral("Material Preview"));
    setFixedSize(SphereSize, SphereSize);
    SetMaterial({});
}

void MaterialPreviewWindow::SetMaterial(const SphereMaterial& material) {
    m_image = m_sphere.Render(material, SphereSize);
    update();
}

void MaterialPreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

} // namespace tintara
