#include "framework/OpenDialog.h"

namespace tintara {

OpenDialog::OpenDialog(QStringList filters, PathStyle style)
    : m_filters(std::move(filters)), m_style(style) {}

void OpenDialog::SetInitialDir(const QString& folder) {
    m_initialDir = ApplyInitialFolderRule(WithStyleSeparators(folder, m_style), m_style);
}

std::optional<FileChoice> OpenDialog::Choose(FileChooser& chooser, QWidget* owner) const {
    return chooser.ChooseFileToOpen(owner, {m_initialDir, m_filters, m_filterIndex});
}

void OpenDialog::Accept(const FileChoice& choice) {
    m_fileName = WithStyleSeparators(choice.path, m_style);
    m_filterIndex = choice.filterIndex;
}

} // namespace tintara
