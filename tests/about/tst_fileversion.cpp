#include "testsupport.h"

#include "elfimage.h"
#include "framework/FileVersion.h"
#include "framework/FileVersionLookup.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace tintara;
using tintara::test::ElfShape;

namespace {

std::optional<ProductVersion> readImage(const QByteArray& image) {
    QByteArray copy = image;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ReadElfProductVersion(buffer);
}

QString imageVersionText(const QByteArray& image) {
    const auto version = readImage(image);
    return version ? VersionText(*version) : QStringLiteral("none");
}

QByteArray versionNote(const ElfShape& shape, std::uint32_t ms, std::uint32_t ls) {
    return tintara::test::elfNote(shape, "Tintara", 1, {ms, ls});
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFileVersion : public QObject {
    Q_OBJECT

private slots:
    void versionText_data();
    void versionText();
    void builtFiles_data();
    void builtFiles();
    void elfImages_data();
    void elfImages();
    void truncatedAndCorruptedLibrary();
    void loaderCache_data();
    void loaderCache();
    void truncatedLoaderCache();
    void systemLoaderCache();
    void searchOrder();
    void libraryPathFromEnvironment();
};

void TestFileVersion::versionText_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("build");
    QTest::addColumn<int>("release");
    QTest::addColumn<QString>("expected");
    QTest::newRow("2.3.0.7 drops the minor number") << 2 << 3 << 0 << 7 << "2.00.7";
    QTest::newRow("1.0.1.0 prints the whole low word") << 1 << 0 << 1 << 0 << "1.00.65536";
    QTest::newRow("all zero") << 0 << 0 << 0 << 0 << "0.00.0";
    QTest::newRow("largest major") << 65535 << 65535 << 0 << 1 << "65535.00.1";
    QTest::newRow("low word read as signed") << 1 << 0 << 0x8000 << 1 << "1.00.-2147483647";
    QTest::newRow("low word all ones") << 1 << 0 << 0xffff << 0xffff << "1.00.-1";
}

void TestFileVersion::versionText() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, build);
    QFETCH(int, release);
    QFETCH(QString, expected);
    const auto version =
        MakeProductVersion(static_cast<std::uint16_t>(major), static_cast<std::uint16_t>(minor),
                           static_cast<std::uint16_t>(build), static_cast<std::uint16_t>(release));
    QCOMPARE(tintara::VersionText(version), expected);
}

void TestFileVersion::builtFiles_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("library built as 2.3.0.7") << TINTARA_LIB_2307 << "2.00.7";
    QTest::newRow("library built as 1.0.1.0") << TINTARA_LIB_1010 << "1.00.65536";
    QTest::newRow("executable without a record")
        << QCoreApplication::applicationFilePath() << "none";
    QTest::newRow("missing file") << TINTARA_LIB_2307 + QStringLiteral(".missing") << "none";
    QTest::newRow("empty name") << QString() << "none";
    QTest::newRow("a folder") << QCoreApplication::applicationDirPath() << "none";
}

void TestFileVersion::builtFiles() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(FileVersionText(path).value_or(QStringLiteral("none")), expected);
}

void TestFileVersion::elfImages_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QString>("expected");

    const ElfShape le64;
    const ElfShape be32{false, true, 4};
    const auto good = [](const ElfShape& shape) {
        return tintara::test::elfWithNotes(shape, versionNote(shape, 0x00020003, 7));
    };
    QTest::newRow("64-bit little-endian") << good(le64) << "2.00.7";
    QTest::newRow("32-bit big-endian") << good(be32) << "2.00.7";
    QTest::newRow("32-bit little-endian") << good({false, false, 4}) << "2.00.7";
    QTest::newRow("64-bit big-endian") << good({true, true, 4}) << "2.00.7";

    const ElfShape aligned8{true, false, 8};
    const QByteArray gnuNote = tintara::test::elfNote(aligned8, "GNU", 5, {1, 2, 3});
    QTest::newRow("after another note, 8-byte aligned")
        << tintara::test::elfWithNotes(aligned8,
                                       gnuNote + versionNote(aligned8, 0x00010000, 0x10000))
        << "1.00.65536";
    QTest::newRow("other owner") << tintara::test::elfWithNotes(
                                        le64, tintara::test::elfNote(le64, "Tintarb", 1, {1, 2}))
                                 << "none";
    QTest::newRow("other type") << tintara::test::elfWithNotes(
                                       le64, tintara::test::elfNote(le64, "Tintara", 2, {1, 2}))
                                << "none";
    QTest::newRow("description too short")
        << tintara::test::elfWithNotes(le64, tintara::test::elfNote(le64, "Tintara", 1, {1}))
        << "none";

    QTest::newRow("empty file") << QByteArray() << "none";
    QTest::newRow("text file") << QByteArray("just some text, long enough to hold a header ....")
                               << "none";
    QTest::newRow("magic only") << QByteArray("\x7f"
                                              "ELF")
                                << "none";
    QTest::newRow("unknown class") << [&] {
        auto image = good(le64);
        image[4] = 3;
        return image;
    }() << "none";
    QTest::newRow("header cut short") << good(le64).left(40) << "none";

    const auto notesSize = static_cast<int>(versionNote(le64, 0, 0).size());
    const auto at = tintara::test::elfOffsets(le64, notesSize);
    const auto patched = [&](int pos, std::uint64_t value, int width) {
        auto image = good(le64);
        tintara::test::putInt(image, pos, value, width, false);
        return image;
    };
    QTest::newRow("section table past the end")
        << patched(at.sectionTableOffset, 1u << 30, 8) << "none";
    QTest::newRow("section table offset overflows")
        << patched(at.sectionTableOffset, ~std::uint64_t{0} - 8, 8) << "none";
    QTest::newRow("no section table") << patched(at.sectionTableOffset, 0, 8) << "none";
    QTest::newRow("section entries too small") << patched(at.sectionEntrySize, 8, 2) << "none";
    QTest::newRow("more sections than the file holds")
        << patched(at.sectionCount, 0xffff, 2) << "none";
    QTest::newRow("extended count of zero") << patched(at.sectionCount, 0, 2) << "none";
    QTest::newRow("note data past the end") << patched(at.noteSectionOffset, 1u << 20, 8) << "none";
    QTest::newRow("note section size huge")
        << patched(at.noteSectionSize, ~std::uint64_t{0}, 8) << "none";
    QTest::newRow("note offset plus size overflows")
        << patched(at.noteSectionOffset, ~std::uint64_t{0} - 2, 8) << "none";
    QTest::newRow("owner size runs past the section")
        << patched(at.noteData, 0xffffffff, 4) << "none";
    QTest::newRow("description size runs past the section")
        << patched(at.noteData + 4, 0xfffffff0, 4) << "none";
    QTest::newRow("note section cut to its first bytes")
        << patched(at.noteSectionSize, 10, 8) << "none";
}

