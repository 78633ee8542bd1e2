// TForm1: opening files the way the desktop does (named at start, dropped on the
// window, or picked from the recent ones on a right-click in Edit1), and the keys
// (undo and redo of send-backs among them) and tool tips a desktop user expects.

#include "mainwindow/tintara1x.h"

#include "mainwindow/FileDrop.h"
#include "mainwindow/MaterialPanel.h"
#include "mainwindow/MaterialPreviewWindow.h"
#include "mainwindow/WindowKeys.h"
#include "ui_tintara1x.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QShortcut>

namespace tintara {

void TForm1::SetUpOpening() {
    ui->Button1->setToolTip(QStringLiteral("Choose a model or scenery file"));
    new WindowKeys(this);
    // Window-wide; a text field with the focus keeps these keys for its own typing.
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this, [this] { m_history.undo(); });
    for (const QKeySequence& redo : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                     QKeySequence(Qt::CTRL | Qt::Key_Y)})
        new QShortcut(redo, this, [this] { m_history.redo(); });
    // The lit preview: Ctrl+P, or "Material Preview" on a right-click in the list.
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this, [this] { ShowPreview(); });
    ui->texlist->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->texlist, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        auto* menu = new QMenu(ui->texlist);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addAction(QStringLiteral("Material Preview\tCtrl+P"), this, &TForm1::ShowPreview);
        menu->popup(ui->texlist->viewport()->mapToGlobal(at));
    });
    connect(ui->GroupBox1, &MaterialPanel::previewChanged, this, [this] {
        if (m_previewWindow && m_previewWindow->isVisible())
            m_previewWindow->SetMaterial(ui->GroupBox1->PreviewMaterial());
    });
    auto* drops = new FileDropFilter(this);
    connect(drops, &FileDropFilter::fileDropped, this, &TForm1::OpenFile);
    ui->Edit1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->Edit1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = CreateEdit1Menu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(ui->Edit1->mapToGlobal(at));
    });
}

void TForm1::ShowPreview() {
    if (!m_previewWindow) {
        m_previewWindow = new MaterialPreviewWindow(this);
        m_previewWindow->move(frameGeometry().topRight() + QPoint(8, 0));
    }
    m_previewWindow->SetMaterial(ui->GroupBox1->PreviewMaterial());
    m_previewWindow->show();
    m_previewWindow->raise();
}

void TForm1::OpenFile(const QString& path) {
    if (path.isEmpty() || !ConfirmDiscardEdits())
        return;
    const QString absolute = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    const bool scenery = absolute.endsWith(QLatin1String(".bgl"), Qt::CaseInsensitive);
    TakeChoice(FileChoice{absolute, scenery ? 2 : 1}, false);
}

QMenu* TForm1::CreateEdit1Menu() {
    QMenu* menu = ui->Edit1->createStandardContextMenu();
    QAction* first = menu->actions().value(0);
    for (const QString& path : m_recent.Paths()) {
        auto* open = new QAction(path, menu);
        connect(open, &QAction::triggered, this, [this, path] { OpenFile(path); });
        menu->insertAction(first, open);
    }
    if (!m_recent.Paths().isEmpty())
        menu->insertSeparator(first);
    return menu;
}

} // namespace tintara
