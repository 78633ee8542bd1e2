// TNumEdit's number: defaults, writing and reading Number, the flag and limit setters,
// and the properties a form applies.

#include "testsupport.h"

#include "controls/NumEdit.h"
#include "ui_numeditform.h"

#include <QSignalSpy>

#include <limits>

using namespace tintara;

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

class NumEditValueTest : public QObject {
    Q_OBJECT

private slots:
    void createdInCode();
    void setNumber_data();
    void setNumber();
    void identicalTextRaisesNothing();
    void flagAndLimitSetters_data();
    void flagAndLimitSetters();
    void reading_data();
    void reading();
    void readingReentersChangeHandler();
    void formAppliesPropertiesInOrder();
};

void NumEditValueTest::createdInCode() {
    TNumEdit edit;
    QVERIFY(edit.text().isEmpty());
    QCOMPARE(edit.Min(), -1000.0);
    QCOMPARE(edit.Max(), 1000.0);
    QVERIFY(!edit.AllowDecimal());
    QVERIFY(!edit.AllowMinus());
    QCOMPARE(edit.KeyPressed(), 0);
    QCOMPARE(edit.Number(), 0.0);
    QVERIFY(edit.text().isEmpty());

    edit.setMax(255);
    edit.setMin(-1000);
    QCOMPARE(edit.text(), QStringLiteral("0"));
}

void NumEditValueTest::setNumber_data() {
    QTest::addColumn<bool>("allowDecimal");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("text");

    QTest::newRow("fraction above half rounds up")
        << false << -1000.0 << 1000.0 << 12.6 << 13.0 << "13";
    QTest::newRow("half rounds up") << false << -1000.0 << 1000.0 << 12.5 << 13.0 << "13";
    QTest::newRow("fraction below half rounds down")
        << false << -1000.0 << 1000.0 << 12.4 << 12.0 << "12";
    QTest::newRow("negative rounds to nearest")
        << false << -1000.0 << 1000.0 << -2.7 << -3.0 << "-3";
    QTest::newRow("negative half rounds up") << false << -1000.0 << 1000.0 << -2.5 << -2.0 << "-2";
    QTest::newRow("small negative") << false << -1000.0 << 1000.0 << -0.6 << -1.0 << "-1";
    QTest::newRow("negative half to zero") << false << -1000.0 << 1000.0 << -0.5 << 0.0 << "0";
    QTest::newRow("above max") << false << -1000.0 << 255.0 << 300.0 << 255.0 << "255";
    QTest::newRow("below min") << false << -1000.0 << 255.0 << -5000.0 << -1000.0 << "-1000";
    QTest::newRow("sign not checked") << false << -1000.0 << 255.0 << -5.0 << -5.0 << "-5";
    QTest::newRow("rounding after limits") << false << -1000.0 << 254.6 << 300.0 << 255.0 << "255";
    QTest::newRow("nan gives min") << false << 10.0 << 255.0 << NaN << 10.0 << "10";
    QTest::newRow("infinity gives max") << true << -1000.0 << 1000.0 << Inf << 1000.0 << "1000";
    QTest::newRow("negative infinity gives min")
        << true << -1000.0 << 1000.0 << -Inf << -1000.0 << "-1000";
    QTest::newRow("whole saturates high")
        << false << -1e12 << 1e12 << 5e9 << 2147483647.0 << "2147483647";
    QTest::newRow("whole saturates low")
        << false << -1e12 << 1e12 << -5e9 << -2147483648.0 << "-2147483648";
    QTest::newRow("decimal kept") << true << -1000.0 << 1000.0 << 12.5 << 12.5 << "12.5";
    QTest::newRow("decimal small in scientific")
        << true << -1000.0 << 1000.0 << 0.00001 << 0.00001 << "1E-5";
    QTest::newRow("power of a float")
        << true << -1000.0 << 1000.0 << double(12.3f) << double(12.3f) << "12.3000001907349";
}

void NumEditValueTest::setNumber() {
    QFETCH(bool, allowDecimal);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, value);
    QFETCH(double, number);
    QFETCH(QString, text);

    TNumEdit edit;
    edit.setAllowDecimal(allowDecimal);
    edit.setMax(max);
    edit.setMin(min);
    edit.setMax(max); // a max below the default min needs the min lowered first
    const QString before = edit.text();
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    edit.setNumber(value);
    QCOMPARE(edit.text(), text);
    QCOMPARE(changes.count(), before == text ? 0 : 1);
    QCOMPARE(edit.property("Number").toDouble(), number);
}

void NumEditValueTest::identicalTextRaisesNothing() {
    TNumEdit edit;
    edit.setNumber(42);
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    edit.setNumber(42);
    edit.setNumber(41.8); // rounds to the same text
    edit.setText(QStringLiteral("42"));
    edit.NumEditExit();
    QCOMPARE(edit.Number(), 42.0);
    QCOMPARE(changes.count(), 0);
    edit.setText(QStringLiteral("43"));
    QCOMPARE(changes.count(), 1);
}

