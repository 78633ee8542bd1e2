#include "testsupport.h"

#include "material/Conversions.h"
#include "material/MaterialLines.h"

#include <cinttypes>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

using namespace tintara;
using namespace tintara::test;

namespace {

MaterialRecord Record(std::int64_t offset, int list, float r, float g, float b, float a,
                      float power = 20.0f) {
    MaterialRecord record;
    record.FileOffset = offset;
    record.ListNumber = list;
    for (int s = 0; s < 4; ++s) {
        record.Red[s] = r;
        record.Green[s] = g;
        record.Blue[s] = b;
        record.Alpha[s] = a;
    }
    record.Power = power;
    return record;
}

} // namespace

class TestMaterialLines : public QObject {
    Q_OBJECT
private slots:
    void lineFormats_data();
    void lineFormats();
    void linesIgnoreCLocale_data();
    void linesIgnoreCLocale();
    void linesMatchPrintfInCLocale();
    void countLabel_data();
    void countLabel();
    void conversionErrorStopsBeforeEntry();
    void lineLengthWithoutTheText_data();
    void lineLengthWithoutTheText();
};

void TestMaterialLines::lineFormats_data() {
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<float>("red");
    QTest::addColumn<float>("power");
    QTest::addColumn<int>("property");
    QTest::addColumn<bool>("scenery");
    QTest::addColumn<QString>("line");

    QTest::newRow("diffuse example") << qint64(6700) << 1 << 0 << 1.0f << 20.0f << 0 << false
                                     << "LOD 01 01 00001A2C  FF 7F 00 FF";
    QTest::newRow("power example")
        << qint64(6700) << 1 << 0 << 1.0f << 20.0f << 4 << false << "LOD 01 01 00001A2C 20.0000";
    QTest::newRow("scenery prefix") << qint64(6700) << 1 << 0 << 1.0f << 20.0f << 1 << true
                                    << "OBJ 01 01 00001A2C  FF 7F 00 FF";
    QTest::newRow("channel above one") << qint64(16) << 2 << 4 << 1.5f << 20.0f << 2 << false
                                       << "LOD 02 05 00000010  17E 7F 00 FF";
    QTest::newRow("negative channel 32-bit pattern")
        << qint64(16) << 2 << 4 << -0.5f << 20.0f << 3 << false
        << "LOD 02 05 00000010  FFFFFF81 7F 00 FF";
    QTest::newRow("negative power")
        << qint64(16) << 1 << 0 << 1.0f << -3.25f << 4 << false << "LOD 01 01 00000010 -3.2500";
    QTest::newRow("three digit numbers") << qint64(16) << 100 << 122 << 0.0f << 1.0f << 0 << false
                                         << "LOD 100 123 00000010  00 7F 00 FF";
    QTest::newRow("offset beyond 4 GiB") << qint64(0x123456789) << 1 << 0 << 0.0f << 1.0f << 0
                                         << false << "LOD 01 01 123456789  00 7F 00 FF";
    QTest::newRow("no property chosen shows diffuse")
        << qint64(16) << 1 << 0 << 1.0f << 1.0f << -1 << false << "LOD 01 01 00000010  FF 7F 00 FF";
    QTest::newRow("huge power prints in full")
        << qint64(16) << 1 << 0 << 1.0f << -1.0e20f << 4 << false
        << "LOD 01 01 00000010 -100000002004087734272.0000";
}

void TestMaterialLines::lineFormats() {
    QFETCH(qint64, offset);
    QFETCH(int, list);
    QFETCH(int, index);
    QFETCH(float, red);
    QFETCH(float, power);
    QFETCH(int, property);
    QFETCH(bool, scenery);
    QFETCH(QString, line);

    MaterialTable table;
    for (int i = 0; i <= index; ++i)
        table.append(Record(offset, list, red, 0.5f, 0.0f, 1.0f, power));
    const std::string text =
        FormatMaterialLine(BlockPrefix(scenery), table, std::size_t(index), property);
    QCOMPARE(QString::fromStdString(text), line);
}

