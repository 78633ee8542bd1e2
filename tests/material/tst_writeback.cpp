#include "testsupport.h"

#include "MaterialBytes.h"
#include "material/MaterialScanner.h"
#include "material/WriteBack.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <chrono>
#include <cmath>
#include <limits>

using namespace tintara;
using tintara::test::MakeEntry;
using tintara::test::MaterialBytes;
using tintara::test::ReadAllBytes;

namespace {

// An in-memory file that can be told to fail at one operation.
class MemoryFile final : public RandomAccessFile {
public:
    enum class Fail { None, Stamp, Write, SecondWrite, Sync, Close };
    MemoryFile(std::vector<unsigned char> bytes, FileStamp stampValue, Fail fail = Fail::None)
        : data(std::move(bytes)), m_stamp(stampValue), m_fail(fail) {}

    std::string name() const override { return "memory.mdl"; }
    FileStamp stamp() override {
        if (m_fail == Fail::Stamp)
            throw IoError("Cannot examine 'memory.mdl': Permission denied");
        return m_stamp;
    }
    void readAt(std::uint64_t offset, std::span<unsigned char> bytes) override {
        std::copy_n(data.begin() + std::ptrdiff_t(offset), bytes.size(), bytes.begin());
    }
    bool pathNamesThisFile() override { return true; }
    bool lockForSave() override { return true; }
    void writeAt(std::uint64_t offset, std::span<const unsigned char> bytes) override {
        ++writes;
        if (m_fail == Fail::Write || (m_fail == Fail::SecondWrite && writes == 2))
            throw IoError("Cannot write to 'memory.mdl': No space left on device");
        QVERIFY(offset + bytes.size() <= data.size());
        std::copy(bytes.begin(), bytes.end(), data.begin() + std::ptrdiff_t(offset));
    }
    void sync() override {
        if (m_fail == Fail::Sync)
            throw IoError("Cannot flush to disk 'memory.mdl': Input/output error");
        synced = true;
    }
    void close() override {
        if (m_fail == Fail::Close)
            throw IoError("Cannot close 'memory.mdl': Input/output error");
        closed = true;
    }

    std::vector<unsigned char> data;
    int writes = 0;
    bool synced = false;
    bool closed = false;

private:
    FileStamp m_stamp;
    Fail m_fail;
};

// A journal that is kept in memory and never fails.
class MemoryJournal final : public JournalStore {
public:
    std::string name() const override { return "memory.mdl.tintara-journal"; }
    bool exists() override { return bytes.has_value(); }
    std::vector<unsigned char> read() override { return *bytes; }
    void write(std::span<const unsigned char> b) override { bytes.emplace(b.begin(), b.end()); }
    void remove() override { bytes.reset(); }
    std::optional<std::vector<unsigned char>> bytes;
};

WriteBackResult WriteModifiedMaterials(MemoryFile& file, const MaterialTable& table) {
    MemoryJournal journal;
    return tintara::WriteModifiedMaterials(file, journal, table);
}

struct Fixture {
    QTemporaryDir dir;
    std::filesystem::path path;
    std::vector<unsigned char> original;
    MaterialTable table;

    Fixture() {
        path = std::filesystem::path(dir.filePath("plane.mdl").toStdString());
        MaterialBytes bytes;
        const float inf = std::numeric_limits<float>::infinity();
        bytes.fill(30)
            .list({MakeEntry(1, 0.5f, 0, 1), MakeEntry(0.25f, 0.25f, 0.25f, 1),
                   MakeEntry(inf, 0, 0, 1, 5000)})
            .fill(40)
            .list({MakeEntry(0, 0, 1, 0.5f)})
            .fill(9);
        bytes.writeTo(path);
        original = bytes.bytes();
        if (!ScanMaterialFile(path, table).ok())
            qFatal("fixture scan failed");
    }
};

void SetColour(MaterialRecord& r, float red) {
    for (int s = 0; s < 4; ++s)
        r.Red[s] = red;
    r.Modified = 1;
}

} // namespace

class TestWriteBack : public QObject {
    Q_OBJECT
private slots:
    void writesOnlyModifiedEntries();
    void nothingModifiedWritesNothing();
    void refusesFileChangedSinceScan_data();
    void refusesFileChangedSinceScan();
    void refusesRangePastEnd();
    void reportsEachFailure_data();
    void reportsEachFailure();
    void reportsOpenFailure();
    void encodesEntryInFileOrder();
};

void TestWriteBack::writesOnlyModifiedEntries() {
    Fixture f;
    QCOMPARE(f.table.count(), std::size_t{4});
    SetColour(f.table[1], 0.75f);
    f.table[3].Power = 12.3f;
    f.table[3].Modified = 7; // any non-zero value counts
    const WriteBackResult result = WriteModifiedMaterials(f.path, f.table);
    QVERIFY2(result.ok, result.error.c_str());
    QCOMPARE(result.entriesWritten, std::size_t{2});

    const auto now = ReadAllBytes(f.path);
    QCOMPARE(now.size(), f.original.size());
    std::vector<unsigned char> expected = f.original;
    EncodeMaterialEntry(f.table[1], expected.data() + f.table[1].FileOffset);
    EncodeMaterialEntry(f.table[3], expected.data() + f.table[3].FileOffset);
    QVERIFY(now == expected);
    // The unmodified entry whose red was read as 0.0 keeps its stored infinity.
    QCOMPARE(std::memcmp(now.data() + f.table[2].FileOffset,
                         f.original.data() + f.table[2].FileOffset, 68),
             0);
    // The table is left as it was: flags are cleared only by a rescan.
    QCOMPARE(f.table[1].Modified, 1);
    QCOMPARE(f.table[3].Modified, 7);
}

