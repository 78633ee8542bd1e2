// TForm1: the lit preview of the material in the panel, opened with Ctrl+P or from
// the list's menu and kept in step with every change in the panel.

#include "mainwindow/tintara1x.h"

#include "mainwindow/MaterialPanel.h"
#include "mainwindow/MaterialPreviewWindow.h"
#include "ui_tintara1x.h"

#include <QShortcut>

namespace tintara {

void TForm1::SetUpPreview() {
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this, [this] { ShowPreview(); });
    connect(ui->GroupBox1, &MaterialPanel::previewChanged, this, [this] {
        if (m_previewWindow && m_previewWindow->isVisible())
            m_previewWindow->SetMaterial(ui->GroupBox1->PreviewMaterial(),
                                         ui->GroupBox1->PreviewNote());
    });
}

void TForm1::ShowPreview() {
    if (!m_previewWindow) {
        m_previewWindow = new MaterialPreviewWindow(this);
        m_previewWindow->move(frameGeometry().topRight() + QPoint(8, 0));
    }
    m_previewWindow->SetMaterial(ui->GroupBox1->PreviewMaterial(), ui->GroupBox1->PreviewNote());
    m_previewWindow->show();
    m_previewWindow->raise();
}

} // namespace tintara