void TestFileVersion::elfImages() {
    QFETCH(QByteArray, image);
    QFETCH(QString, expected);
    QCOMPARE(imageVersionText(image), expected);
}

#ifdef Q_OS_WIN
// Windows reads the version resource of a file through the system: write the image to
// a file and read it back from there.
static std::optional<ProductVersion> readImageFile(const QByteArray& image) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("image.dll")));
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size())
        return std::nullopt;
    file.close();
    return ReadProductVersion(file.fileName());
}
#endif

// Any prefix of a real library, or the library with random bytes damaged, reads either
// its true version or nothing; never something else, never a crash.
void TestFileVersion::truncatedAndCorruptedLibrary() {
    const QByteArray library = readFile(TINTARA_LIB_2307);
    QVERIFY(!library.isEmpty());
#ifdef Q_OS_WIN
    // The library's VERSIONINFO resource, through GetFileVersionInfoW.
    const auto text = [](const QByteArray& image) {
        const auto version = readImageFile(image);
        return version ? tintara::VersionText(*version) : QStringLiteral("none");
    };
    QCOMPARE(text(library), QStringLiteral("2.00.7"));
    for (qsizetype length = 0; length < library.size(); length += library.size() / 40 + 1) {
        const QString read = text(library.left(length));
        QVERIFY2(read == QLatin1String("none") || read == QLatin1String("2.00.7"),
                 qPrintable(QStringLiteral("length %1 read %2").arg(length).arg(read)));
    }
    QRandomGenerator random(20261208);
    for (int round = 0; round < 40; ++round) {
        QByteArray damaged = library;
        for (int i = 0; i < 8; ++i) {
            const auto pos =
                static_cast<qsizetype>(random.bounded(static_cast<int>(damaged.size())));
            damaged[pos] = static_cast<char>(random.bounded(256));
        }
        readImageFile(damaged); // must simply return
    }
#else
    QCOMPARE(imageVersionText(library), QStringLiteral("2.00.7"));
    for (qsizetype length = 0; length < library.size(); length += 61) {
        const QString text = imageVersionText(library.left(length));
        QVERIFY2(text == QLatin1String("none") || text == QLatin1String("2.00.7"),
                 qPrintable(QStringLiteral("length %1 read %2").arg(length).arg(text)));
    }
    QRandomGenerator random(20261208);
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = library;
        for (int i = 0; i < 8; ++i) {
            const auto pos =
                static_cast<qsizetype>(random.bounded(static_cast<int>(damaged.size())));
            damaged[pos] = static_cast<char>(random.bounded(256));
        }
        readImage(damaged); // must simply return
    }
#endif
}

void TestFileVersion::loaderCache_data() {
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

void TestFileVersion::loaderCache() {
    QFETCH(QByteArray, cache);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(LoaderCacheLookup(cache, name), expected);
}

void TestFileVersion::truncatedLoaderCache() {
    const auto cache = tintara::test::loaderCache({{"libnvbmp.so", "/opt/nv/libnvbmp.so"}}, true);
    for (qsizetype length = 0; length <= cache.size(); ++length) {
        const QString path = LoaderCacheLookup(cache.left(length), QStringLiteral("libnvbmp.so"));
        QVERIFY(path.isEmpty() || path == QLatin1String("/opt/nv/libnvbmp.so"));
    }
}

void TestFileVersion::systemLoaderCache() {
    const QByteArray cache = readFile(QStringLiteral("/etc/ld.so.cache"));
    if (cache.isEmpty())
        QSKIP("this system has no loader cache");
    const QString path = LoaderCacheLookup(cache, QStringLiteral("libc.so.6"));
    QVERIFY2(QFile::exists(path), qPrintable(path));
}

void TestFileVersion::searchOrder() {
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

void TestFileVersion::libraryPathFromEnvironment() {
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

TINTARA_TEST_MAIN(TestFileVersion)
#include "tst_fileversion.moc"
