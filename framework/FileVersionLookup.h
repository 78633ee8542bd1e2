#pragma once
// Finds a library file by its bare name along the platform's library search order,
// without loading it, and reads its product version.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tintara {

// Where a bare library name is looked for, in order: the folders before the loader's
// cache, the cache itself, then the folders after it.
struct LibrarySearchOrder {
    QStringList foldersBeforeCache;
    QString loaderCacheFile; // empty: no cache
    QStringList foldersAfterCache;
};

// The order the system loader uses on this machine, read afresh on every call: the
// executable's folder, LD_LIBRARY_PATH, /etc/ld.so.cache, then the default folders
// (multiarch and plain /lib, /usr/lib).
LibrarySearchOrder SystemLibrarySearchOrder();

// Full path of the first existing file called `bareName` along `order`; empty when
// there is none. Names holding a folder separator are not searched.
QString LocateLibrary(const QString& bareName, const LibrarySearchOrder& order);

// Path that the loader cache image `cache` (contents of ld.so.cache) gives for `name`,
// or empty. Malformed or truncated caches yield empty.
QString LoaderCacheLookup(const QByteArray& cache, const QString& name);

// Version text of the library `bareName` found along the system search order (on
// Windows, the loader's own search), or nothing when missing or without a version.
std::optional<QString> LibraryVersionText(const QString& bareName);

} // namespace tintara
