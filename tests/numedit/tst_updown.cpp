#include "testsupport.h"

#include "controls/NumEdit.h"
#include "controls/UpDown.h"

#include <QSignalSpy>

using namespace tintara;

namespace {

enum class Arrow { Up, Down };

// Clicks the upper or lower half of the spinner.
void clickArrow(TUpDown* spinner, Arrow arrow) {
    const QRect r = spinner->rect();
    const int y = arrow == Arrow::Up ? r.height() / 4 : r.height() * 3 / 4;
    QTest::mouseClick(spinner, Qt::LeftButton, Qt::NoModifier, QPoint(r.width() / 2, y));
}

// The colour field arrangement: a numeric edit with its spinner beside it.
struct Panel {
    QWidget window;
    TNumEdit* edit = new TNumEdit(&window);
    TUpDown* spinner = new TUpDown(&window);
    QLineEdit* other = new QLineEdit(&window);

    Panel() {
        edit->setGeometry(8, 48, 25, 21);
        spinner->setGeometry(33, 48, 15, 21);
        other->setGeometry(8, 80, 60, 21);
        edit->setMax(255);
        edit->setMin(-1000);
        window.resize(120, 120);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
    }
};

} // namespace

class UpDownTest : public QObject {
    Q_OBJECT

private slots:
    void bindingWritesPosition();
    void click_data();
    void click();
    void clickKeepsFocusInEdit();
    void wrapping();
    void positionFromCodeWritesBuddy();
    void holdingRepeats();
    void buddyDestroyed();
};

void UpDownTest::bindingWritesPosition() {
    TNumEdit edit;
    TUpDown spinner;
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    spinner.setBuddy(&edit);
    QCOMPARE(edit.text(), QStringLiteral("0"));
    QCOMPARE(changes.count(), 1);

    TUpDown second;
    second.setBuddy(&edit); // same text: nothing raised
    QCOMPARE(changes.count(), 1);
}

void UpDownTest::click_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("after");

    QTest::newRow("up from zero") << 0 << "0" << true << "1";
    QTest::newRow("down at minimum stays") << 0 << "0" << false << "0";
    QTest::newRow("up at maximum stays") << 255 << "255" << true << "255";
    QTest::newRow("typed value read back") << 0 << "41" << true << "42";
    QTest::newRow("typed value read back going down") << 0 << "41" << false << "40";
    QTest::newRow("above range clamps") << 0 << "300" << true << "255";
    QTest::newRow("above range steps down from top") << 0 << "300" << false << "254";
    QTest::newRow("negative clamps") << 9 << "-5" << true << "1";
    QTest::newRow("huge number clamps") << 0 << "99999999999999999999999" << false << "254";
    QTest::newRow("leading zeros") << 0 << "007" << true << "8";
    QTest::newRow("surrounding spaces") << 0 << " 9 " << true << "10";
    QTest::newRow("letters keep position") << 7 << "abc" << true << "8";
    QTest::newRow("fraction keeps position") << 7 << "12.7" << false << "6";
    QTest::newRow("empty keeps position") << 7 << "" << true << "8";
}

void UpDownTest::click() {
    QFETCH(int, start);
    QFETCH(QString, text);
    QFETCH(bool, up);
    QFETCH(QString, after);

    Panel p;
    p.spinner->setBuddy(p.edit);
    p.spinner->setValue(start);
    p.edit->setText(text); // typed or pasted meanwhile
    QSignalSpy changes(p.edit, &QLineEdit::textChanged);
    clickArrow(p.spinner, up ? Arrow::Up : Arrow::Down);
    QCOMPARE(p.edit->text(), after);
    QCOMPARE(changes.count(), text == after ? 0 : 1);
    QCOMPARE(p.spinner->value(), after.toInt());
}

void UpDownTest::clickKeepsFocusInEdit() {
    Panel p;
    p.spinner->setBuddy(p.edit);
    QTest::keyClicks(p.edit, QStringLiteral("0")); // text "00"
    clickArrow(p.spinner, Arrow::Up);
    clickArrow(p.spinner, Arrow::Up);
    QVERIFY(p.edit->hasFocus());
    QCOMPARE(p.edit->text(), QStringLiteral("2"));
    QCOMPARE(p.edit->Number(), 2.0);
}

void UpDownTest::wrapping() {
    Panel p;
    p.spinner->setWrapping(true);
    p.spinner->setBuddy(p.edit);
    p.edit->setText(QStringLiteral("255"));
    clickArrow(p.spinner, Arrow::Up);
    QCOMPARE(p.edit->text(), QStringLiteral("0"));
    clickArrow(p.spinner, Arrow::Down);
    QCOMPARE(p.edit->text(), QStringLiteral("255"));
}

void UpDownTest::positionFromCodeWritesBuddy() {
    TNumEdit edit;
    TUpDown spinner;
    spinner.setBuddy(&edit);
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    spinner.setValue(128);
    QCOMPARE(edit.text(), QStringLiteral("128"));
    spinner.setValue(1000); // clamped to the range
    QCOMPARE(edit.text(), QStringLiteral("255"));
    QCOMPARE(changes.count(), 2);
    spinner.setBuddy(nullptr);
    spinner.setValue(3);
    QCOMPARE(edit.text(), QStringLiteral("255"));
}

void UpDownTest::holdingRepeats() {
    Panel p;
    p.spinner->setBuddy(p.edit);
    const QPoint upper(p.spinner->width() / 2, p.spinner->height() / 4);
    QTest::mousePress(p.spinner, Qt::LeftButton, Qt::NoModifier, upper);
    QCOMPARE(p.edit->text(), QStringLiteral("1"));
    QTRY_VERIFY(p.spinner->value() >= 3);
    QTest::mouseRelease(p.spinner, Qt::LeftButton, Qt::NoModifier, upper);
    const int released = p.spinner->value();
    QTest::qWait(300);
    QCOMPARE(p.spinner->value(), released);
    QCOMPARE(p.edit->text(), QString::number(released));
}

void UpDownTest::buddyDestroyed() {
    TUpDown spinner;
    {
        QLineEdit edit;
        spinner.setBuddy(&edit);
    }
    QCOMPARE(spinner.buddy(), nullptr);
    spinner.stepBy(1);
    QCOMPARE(spinner.value(), 1);
}

TINTARA_TEST_MAIN(UpDownTest)
#include "tst_updown.moc"
