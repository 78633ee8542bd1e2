#pragma once
// How the file-open dialog holds folders and splits a chosen path. Windows paths use
// "\" and drive letters with ":"; elsewhere the separator is "/". Both styles are
// available on every system so either can be checked anywhere.

#include <QString>

namespace tintara {

enum class PathStyle { Windows, Posix };

// The style of the system the program runs on.
PathStyle NativePathStyle();

// `path` with the style's separators: on Windows every "/" becomes "\\" (Qt's dialogs
// hand back "/"); a POSIX path is returned as it is, since "\\" is a legal file-name
// character there.
QString WithStyleSeparators(const QString& path, PathStyle style);

// A folder as the dialog holds it: a text longer than one character that ends in the
// separator loses that separator, except a drive's root such as "c:\" (the character
// before it is ":") or, on POSIX, the root "/" itself.
QString ApplyInitialFolderRule(const QString& folder, PathStyle style);

struct SplitPath {
    QString folder;   // everything up to and including the last separator (or ":")
    QString fileName; // everything after it
};
SplitPath SplitChosenPath(const QString& path, PathStyle style);

// The folder the dialog starts in when nothing is stored: "c:\" on Windows, the
// user's home folder elsewhere.
QString DefaultInitialFolder();

} // namespace tintara
