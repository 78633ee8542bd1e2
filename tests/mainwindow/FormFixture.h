#pragma once
// A real main window with stand-ins for what it works through: a settings store on a
// temporary file, file and colour choosers that return scripted choices, and a
// prompter that records message boxes instead of showing them.

#include "RecordingPrompter.h"
#include "framework/ColourChooser.h"
#include "framework/FileChooser.h"
#include "mainwindow/tintara1x.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace tintara::test {

class ScriptedChooser final : public FileChooser {
public:
    std::optional<FileChoice> ChooseFileToOpen(QWidget*,
                                               const FileChoiceRequest& request) override {
        requests.push_back(request);
        if (choices.empty())
            return std::nullopt;
        const std::optional<FileChoice> next = choices.front();
        choices.pop_front();
        return next;
    }
    std::deque<std::optional<FileChoice>> choices;
    std::vector<FileChoiceRequest> requests;
};

class ScriptedColourChooser final : public ColourChooser {
public:
    std::optional<std::int32_t> ChooseColour(QWidget*, std::int32_t initial) override {
        initials.push_back(initial);
        if (choices.empty())
            return std::nullopt;
        const std::optional<std::int32_t> next = choices.front();
        choices.pop_front();
        return next;
    }
    std::deque<std::optional<std::int32_t>> choices;
    std::vector<std::int32_t> initials;
};

// TForm1 with a count of texlistClicked and access to the table for edits.
class ProbeForm final : public TForm1 {
public:
    explicit ProbeForm(TForm1Services services);
    int texlistClicks = 0;
    tintara::MaterialTable& table() { return editableMaterials(); }
};

class FormFixture {
public:
    FormFixture();

    // Where the settings live; write values here before create().
    QString settingsPath() const { return m_dir.filePath(QStringLiteral("settings.ini")); }
    std::unique_ptr<QSettings> settings() const;
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // The same with the platform's separators, as the window holds and stores paths.
    QString nativePath(const QString& name) const {
        return QDir::toNativeSeparators(QDir::cleanPath(path(name)));
    }

    ProbeForm& create(const QString& settingsFile = QString());
    ProbeForm& form() { return *m_form; }
    void destroy() { m_form.reset(); }

    // Chooses `file` through "?" with the 1-based filter, by clicking the button.
    void chooseFile(const QString& file, int filterIndex = 1);

    template <class T> T* child(const char* name) {
        return m_form->findChild<T*>(QString::fromLatin1(name));
    }
    QAbstractItemView* list() { return child<QAbstractItemView>("texlist"); }
    // Clicks line `row` of the list as the user would.
    void clickLine(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Clicks the button of that name.
    void click(const char* button);
    // The selected lines, ascending.
    QList<int> selectedLines();
    QStringList lines();
    QString label() { return child<QLabel>("Label1")->text(); }

    ScriptedChooser chooser;
    RecordingPrompter prompter;
    ScriptedColourChooser colours;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ProbeForm> m_form;
};

} // namespace tintara::test
