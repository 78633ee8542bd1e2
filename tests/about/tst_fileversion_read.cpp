// Reading product versions: the version text, the files built with known versions,
// synthetic ELF images, and damaged or truncated libraries.

#include "testsupport.h"

#include "FileVersionTestUtils.h"
#include "elfimage.h"
#include "framework/FileVersion.h"
#include "framework/FileVersionLookup.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace tintara;
using tintara::test::ElfShape;
using tintara::test::readFile;

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

} // namespace

class TestFileVersionRead : public QObject {
    Q_OBJECT

private slots:
    void versionText_data();
    void versionText();
    void builtFiles_data();
    void builtFiles();
    void elfImages_data();
    void elfImages();
    void truncatedAndCorruptedLibrary();
};

void TestFileVersionRead::versionText_data() {
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

void TestFileVersionRead::versionText() {
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

void TestFileVersionRead::builtFiles_data() {
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

void TestFileVersionRead::builtFiles() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(FileVersionText(path).value_or(QStringLiteral("none")), expected);
}

void TestFileVersionRead::elfImages_data() {
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

void TestFileVersionRead::elfImages() {
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
void TestFileVersionRead::truncatedAndCorruptedLibrary() {
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

TINTARA_TEST_MAIN(TestFileVersionRead)
#include "tst_fileversion_read.moc"
