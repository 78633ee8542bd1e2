// The scanner's search for material lists: the rules for headers, counts and entries,
// checked with bytes handed out in small pieces and against the one-byte reference.

#include "testsupport.h"

#include "MaterialBytes.h"
#include "ReferenceScanner.h"
#include "material/MaterialScanner.h"

#include <algorithm>
#include <cstring>
#include <random>

using namespace tintara;
using tintara::test::MakeEntry;
using tintara::test::MaterialBytes;

Q_DECLARE_METATYPE(std::vector<std::int64_t>)
Q_DECLARE_METATYPE(std::vector<int>)

namespace {

QByteArray ToByteArray(const MaterialBytes& b) {
    return QByteArray(reinterpret_cast<const char*>(b.bytes().data()),
                      static_cast<qsizetype>(b.size()));
}

std::span<const unsigned char> Span(const QByteArray& a) {
    return {reinterpret_cast<const unsigned char*>(a.constData()),
            static_cast<std::size_t>(a.size())};
}

// Hands out the bytes in small pieces of varying size, so the scanner's block
// handling meets every boundary.
class TricklingSource final : public ByteSource {
public:
    TricklingSource(std::span<const unsigned char> bytes, unsigned seed)
        : m_bytes(bytes), m_random(seed) {}
    std::size_t read(std::span<unsigned char> buffer) override {
        std::uniform_int_distribution<std::size_t> piece(1, 97);
        const std::size_t n =
            std::min({buffer.size(), m_bytes.size() - m_position, piece(m_random)});
        std::copy_n(m_bytes.data() + m_position, n, buffer.data());
        m_position += n;
        return n;
    }

private:
    std::span<const unsigned char> m_bytes;
    std::size_t m_position = 0;
    std::mt19937 m_random;
};

reference::Result ReferenceScan(std::span<const unsigned char> bytes) {
    std::size_t i = 0;
    return reference::Scan([&]() { return i < bytes.size() ? int(bytes[i++]) : -1; });
}

void CompareWithReference(const MaterialTable& table, const reference::Result& expected) {
    QCOMPARE(table.count(), expected.entries.size());
    for (std::size_t i = 0; i < table.count(); ++i) {
        const MaterialRecord& a = table[i];
        const MaterialRecord& b = expected.entries[i];
        QCOMPARE(a.FileOffset, b.FileOffset);
        QCOMPARE(a.ListNumber, b.ListNumber);
        QCOMPARE(a.Modified, 0);
        QCOMPARE(std::memcmp(a.Red, b.Red, sizeof a.Red), 0);
        QCOMPARE(std::memcmp(a.Green, b.Green, sizeof a.Green), 0);
        QCOMPARE(std::memcmp(a.Blue, b.Blue, sizeof a.Blue), 0);
        QCOMPARE(std::memcmp(a.Alpha, b.Alpha, sizeof a.Alpha), 0);
        QCOMPARE(std::memcmp(&a.Power, &b.Power, sizeof a.Power), 0);
    }
}

} // namespace

class TestScannerSearch : public QObject {
    Q_OBJECT
private slots:
    void searchRules_data();
    void searchRules();
    void matchesReferenceOnRandomBytes();
};

