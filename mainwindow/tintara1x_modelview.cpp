// TForm1: the model view window, kept in step with the table, the walk and the list's
// selection; a click on a part selects its line.

#include "mainwindow/tintara1x.h"

#include "mainwindow/MaterialListModel.h"
#include "mainwindow/ModelViewWindow.h"
#include "ui_tintara1x.h"

#include <QFileInfo>
#include <QScreen>
#include <QShortcut>

namespace tintara {

void TForm1::SetUpModelView() {
    // F3, not Ctrl+M, which the numeric fields read as Return.
    new QShortcut(QKeySequence(Qt::Key_F3), this, [this] { ShowModelView(); });
}

void TForm1::ShowModelView() {
    if (!m_modelView) {
        m_modelView = new ModelViewWindow(this);
        if (const std::optional<QRect>& place = m_modelViewPlace.Place()) {
            m_modelView->move(place->topLeft());
            m_modelView->resize(place->size());
        } else {
            m_modelView->move(frameGeometry().topRight() + QPoint(8, 0));
        }
        // The history's keys act here as in this window; F3 raises the view.
        new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), m_modelView,
                      [this] { m_history.undo(); });
        for (const QKeySequence& redo :
             {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
            new QShortcut(redo, m_modelView, [this] { m_history.redo(); });
        new QShortcut(QKeySequence(Qt::Key_F3), m_modelView, [this] { ShowModelView(); });
        m_modelView->SetLineText([this](int row) {
            return QStringLiteral("Line %1: %2")
                .arg(row + 1)
                .arg(m_listModel->index(row, 0).data().toString());
        });
        connect(m_modelView, &ModelViewWindow::materialClicked, this, &TForm1::ClickLine);
        connect(ui->texlist->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &TForm1::RefreshModelViewSelection);
        connect(this, &TForm1::modelWalked, this, [this] { RefreshModelView(true); });
        RefreshModelView(true);
    }
    m_modelView->show();
    m_modelView->raise();
    m_modelView->activateWindow();
}

void TForm1::RefreshModelView(bool newWalk) {
    if (!m_modelView)
        return;
    if (newWalk) {
        m_modelView->setWindowTitle(QStringLiteral("Model View - ") +
                                    QFileInfo(ui->Edit1->text()).fileName());
        m_modelView->SetModel(modelWalk(), MaterialTable);
    } else {
        m_modelView->SetColours(MaterialTable);
    }
    RefreshModelViewSelection();
}

void TForm1::RefreshModelViewSelection() {
    if (!m_modelView)
        return;
    std::vector<bool> selected(MaterialTable.count(), false);
    for (const QItemSelectionRange& range : ui->texlist->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            if (row >= 0 && static_cast<std::size_t>(row) < selected.size())
                selected[static_cast<std::size_t>(row)] = true;
    m_modelView->SetSelection(std::move(selected));
}

} // namespace tintara