void TestMaterialLines::linesIgnoreCLocale_data() {
    QTest::addColumn<float>("power");
    QTest::addColumn<int>("property");
    QTest::addColumn<QString>("line");
    QTest::newRow("power") << 20.0f << 4 << "LOD 01 01 00001A2C 20.0000";
    QTest::newRow("fraction") << 12.3f << 4 << "LOD 01 01 00001A2C 12.3000";
    QTest::newRow("negative zero") << -0.0f << 4 << "LOD 01 01 00001A2C -0.0000";
    QTest::newRow("huge") << 3.0e12f << 4 << "LOD 01 01 00001A2C 3000000053248.0000";
    QTest::newRow("colour") << 20.0f << 0 << "LOD 01 01 00001A2C  FF 7F 00 FF";
}

void TestMaterialLines::linesIgnoreCLocale() {
    QFETCH(float, power);
    QFETCH(int, property);
    QFETCH(QString, line);
    MaterialTable table;
    table.append(Record(6700, 1, 1.0f, 0.5f, 0.0f, 1.0f, power));

    const GermanCLocale german;
    TINTARA_REQUIRE_GERMAN_LOCALE(german);
    char check[16];
    std::snprintf(check, sizeof check, "%.1f", 1.5);
    QCOMPARE(QByteArray(check), QByteArray("1,5")); // printf itself now writes a comma
    QCOMPARE(QString::fromStdString(FormatMaterialLine("LOD", table, 0, property)), line);
    QCOMPARE(QString::fromStdString(BuildMaterialLines("LOD", table, property).lines.at(0)), line);
}

// The lines are exactly what printf writes in the "C" locale, for random list numbers,
// offsets, powers (every float bit pattern but infinities and NaNs) and channels.
void TestMaterialLines::linesMatchPrintfInCLocale() {
    struct RestoreLocale {
        std::string name = std::setlocale(LC_ALL, nullptr);
        ~RestoreLocale() { std::setlocale(LC_ALL, name.c_str()); }
    } restore;
    std::setlocale(LC_ALL, "C");
    std::mt19937_64 random(20240611);
    MaterialTable table;
    table.append(MaterialRecord{});
    int compared = 0;
    for (int i = 0; i < 200000; ++i) {
        MaterialRecord& e = table[0];
        const std::uint64_t bits = random();
        e.ListNumber = static_cast<std::int32_t>(bits % 1000) - 10;
        e.FileOffset = static_cast<std::int64_t>(bits >> (24 + bits % 40));
        const auto powerBits = static_cast<std::uint32_t>(random());
        std::memcpy(&e.Power, &powerBits, sizeof e.Power);
        if (!std::isfinite(e.Power))
            continue;
        const auto channel = [&random] {
            return static_cast<float>(static_cast<double>(random() % 5000) / 1000.0 - 2.5);
        };
        e.Red[1] = channel();
        e.Green[1] = channel();
        e.Blue[1] = channel();
        e.Alpha[1] = channel();

        char expected[512];
        const auto offset = static_cast<std::uint64_t>(e.FileOffset);
        std::snprintf(expected, sizeof expected, "OBJ %02" PRId32 " 01 %08" PRIX64 " %2.4f",
                      e.ListNumber, offset, static_cast<double>(e.Power));
        const std::string power = FormatMaterialLine("OBJ", table, 0, PowerProperty);
        QCOMPARE(MaterialLineLength(table, 0, PowerProperty) + 3, power.size());
        if (power != expected)
            QFAIL(qPrintable(QStringLiteral("%1 instead of %2")
                                 .arg(QString::fromStdString(power), QLatin1String(expected))));
        const auto byte = [](float c) { return static_cast<std::uint32_t>(ChannelToByte(c)); };
        std::snprintf(expected, sizeof expected,
                      "OBJ %02" PRId32 " 01 %08" PRIX64 "  %02" PRIX32 " %02" PRIX32 " %02" PRIX32
                      " %02" PRIX32,
                      e.ListNumber, offset, byte(e.Red[1]), byte(e.Green[1]), byte(e.Blue[1]),
                      byte(e.Alpha[1]));
        QCOMPARE(QString::fromStdString(FormatMaterialLine("OBJ", table, 0, Ambient)),
                 QLatin1String(expected));
        QCOMPARE(MaterialLineLength(table, 0, Ambient) + 3, std::strlen(expected));
        ++compared;
    }
    QVERIFY(compared > 190000);
}

void TestMaterialLines::countLabel_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << 0 << "No materials found. This may be an old format MDL";
    QTest::newRow("one") << 1 << "1 Materials found";
    QTest::newRow("many") << 2048 << "2048 Materials found";
}

void TestMaterialLines::countLabel() {
    QFETCH(int, count);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(CountLabelText(std::size_t(count))), text);
}

