#include "testsupport.h"

#include "controls/NumberText.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <cmath>
#include <limits>

using tintara::ConvertNumber;
using tintara::ConvertNumberText;
using tintara::FormatNumber;
using tintara::FormatNumberText;

class NumberTextTest : public QObject {
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void convert_data();
    void convert();
    void roundTrip();
    void ignoresLocale();
};

void NumberTextTest::format_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    constexpr double inf = std::numeric_limits<double>::infinity();

    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("byte") << 255.0 << "255";
    QTest::newRow("negative whole") << -1000.0 << "-1000";
    QTest::newRow("one decimal") << 12.5 << "12.5";
    QTest::newRow("smallest fixed exponent") << 0.0001 << "0.0001";
    QTest::newRow("below fixed range") << 0.00001 << "1E-5";
    QTest::newRow("below fixed range with digits") << 0.000015 << "1.5E-5";
    QTest::newRow("largest fixed") << 999999999999999.0 << "999999999999999";
    QTest::newRow("above fixed range") << 1e15 << "1E15";
    QTest::newRow("negative scientific") << -2.5e20 << "-2.5E20";
    QTest::newRow("rounding carries into next power") << 999999999999999.9 << "1E15";
    QTest::newRow("fifteen significant digits") << 123456789012345678.0 << "1.23456789012346E17";
    QTest::newRow("sum error hidden") << 0.1 + 0.2 << "0.3";
    QTest::newRow("two thirds rounds") << 2.0 / 3.0 << "0.666666666666667";
    QTest::newRow("float widened") << static_cast<double>(12.3f) << "12.3000001907349";
    // Rounded down, so the text still reads back as a number.
    QTest::newRow("largest double") << std::numeric_limits<double>::max() << "1.79769313486231E308";
    QTest::newRow("largest negative double")
        << -std::numeric_limits<double>::max() << "-1.79769313486231E308";
    QTest::newRow("smallest subnormal")
        << std::numeric_limits<double>::denorm_min() << "4.94065645841247E-324";
    QTest::newRow("infinity") << inf << "INF";
    QTest::newRow("negative infinity") << -inf << "-INF";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "NAN";
}

void NumberTextTest::format() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FormatNumberText(value), text);
    QCOMPARE(QString::fromStdString(FormatNumber(value)), text);
}

void NumberTextTest::convert_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    constexpr double inf = std::numeric_limits<double>::infinity();

    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("number then letters") << "12abc" << 12.0;
    QTest::newRow("leading spaces") << " \t\n 42" << 42.0;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("minus sign") << "-7" << -7.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("space after sign") << "- 5" << 0.0;
    QTest::newRow("comma stops") << "1,5" << 1.0;
    QTest::newRow("fraction") << "12.5" << 12.5;
    QTest::newRow("point without integer part") << ".5" << 0.5;
    QTest::newRow("point without fraction") << "5." << 5.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("negative exponent upper case") << "1E-2" << 0.01;
    QTest::newRow("explicit positive exponent") << "2.5e+2x" << 250.0;
    QTest::newRow("exponent without digits") << "1e" << 1.0;
    QTest::newRow("exponent sign without digits") << "1e+" << 1.0;
    QTest::newRow("formatted small") << "1E-5" << 1e-5;
    QTest::newRow("formatted large negative") << "-2.5E20" << -2.5e20;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("hex not read") << "0x10" << 0.0;
    QTest::newRow("infinity word not read") << "INF" << 0.0;
    QTest::newRow("overflow") << "1e999" << inf;
    QTest::newRow("negative overflow") << "-1e999" << -inf;
    QTest::newRow("underflow") << "1e-999" << 0.0;
    QTest::newRow("zero with huge exponent") << "0e99999999999" << 0.0;
    QTest::newRow("huge exponent digits") << "1e99999999999999999999999" << inf;
    QTest::newRow("many digits") << QString(400, QLatin1Char('9')) << inf;
    QTest::newRow("many zeros before digit") << "0." + QString(400, QLatin1Char('0')) + "1" << 0.0;
    QTest::newRow("long digits scaled back")
        << "1" + QString(350, QLatin1Char('0')) + "e-350" << 1.0;
    QTest::newRow("largest double")
        << "1.7976931348623157e308" << std::numeric_limits<double>::max();
    QTest::newRow("non-ascii digit stops") << QStringLiteral("12\u0663") << 12.0;
    QTest::newRow("no-break space not skipped") << QStringLiteral("\u00a05") << 0.0;
}

void NumberTextTest::convert() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(ConvertNumberText(text), value);
    QCOMPARE(ConvertNumber(text.toStdString()), value); // UTF-8 bytes stop it alike
}

void NumberTextTest::roundTrip() {
    // What is written reads back within the 15 digits kept, and writing it again gives
    // the same text.
    QRandomGenerator random(20261208);
    for (int i = 0; i < 20000; ++i) {
        const double mantissa = random.generateDouble() * 2.0 - 1.0;
        const double value = std::ldexp(mantissa, random.bounded(-1000, 1020));
        const std::string text = FormatNumber(value);
        const double back = ConvertNumber(text);
        QVERIFY2(std::abs(back - value) <= std::abs(value) * 1e-14 + 5e-324, text.c_str());
        QCOMPARE(FormatNumber(back), text);
    }
    // The largest doubles round up past the range at 15 digits unless kept below it.
    double value = std::numeric_limits<double>::max();
    for (int i = 0; i < 1000; ++i, value = std::nextafter(value, 0.0)) {
        for (const double v : {value, -value}) {
            const double back = ConvertNumber(FormatNumber(v));
            QVERIFY2(std::isfinite(back) && std::abs(back - v) <= std::abs(v) * 1e-14,
                     FormatNumber(v).c_str());
        }
    }
}

void NumberTextTest::ignoresLocale() {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
    const tintara::test::GermanCLocale cLocale;
    TINTARA_REQUIRE_GERMAN_LOCALE(cLocale);
    QCOMPARE(FormatNumberText(12.5), QStringLiteral("12.5"));
    QCOMPARE(ConvertNumberText(QStringLiteral("12.5")), 12.5);
    QCOMPARE(ConvertNumberText(QStringLiteral("12,5")), 12.0);
}

TINTARA_TEST_MAIN(NumberTextTest)
#include "tst_numbertext.moc"
