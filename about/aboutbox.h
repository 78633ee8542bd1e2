#pragma once
// TAboutForm: the About window. Four tabs: the program's icon, title, version and
// description; the maker with its web and e-mail links; the versions of the maker's
// libraries installed here, with a description of each on request; the terms of use.
//
// Created once, hidden, at start-up and shown modally any number of times. Every
// showing refreshes the version, the description and both library lists; the active
// tab, Label3 and the memos keep what they had.

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