void TestScannerSearch::searchRules_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<std::vector<std::int64_t>>("offsets");
    QTest::addColumn<std::vector<int>>("lists");

    const auto e = MakeEntry(0.5f, 0.5f, 0.5f, 1.0f);
    QTest::newRow("no list") << ToByteArray(MaterialBytes().fill(300))
                             << std::vector<std::int64_t>{} << std::vector<int>{};
    QTest::newRow("list at even offset") << ToByteArray(MaterialBytes().fill(2).list({e}))
                                         << std::vector<std::int64_t>{10} << std::vector<int>{1};
    QTest::newRow("list at odd offset never seen")
        << ToByteArray(MaterialBytes().fill(1).list({e}).fill(1)) << std::vector<std::int64_t>{}
        << std::vector<int>{};
    // B6 00 B6 00: the second pair is read as the count 182, so the real list two
    // bytes later is missed, and the search goes on four bytes after the opcode.
    QTest::newRow("opcode read as count consumes four bytes")
        << ToByteArray(MaterialBytes().raw({0xB6, 0x00}).header(1).entry(e))
        << std::vector<std::int64_t>{} << std::vector<int>{};
    QTest::newRow("count 0 rejected") << ToByteArray(MaterialBytes().header(0).entry(e))
                                      << std::vector<std::int64_t>{} << std::vector<int>{};
    QTest::newRow("count 41 rejected") << ToByteArray(MaterialBytes().header(41).entry(e))
                                       << std::vector<std::int64_t>{} << std::vector<int>{};
    QTest::newRow("rejected count resumes four bytes on")
        << ToByteArray(MaterialBytes().raw({0xB6, 0x00, 41, 0}).list({e}))
        << std::vector<std::int64_t>{12} << std::vector<int>{1};
    QTest::newRow("reserved bytes rejected")
        << ToByteArray(MaterialBytes().header(1, 0x01000000).entry(e))
        << std::vector<std::int64_t>{} << std::vector<int>{};
    QTest::newRow("rejected reserved resumes eight bytes on")
        << ToByteArray(MaterialBytes().header(1, 0x01000000).list({e}))
        << std::vector<std::int64_t>{16} << std::vector<int>{1};
    // The bytes after B6 00 00 01 would make a header at offset 4 if the search went
    // on after the count; it does not look at them again.
    QTest::newRow("bytes of rejected header not looked at again")
        << ToByteArray(MaterialBytes()
                           .raw({0xB6, 0x00, 0x01, 0x00, 0xB6, 0x00, 0x01, 0x00})
                           .fill(4, 0)
                           .entry(e))
        << std::vector<std::int64_t>{} << std::vector<int>{};
    // Long runs of headers rejected for their count are stepped over several at a time;
    // whatever ends a run must still be seen at the right place.
    auto rejectedRun = [](int headers, int count) {
        MaterialBytes b;
        for (int k = 0; k < headers; ++k)
            b.raw({0xB6, 0x00, count, 0x00});
        return b;
    };
    QTest::newRow("run of rejected counts then a list")
        << ToByteArray(rejectedRun(37, 41).list({e})) << std::vector<std::int64_t>{37 * 4 + 8}
        << std::vector<int>{1};
    QTest::newRow("run of zero counts then a list")
        << ToByteArray(rejectedRun(64, 0).list({e})) << std::vector<std::int64_t>{64 * 4 + 8}
        << std::vector<int>{1};
    QTest::newRow("run ended by a reserved-byte rejection")
        << ToByteArray(rejectedRun(21, 0xFF).header(3, 0x100).list({e}))
        << std::vector<std::int64_t>{21 * 4 + 16} << std::vector<int>{1};
    QTest::newRow("run ending at the end of the file")
        << ToByteArray(rejectedRun(50, 41)) << std::vector<std::int64_t>{} << std::vector<int>{};
    QTest::newRow("two lists numbered and offset")
        << ToByteArray(MaterialBytes().fill(6).list({e, e, e}).fill(10).list({e, e}))
        << std::vector<std::int64_t>{14, 82, 150, 236, 304} << std::vector<int>{1, 1, 1, 2, 2};
    QTest::newRow("search resumes right after a list")
        << ToByteArray(MaterialBytes().list({e}).list({e})) << std::vector<std::int64_t>{8, 84}
        << std::vector<int>{1, 2};
    QTest::newRow("truncated entry not created")
        << ToByteArray(MaterialBytes().header(2).entry(e).fill(67)) << std::vector<std::int64_t>{8}
        << std::vector<int>{1};
    QTest::newRow("truncated header")
        << ToByteArray(MaterialBytes().fill(4).raw({0xB6, 0x00, 0x01, 0x00, 0x00}))
        << std::vector<std::int64_t>{} << std::vector<int>{};
    QTest::newRow("odd length file") << ToByteArray(MaterialBytes().list({e}).raw({0xB6}))
                                     << std::vector<std::int64_t>{8} << std::vector<int>{1};
    QTest::newRow("empty file") << QByteArray() << std::vector<std::int64_t>{}
                                << std::vector<int>{};
}

void TestScannerSearch::searchRules() {
    QFETCH(QByteArray, bytes);
    QFETCH(std::vector<std::int64_t>, offsets);
    QFETCH(std::vector<int>, lists);

    for (unsigned seed : {0u, 1u, 2u}) {
        MaterialTable table;
        ScanResult result;
        if (seed == 0) {
            MemoryByteSource source(Span(bytes));
            result = ScanMaterials(source, table);
        } else {
            // The smallest block keeps headers and entries straddling refills.
            TricklingSource source(Span(bytes), seed);
            result = ScanMaterials(source, table, seed == 2 ? 128 : DefaultScanBlockSize);
        }
        QVERIFY(result.ok());
        QCOMPARE(table.count(), offsets.size());
        for (std::size_t i = 0; i < offsets.size(); ++i) {
            QCOMPARE(table[i].FileOffset, offsets[i]);
            QCOMPARE(table[i].ListNumber, lists[i]);
        }
        CompareWithReference(table, ReferenceScan(Span(bytes)));
    }
}

void TestScannerSearch::matchesReferenceOnRandomBytes() {
    // Random bytes with lists and traps sown in, compared with the one-byte reference.
    std::mt19937 random(1234);
    for (int round = 0; round < 40; ++round) {
        MaterialBytes bytes;
        std::uniform_int_distribution<int> kind(0, 9), len(0, 300), byte(0, 255);
        for (int piece = 0; piece < 60; ++piece) {
            switch (kind(random)) {
            case 0:
                bytes.list(std::vector<tintara::test::EntryFloats>(
                    std::size_t(1 + len(random) % 40), MakeEntry(0.1f, 0.2f, 0.3f, 1)));
                break;
            case 1:
                bytes.header(unsigned(len(random) % 45));
                break;
            case 2:
                bytes.header(1, std::uint32_t(byte(random)) << 8);
                break;
            case 3:
                bytes.raw({0xB6, 0x00});
                break;
            default: {
                const int n = len(random);
                for (int i = 0; i < n; ++i)
                    bytes.raw({byte(random)});
            }
            }
        }
        const auto& b = bytes.bytes();
        TricklingSource source(b, unsigned(round) + 7);
        MaterialTable table;
        const ScanResult result = ScanMaterials(source, table, 128 + std::size_t(round) * 64);
        const auto expected = ReferenceScan(b);
        QCOMPARE(result.status == ScanStatus::BadFloat, expected.badFloat);
        CompareWithReference(table, expected);
    }
}

TINTARA_TEST_MAIN(TestScannerSearch)
#include "tst_scanner_search.moc"
