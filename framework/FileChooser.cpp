#include "framework/FileChooser.h"

#include <QDir>
#include <QFileDialog>

namespace tintara {

std::optional<FileChoice> QtFileChooser::ChooseFileToOpen(QWidget* owner,
                                                          const FileChoiceRequest& request) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    dialog.setDirectory(request.initialFolder);
    if (request.filterIndex >= 1 && request.filterIndex <= request.filters.size())
        dialog.selectNameFilter(request.filters.at(request.filterIndex - 1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FileChoice choice;
    choice.path = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    const qsizetype filter = request.filters.indexOf(dialog.selectedNameFilter());
    choice.filterIndex = filter >= 0 ? static_cast<int>(filter) + 1 : 1;
    return choice;
}

} // namespace tintara
