// Finding a library to read its version from: the loader cache, the order of the
// places searched, and the library path from the environment.

#include "testsupport.h"

#include "FileVersionTestUtils.h"
#include "elfimage.h"
#include "framework/FileVersion.h"
#include "framework/FileVersionLookup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tintara;
using tintara::test::readFile;

class TestFileVersionLocate : public QObject {
    Q_OBJECT

private slots:
    void loaderCache_data();
    void loaderCache();
    void truncatedLoaderCache();
    void systemLoaderCache();
    void searchOrder();
    void libraryPathFromEnvironment();
};

void TestFileVersionLocate::loaderCache_data() {
    QTest::addColumn<QByteArray>("cache");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    const QList<QPair<QByteArray, QByteArray>> entries = {
        {"libnvbmp.so", "/opt/nv/libnvbmp.so"},
        {"libnvclr.so", "/opt/nv/libnvclr.so"},
    };
    const auto cache = tintara::test::loaderCache(entries);
    QTest::newRow("first entry") << cache << "libnvbmp.so"
                                 << "/opt/nv/libnvbmp.so";
    QTest::newRow("second entry") << cache << "libnvclr.so"
                                  << "/opt/nv/libnvclr.so";
    QTest::newRow("absent name") << cache << "libnvmdl.so"
                                 << "";
    QTest::newRow("prefix of a name") << cache << "libnvbmp"
                                      << "";
    QTest::newRow("after an old-format table")
        << tintara::test::loaderCache(entries, true) << "libnvclr.so"
        << "/opt/nv/libnvclr.so";
    QTest::newRow("empty cache") << QByteArray() << "libnvbmp.so"
                                 << "";
    QTest::newRow("wrong magic") << QByteArray("glibc-ld.so.cache9.9") + cache.mid(20)
                                 << "libnvbmp.so"
                                 << "";
    auto countTooLarge = cache;
    countTooLarge[20] = '\xff';
    countTooLarge[21] = '\xff';
    QTest::newRow("entry count beyond the file") << countTooLarge << "libnvclr.so"
                                                 << "/opt/nv/libnvclr.so";
    auto keyOutside = cache;
    keyOutside[48 + 4 + 3] = '\x7f';
    QTest::newRow("key offset outside the file") << keyOutside << "libnvbmp.so"
                                                 << "";
    QTest::newRow("unterminated last string") << cache.left(cache.size() - 1) << "libnvclr.so"
                                              << "";
}

void TestFileVersionLocate::loaderCache() {
    QFETCH(QByteArray, cache);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(LoaderCacheLookup(cache, name), expected);
}

void TestFileVersionLocate::truncatedLoaderCache() {
    const auto cache = tintara::test::loaderCache({{"libnvbmp.so", "/opt/nv/libnvbmp.so"}}, true);
    for (qsizetype length = 0; length <= cache.size(); ++length) {
        const QString path = LoaderCacheLookup(cache.left(length), QStringLiteral("libnvbmp.so"));
        QVERIFY(path.isEmpty() || path == QLatin1String("/opt/nv/libnvbmp.so"));
    }
}

void TestFileVersionLocate::systemLoaderCache() {
    const QByteArray cache = readFile(QStringLiteral("/etc/ld.so.cache"));
    if (cache.isEmpty())
        QSKIP("this system has no loader cache");
    const QString path = LoaderCacheLookup(cache, QStringLiteral("libc.so.6"));
    QVERIFY2(QFile::exists(path), qPrintable(path));
}

void TestFileVersionLocate::searchOrder() {
    QTemporaryDir first;
    QTemporaryDir second;
    QTemporaryDir cacheDir;
    QVERIFY(first.isValid() && second.isValid() && cacheDir.isValid());
    QVERIFY(QFile::copy(TINTARA_LIB_2307, second.filePath(QStringLiteral("libnvbmp.so"))));
    QVERIFY(QFile::copy(TINTARA_LIB_1010, cacheDir.filePath(QStringLiteral("libnvbmp.so"))));
    QFile cache(cacheDir.filePath(QStringLiteral("ld.so.cache")));
    QVERIFY(cache.open(QIODevice::WriteOnly));
    cache.write(tintara::test::loaderCache(
        {{"libnvbmp.so", QFile::encodeName(cacheDir.filePath(QStringLiteral("libnvbmp.so")))}}));
    cache.close();

    LibrarySearchOrder order{{first.path(), second.path()}, cache.fileName(), {}};
    const QString name = QStringLiteral("libnvbmp.so");
    QCOMPARE(LocateLibrary(name, order), second.filePath(name));
    order.foldersBeforeCache = {first.path()};
    QCOMPARE(LocateLibrary(name, order), cacheDir.filePath(name));
    order.foldersAfterCache = {second.path()};
    QCOMPARE(LocateLibrary(name, order), cacheDir.filePath(name));
    order.loaderCacheFile.clear();
    QCOMPARE(LocateLibrary(name, order), second.filePath(name));
    QCOMPARE(LocateLibrary(QStringLiteral("libnvclr.so"), order), QString());
    QCOMPARE(LocateLibrary(QStringLiteral("../libnvbmp.so"), order), QString());
}

void TestFileVersionLocate::libraryPathFromEnvironment() {
#ifdef Q_OS_WIN
    // A bare name is found the way the loader finds libraries; PATH is one of its folders.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = QStringLiteral("nvmdl.dll");
    const QByteArray saved = qgetenv("PATH");
    qputenv("PATH", QDir::toNativeSeparators(dir.path()).toLocal8Bit() + ';' + saved);
    QCOMPARE(LibraryVersionText(name).value_or(QStringLiteral("none")), QStringLiteral("none"));
    QVERIFY(QFile::copy(TINTARA_LIB_1010, dir.filePath(name)));
    QCOMPARE(LibraryVersionText(name).value_or(QStringLiteral("none")),
             QStringLiteral("1.00.65536"));
    qputenv("PATH", saved);
#else
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = QStringLiteral("libnvmdl.so");
    const QByteArray saved = qgetenv("LD_LIBRARY_PATH");
    qputenv("LD_LIBRARY_PATH", QFile::encodeName(QStringLiteral("/nonexistent:") + dir.path()));
    QCOMPARE(LibraryVersionText(name).value_or(QStringLiteral("none")), QStringLiteral("none"));
    QVERIFY(QFile::copy(TINTARA_LIB_1010, dir.filePath(name)));
    QCOMPARE(LibraryVersionText(name).value_or(QStringLiteral("none")),
             QStringLiteral("1.00.65536"));
    qputenv("LD_LIBRARY_PATH", saved);
#endif
}

TINTARA_TEST_MAIN(TestFileVersionLocate)
#include "tst_fileversion_locate.moc"
