#pragma once
// The window's file-open dialog object: it keeps the full path of the last chosen file,
// the folder the dialog starts in and the filter last confirmed, and runs the chooser.

#include "framework/FileChooser.h"
#include "framework/FolderRules.h"

namespace tintara {

class OpenDialog {
public:
    explicit OpenDialog(QStringList filters, PathStyle style = NativePathStyle());

    // Full path of the last chosen file; empty before the first choice.
    const QString& FileName() const { return m_fileName; }
    // 1-based; 1 until a file is confirmed with another filter selected.
    int FilterIndex() const { return m_filterIndex; }
    const QStringList& Filters() const { return m_filters; }

    const QString& InitialDir() const { return m_initialDir; }
    // Held with the platform's separators, under the initial-folder rule (a final
    // separator is dropped, a root kept).
    void SetInitialDir(const QString& folder);

    // Runs the chooser in the initial folder with the current filter preselected; a
    // choice is returned but not yet taken over (see Accept).
    std::optional<FileChoice> Choose(FileChooser& chooser, QWidget* owner) const;
    // Takes over a choice: file name (with the platform's separators) and filter index.
    void Accept(const FileChoice& choice);

    // The folder and file-name parts of the chosen path.
    SplitPath SplitFileName() const { return SplitChosenPath(m_fileName, m_style); }

private:
    QStringList m_filters;
    PathStyle m_style;
    QString m_fileName;
    QString m_initialDir;
    int m_filterIndex = 1;
};

} // namespace tintara
