#pragma once
// TAboutForm: the About window. Four tabs: the program's icon, title, version and
// description; the maker with its web and e-mail links; the versions of the maker's
// libraries installed here, with a description of each on request; the terms of use.
//
// Created once, hidden, at start-up and shown modally any number of times. Every
// showing refreshes the version, the description and both library lists; the active
// tab, Label3 and the memos keep what they had.
//
// Names of the layout (aboutbox.ui), what the user sees, and the handler:
//   PageControl1   the four tabs, in the order TabSheet1 "Program", TabSheet2 "Norvel
//                  Graphics", TabSheet4 "DLLs", TabSheet3 "Copyrights" (the numbers
//                  are the order the tabs were made in, not their order on screen)
//   ExeButton1     the program's icon and name
//   Label2         "Version 1.00.0", read from the program file        FormShow
//   Label1         the description, AboutText                          FormShow
//   Memo3          about the maker
//   MButton3       globe picture, "Visit the Norvel Graphics Website"  Button2Click
//   MButton2       envelope picture, "Contact"                         MButton2Click
//   Label11        "Many Norvel Graphics programs need these ..."
//   ListBox1       one line per library: name, version or "Not found"  ListBox1Click
//   ListBox2       hidden: the description of each line of ListBox1, in step with it
//   Label3         "Click on entry for description", then the description
//   MButton4       globe picture on the DLLs tab                       Button2Click
//   Label12        "Visit the Norvel Graphics Website to obtain ..."
//   Memo2          the terms of use
//   MButton1       the program's picture on the Copyrights tab (not a button in use)
//   Button1        "Close"                                             Button1Click

#include <QDialog>
#include <QString>

#include <memory>

class QShowEvent;

namespace Ui {
class TAboutForm;
}

namespace tintara {

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* owner = nullptr);
    ~TAboutForm() override;

    // The description shown in Label1; written by the main window before each showing.
    QString AboutText;

    // Adds "name, blanks to 12, ' -   ', version or 'Not found'" to ListBox1 and the
    // description to the hidden ListBox2, both at their sorted positions.
    void AddLibraryLine(const QString& fileName, const QString& description);

    // Handlers, connected in the constructor.
    void FormShow();
    void Button1Click();
    void Button2Click();
    void MButton2Click();
    void ListBox1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ApplyFonts();
    void ApplyPictures();
    void ConnectHandlers();
    void CentreOnScreen();

    std::unique_ptr<Ui::TAboutForm> ui;
};

} // namespace tintara
