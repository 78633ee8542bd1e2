#include "framework/FolderRules.h"

#include <QDir>

#include <algorithm>

namespace tintara {

PathStyle NativePathStyle() {
#ifdef Q_OS_WIN
    return PathStyle::Windows;
#else
    return PathStyle::Posix;
#endif
}

QString WithStyleSeparators(const QString& path, PathStyle style) {
    if (style != PathStyle::Windows)
        return path;
    QString native = path;
    native.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return native;
}

QString ApplyInitialFolderRule(const QString& folder, PathStyle style) {
    const QChar separator = style == PathStyle::Windows ? QLatin1Char('\\') : QLatin1Char('/');
    if (folder.size() > 1 && folder.back() == separator &&
        !(style == PathStyle::Windows && folder.at(folder.size() - 2) == QLatin1Char(':'))) {
        return folder.left(folder.size() - 1);
    }
    return folder;
}

SplitPath SplitChosenPath(const QString& path, PathStyle style) {
    qsizetype last = -1;
    if (style == PathStyle::Windows)
        last = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char(':')));
    else
        last = path.lastIndexOf(QLatin1Char('/'));
    return {path.left(last + 1), path.mid(last + 1)};
}

QString DefaultInitialFolder() {
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\");
#else
    return QDir::homePath();
#endif
}

} // namespace tintara
