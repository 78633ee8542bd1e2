// TForm1: "<< Send modified Material back", the edited material into every selected
// entry of the table.

#include "mainwindow/tintara1x.h"

#include "controls/NumEdit.h"
#include "controls/Shape.h"
#include "framework/Prompter.h"
#include "mainwindow/MaterialListModel.h"
#include "mainwindow/PanelValues.h"
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

void TForm1::Button6Click() {
    // With no lines there is nothing to write into and no line to show.
    if (m_listModel->rowCount() == 0)
        return;

    // The power field is read with every slot of every entry: a reading drops the
    // first comma of its text, so readings may differ until no comma is left. From
    // then on a reading changes nothing and gives the same number, so it is skipped.
    double power = 0.0;
    bool powerSettled = false;
    const auto readPower = [&] {
        if (!powerSettled) {
            power = ui->NumEdit5->Number();
            powerSettled = !ui->NumEdit5->text().contains(QLatin1Char(','));
        }
        return power;
    };

    int last = 0;
    for (const int i : SelectedLines(*ui->texlist->selectionModel())) {
        MaterialRecord& e = MaterialTable[static_cast<std::size_t>(i)];
        for (int s = 0; s < ColourSlotCount; ++s) {
            const std::int32_t c = SwatchShape[static_cast<std::size_t>(s)]->fillColor();
            e.Red[s] = ByteToChannel(RedOf(c));
            e.Green[s] = ByteToChannel(GreenOf(c));
            e.Blue[s] = ByteToChannel(BlueOf(c));
            e.Alpha[s] = SwatchAlpha[static_cast<std::size_t>(s)];
            e.Power = NearestFloat(readPower()); // the last reading stays
        }
        // The panel gives the entry every field, so the whole entry is written.
        e.ChangedFields = AllFields;
        e.Modified = 1;
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