void TestMaterialLines::conversionErrorStopsBeforeEntry() {
    MaterialTable table;
    table.append(Record(8, 1, 1.0f, 0.5f, 0.0f, 1.0f));
    table.append(Record(76, 1, 0.5f, 0.5f, 0.0f, 1.0f));
    MaterialRecord bad = Record(144, 1, 0.5f, 0.5f, 0.0f, 1.0f);
    bad.Green[0] = -1.0e30f; // cannot be shown as a byte value
    table.append(bad);
    table.append(Record(212, 1, 0.5f, 0.5f, 0.0f, 1.0f));

    const MaterialLines diffuse = BuildMaterialLines("LOD", table, Diffuse);
    QCOMPARE(diffuse.lines.size(), std::size_t{2});
    QVERIFY(diffuse.error.has_value());
    QCOMPARE(QString::fromStdString(diffuse.lines[1]), "LOD 01 02 0000004C  7F 7F 00 FF");

    // Another property does not show the bad channel.
    const MaterialLines ambient = BuildMaterialLines("LOD", table, Ambient);
    QCOMPARE(ambient.lines.size(), std::size_t{4});
    QVERIFY(!ambient.error.has_value());
    QCOMPARE(CheckMaterialLines(table, PowerProperty).lineCount, std::size_t{4});
}

// The length a view sizes itself by is the built line's, where a field grows: powers
// that round up into another digit, signs, values too large or not finite, long byte
// values, and numbers past their padding. The widest line of a table is its longest.
void TestMaterialLines::lineLengthWithoutTheText_data() {
    QTest::addColumn<float>("power");
    QTest::addColumn<float>("red");
    QTest::addColumn<int>("list");
    QTest::addColumn<qint64>("offset");
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("plain") << 20.0f << 0.5f << 1 << qint64(76);
    QTest::newRow("power rounding into two digits") << 9.99996f << 0.5f << 1 << qint64(76);
    QTest::newRow("power just below rounding") << 9.99994f << 0.5f << 1 << qint64(76);
    QTest::newRow("power rounding into four digits") << 999.99997f << 0.5f << 1 << qint64(76);
    QTest::newRow("negative zero power") << -0.0f << 0.5f << 1 << qint64(76);
    QTest::newRow("tiny negative power") << -0.00001f << 0.5f << 1 << qint64(76);
    QTest::newRow("power of sixteen digits") << 1.0e15f << 0.5f << 1 << qint64(76);
    QTest::newRow("largest power") << -std::numeric_limits<float>::max() << 0.5f << 1 << qint64(76);
    QTest::newRow("infinite power") << -inf << 0.5f << 1 << qint64(76);
    QTest::newRow("NaN power") << std::numeric_limits<float>::quiet_NaN() << 0.5f << 1
                               << qint64(76);
    QTest::newRow("negative channel") << 1.0f << -0.5f << 1 << qint64(76);
    QTest::newRow("channel of three digits") << 1.0f << 1.5f << 1 << qint64(76);
    QTest::newRow("negative list number") << 1.0f << 0.5f << -7 << qint64(76);
    QTest::newRow("lowest list number")
        << 1.0f << 0.5f << std::numeric_limits<int>::min() << qint64(76);
    QTest::newRow("offset past 32 bits") << 1.0f << 0.5f << 1 << qint64(0x123456789);
}

void TestMaterialLines::lineLengthWithoutTheText() {
    QFETCH(float, power);
    QFETCH(float, red);
    QFETCH(int, list);
    QFETCH(qint64, offset);
    MaterialTable table;
    for (int i = 0; i < 100; ++i)
        table.append(Record(76 + 68 * i, 1, 0.5f, 0.5f, 0.0f, 1.0f));
    table.append(Record(offset, list, red, 0.5f, 0.0f, 1.0f, power));
    for (const int property : {int{Diffuse}, int{Specular}, PowerProperty}) {
        std::size_t widest = 0;
        for (std::size_t i = 0; i < table.count(); ++i) {
            const std::size_t length = FormatMaterialLine("LOD", table, i, property).size();
            QCOMPARE(MaterialLineLength(table, i, property) + 3, length);
            widest = std::max(widest, length);
        }
        QCOMPARE(CheckMaterialLines(table, property).widestLine + 3, widest);
    }
}

TINTARA_TEST_MAIN(TestMaterialLines)
#include "tst_materiallines.moc"
