#include "framework/FileChooser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QMimeDatabase>
#include <QStyle>

namespace tintara {
namespace {

// Icons and type names from a file's name and kind alone. Qt's own provider asks the
// MIME database, which reads the start of every listed file whose name does not settle
// its type (".mdl" and ".bgl" among them), on the dialog's own thread and on the thread
// that gathers file information. Such a read can block for good: as root, listing
// /proc reads /proc/kmsg, which waits for the next kernel message, so the dialog
// freezes, or freezes on closing while it waits for the gathering thread.
class FileNameIconProvider final : public QFileIconProvider {
public:
    using QFileIconProvider::icon;

    QIcon icon(const QFileInfo& info) const override {
        // Only regular files are ever read; folders, devices and pipes go by their kind.
        if (!info.isFile())
            return QFileIconProvider::icon(info);
        const QMimeType mime = MimeType(info);
        QIcon themed = QIcon::fromTheme(mime.iconName());
        if (themed.isNull())
            themed = QIcon::fromTheme(mime.genericIconName());
        if (!themed.isNull())
            return themed;
        return QApplication::style()->standardIcon(info.isSymLink() ? QStyle::SP_FileLinkIcon
                                                                    : QStyle::SP_FileIcon);
    }

    QString type(const QFileInfo& info) const override {
        if (!info.isFile())
            return QFileIconProvider::type(info);
        const QMimeType mime = MimeType(info);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }

private:
    QMimeType MimeType(const QFileInfo& info) const {
        return m_mimeTypes.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    }

    QMimeDatabase m_mimeTypes;
};

} // namespace

std::optional<FileChoice> QtFileChooser::ChooseFileToOpen(QWidget* owner,
                                                          const FileChoiceRequest& request) {
    // Outlives the dialog, which does not take it over.
    FileNameIconProvider icons;
    QFileDialog dialog(owner);
    dialog.setIconProvider(&icons);
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
