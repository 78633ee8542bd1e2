// TForm1: "<< Send modified Material back", the panel's material into every selected
// entry of the table.

#include "mainwindow/tintara1x.h"

#include "framework/Prompter.h"
#include "mainwindow/MaterialListModel.h"
#include "mainwindow/MaterialPanel.h"
#include "material/Conversions.h"
#include "ui_tintara1x.h"

#include <algorithm>
#include <vector>

namespace tintara {
namespace {

// The selected lines in ascending order.
std::vector<int> SelectedLines(const QItemSelectionModel& selection) {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selection.selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

void TForm1::SendMaterialBack() {
    // With no lines there is nothing to write into and no line to show.
    if (m_listModel->rowCount() == 0)
        return;

    int last = 0;
    for (const int i : SelectedLines(*ui->texlist->selectionModel())) {
        ui->GroupBox1->ApplyTo(MaterialTable[static_cast<std::size_t>(i)]);
        last = i;
    }

    try {
        RebuildMaterialList();
    } catch (const ConversionError& error) {
        // The error ends the send-back here, as any error a handler lets go would:
        // "Save Updated MDL" keeps its state and no line is selected again.
        ShowErrorMessage(prompter(), this, QString::fromUtf8(error.what()));
        return;
    }
    ui->Button2->setEnabled(true);
    SelectLine(last);
    texlistClick();
}

} // namespace tintara
