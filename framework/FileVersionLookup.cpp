#include "framework/FileVersionLookup.h"

#include "framework/FileVersion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace tintara {
namespace {

constexpr char OldCacheMagic[] = "ld.so-1.7.0";
constexpr char NewCacheMagic[] = "glibc-ld.so.cache1.1";
constexpr qsizetype NewHeaderSize = 48;
constexpr qsizetype NewEntrySize = 24;
constexpr qint64 MaxCacheBytes = 64 << 20;

// The cache is written in the host's byte order.
quint32 hostU32(const QByteArray& data, qsizetype pos) {
    quint32 value = 0;
    std::memcpy(&value, data.constData() + pos, sizeof value);
    return value;
}

// Offset of the new-format header: at the start, or after the old-format table.
std::optional<qsizetype> newFormatStart(const QByteArray& cache) {
    if (cache.startsWith(NewCacheMagic))
        return 0;
    if (!cache.startsWith(OldCacheMagic) || cache.size() < 16)
        return std::nullopt;
    const quint64 oldCount = hostU32(cache, 12);
    const quint64 start = (16 + oldCount * 12 + 7) / 8 * 8;
    if (start > static_cast<quint64>(cache.size()))
        return std::nullopt;
    if (!cache.mid(static_cast<qsizetype>(start)).startsWith(NewCacheMagic))
        return std::nullopt;
    return static_cast<qsizetype>(start);
}

// The zero-terminated string at `base + offset`, or nothing when it runs off the end.
std::optional<QByteArray> cacheString(const QByteArray& cache, qsizetype base, quint32 offset) {
    const quint64 pos = static_cast<quint64>(base) + offset;
    if (pos >= static_cast<quint64>(cache.size()))
        return std::nullopt;
    const auto end = cache.indexOf('\0', static_cast<qsizetype>(pos));
    if (end < 0)
        return std::nullopt;
    return cache.mid(static_cast<qsizetype>(pos), end - static_cast<qsizetype>(pos));
}

QString machineTriplet() {
#if defined(__x86_64__)
    return QStringLiteral("x86_64-linux-gnu");
#elif defined(__aarch64__)
    return QStringLiteral("aarch64-linux-gnu");
#elif defined(__i386__)
    return QStringLiteral("i386-linux-gnu");
#elif defined(__arm__)
    return QStringLiteral("arm-linux-gnueabihf");
#else
    return {};
#endif
}

QString existingFile(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return {};
    const QFileInfo info(QDir(folder), name);
    return info.isFile() ? info.absoluteFilePath() : QString();
}

} // namespace

QString LoaderCacheLookup(const QByteArray& cache, const QString& name) {
    const auto base = newFormatStart(cache);
    if (!base || cache.size() - *base < NewHeaderSize)
        return {};
    const quint64 available = static_cast<quint64>(cache.size() - *base - NewHeaderSize);
    const quint64 count = qMin<quint64>(hostU32(cache, *base + 20), available / NewEntrySize);
    const QByteArray wanted = QFile::encodeName(name);
    for (quint64 i = 0; i < count; ++i) {
        const qsizetype entry = *base + NewHeaderSize + static_cast<qsizetype>(i) * NewEntrySize;
        const auto key = cacheString(cache, *base, hostU32(cache, entry + 4));
        if (!key || *key != wanted)
            continue;
        if (const auto value = cacheString(cache, *base, hostU32(cache, entry + 8)))
            return QFile::decodeName(*value);
    }
    return {};
}

LibrarySearchOrder SystemLibrarySearchOrder() {
    LibrarySearchOrder order;
    order.foldersBeforeCache << QCoreApplication::applicationDirPath();
    const QString libraryPath = qEnvironmentVariable("LD_LIBRARY_PATH");
    for (const QString& folder : libraryPath.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        order.foldersBeforeCache << folder;
    order.loaderCacheFile = QStringLiteral("/etc/ld.so.cache");
    const QString triplet = machineTriplet();
    if (!triplet.isEmpty())
        order.foldersAfterCache << QStringLiteral("/lib/") + triplet
                                << QStringLiteral("/usr/lib/") + triplet;
    if constexpr (sizeof(void*) == 8)
        order.foldersAfterCache << QStringLiteral("/lib64") << QStringLiteral("/usr/lib64");
    order.foldersAfterCache << QStringLiteral("/lib") << QStringLiteral("/usr/lib");
    return order;
}

QString LocateLibrary(const QString& bareName, const LibrarySearchOrder& order) {
    if (bareName.isEmpty() || bareName.contains(QLatin1Char('/')) ||
        bareName.contains(QLatin1Char('\\')))
        return {};
    for (const QString& folder : order.foldersBeforeCache) {
        if (const QString path = existingFile(folder, bareName); !path.isEmpty())
            return path;
    }
    if (!order.loaderCacheFile.isEmpty()) {
        QFile cacheFile(order.loaderCacheFile);
        if (cacheFile.open(QIODevice::ReadOnly) && cacheFile.size() <= MaxCacheBytes) {
            const QString path = LoaderCacheLookup(cacheFile.readAll(), bareName);
            if (!path.isEmpty() && QFileInfo(path).isFile())
                return path;
        }
    }
    for (const QString& folder : order.foldersAfterCache) {
        if (const QString path = existingFile(folder, bareName); !path.isEmpty())
            return path;
    }
    return {};
}

std::optional<QString> LibraryVersionText(const QString& bareName) {
#ifdef Q_OS_WIN
    // The version reader searches for bare names the way the loader does.
    return FileVersionText(bareName);
#else
    const QString path = LocateLibrary(bareName, SystemLibrarySearchOrder());
    if (path.isEmpty())
        return std::nullopt;
    return FileVersionText(path);
#endif
}

} // namespace tintara
