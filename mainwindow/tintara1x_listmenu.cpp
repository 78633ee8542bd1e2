// TForm1: the material list's right-click menu, which opens the windows that show the
// material and the model.

#include "mainwindow/tintara1x.h"

#include "ui_tintara1x.h"

#include <QMenu>

namespace tintara {

void TForm1::SetUpListMenu() {
    ui->texlist->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->texlist, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        auto* menu = new QMenu(ui->texlist);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addAction(QStringLiteral("Material Preview\tCtrl+P"), this, &TForm1::ShowPreview);
        menu->addAction(QStringLiteral("Model View\tF3"), this, &TForm1::ShowModelView);
        menu->popup(ui->texlist->viewport()->mapToGlobal(at));
    });
}

} // namespace tintara
