// The records the scanner makes and where it stops: the record layout, guarded and
// NaN values, read failures, long files, and scanning a file by name.

#include "testsupport.h"

#include "MaterialBytes.h"
#include "material/MaterialScanner.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <limits>

using namespace tintara;
using tintara::test::MakeEntry;
using tintara::test::MaterialBytes;

namespace {

// Delivers some bytes, then fails as a disk error would.
class FailingSource final : public ByteSource {
public:
    FailingSource(std::span<const unsigned char> bytes, std::size_t failAt)
        : m_bytes(bytes), m_failAt(failAt) {}
    std::size_t read(std::span<unsigned char> buffer) override {
        if (m_position >= m_failAt)
            throw IoError("Cannot read 'disk': Input/output error");
        const std::size_t n = std::min(buffer.size(), m_failAt - m_position);
        std::copy_n(m_bytes.data() + m_position, n, buffer.data());
        m_position += n;
        return n;
    }

private:
    std::span<const unsigned char> m_bytes;
    std::size_t m_position = 0;
    std::size_t m_failAt;
};

const float NaN = std::numeric_limits<float>::quiet_NaN();

} // namespace

class TestScannerRecords : public QObject {
    Q_OBJECT
private slots:
    void recordLayout();
    void guardedValues();
    void nanKeepsCompletedEntries();
    void readFailureKeepsCompletedEntries();
    void moreThan1024Entries();
    void fileScan();
    void fileOpenFailures_data();
    void fileOpenFailures();
};

void TestScannerRecords::recordLayout() {
    // The file holds colour by colour; the record channel by channel.
    MaterialBytes bytes;
    bytes.header(1).floats({0.1f, 0.2f, 0.3f, 0.4f, 1.1f, 1.2f, 1.3f, 1.4f, 2.1f, 2.2f, 2.3f, 2.4f,
                            3.1f, 3.2f, 3.3f, 3.4f, 42.5f});
    MemoryByteSource source(bytes.bytes());
    MaterialTable table;
    QVERIFY(ScanMaterials(source, table).ok());
    QCOMPARE(table.count(), std::size_t{1});
    const MaterialRecord& r = table[0];
    for (int s = 0; s < 4; ++s) {
        QCOMPARE(r.Red[s], float(s) + 0.1f);
        QCOMPARE(r.Green[s], float(s) + 0.2f);
        QCOMPARE(r.Blue[s], float(s) + 0.3f);
        QCOMPARE(r.Alpha[s], float(s) + 0.4f);
    }
    QCOMPARE(r.Power, 42.5f);
    QCOMPARE(r.Modified, 0);
}

void TestScannerRecords::guardedValues() {
    const float inf = std::numeric_limits<float>::infinity();
    MaterialBytes bytes;
    bytes.list({MakeEntry(inf, 2.0e9f, 1.0e9f, -5.0f, 3.0e9f)});
    MemoryByteSource source(bytes.bytes());
    MaterialTable table;
    QVERIFY(ScanMaterials(source, table).ok());
    QCOMPARE(table[0].Red[0], 0.0f);
    QCOMPARE(table[0].Green[0], 0.0f);
    QCOMPARE(table[0].Blue[0], 1.0e9f);
    QCOMPARE(table[0].Alpha[0], -5.0f);
    QCOMPARE(table[0].Power, 0.0f);
}

void TestScannerRecords::nanKeepsCompletedEntries() {
    auto bad = MakeEntry(0.5f, 0.5f, 0.5f, 1.0f);
    bad[5] = NaN; // ambient green of the second entry
    MaterialBytes bytes;
    bytes.list({MakeEntry(1, 1, 1, 1), bad, MakeEntry(0, 0, 0, 1)}).list({MakeEntry(1, 0, 0, 1)});
    MemoryByteSource source(bytes.bytes());
    MaterialTable table;
    const ScanResult result = ScanMaterials(source, table);
    QCOMPARE(result.status, ScanStatus::BadFloat);
    QVERIFY(!result.message.empty());
    QCOMPARE(table.count(), std::size_t{1});
    QCOMPARE(table[0].FileOffset, std::int64_t{8});
}

void TestScannerRecords::readFailureKeepsCompletedEntries() {
    MaterialBytes bytes;
    bytes.list({MakeEntry(1, 1, 1, 1), MakeEntry(0, 0, 0, 1)});
    FailingSource source(bytes.bytes(), 8 + 68 + 10);
    MaterialTable table;
    const ScanResult result = ScanMaterials(source, table);
    QCOMPARE(result.status, ScanStatus::ReadFailed);
    QVERIFY(QString::fromStdString(result.message).contains("Input/output error"));
    QCOMPARE(table.count(), std::size_t{1});
}

void TestScannerRecords::moreThan1024Entries() {
    MaterialBytes bytes;
    const std::vector<tintara::test::EntryFloats> list(40, MakeEntry(0.25f, 0.5f, 0.75f, 1));
    for (int i = 0; i < 30; ++i)
        bytes.list(list).fill(2);
    MemoryByteSource source(bytes.bytes());
    MaterialTable table;
    QVERIFY(ScanMaterials(source, table).ok());
    QCOMPARE(table.count(), std::size_t{1200});
    QCOMPARE(table[1199].ListNumber, 30);
    QCOMPARE(table[1199].FileOffset, std::int64_t{29 * (8 + 40 * 68 + 2) + 8 + 39 * 68});
}

void TestScannerRecords::fileScan() {
    QTemporaryDir dir;
    const auto path = std::filesystem::path(dir.filePath("plane.mdl").toStdString());
    MaterialBytes bytes;
    bytes.fill(6700 - 8).list({MakeEntry(1.0f, 0.5f, 0.0f, 1.0f)});
    bytes.writeTo(path);
    MaterialTable table;
    const ScanResult result = ScanMaterialFile(path, table);
    QVERIFY(result.ok());
    QCOMPARE(table.count(), std::size_t{1});
    QCOMPARE(table[0].FileOffset, std::int64_t{6700});
    QVERIFY(table.stamp().valid);
    QCOMPARE(table.stamp().size, std::uint64_t{bytes.size()});
}

void TestScannerRecords::fileOpenFailures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << "gone.mdl"
                                  << "(No such file|not found|cannot find)";
    QTest::newRow("folder") << "folder"
                            << "is not a regular file";
}

void TestScannerRecords::fileOpenFailures() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("folder");
    const auto path = std::filesystem::path(dir.filePath(name).toStdString());
    MaterialTable table;
    table.append(MaterialRecord{});
    const ScanResult result = ScanMaterialFile(path, table);
    QCOMPARE(result.status, ScanStatus::OpenFailed);
    const QString message = QString::fromStdString(result.message);
    QVERIFY2(message.contains(name) && message.contains(QRegularExpression(reason)),
             qPrintable(message));
    QCOMPARE(table.count(), std::size_t{0});
}

TINTARA_TEST_MAIN(TestScannerRecords)
#include "tst_scanner_records.moc"
