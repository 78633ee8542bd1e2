// TForm1: opening files the way the desktop does: named at start, dropped on the
// window, or picked from the recent ones on a right-click in Edit1.

#include "mainwindow/tintara1x.h"

#include "framework/Prompter.h"
#include "mainwindow/FileDrop.h"
#include "ui_tintara1x.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace tintara {

void TForm1::SetUpOpening() {
    auto* drops = new FileDropFilter(this);
    connect(drops, &FileDropFilter::fileDropped, this, &TForm1::OpenFile);
    connect(drops, &FileDropFilter::severalFilesDropped, this, [this] {
        prompter().ask(this, {QStringLiteral("TINTARA"), QStringLiteral("Drop one file at a time"),
                              PromptIcon::Information, PromptButtons::Ok});
    });
    ui->Edit1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->Edit1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = CreateEdit1Menu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(ui->Edit1->mapToGlobal(at));
    });
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
    // Files deleted or renamed since, and anything that is no file, are dropped.
    for (const QString& path : QStringList(m_recent.Paths()))
        if (!QFileInfo(path).isFile())
            m_recent.Remove(path);
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
