#pragma once
// Asks the user for one existing file to open. The real implementation runs the
// system's file dialog; tests put a stand-in in its place.

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace tintara {

struct FileChoice {
    QString path;        // full path, with the system's own separators
    int filterIndex = 1; // 1-based index of the filter selected when the user confirmed
};

struct FileChoiceRequest {
    QString initialFolder;
    QStringList filters; // "Aircraft Model (*.mdl)" and the like
    int filterIndex = 1; // 1-based, preselected
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Runs modally; nothing when the user cancels.
    virtual std::optional<FileChoice> ChooseFileToOpen(QWidget* owner,
                                                       const FileChoiceRequest& request) = 0;
};

// Qt's own file dialog.
class QtFileChooser final : public FileChooser {
public:
    std::optional<FileChoice> ChooseFileToOpen(QWidget* owner,
                                               const FileChoiceRequest& request) override;
};

// The dialog the program uses. On Windows the system's open dialog, called directly:
// Qt's dialog object (which shows the same system dialog) keeps its own state under
// HKEY_CURRENT_USER\Software\QtProject, outside the program's key. Elsewhere Qt's.
class SystemFileChooser final : public FileChooser {
public:
    std::optional<FileChoice> ChooseFileToOpen(QWidget* owner,
                                               const FileChoiceRequest& request) override;
};

} // namespace tintara
