#include "mainwindow/MaterialPreviewWindow.h"

#include <QPainter>

namespace tintara {

MaterialPreviewWindow::MaterialPreviewWindow(QWidget* owner) : QWidget(owner, Qt::Tool) {
    setWindowTitle(QStringLiteral("Material Preview"));
    setFixedSize(SphereSize, SphereSize + NoteHeight);
    SetMaterial({});
}

void MaterialPreviewWindow::SetMaterial(const SphereMaterial& material, const QString& note) {
    m_image = m_sphere.Render(material, SphereSize);
    m_note = note;
    update();
}

void MaterialPreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
    const QRect below(0, SphereSize, SphereSize, NoteHeight);
    painter.fillRect(below, palette().window());
    painter.setPen(palette().windowText().color());
    painter.drawText(below.adjusted(4, 2, -4, -2), Qt::AlignCenter | Qt::TextWordWrap, m_note);
}

} // namespace tintara