void TestWriteBack::nothingModifiedWritesNothing() {
    Fixture f;
    MemoryFile file(f.original, f.table.stamp());
    const WriteBackResult result = WriteModifiedMaterials(file, f.table);
    QVERIFY(result.ok);
    QCOMPARE(file.writes, 0);
    QVERIFY(file.data == f.original);
    QVERIFY(WriteModifiedMaterials(f.path, f.table).ok);
    QVERIFY(ReadAllBytes(f.path) == f.original);
}

void TestWriteBack::refusesFileChangedSinceScan_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("refused");
    QTest::newRow("grew") << "grow" << true;
    QTest::newRow("shrank") << "shrink" << true;
    // Only the time changed: the bytes decide, and they are those the scan read.
    QTest::newRow("touched") << "touch" << false;
}

void TestWriteBack::refusesFileChangedSinceScan() {
    QFETCH(QString, change);
    QFETCH(bool, refused);
    Fixture f;
    SetColour(f.table[0], 0.0f);
    if (change == "grow") {
        std::vector<unsigned char> bytes = f.original;
        bytes.push_back(0);
        MaterialBytes b;
        for (unsigned char c : bytes)
            b.raw({c});
        b.writeTo(f.path);
    } else if (change == "shrink") {
        std::filesystem::resize_file(f.path, f.original.size() - 1);
    } else {
        std::filesystem::last_write_time(f.path, std::filesystem::last_write_time(f.path) +
                                                     std::chrono::seconds(5));
    }
    const auto before = ReadAllBytes(f.path);
    const WriteBackResult result = WriteModifiedMaterials(f.path, f.table);
    if (!refused) {
        QVERIFY2(result.ok, result.error.c_str());
        return;
    }
    QVERIFY(!result.ok);
    QVERIFY2(QString::fromStdString(result.error).contains("changed by another program"),
             result.error.c_str());
    QVERIFY(ReadAllBytes(f.path) == before);
}

void TestWriteBack::refusesRangePastEnd() {
    Fixture f;
    SetColour(f.table[0], 0.0f);
    f.table[3].FileOffset = std::int64_t(f.original.size()) - 67; // one byte short
    f.table[3].Modified = 1;
    MemoryFile file(f.original, f.table.stamp());
    const WriteBackResult result = WriteModifiedMaterials(file, f.table);
    QVERIFY(!result.ok);
    QVERIFY(QString::fromStdString(result.error).contains("beyond the end"));
    QCOMPARE(file.writes, 0); // refused before the first entry too

    f.table[3].FileOffset = -4;
    QVERIFY(!WriteModifiedMaterials(file, f.table).ok);
    QCOMPARE(file.writes, 0);
}

void TestWriteBack::reportsEachFailure_data() {
    QTest::addColumn<int>("fail");
    QTest::addColumn<QString>("reason");
    QTest::newRow("stamp") << int(MemoryFile::Fail::Stamp) << "Permission denied";
    QTest::newRow("first write") << int(MemoryFile::Fail::Write) << "No space left";
    QTest::newRow("second write") << int(MemoryFile::Fail::SecondWrite)
                                  << "old bytes were put back";
    QTest::newRow("sync") << int(MemoryFile::Fail::Sync) << "Input/output error";
    QTest::newRow("close") << int(MemoryFile::Fail::Close) << "Cannot close";
}

void TestWriteBack::reportsEachFailure() {
    QFETCH(int, fail);
    QFETCH(QString, reason);
    Fixture f;
    SetColour(f.table[0], 0.0f);
    SetColour(f.table[3], 0.0f);
    MemoryFile file(f.original, f.table.stamp(), MemoryFile::Fail(fail));
    const WriteBackResult result = WriteModifiedMaterials(file, f.table);
    QVERIFY(!result.ok);
    QVERIFY2(QString::fromStdString(result.error).contains(reason), result.error.c_str());
    QVERIFY(QString::fromStdString(result.error).contains("memory.mdl"));
    QCOMPARE(f.table[0].Modified, 1);
}

void TestWriteBack::reportsOpenFailure() {
    Fixture f;
    SetColour(f.table[0], 0.0f);
    const auto gone = f.path.parent_path() / "gone.mdl";
    const WriteBackResult result = WriteModifiedMaterials(gone, f.table);
    QVERIFY(!result.ok);
    QVERIFY2(QString::fromStdString(result.error).contains("gone.mdl"), result.error.c_str());
    QVERIFY(QString::fromStdString(result.error)
                .contains(QRegularExpression("No such file|not found|cannot find")));
    QVERIFY(!std::filesystem::exists(gone));
}

void TestWriteBack::encodesEntryInFileOrder() {
    MaterialRecord r;
    for (int s = 0; s < 4; ++s) {
        r.Red[s] = float(s) + 0.1f;
        r.Green[s] = float(s) + 0.2f;
        r.Blue[s] = float(s) + 0.3f;
        r.Alpha[s] = float(s) + 0.4f;
    }
    r.Power = -7.5f;
    unsigned char bytes[68];
    EncodeMaterialEntry(r, bytes);
    MaterialBytes expected;
    expected.floats({0.1f, 0.2f, 0.3f, 0.4f, 1.1f, 1.2f, 1.3f, 1.4f, 2.1f, 2.2f, 2.3f, 2.4f, 3.1f,
                     3.2f, 3.3f, 3.4f, -7.5f});
    QCOMPARE(std::memcmp(bytes, expected.bytes().data(), 68), 0);
}

TINTARA_TEST_MAIN(TestWriteBack)
#include "tst_writeback.moc"
