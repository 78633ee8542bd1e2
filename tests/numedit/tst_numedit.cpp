#include "testsupport.h"

#include "controls/NumEdit.h"
#include "ui_numeditform.h"

#include <QClipboard>
#include <QSignalSpy>
#include <QVBoxLayout>

#include <limits>
#include <memory>

using namespace tintara;

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A shown, active window holding the edit under test and a second edit to move the
// focus to.
struct Window {
    QWidget window;
    TNumEdit* edit = new TNumEdit(&window);
    QLineEdit* other = new QLineEdit(&window);

    Window() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        QVERIFY(edit->hasFocus());
    }
};

// Sends one key event carrying the given text, as the platform does for keys that
// type control characters.
void typeKey(QWidget* widget, Qt::Key key, const QString& text, Qt::KeyboardModifiers mods) {
    QTest::sendKeyEvent(QTest::Click, widget, key, text, mods);
}

// QTest::keyClicks for any text: characters beyond ASCII come as keys that only carry
// their text, as from a keyboard layout that has them.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, char(c.unicode()));
        else
            typeKey(widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

class NumEditTest : public QObject {
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
    void exitOnFocusLoss_data();
    void exitOnFocusLoss();
    void filter_data();
    void filter();
    void caretBeforeMinusSwallowsEnter();
    void enterAndTabExit_data();
    void enterAndTabExit();
    void keyPressedCodes_data();
    void keyPressedCodes();
    void controlCharactersSwallowed();
    void editShortcutsStayCommands();
    void formAppliesPropertiesInOrder();
};

void NumEditTest::createdInCode() {
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

void NumEditTest::setNumber_data() {
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

void NumEditTest::setNumber() {
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

void NumEditTest::identicalTextRaisesNothing() {
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

void NumEditTest::flagAndLimitSetters_data() {
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

void NumEditTest::flagAndLimitSetters() {
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

void NumEditTest::reading_data() {
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

void NumEditTest::reading() {
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

void NumEditTest::readingReentersChangeHandler() {
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

void NumEditTest::exitOnFocusLoss_data() {
    QTest::addColumn<bool>("allowDecimal");
    QTest::addColumn<double>("min");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");

    QTest::newRow("above max") << false << -1000.0 << "300"
                               << "255";
    QTest::newRow("empty gives zero") << false << -1000.0 << ""
                                      << "0";
    QTest::newRow("empty below min") << false << 10.0 << ""
                                     << "10";
    QTest::newRow("fraction kept without decimals") << false << -1000.0 << "12.7"
                                                    << "12.7";
    QTest::newRow("letters give zero") << false << -1000.0 << "abc"
                                       << "0";
    QTest::newRow("letters below min") << false << 10.0 << "abc"
                                       << "10";
    QTest::newRow("comma not removed") << false << -1000.0 << "1,5"
                                       << "1";
    QTest::newRow("sign not checked") << false << -1000.0 << "-5"
                                      << "-5";
    QTest::newRow("below min") << false << -1000.0 << "-5000"
                               << "-1000";
    QTest::newRow("overflow gives max") << true << -1000.0 << "1e999"
                                        << "255";
    QTest::newRow("reformatted") << true << -1000.0 << "007.50"
                                 << "7.5";
}

void NumEditTest::exitOnFocusLoss() {
    QFETCH(bool, allowDecimal);
    QFETCH(double, min);
    QFETCH(QString, text);
    QFETCH(QString, after);

    Window w;
    w.edit->setAllowDecimal(allowDecimal);
    w.edit->setMax(255);
    w.edit->setMin(min);
    w.edit->setText(text); // as pasted: not filtered
    QTest::mouseClick(w.other, Qt::LeftButton);
    QVERIFY(w.other->hasFocus());
    QCOMPARE(w.edit->text(), after);
}

void NumEditTest::filter_data() {
    QTest::addColumn<bool>("allowDecimal");
    QTest::addColumn<bool>("allowMinus");
    QTest::addColumn<QString>("initial");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");

    // selStart -1: caret at the end of the initial text.
    QTest::newRow("digits pass") << false << false << "" << -1 << 0 << "0123456789"
                                 << "0123456789";
    QTest::newRow("letters swallowed") << false << false << "" << -1 << 0 << "1a2B"
                                       << "12";
    QTest::newRow("space and signs swallowed") << false << false << "" << -1 << 0 << "1 +2*"
                                               << "12";
    QTest::newRow("minus refused") << false << false << "" << -1 << 0 << "-5"
                                   << "5";
    QTest::newRow("minus first") << false << true << "" << -1 << 0 << "-5"
                                 << "-5";
    QTest::newRow("minus not inside") << false << true << "" << -1 << 0 << "5-"
                                      << "5";
    QTest::newRow("minus at caret start") << false << true << "5" << 0 << 0 << "-"
                                          << "-5";
    QTest::newRow("caret before minus swallows digit") << false << true << "-12" << 0 << 0 << "9"
                                                       << "-12";
    QTest::newRow("caret before minus swallows minus") << false << true << "-12" << 0 << 0 << "-"
                                                       << "-12";
    QTest::newRow("selected minus replaced by digit") << false << true << "-12" << 0 << 1 << "9"
                                                      << "912";
    QTest::newRow("point refused") << false << false << "" << -1 << 0 << "1.5"
                                   << "15";
    QTest::newRow("one point") << true << false << "" << -1 << 0 << "1.2.3"
                               << "1.23";
    QTest::newRow("point first") << true << false << "" << -1 << 0 << ".5"
                                 << ".5";
    QTest::newRow("selected point still refuses") << true << false << "1.5" << 1 << 1 << "."
                                                  << "1.5";
    QTest::newRow("non-ascii swallowed") << true << true << "" << -1 << 0 << "1\u00e92\u20ac3"
                                         << "123";
    QTest::newRow("comma swallowed") << true << true << "" << -1 << 0 << "1,5"
                                     << "15";
}

void NumEditTest::filter() {
    QFETCH(bool, allowDecimal);
    QFETCH(bool, allowMinus);
    QFETCH(QString, initial);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, typed);
    QFETCH(QString, after);

    Window w;
    w.edit->setAllowDecimal(allowDecimal);
    w.edit->setAllowMinus(allowMinus);
    w.edit->setText(initial);
    if (selStart >= 0)
        w.edit->setSelection(selStart, selLength);
    typeText(w.edit, typed);
    QCOMPARE(w.edit->text(), after);
    QVERIFY(w.edit->hasFocus());
}

void NumEditTest::caretBeforeMinusSwallowsEnter() {
    Window w;
    w.edit->setAllowMinus(true);
    w.edit->setText(QStringLiteral("-5000"));
    w.edit->setCursorPosition(0);
    QTest::keyClick(w.edit, Qt::Key_Return);
    QTest::keyClick(w.edit, Qt::Key_Delete); // not a typed character: the edit's own
    QCOMPARE(w.edit->text(), QStringLiteral("5000"));
    w.edit->setText(QStringLiteral("-5000"));
    w.edit->setCursorPosition(0);
    QTest::keyClick(w.edit, Qt::Key_Return);
    QCOMPARE(w.edit->text(), QStringLiteral("-5000"));
    QVERIFY(w.edit->hasFocus());
    QCOMPARE(w.edit->KeyPressed(), 13);
}

void NumEditTest::enterAndTabExit_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("keyPressed");

    QTest::newRow("enter") << int(Qt::Key_Return) << int(Qt::NoModifier) << 13;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 13;
    QTest::newRow("line feed") << int(Qt::Key_Return) << int(Qt::ControlModifier) << 10;
    QTest::newRow("tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << 0;
}

void NumEditTest::enterAndTabExit() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, keyPressed);

    Window w;
    w.edit->setMax(255);
    QSignalSpy changes(w.edit, &QLineEdit::textChanged);
    QTest::keyClicks(w.edit, QStringLiteral("300"));
    QTest::keyClick(w.edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.edit->text(), QStringLiteral("255"));
    QCOMPARE(changes.count(), 4);
    QVERIFY(w.other->hasFocus()); // the Tab handed on moves the focus
    // The Tab key itself moves the focus before any character is typed.
    QCOMPARE(w.edit->KeyPressed(), keyPressed ? keyPressed : int{'0'});
}

void NumEditTest::keyPressedCodes_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("code");

    QTest::newRow("digit") << "5" << 53;
    QTest::newRow("letter") << "a" << 97;
    QTest::newRow("latin-1 letter wraps negative") << "\u00e9" << -23;
    QTest::newRow("highest byte") << "\u00ff" << -1;
    QTest::newRow("beyond one byte") << "\u20ac" << 63;
}

void NumEditTest::keyPressedCodes() {
    QFETCH(QString, typed);
    QFETCH(int, code);

    Window w;
    typeText(w.edit, typed);
    QCOMPARE(w.edit->KeyPressed(), code);
}

void NumEditTest::controlCharactersSwallowed() {
    Window w;
    w.edit->setText(QStringLiteral("12"));
    typeKey(w.edit, Qt::Key_B, QStringLiteral("\x02"), Qt::ControlModifier);
    QCOMPARE(w.edit->KeyPressed(), 2);
    typeKey(w.edit, Qt::Key_unknown, QStringLiteral("\x16"), Qt::NoModifier);
    QCOMPARE(w.edit->KeyPressed(), 22);
    typeKey(w.edit, Qt::Key_Escape, QStringLiteral("\x1b"), Qt::NoModifier);
    QCOMPARE(w.edit->KeyPressed(), 22);
    QCOMPARE(w.edit->text(), QStringLiteral("12"));

    // A Backspace that is typed also clears a character; at the caret in front of a
    // leading minus it is swallowed.
    QTest::keyClick(w.edit, Qt::Key_Backspace);
    QCOMPARE(w.edit->text(), QStringLiteral("1"));
    QCOMPARE(w.edit->KeyPressed(), 8);
}

void NumEditTest::editShortcutsStayCommands() {
    // Copy, cut, paste and undo keep working from the keyboard; pasted text is taken
    // as it is, like text pasted from the context menu.
    Window w;
    QGuiApplication::clipboard()->setText(QStringLiteral("12.7"));
    typeKey(w.edit, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    QCOMPARE(w.edit->text(), QStringLiteral("12.7"));
    QCOMPARE(w.edit->KeyPressed(), 0);

    w.edit->selectAll();
    typeKey(w.edit, Qt::Key_C, QStringLiteral("\x03"), Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("12.7"));

    QTest::mouseClick(w.other, Qt::LeftButton);
    QCOMPARE(w.edit->text(), QStringLiteral("12.7")); // leaving keeps the fraction
}

void NumEditTest::formAppliesPropertiesInOrder() {
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

TINTARA_TEST_MAIN(NumEditTest)
#include "tst_numedit.moc"
