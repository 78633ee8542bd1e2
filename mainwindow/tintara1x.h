#pragma once
// The main window: the material list with its property chooser and count label, the
// file choice, the settings it keeps between runs, the material properties panel with
// its colour adjustment panel, and saving the edited materials.

#include "framework/OpenDialog.h"
#include "material/MaterialTable.h"

#include <QWidget>

#include <array>
#include <filesystem>
#include <memory>

class QCloseEvent;

namespace Ui {
class TForm1;
}

namespace tintara {

class ColourChooser;
class FileChooser;
class MaterialListModel;
class Prompter;
class SettingsStore;
class TAboutForm;
class TShape;

// What the window works through; tests supply stand-ins. Null members mean the real
// thing: the user's settings store, the system's file and colour dialogs, message boxes.
struct TForm1Services {
    std::unique_ptr<SettingsStore> settings;
    FileChooser* fileChooser = nullptr;
    Prompter* prompter = nullptr;
    ColourChooser* colourChooser = nullptr;
};

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    explicit TForm1(TForm1Services services, QWidget* parent = nullptr);
    ~TForm1() override;

    // The materials of the last scan; MaterialCount is its count().
    const tintara::MaterialTable& materials() const { return MaterialTable; }
    // The file-open dialog object: chosen path, initial folder, filter.
    const OpenDialog& openDialog() const { return load; }

    // Index of the item shown in ComboBox1's field, -1 when its text matches none.
    int ShownProperty() const;

    // Refills the list and the count label from the table. Throws ConversionError when
    // a shown channel cannot be converted; the lines before that entry stay and the
    // label keeps its text.
    void RebuildMaterialList();

    // Selects exactly one line, made current and scrolled into view, as the program's
    // own selection (texlistClick is not raised). Out-of-range rows select nothing.
    void SelectLine(int row);
    // The first selected line, -1 when none is selected.
    int FirstSelectedLine() const;

    // The chosen file as a path for the material core; empty before the first choice.
    std::filesystem::path ChosenFilePath() const;

    // Scans the chosen file without asking about unsaved edits (the save uses this
    // after writing). Does nothing when no file was chosen.
    void RescanFile();

    // The About window that "About" shows; created hidden at start-up and owned by
    // this window as its child. Without one, "About" does nothing.
    void SetAboutForm(TAboutForm* form) { m_aboutForm = form; }

public slots:
    void scanClick();    // "Rescan"
    void loaditClick();  // "?"
    void Button3Click(); // "About"
    void Button7Click(); // "Select All"
    void Button8Click(); // "Invert Selection"
    void SaveAs1Click(); // "Save Updated MDL"

    // The properties panel. The ">>" and "<<" buttons carry their colour slot in the
    // dynamic property "Tag"; Sender is the button clicked.
    void Button4Click(QObject* Sender);  // ">>": swatch into the adjustment panel
    void Button13Click(QObject* Sender); // "<<": adjustment panel into the swatch
    void NumEdit1Change();               // red, green, blue or alpha edited
    void Button5Click();                 // "Colour Selector"
    void Button6Click();                 // "<< Send modified Material back"

protected:
    void closeEvent(QCloseEvent* event) override;
    // Saves the settings; leaves the close abandoned when that fails the first time.
    void FormClose(QCloseEvent* event);

    // A change of the list's selection made by the user (mouse or keyboard); never
    // raised for selections the program makes.
    virtual void texlistClick();

    // Shows table entry `index` in the swatches and the power field. Throws
    // ConversionError for a channel that cannot be converted; the slots before it are
    // then already shown.
    void ShowMaterial(int index);
    // Copies swatch `slot` and its alpha into the adjustment panel. Throws
    // ConversionError (before changing anything) for an alpha that cannot be converted.
    void SendSwatchToPanel(int slot);

    // Asks whether unsaved material edits may be dropped; true when there are none.
    bool ConfirmDiscardEdits();

    // The table itself, for the panel's "send back" and for tests.
    tintara::MaterialTable& editableMaterials() { return MaterialTable; }
    Prompter& prompter() const { return *m_prompter; }

private:
    void SetUpControls();
    void ConnectHandlers();
    void LoadSettings();
    void SaveSettings();
    void WirePanel();
    void ConnectPanel();
    void HideIndicators();
    void ShowOnlyIndicator(int slot);
    static int SlotOf(const QObject* sender);
    void ClearMaterialList();
    void ComboBox1Change();
    void texlistSelectionChanged();
    void texlistClicked();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void ShowReadProblem(const QString& detail);
    // When a save of the chosen file was interrupted, asks whether to finish it, roll
    // it back or leave the file alone, and does so.
    void OfferToRecoverSave();
    bool HasChosenFile() const { return !load.FileName().isEmpty(); }

    // Counts program-made selection changes in progress, which texlistClick ignores.
    class ProgramSelection;

    std::unique_ptr<Ui::TForm1> ui;
    OpenDialog load;
    std::unique_ptr<SettingsStore> Settings;
    tintara::MaterialTable MaterialTable;
    MaterialListModel* m_listModel = nullptr;

    // The panel's swatches and indicators by colour slot (controls of the layout), and
    // the alpha that goes with each swatch's colour.
    std::array<TShape*, 4> SwatchShape{};
    std::array<TShape*, 4> IndicatorShape{};
    std::array<float, 4> SwatchAlpha{};

    std::unique_ptr<FileChooser> m_ownChooser;
    FileChooser* m_chooser = nullptr;
    Prompter* m_prompter = nullptr;
    std::unique_ptr<ColourChooser> m_ownColourChooser;
    ColourChooser* m_colourChooser = nullptr;
    TAboutForm* m_aboutForm = nullptr;
    int m_programSelecting = 0;
    // User selection changes so far, and their number when the last press in the
    // list began: a click that changed nothing still shows its line again.
    unsigned m_userSelectionChanges = 0;
    unsigned m_userSelectionChangesAtPress = 0;
    bool m_tableLoaded = false; // the last scan read the file; a rebuild may show it
    bool m_closeFailedOnce = false;
};

} // namespace tintara
