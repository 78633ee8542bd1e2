#pragma once
// Lets a window take one local file dropped anywhere on it, its text fields and list
// included, and refuses every other drop (a text field would otherwise insert the
// file's name, a text or a link as text). A file is taken as a copy, never as a move,
// so no drag source can take the model as moved. Several files are taken only to say
// that one is wanted.

#include <QObject>
#include <QString>

#include <optional>

class QMimeData;
class QWidget;

namespace tintara {

class FileDropFilter : public QObject {
    Q_OBJECT
public:
    // Watches the window and every child that takes drops.
    explicit FileDropFilter(QWidget* window);

    // The one local file the data names, if it names exactly one.
    static std::optional<QString> DroppedFile(const QMimeData* data);
    // Whether the data names more than one local file and nothing else.
    static bool SeveralFiles(const QMimeData* data);

signals:
    void fileDropped(const QString& path);
    void severalFilesDropped();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tintara
