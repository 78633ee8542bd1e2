#pragma once
// MaterialPanel: the "Material Properties" group box. Four swatches show a material's
// diffuse, ambient, specular and emissive colours, each with the alpha that goes with
// it and an indicator beside it; the power field shows its specular power. The colour
// adjustment panel (ScrollBox1) edits one colour at a time: ">>" copies a swatch into
// it, "<<" copies it back into a swatch, the spinners, the edits and "Colour Selector"
// change it. "<< Send modified Material back" raises sendBackRequested; the owner of the
// list then applies the panel to the entries it chose.
//
// In a Designer form, promote the group box to tintara::MaterialPanel (header
// "mainwindow/MaterialPanel.h") with its controls as children under their usual names,
// and call Attach once they exist.
//
// Names of the layout, what the user sees, and the handler:
//   Shape2..Shape5     the diffuse, ambient, specular and emissive swatches (Label6..9)
//   Shape6..Shape9     their indicators, green circles, at most one shown
//   Button4, Button10, Button11, Button12   ">>" by each swatch           Button4Click
//   Button13, Button14, Button15, Button16  "<<" by each swatch           Button13Click
//   NumEdit5           the specular power (Label10 "Specularity")
//   ScrollBox1         the colour adjustment panel:
//     Shape1           the preview
//     NumEdit1..4      red, green, blue, alpha (Label2..5), UpDown1..4   NumEdit1Change
//     Button5          "Colour Selector"                                 Button5Click
//   Button6            "<< Send modified Material back"                  Button6Click

#include "mainwindow/MaterialSphere.h"
#include "material/MaterialRecord.h"

#include <QGroupBox>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace tintara {

class ColourChooser;
class Prompter;
class TNumEdit;
class TShape;

class MaterialPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit MaterialPanel(QWidget* parent = nullptr);
    ~MaterialPanel() override;

    // Finds the controls among the children by name, fits the swatch captions to the
    // current font, binds the spinners to their edits and connects the handlers. Call
    // once. `lineSelected` tells whether a line of the material list is selected:
    // ">>" copies its swatch only then. Errors are shown through `prompter`.
    void Attach(Prompter& prompter, ColourChooser& colours, std::function<bool()> lineSelected);

    // Shows the entry's colours in the swatches, keeps its alphas and shows its power.
    // For a channel that cannot be converted, returns the error's text: the slots before
    // it are then shown, the others and the power field keep what they showed.
    [[nodiscard]] std::optional<QString> ShowMaterial(const MaterialRecord& entry);
    void HideIndicators();

    // Gives the entry every field: the swatches' colours as byte values, their alphas,
    // and the power field's number, read once for each colour slot (a reading drops the
    // first comma of the text; the last reading stays). The whole entry is marked
    // modified.
    void ApplyTo(MaterialRecord& entry);

    // The material a send-back would apply now, for the lit preview: the swatches with
    // their alphas and the power field as its readings would leave it; the slot whose
    // indicator shows takes the adjustment panel's colour and alpha. Changes no field.
    SphereMaterial PreviewMaterial() const;
    // When the adjustment panel's colour or alpha differs from the swatch whose
    // indicator shows, what the preview says about it: "Diffuse shown from the
    // adjustment panel: press << to keep it". Empty otherwise.
    QString PreviewNote() const;

public slots:
    // The ">>" and "<<" buttons carry their colour slot in the dynamic property "Tag";
    // Sender is the button clicked.
    void Button4Click(QObject* Sender);  // ">>": swatch into the adjustment panel
    void Button13Click(QObject* Sender); // "<<": adjustment panel into the swatch
    void NumEdit1Change();               // red, green, blue or alpha edited
    void Button5Click();                 // "Colour Selector"
    void Button6Click();                 // "<< Send modified Material back"

signals:
    void sendBackRequested();
    // Whatever PreviewMaterial depends on may have changed.
    void previewChanged();

private:
    template <class T> T* Control(const char* name) const;
    void FitSwatchCaptions();
    void SetToolTips();
    void ConnectHandlers();
    void ShowOnlyIndicator(int slot);
    int IndicatedSlot() const; // -1 when no indicator shows
    static int SlotOf(const QObject* sender);
    // Copies swatch `slot` and its alpha into the adjustment panel. For an alpha that
    // cannot be converted, returns the error's text before changing anything.
    std::optional<QString> SendSwatchToPanel(int slot);
    double ReadPower();

    // Swatches and indicators by colour slot, the alpha of each swatch's colour.
    std::array<TShape*, ColourSlotCount> SwatchShape{};
    std::array<TShape*, ColourSlotCount> IndicatorShape{};
    std::array<float, ColourSlotCount> SwatchAlpha{};
    // The adjustment panel: preview, red, green, blue and alpha edits.
    TShape* m_preview = nullptr;
    std::array<TNumEdit*, 4> m_channelEdit{};
    TNumEdit* m_powerEdit = nullptr;

    Prompter* m_prompter = nullptr;
    ColourChooser* m_colourChooser = nullptr;
    std::function<bool()> m_lineSelected;

    // The number of the power field's last reading, while its text has had no comma
    // and has not changed since: reading it again would give the same number.
    double m_power = 0.0;
    bool m_powerSettled = false;
};

} // namespace tintara
