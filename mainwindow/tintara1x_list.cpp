// TForm1: the material list, its property chooser, the selection commands, and the
// first selected line shown in the properties panel.

#include "mainwindow/tintara1x.h"

#include "framework/Prompter.h"
#include "mainwindow/MaterialListModel.h"
#include "mainwindow/MaterialPanel.h"
#include "material/Conversions.h"
#include "material/MaterialLines.h"
#include "ui_tintara1x.h"

#include <QEvent>

#include <QItemSelection>

namespace tintara {

class TForm1::ProgramSelection {
public:
    explicit ProgramSelection(TForm1& form) : m_form(form) { ++m_form.m_programSelecting; }
    ~ProgramSelection() { --m_form.m_programSelecting; }
    ProgramSelection(const ProgramSelection&) = delete;
    ProgramSelection& operator=(const ProgramSelection&) = delete;

private:
    TForm1& m_form;
};

namespace {

// Every line of the list as one range, however long the list is.
QItemSelection AllLines(const QAbstractItemModel& model) {
    const int rows = model.rowCount();
    if (rows == 0)
        return {};
    return QItemSelection(model.index(0, 0), model.index(rows - 1, 0));
}

} // namespace

void TForm1::RebuildMaterialList() {
    ProgramSelection programMade(*this);
    const LineCheck check =
        m_listModel->Rebuild(BlockPrefix(load.FilterIndex() == 2), ShownProperty());
    RefreshModelView(false);
    if (check.error)
        throw ConversionError(*check.error);
    ui->Label1->setText(QString::fromStdString(CountLabelText(MaterialTable.count())));
}

void TForm1::ClearMaterialList() {
    ProgramSelection programMade(*this);
    m_listModel->Clear();
}

void TForm1::ComboBox1Change() {
    // Only the lines change: the table, its unsaved edits and "Save Updated MDL" stay.
    if (!m_tableLoaded || ShownProperty() == m_listModel->property())
        return;
    try {
        RebuildMaterialList();
    } catch (const ConversionError&) {
        ShowReadProblem(QString());
    }
}

void TForm1::Button7Click() {
    ProgramSelection programMade(*this);
    ui->texlist->selectionModel()->select(AllLines(*m_listModel), QItemSelectionModel::Select);
}

void TForm1::Button8Click() {
    ProgramSelection programMade(*this);
    ui->texlist->selectionModel()->select(AllLines(*m_listModel), QItemSelectionModel::Toggle);
}

void TForm1::SelectLine(int row) {
    ProgramSelection programMade(*this);
    QItemSelectionModel* selection = ui->texlist->selectionModel();
    const QModelIndex index = m_listModel->index(row, 0);
    if (!index.isValid()) {
        selection->clearSelection();
        return;
    }
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    ui->texlist->scrollTo(index);
}

void TForm1::ClickLine(int row, bool toggle) {
    const QModelIndex index = m_listModel->index(row, 0);
    if (!index.isValid())
        return;
    {
        ProgramSelection programMade(*this);
        ui->texlist->selectionModel()->setCurrentIndex(
            index, toggle ? QItemSelectionModel::Toggle : QItemSelectionModel::ClearAndSelect);
    }
    ui->texlist->scrollTo(index);
    texlistClick();
}

int TForm1::FirstSelectedLine() const {
    // Ranges can be many but are few in practice; rows are not walked one by one.
    int first = -1;
    for (const QItemSelectionRange& range : ui->texlist->selectionModel()->selection()) {
        if (first < 0 || range.top() < first)
            first = range.top();
    }
    return first;
}

void TForm1::texlistSelectionChanged() {
    if (m_programSelecting == 0) {
        ++m_userSelectionChanges;
        texlistClick();
    }
}

// A click on a line that leaves the selection as it was (the line shown already) shows
// it again, so the stored colours can be brought back after editing the swatches.
void TForm1::texlistItemClicked() {
    if (m_programSelecting == 0 && m_userSelectionChanges == m_userSelectionChangesAtPress)
        texlistClick();
}

void TForm1::texlistClick() {
    emit texlistClicked();
    const int first = FirstSelectedLine();
    if (first >= 0) {
        const std::optional<QString> error =
            ui->GroupBox1->ShowMaterial(MaterialTable[static_cast<std::size_t>(first)]);
        if (error) {
            // The slots shown so far stay; the indicators keep their state.
            ShowErrorMessage(prompter(), nullptr, *error);
            return;
        }
    }
    ui->GroupBox1->HideIndicators();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->texlist->viewport() && event->type() == QEvent::MouseButtonPress)
        m_userSelectionChangesAtPress = m_userSelectionChanges;
    return QWidget::eventFilter(watched, event);
}

} // namespace tintara