void NumEditValueTest::flagAndLimitSetters_data() {
    QTest::addColumn<double>("start");
    QTest::addColumn<QString>("setter");
    QTest::addColumn<double>("argument");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");

    // Every setter rewrites the text from Number, also when it refuses its value.
    QTest::newRow("max equal to min refused")
        << 0.0 << "Max" << -1000.0 << "0" << -1000.0 << 1000.0;
    QTest::newRow("max nan refused") << 0.0 << "Max" << NaN << "0" << -1000.0 << 1000.0;
    QTest::newRow("max pulls number down") << 7.5 << "Max" << 5.0 << "5" << -1000.0 << 5.0;
    QTest::newRow("min above max refused") << 0.0 << "Min" << 2000.0 << "0" << -1000.0 << 1000.0;
    QTest::newRow("min nan refused") << 0.0 << "Min" << NaN << "0" << -1000.0 << 1000.0;
    QTest::newRow("min pulls number up") << -3.0 << "Min" << 2.0 << "2" << 2.0 << 1000.0;
    QTest::newRow("minus off flips sign")
        << -7.0 << "AllowMinus" << 0.0 << "7" << -1000.0 << 1000.0;
    QTest::newRow("minus on keeps sign")
        << -7.0 << "AllowMinus" << 1.0 << "-7" << -1000.0 << 1000.0;
    QTest::newRow("decimal off rounds")
        << 12.5 << "AllowDecimal" << 0.0 << "13" << -1000.0 << 1000.0;
    QTest::newRow("decimal on rewrites")
        << 12.5 << "AllowDecimal" << 1.0 << "12.5" << -1000.0 << 1000.0;
}

void NumEditValueTest::flagAndLimitSetters() {
    QFETCH(double, start);
    QFETCH(QString, setter);
    QFETCH(double, argument);
    QFETCH(QString, text);
    QFETCH(double, min);
    QFETCH(double, max);

    TNumEdit edit;
    edit.setAllowDecimal(true);
    edit.setAllowMinus(true);
    edit.setNumber(start);
    edit.setText(QStringLiteral("xyz"));
    const QVariant value =
        setter.startsWith(QLatin1String("Allow")) ? QVariant(argument != 0.0) : QVariant(argument);
    QVERIFY(edit.setProperty(setter.toLatin1().constData(), value));
    QCOMPARE(edit.text(), text);
    QCOMPARE(edit.Min(), min);
    QCOMPARE(edit.Max(), max);
}

void NumEditValueTest::reading_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("after");

    QTest::newRow("comma removed") << "1,234" << 1234.0 << "1234";
    QTest::newRow("only first comma removed") << "1,2,3" << 12.0 << "12,3";
    QTest::newRow("leading comma") << ",5" << 5.0 << "5";
    QTest::newRow("no limits when read") << "300" << 300.0 << "300";
    QTest::newRow("no rounding when read") << "12.7" << 12.7 << "12.7";
    QTest::newRow("trailing letters") << "12abc" << 12.0 << "12abc";
    QTest::newRow("letters read as zero") << "abc" << 0.0 << "abc";
    QTest::newRow("long pasted text read whole")
        << QString(300, QLatin1Char('1')) + ",5" << 1.1111111111111111e300
        << QString(300, QLatin1Char('1')) + "5";
}

void NumEditValueTest::reading() {
    QFETCH(QString, text);
    QFETCH(double, number);
    QFETCH(QString, after);

    TNumEdit edit;
    edit.setMax(255);
    edit.setText(text);
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    QCOMPARE(edit.Number(), number);
    QCOMPARE(edit.text(), after);
    QCOMPARE(changes.count(), text == after ? 0 : 1);
}

void NumEditValueTest::readingReentersChangeHandler() {
    TNumEdit edit;
    edit.setText(QStringLiteral("1,2,3"));
    int entries = 0;
    QList<double> reads;
    connect(&edit, &QLineEdit::textChanged, &edit, [&] {
        ++entries;
        reads << edit.Number();
    });
    // Each read removes one comma and rewrites the text, which enters the handler
    // again; the outermost read returns what the field finally shows.
    QCOMPARE(edit.Number(), 123.0);
    QCOMPARE(edit.text(), QStringLiteral("123"));
    QCOMPARE(entries, 2);
    QCOMPARE(reads, (QList<double>{123.0, 123.0}));
}

void NumEditValueTest::formAppliesPropertiesInOrder() {
    QWidget form;
    Ui::NumEditForm ui;
    ui.setupUi(&form);
    // Colour field: only Max and Min stored; the text shows 0.
    QCOMPARE(ui.NumEdit1->Max(), 255.0);
    QCOMPARE(ui.NumEdit1->Min(), -1000.0);
    QCOMPARE(ui.NumEdit1->text(), QStringLiteral("0"));
    // Power field: the stored Number is limited by the default Max before the stored
    // one applies, and keeps its fraction because AllowDecimal came first.
    QVERIFY(ui.NumEdit5->AllowDecimal());
    QVERIFY(ui.NumEdit5->AllowMinus());
    QCOMPARE(ui.NumEdit5->text(), QStringLiteral("800.5"));
}

TINTARA_TEST_MAIN(NumEditValueTest)
#include "tst_numedit_value.moc"
