// TForm1: the material properties panel inside GroupBox1 (swatches, indicators, the
// power field) and the colour adjustment panel inside ScrollBox1.

#include "mainwindow/tintara1x.h"

#include "controls/NumEdit.h"
#include "controls/Shape.h"
#include "controls/UpDown.h"
#include "framework/ColourChooser.h"
#include "framework/Prompter.h"
#include "mainwindow/PanelValues.h"
#include "material/Conversions.h"
#include "ui_tintara1x.h"

#include <QVariant>

namespace tintara {

void TForm1::WirePanel() {
    SwatchShape = {ui->Shape2, ui->Shape3, ui->Shape4, ui->Shape5};
    IndicatorShape = {ui->Shape6, ui->Shape7, ui->Shape8, ui->Shape9};
    // Binding writes each spinner's position (0) into its edit; no change handler is
    // connected yet, so the preview keeps its first fill.
    ui->UpDown1->setBuddy(ui->NumEdit1);
    ui->UpDown2->setBuddy(ui->NumEdit2);
    ui->UpDown3->setBuddy(ui->NumEdit3);
    ui->UpDown4->setBuddy(ui->NumEdit4);
}

void TForm1::ConnectPanel() {
    for (QPushButton* button : {ui->Button4, ui->Button10, ui->Button11, ui->Button12})
        connect(button, &QPushButton::clicked, this, [this, button] { Button4Click(button); });
    for (QPushButton* button : {ui->Button13, ui->Button14, ui->Button15, ui->Button16})
        connect(button, &QPushButton::clicked, this, [this, button] { Button13Click(button); });
    for (TNumEdit* edit : {ui->NumEdit1, ui->NumEdit2, ui->NumEdit3, ui->NumEdit4})
        connect(edit, &QLineEdit::textChanged, this, &TForm1::NumEdit1Change);
    connect(ui->Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(ui->Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
}

int TForm1::SlotOf(const QObject* sender) {
    const int slot = sender ? sender->property("Tag").toInt() : 0;
    return slot >= 0 && slot < ColourSlotCount ? slot : 0;
}

void TForm1::HideIndicators() {
    for (TShape* indicator : IndicatorShape)
        indicator->hide();
}

void TForm1::ShowOnlyIndicator(int slot) {
    HideIndicators();
    IndicatorShape[static_cast<std::size_t>(slot)]->show();
}

void TForm1::texlistClick() {
    const int first = FirstSelectedLine();
    if (first >= 0) {
        try {
            ShowMaterial(first);
        } catch (const ConversionError& error) {
            // The slots shown so far stay; the indicators keep their state.
            ShowErrorMessage(prompter(), nullptr, QString::fromUtf8(error.what()));
            return;
        }
    }
    HideIndicators();
}

void TForm1::ShowMaterial(int index) {
    const MaterialRecord& e = MaterialTable[static_cast<std::size_t>(index)];
    for (int s = 0; s < ColourSlotCount; ++s) {
        const std::int32_t r = ChannelToByte(e.Red[s]);
        const std::int32_t g = ChannelToByte(e.Green[s]);
        const std::int32_t b = ChannelToByte(e.Blue[s]);
        SwatchShape[static_cast<std::size_t>(s)]->setFillColor(ComposeColour(r, g, b));
        SwatchAlpha[static_cast<std::size_t>(s)] = e.Alpha[s];
    }
    ui->NumEdit5->setNumber(static_cast<double>(e.Power));
}

void TForm1::Button4Click(QObject* Sender) {
    const int slot = SlotOf(Sender);
    if (FirstSelectedLine() >= 0) {
        try {
            SendSwatchToPanel(slot);
        } catch (const ConversionError& error) {
            ShowErrorMessage(prompter(), nullptr, QString::fromUtf8(error.what()));
            return;
        }
    }
    ShowOnlyIndicator(slot);
}

void TForm1::SendSwatchToPanel(int slot) {
    const auto s = static_cast<std::size_t>(slot);
    const std::int32_t c = SwatchShape[s]->fillColor();
    const int r = RedOf(c);
    const int g = GreenOf(c);
    const int b = BlueOf(c);
    const std::int32_t a = ChannelToByte(SwatchAlpha[s]);
    // Each edit whose text changes redraws the preview from the edits as they stand.
    ui->NumEdit1->setNumber(r);
    ui->NumEdit2->setNumber(g);
    ui->NumEdit3->setNumber(b);
    ui->NumEdit4->setNumber(a);
    ui->Shape1->setFillColor(ComposeColour(r, g, b));
}

void TForm1::Button13Click(QObject* Sender) {
    const auto s = static_cast<std::size_t>(SlotOf(Sender));
    SwatchShape[s]->setFillColor(ui->Shape1->fillColor());
    SwatchAlpha[s] = ChannelFromEditValue(ui->NumEdit4->Number());
    ShowOnlyIndicator(static_cast<int>(s));
}

void TForm1::NumEdit1Change() {
    // A number too large for 64 bits (or infinite) saturates instead of failing.
    const std::int64_t r = TruncateSaturated(ui->NumEdit1->Number());
    const std::int64_t g = TruncateSaturated(ui->NumEdit2->Number());
    const std::int64_t b = TruncateSaturated(ui->NumEdit3->Number());
    ui->Shape1->setFillColor(ComposeColour(r, g, b));
}

void TForm1::Button5Click() {
    const std::optional<std::int32_t> chosen =
        m_colourChooser->ChooseColour(this, ui->Shape1->fillColor());
    if (!chosen)
        return;
    // The preview follows through the change events of the edits whose text changed.
    ui->NumEdit1->setNumber(RedOf(*chosen));
    ui->NumEdit2->setNumber(GreenOf(*chosen));
    ui->NumEdit3->setNumber(BlueOf(*chosen));
}

} // namespace tintara
