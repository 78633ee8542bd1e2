#pragma once
// Lets a window take one local file dropped anywhere on it, its text fields and list
// included (a text field would otherwise insert the file's name as text).

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

signals:
    void fileDropped(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tintara
