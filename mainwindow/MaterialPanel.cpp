#include "mainwindow/MaterialPanel.h"

#include "controls/NumEdit.h"
#include "controls/NumberText.h"
#include "controls/Shape.h"
#include "controls/UpDown.h"
#include "framework/ColourChooser.h"
#include "framework/Prompter.h"
#include "mainwindow/PanelValues.h"
#include "material/Conversions.h"

#include <QLabel>
#include <QPushButton>
#include <QVariant>

#include <algorithm>

namespace tintara {

MaterialPanel::MaterialPanel(QWidget* parent) : QGroupBox(parent) {}

MaterialPanel::~MaterialPanel() = default;

template <class T> T* MaterialPanel::Control(const char* name) const {
    T* control = findChild<T*>(QString::fromLatin1(name));
    if (!control)
        qFatal("MaterialPanel: the layout has no control %s", name);
    return control;
}

void MaterialPanel::Attach(Prompter& prompter, ColourChooser& colours,
                           std::function<bool()> lineSelected) {
    m_prompter = &prompter;
    m_colourChooser = &colours;
    m_lineSelected = std::move(lineSelected);
    SwatchShape = {Control<TShape>("Shape2"), Control<TShape>("Shape3"), Control<TShape>("Shape4"),
                   Control<TShape>("Shape5")};
    IndicatorShape = {Control<TShape>("Shape6"), Control<TShape>("Shape7"),
                      Control<TShape>("Shape8"), Control<TShape>("Shape9")};
    m_preview = Control<TShape>("Shape1");
    m_channelEdit = {Control<TNumEdit>("NumEdit1"), Control<TNumEdit>("NumEdit2"),
                     Control<TNumEdit>("NumEdit3"), Control<TNumEdit>("NumEdit4")};
    m_powerEdit = Control<TNumEdit>("NumEdit5");
    FitSwatchCaptions();

    // Binding writes each spinner's position (0) into its edit; no change handler is
    // connected yet, so the preview keeps its first fill.
    const char* const spinners[] = {"UpDown1", "UpDown2", "UpDown3", "UpDown4"};
    for (std::size_t i = 0; i < m_channelEdit.size(); ++i)
        Control<TUpDown>(spinners[i])->setBuddy(m_channelEdit[i]);
    SetToolTips();
    ConnectHandlers();
}

void MaterialPanel::SetToolTips() {
    const char* const colours[] = {"diffuse", "ambient", "specular", "emissive"};
    const char* const sendButtons[] = {"Button4", "Button10", "Button11", "Button12"};
    const char* const takeButtons[] = {"Button13", "Button14", "Button15", "Button16"};
    for (std::size_t slot = 0; slot < 4; ++slot) {
        const QString colour = QLatin1String(colours[slot]);
        SwatchShape[slot]->setToolTip(QStringLiteral("The material's %1 colour").arg(colour));
        Control<QWidget>(sendButtons[slot])
            ->setToolTip(QStringLiteral("Send the %1 colour to the adjustment panel").arg(colour));
        Control<QWidget>(takeButtons[slot])
            ->setToolTip(QStringLiteral("Take the adjusted colour as the %1 colour").arg(colour));
    }
    const char* const channels[] = {"Red", "Green", "Blue", "Alpha"};
    for (std::size_t i = 0; i < m_channelEdit.size(); ++i)
        m_channelEdit[i]->setToolTip(
            QStringLiteral("%1 of the adjusted colour, 0 to 255 (Up and Down step it, Page Up "
                           "and Page Down by ten)")
                .arg(QLatin1String(channels[i])));
    m_preview->setToolTip(QStringLiteral("The adjusted colour"));
    m_powerEdit->setToolTip(
        QStringLiteral("The specular power: the higher, the smaller and sharper the highlight"));
    Control<QWidget>("Button5")->setToolTip(QStringLiteral("Choose the adjusted colour in a "
                                                           "colour dialog"));
    Control<QWidget>("Button6")->setToolTip(
        QStringLiteral("Apply the swatches and Specularity to every selected line"));
}

void MaterialPanel::FitSwatchCaptions() {
    // The right-aligned swatch captions grow to the left, keeping their right edge;
    // one that would pass the group box's edge takes a slightly smaller font instead.
    for (const char* name : {"Label6", "Label7", "Label8", "Label9"}) {
        QLabel* label = Control<QLabel>(name);
        const int room = label->geometry().right() + 1;
        QFont font = label->font();
        while (label->fontMetrics().horizontalAdvance(label->text()) > room &&
               font.pixelSize() > 8) {
            font.setPixelSize(font.pixelSize() - 1);
            label->setFont(font);
        }
        const int wanted = std::min(label->sizeHint().width(), room);
        if (wanted > label->width())
            label->setGeometry(room - wanted, label->y(), wanted, label->height());
    }
}

void MaterialPanel::ConnectHandlers() {
    for (const char* name : {"Button4", "Button10", "Button11", "Button12"}) {
        QPushButton* button = Control<QPushButton>(name);
        connect(button, &QPushButton::clicked, this, [this, button] { Button4Click(button); });
    }
    for (const char* name : {"Button13", "Button14", "Button15", "Button16"}) {
        QPushButton* button = Control<QPushButton>(name);
        connect(button, &QPushButton::clicked, this, [this, button] { Button13Click(button); });
    }
    for (TNumEdit* edit : m_channelEdit)
        connect(edit, &QLineEdit::textChanged, this, &MaterialPanel::NumEdit1Change);
    connect(m_powerEdit, &QLineEdit::textChanged, this, [this] { m_powerSettled = false; });
    connect(Control<QPushButton>("Button5"), &QPushButton::clicked, this,
            &MaterialPanel::Button5Click);
    connect(Control<QPushButton>("Button6"), &QPushButton::clicked, this,
            &MaterialPanel::Button6Click);
    // The lit preview follows every swatch, the adjustment panel and the power field.
    for (TShape* shape : SwatchShape)
        connect(shape, &TShape::fillColorChanged, this, &MaterialPanel::previewChanged);
    connect(m_preview, &TShape::fillColorChanged, this, &MaterialPanel::previewChanged);
    connect(m_channelEdit[3], &QLineEdit::textChanged, this, &MaterialPanel::previewChanged);
    connect(m_powerEdit, &QLineEdit::textChanged, this, &MaterialPanel::previewChanged);
}

int MaterialPanel::IndicatedSlot() const {
    int shown = -1;
    for (std::size_t slot = 0; slot < IndicatorShape.size(); ++slot)
        if (!IndicatorShape[slot]->isHidden())
            shown = static_cast<int>(slot);
    return shown;
}

QString MaterialPanel::PreviewNote() const {
    const int slot = IndicatedSlot();
    if (slot < 0)
        return {};
    const auto index = static_cast<std::size_t>(slot);
    // Compared as the bytes the panel and the list show.
    const bool sameColour =
        (SwatchShape[index]->fillColor() & 0xFFFFFF) == (m_preview->fillColor() & 0xFFFFFF);
    const bool sameAlpha = ChannelToByte(SwatchAlpha[index]) ==
                           static_cast<std::int32_t>(ConvertNumberText(m_channelEdit[3]->text()));
    if (sameColour && sameAlpha)
        return {};
    const char* const captions[] = {"Label6", "Label7", "Label8", "Label9"};
    return QStringLiteral("%1 shown from the adjustment panel: press << to keep it")
        .arg(Control<QLabel>(captions[index])->text());
}

SphereMaterial MaterialPanel::PreviewMaterial() const {
    const int edited = IndicatedSlot();
    SphereMaterial material;
    for (std::size_t slot = 0; slot < SwatchShape.size(); ++slot) {
        std::int32_t colour = SwatchShape[slot]->fillColor();
        float alpha = SwatchAlpha[slot];
        if (static_cast<int>(slot) == edited) {
            colour = m_preview->fillColor();
            alpha = ByteToChannel(ConvertNumberText(m_channelEdit[3]->text()));
        }
        material.colours[slot] = {ByteToChannel(RedOf(colour)), ByteToChannel(GreenOf(colour)),
                                  ByteToChannel(BlueOf(colour)), alpha};
    }
    // The send-back reads the field once for each of the four slots, each reading
    // dropping the first comma.
    QString power = m_powerEdit->text();
    for (int reading = 0; reading < ColourSlotCount; ++reading) {
        const qsizetype comma = power.indexOf(QLatin1Char(','));
        if (comma < 0)
            break;
        power.remove(comma, 1);
    }
    material.power = NearestFloat(ConvertNumberText(power));
    return material;
}

int MaterialPanel::SlotOf(const QObject* sender) {
    const int slot = sender ? sender->property("Tag").toInt() : 0;
    return slot >= 0 && slot < ColourSlotCount ? slot : 0;
}

void MaterialPanel::HideIndicators() {
    for (TShape* indicator : IndicatorShape)
        indicator->hide();
    emit previewChanged();
}

void MaterialPanel::ShowOnlyIndicator(int slot) {
    HideIndicators();
    IndicatorShape[static_cast<std::size_t>(slot)]->show();
    emit previewChanged();
}

std::optional<QString> MaterialPanel::ShowMaterial(const MaterialRecord& e) {
    try {
        for (int s = 0; s < ColourSlotCount; ++s) {
            const std::int32_t r = ChannelToByte(e.Red[s]);
            const std::int32_t g = ChannelToByte(e.Green[s]);
            const std::int32_t b = ChannelToByte(e.Blue[s]);
            SwatchShape[static_cast<std::size_t>(s)]->setFillColor(ComposeColour(r, g, b));
            SwatchAlpha[static_cast<std::size_t>(s)] = e.Alpha[s];
        }
    } catch (const ConversionError& error) {
        emit previewChanged();
        return QString::fromUtf8(error.what());
    }
    m_powerEdit->setNumber(static_cast<double>(e.Power));
    emit previewChanged();
    return std::nullopt;
}

void MaterialPanel::ApplyTo(MaterialRecord& e) {
    for (int s = 0; s < ColourSlotCount; ++s) {
        const std::int32_t c = SwatchShape[static_cast<std::size_t>(s)]->fillColor();
        e.Red[s] = ByteToChannel(RedOf(c));
        e.Green[s] = ByteToChannel(GreenOf(c));
        e.Blue[s] = ByteToChannel(BlueOf(c));
        e.Alpha[s] = SwatchAlpha[static_cast<std::size_t>(s)];
        e.Power = NearestFloat(ReadPower()); // the last reading stays
    }
    // The panel gives the entry every field, so the whole entry is written.
    e.ChangedFields = AllFields;
    e.Modified = 1;
}

double MaterialPanel::ReadPower() {
    // A reading drops the first comma of the text, so readings may differ until no
    // comma is left. From then on a reading changes nothing and gives the same number,
    // so it is skipped until the text changes.
    if (!m_powerSettled) {
        m_power = m_powerEdit->Number();
        m_powerSettled = !m_powerEdit->text().contains(QLatin1Char(','));
    }
    return m_power;
}

void MaterialPanel::Button4Click(QObject* Sender) {
    const int slot = SlotOf(Sender);
    if (m_lineSelected && m_lineSelected()) {
        if (const std::optional<QString> error = SendSwatchToPanel(slot)) {
            ShowErrorMessage(*m_prompter, nullptr, *error);
            return;
        }
    }
    ShowOnlyIndicator(slot);
}

std::optional<QString> MaterialPanel::SendSwatchToPanel(int slot) {
    const auto s = static_cast<std::size_t>(slot);
    const std::int32_t c = SwatchShape[s]->fillColor();
    const int r = RedOf(c);
    const int g = GreenOf(c);
    const int b = BlueOf(c);
    std::int32_t a = 0;
    try {
        a = ChannelToByte(SwatchAlpha[s]);
    } catch (const ConversionError& error) {
        return QString::fromUtf8(error.what());
    }
    // Each edit whose text changes redraws the preview from the edits as they stand.
    m_channelEdit[0]->setNumber(r);
    m_channelEdit[1]->setNumber(g);
    m_channelEdit[2]->setNumber(b);
    m_channelEdit[3]->setNumber(a);
    m_preview->setFillColor(ComposeColour(r, g, b));
    return std::nullopt;
}

void MaterialPanel::Button13Click(QObject* Sender) {
    const auto s = static_cast<std::size_t>(SlotOf(Sender));
    SwatchShape[s]->setFillColor(m_preview->fillColor());
    SwatchAlpha[s] = ChannelFromEditValue(m_channelEdit[3]->Number());
    ShowOnlyIndicator(static_cast<int>(s));
}

void MaterialPanel::NumEdit1Change() {
    // A number too large for 64 bits (or infinite) saturates instead of failing.
    const std::int64_t r = TruncateSaturated(m_channelEdit[0]->Number());
    const std::int64_t g = TruncateSaturated(m_channelEdit[1]->Number());
    const std::int64_t b = TruncateSaturated(m_channelEdit[2]->Number());
    m_preview->setFillColor(ComposeColour(r, g, b));
}

void MaterialPanel::Button5Click() {
    // The chooser opens over the window, as the other dialogs do.
    const std::optional<std::int32_t> chosen =
        m_colourChooser->ChooseColour(window(), m_preview->fillColor());
    if (!chosen)
        return;
    // The preview follows through the change events of the edits whose text changed.
    m_channelEdit[0]->setNumber(RedOf(*chosen));
    m_channelEdit[1]->setNumber(GreenOf(*chosen));
    m_channelEdit[2]->setNumber(BlueOf(*chosen));
}

void MaterialPanel::Button6Click() {
    emit sendBackRequested();
}

} // namespace tintara
