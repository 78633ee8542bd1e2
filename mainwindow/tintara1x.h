#pragma once
// The main window: the material list with its property chooser and count label, the
// file choice, the settings it keeps between runs, and saving the edited materials.
// The material properties panel (GroupBox1, a MaterialPanel) shows the first selected
// line; when asked to send its material back, the window gives it to every selected
// entry.
//
// Names of the layout (tintara1x.ui), what the user sees, and the handler:
//   Edit1          the chosen file's name
//   scan           "Rescan"                                        scanClick
//   Button1        "?", choose a file                              loaditClick
//   Button2        "Save Updated MDL"                              SaveAs1Click
//   Button3        "About"                                         Button3Click
//   Button7        "Select All" (hidden)                           Button7Click
//   Button8        "Invert Selection" (hidden)                     Button8Click
//   texlist        the material list                               texlistClick
//   Label16, Label12, Label15, Label13, Label14
//                  the list's headings "Offset", "R", "G", "B", "A"
//   Label1         the count, "N Materials found"
//   Memo1          the help text
//   Label11        "Property to display in list"
//   ComboBox1      the property the list shows                     ComboBox1Change
//   GroupBox1      "Material Properties", the MaterialPanel (its controls are named in
//                  MaterialPanel.h)
//   load           the file-open dialog (no place on screen): the chosen file's full
//                  path and the folder it opens in; the member of that name
//   ColorDialog1   the colour chooser behind "Colour Selector" (no place on screen)

#include "framework/OpenDialog.h"
#include "mainwindow/RecentFiles.h"
#include "mainwindow/SendBackStep.h"
#include "material/MaterialTable.h"

#include <QUndoStack>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QCloseEvent;
class QMenu;
class QShowEvent;

namespace Ui {
class TForm1;
}

namespace tintara {

class ColourChooser;
class FileChooser;
class MaterialListModel;
class MaterialPreviewWindow;
class Prompter;
class SettingsStore;
class TAboutForm;

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
    // own selection (texlistClicked is not raised). Out-of-range rows select nothing.
    void SelectLine(int row);
    // The first selected line, -1 when none is selected.
    int FirstSelectedLine() const;

    // The chosen file as a path for the material core; empty before the first choice.
    std::filesystem::path ChosenFilePath() const;

    // Scans the chosen file without asking about unsaved edits (the save uses this
    // after writing). Does nothing when no file was chosen. False when the file could
    // not be opened (or none was chosen); a file that opened but could not be read
    // counts as opened.
    bool RescanFile();

    // Opens and scans a file as if it had been chosen with "?": a relative path is made
    // absolute, a ".bgl" file counts as chosen through "Scenery File" (lines show
    // "OBJ"), and unsaved edits are asked about first. Only once the file opened does
    // its folder become the dialog's and the file join the recent ones. Used for a file
    // named at start, dropped on the window or picked from the recent ones.
    void OpenFile(const QString& path);
    // The menu a right-click in Edit1 shows: the files opened last, then the field's own
    // commands. A child of Edit1; the caller deletes it when done.
    QMenu* CreateEdit1Menu();
    // Opens (or raises) the lit preview of the panel's material, kept in step with it.
    void ShowPreview();
    MaterialPreviewWindow* PreviewWindow() const { return m_previewWindow; }

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

signals:
    // A change of the list's selection made by the user (mouse or keyboard), a click
    // on a line that left the selection as it was, or the end of a send-back; the
    // panel then shows the first selected line. Never raised for selections the
    // program makes.
    void texlistClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Saves the settings; leaves the close abandoned when that fails the first time.
    void FormClose(QCloseEvent* event);

    // Asks whether unsaved material edits may be dropped; true when there are none.
    bool ConfirmDiscardEdits();

    // The table itself, for tests that edit it.
    tintara::MaterialTable& editableMaterials() { return MaterialTable; }
    Prompter& prompter() const { return *m_prompter; }

private:
    // Takes a chosen file over, then scans it. Its folder becomes the dialog's and it
    // joins the recent files: at once when chosen through the dialog, otherwise only
    // when it opened, so a missing file or a folder changes no setting.
    void TakeChoice(const FileChoice& choice, bool fromDialog);
    // Puts table entries back as a step of the history had them, rebuilds the list,
    // sets "Save Updated MDL" and selects and shows the first of them.
    void RestoreEntries(const TableEntries& entries, bool saveEnabled);
    void SetUpOpening();
    void SetUpControls();
    void ConnectHandlers();
    void LoadSettings();
    void SaveSettings();
    void ClearMaterialList();
    void ComboBox1Change();
    void texlistSelectionChanged();
    void texlistItemClicked();
    // Raises texlistClicked and shows the first selected line in the panel; with none
    // selected, hides the panel's indicators.
    void texlistClick();
    // "<< Send modified Material back": the panel into every selected entry.
    void SendMaterialBack();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void ShowReadProblem(const QString& detail);
    // When a save of the chosen file was interrupted, asks whether to finish it, roll
    // it back or leave the file alone, and does so.
    void OfferToRecoverSave();
    // Tells the user of journals a scan or save ignored or removed, in one box.
    void ShowSaveNotes(const std::vector<std::string>& notes);
    bool HasChosenFile() const { return !load.FileName().isEmpty(); }

    // Counts program-made selection changes in progress; they raise no texlistClicked.
    class ProgramSelection;

    std::unique_ptr<Ui::TForm1> ui;
    OpenDialog load;
    std::unique_ptr<SettingsStore> Settings;
    tintara::MaterialTable MaterialTable;
    MaterialListModel* m_listModel = nullptr;

    std::unique_ptr<FileChooser> m_ownChooser;
    FileChooser* m_chooser = nullptr;
    Prompter* m_prompter = nullptr;
    std::unique_ptr<ColourChooser> m_ownColourChooser;
    TAboutForm* m_aboutForm = nullptr;
    int m_programSelecting = 0;
    // User selection changes so far, and their number when the last press in the
    // list began: a click that changed nothing still shows its line again.
    unsigned m_userSelectionChanges = 0;
    unsigned m_userSelectionChangesAtPress = 0;
    bool m_tableLoaded = false; // the last scan read the file; a rebuild may show it
    bool m_closeFailedOnce = false;
    QPoint m_storedPosition; // "Left" and "Top" as read at start
    bool m_shownOnce = false;
    RecentFiles m_recent;
    // The send-backs since the last scan or save, for Ctrl+Z and Ctrl+Shift+Z / Ctrl+Y.
    QUndoStack m_history;
    MaterialPreviewWindow* m_previewWindow = nullptr; // made when first shown
};

} // namespace tintara
