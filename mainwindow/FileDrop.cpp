#include "mainwindow/FileDrop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace tintara {

FileDropFilter::FileDropFilter(QWidget* window) : QObject(window) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    for (QWidget* child : window->findChildren<QWidget*>())
        if (child->acceptDrops())
            child->installEventFilter(this);
}

std::optional<QString> FileDropFilter::DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1)
        return std::nullopt;
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return std::nullopt;
    return url.toLocalFile();
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!DroppedFile(drag->mimeData()))
            break;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::optional<QString> file = DroppedFile(drop->mimeData());
        if (!file)
            break;
        drop->acceptProposedAction();
        emit fileDropped(*file);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tintara
