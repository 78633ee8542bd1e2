// TForm1: "<< Send modified Material back", the panel's material into every selected
// entry of the table.

#include "mainwindow/tintara1x.h"

#include "framework/Prompter.h"
#include "mainwindow/MaterialListModel.h"
#include "mainwindow/MaterialPanel.h"
#include "mainwindow/SendBackStep.h"
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
    TableEntries before;
    TableEntries after;
    const bool saveBefore = ui->Button2->isEnabled();
    for (const int i : SelectedLines(*ui->texlist->selectionModel())) {
        MaterialRecord& entry = MaterialTable[static_cast<std::size_t>(i)];
        before.emplace_back(static_cast<std::size_t>(i), entry);
        ui->GroupBox1->ApplyTo(entry);
        after.emplace_back(static_cast<std::size_t>(i), entry);
        last = i;
    }
    // Every change to the table is one step that Ctrl+Z takes back.
    const auto record = [&](bool saveAfter) {
        if (!before.empty())
            m_history.push(new SendBackStep(
                [this](const TableEntries& entries, bool save) { RestoreEntries(entries, save); },
                before, after, saveBefore, saveAfter));
    };

    try {
        RebuildMaterialList();
    } catch (const ConversionError& error) {
        // The error ends the send-back here, as any error a handler lets go would:
        // "Save Updated MDL" keeps its state and no line is selected again.
        record(saveBefore);
        ShowErrorMessage(prompter(), this, QString::fromUtf8(error.what()));
        return;
    }
    record(true);
    ui->Button2->setEnabled(true);
    SelectLine(last);
    texlistClick();
}

void TForm1::RestoreEntries(const TableEntries& entries, bool saveEnabled) {
    for (const auto& [index, record] : entries)
        MaterialTable[index] = record;
    try {
        RebuildMaterialList();
    } catch (const ConversionError& error) {
        ShowErrorMessage(prompter(), this, QString::fromUtf8(error.what()));
    }
    ui->Button2->setEnabled(saveEnabled);
    if (!entries.empty()) {
        // The highest line the step changed, as the send-back itself left it.
        std::size_t highest = 0;
        for (const auto& entry : entries)
            highest = std::max(highest, entry.first);
        SelectLine(static_cast<int>(highest));
        texlistClick();
    }
}

} // namespace tintara
