// TNumEdit in a window, driven from the keyboard: leaving the field, the key filter,
// Enter and Tab, the KeyPressed codes, control characters and the edit shortcuts.

#include "testsupport.h"

#include "controls/NumEdit.h"

#include <QClipboard>
#include <QSignalSpy>
#include <QVBoxLayout>

using namespace tintara;

namespace {

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

class NumEditKeysTest : public QObject {
    Q_OBJECT

private slots:
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
};

void NumEditKeysTest::exitOnFocusLoss_data() {
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

void NumEditKeysTest::exitOnFocusLoss() {
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

void NumEditKeysTest::filter_data() {
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

void NumEditKeysTest::filter() {
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

void NumEditKeysTest::caretBeforeMinusSwallowsEnter() {
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

void NumEditKeysTest::enterAndTabExit_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("keyPressed");

    QTest::newRow("enter") << int(Qt::Key_Return) << int(Qt::NoModifier) << 13;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 13;
    QTest::newRow("line feed") << int(Qt::Key_Return) << int(Qt::ControlModifier) << 10;
    QTest::newRow("tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << 0;
}

void NumEditKeysTest::enterAndTabExit() {
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

void NumEditKeysTest::keyPressedCodes_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("code");

    QTest::newRow("digit") << "5" << 53;
    QTest::newRow("letter") << "a" << 97;
    QTest::newRow("latin-1 letter wraps negative") << "\u00e9" << -23;
    QTest::newRow("highest byte") << "\u00ff" << -1;
    QTest::newRow("beyond one byte") << "\u20ac" << 63;
}

void NumEditKeysTest::keyPressedCodes() {
    QFETCH(QString, typed);
    QFETCH(int, code);

    Window w;
    typeText(w.edit, typed);
    QCOMPARE(w.edit->KeyPressed(), code);
}

void NumEditKeysTest::controlCharactersSwallowed() {
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

void NumEditKeysTest::editShortcutsStayCommands() {
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

TINTARA_TEST_MAIN(NumEditKeysTest)
#include "tst_numedit_keys.moc"
