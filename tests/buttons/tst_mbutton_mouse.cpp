// TMButton and the mouse: hover tracking at the edges and on leaving, the pointer
// through the platform, dragging off, the right button, latching, the state at the
// click, the drop-down menu, and Tab reaching it while a click is connected.

#include "controls/mbutton.h"

#include "ButtonTestUtils.h"
#include "MButtonTestUtils.h"
#include "testsupport.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTimer>

#include <memory>
#include <vector>

using tintara::TMButton;
using tintara::test::PaintWatcher;
using tintara::test::SendLeave;
using tintara::test::SendMove;
using tintara::test::mbutton::Back;
using tintara::test::mbutton::Dark;
using tintara::test::mbutton::FrameCode;
using tintara::test::mbutton::kH;
using tintara::test::mbutton::kW;
using tintara::test::mbutton::Light;
using tintara::test::mbutton::MakeButton;

class TestMButtonMouse : public QObject {
    Q_OBJECT

private slots:
    void hoverEdges_data();
    void hoverEdges();
    void leaveEventEndsTracking();
    void pointerThroughThePlatform();
    void dragOffKeepsDown();
    void rightButtonChangesNothing_data();
    void rightButtonChangesNothing();
    void latchToggles();
    void clickState_data();
    void clickState();
    void dropDownMenu_data();
    void dropDownMenu();
    void keyboardReachFollowsConnections();
};

void TestMButtonMouse::hoverEdges_data() {
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<bool>("inside");

    QTest::newRow("right edge") << QPoint(kW, 3) << true;
    QTest::newRow("bottom edge") << QPoint(3, kH) << true;
    QTest::newRow("bottom right corner") << QPoint(kW, kH) << true;
    QTest::newRow("left of it") << QPoint(-1, 3) << false;
    QTest::newRow("above it") << QPoint(3, -1) << false;
    QTest::newRow("past the right edge") << QPoint(kW + 1, 3) << false;
    QTest::newRow("past the bottom edge") << QPoint(3, kH + 1) << false;
}

void TestMButtonMouse::hoverEdges() {
    QFETCH(QPoint, position);
    QFETCH(bool, inside);

    auto button = MakeButton();
    SendMove(button.get(), QPoint(5, 5));
    QVERIFY(button->Captured());
    QSignalSpy moves(button.get(), &TMButton::OnMouseMove);
    PaintWatcher paints(button.get());

    SendMove(button.get(), position, Qt::LeftButton);

    QCOMPARE(button->Captured(), inside);
    QCOMPARE(moves.count(), inside ? 1 : 0);
    // Leaving repaints at once; staying inside does not.
    QCOMPARE(paints.count, inside ? 0 : 1);
    // Coming back paints the hover look again.
    SendMove(button.get(), QPoint(5, 5));
    QVERIFY(button->Captured());
}

void TestMButtonMouse::leaveEventEndsTracking() {
    auto button = MakeButton();
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(button->mapToGlobal(QPoint(4, 4))));
    QCoreApplication::sendEvent(button.get(), &enter);
    QVERIFY(button->Captured());
    PaintWatcher paints(button.get());

    SendLeave(button.get());

    QVERIFY(!button->Captured());
    QCOMPARE(paints.count, 1);
}

void TestMButtonMouse::pointerThroughThePlatform() {
    // Without a pressed button QTest moves the platform's pointer, which delivers the
    // enter, move and leave events a real pointer would.
    QWidget window;
    window.resize(120, 80);
    window.move(200, 200);
    auto* button = new TMButton(&window);
    button->setGeometry(10, 10, kW, kH);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(&window, QPoint(100, 70));
    QVERIFY(!button->Captured());

    QTest::mouseMove(button, QPoint(5, 5));
    QTRY_VERIFY(button->Captured());
    QTest::mouseMove(&window, QPoint(100, 70));
    QTRY_VERIFY(!button->Captured());
}

void TestMButtonMouse::dragOffKeepsDown() {
    auto button = MakeButton();
    QSignalSpy clicks(button.get(), &TMButton::OnClick);
    SendMove(button.get(), QPoint(5, 5));
    QTest::mousePress(button.get(), Qt::LeftButton, {}, QPoint(5, 5));

    QTest::mouseMove(button.get(), QPoint(-10, 5));
    QVERIFY(!button->Captured());
    QVERIFY(button->Down());
    QCOMPARE(FrameCode(button->grab().toImage()), QStringLiteral("DDDDLLLL"));

    QTest::mouseRelease(button.get(), Qt::LeftButton, {}, QPoint(-10, 5));
    QVERIFY(!button->Down());
    QCOMPARE(clicks.count(), 0);
}

void TestMButtonMouse::rightButtonChangesNothing_data() {
    QTest::addColumn<bool>("latch");
    QTest::addColumn<bool>("down");

    QTest::newRow("push up") << false << false;
    QTest::newRow("push down") << false << true;
    QTest::newRow("latch down") << true << true;
}

void TestMButtonMouse::rightButtonChangesNothing() {
    QFETCH(bool, latch);
    QFETCH(bool, down);

    auto button = MakeButton();
    QMenu menu;
    menu.addAction(QStringLiteral("Item"));
    QSignalSpy menuShown(&menu, &QMenu::aboutToShow);
    button->SetDropDownMenu(&menu);
    button->SetLatch(latch);
    button->SetDown(down);
    SendMove(button.get(), QPoint(5, 5));
    QSignalSpy presses(button.get(), &TMButton::OnMouseDown);
    QSignalSpy releases(button.get(), &TMButton::OnMouseUp);
    QSignalSpy clicks(button.get(), &TMButton::OnClick);

    QTest::mousePress(button.get(), Qt::RightButton, {}, QPoint(7, 6));
    QCOMPARE(button->Down(), down);
    QTest::mouseRelease(button.get(), Qt::RightButton, {}, QPoint(7, 6));

    QCOMPARE(button->Down(), down);
    QVERIFY(button->Captured());
    QCOMPARE(button->PressX(), 7);
    QCOMPARE(presses.count(), 1);
    QCOMPARE(releases.count(), 1);
    QCOMPARE(presses.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(menuShown.count(), 0);
}

void TestMButtonMouse::latchToggles() {
    auto button = MakeButton();
    button->SetLatch(true);
    QSignalSpy clicks(button.get(), &TMButton::OnClick);
    const QPoint at(5, 5);

    QTest::mousePress(button.get(), Qt::LeftButton, {}, at);
    QVERIFY(button->Down());
    QTest::mouseRelease(button.get(), Qt::LeftButton, {}, at);
    QVERIFY(button->Down());
    // A double click is a press, a release, a double-click press and a release.
    QTest::mouseDClick(button.get(), Qt::LeftButton, {}, at);
    QVERIFY(!button->Down());
    QTest::mouseRelease(button.get(), Qt::LeftButton, {}, at);
    QVERIFY(!button->Down());
    QCOMPARE(FrameCode(button->grab().toImage()), QStringLiteral("LLLLDDDD"));
    QCOMPARE(clicks.count(), 2);
}

void TestMButtonMouse::clickState_data() {
    QTest::addColumn<bool>("rocker");
    QTest::addColumn<int>("pressX");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("clickLeft");

    QTest::newRow("push inside") << false << 5 << QPoint(6, 6) << 1 << false;
    QTest::newRow("push release at top left") << false << 5 << QPoint(0, 0) << 1 << false;
    QTest::newRow("push release at last pixel")
        << false << 5 << QPoint(kW - 1, kH - 1) << 1 << false;
    QTest::newRow("push release at width") << false << 5 << QPoint(kW, 3) << 0 << false;
    QTest::newRow("push release at height") << false << 5 << QPoint(3, kH) << 0 << false;
    QTest::newRow("rocker left") << true << 2 << QPoint(2, 2) << 1 << true;
    QTest::newRow("rocker right") << true << kW / 2 << QPoint(12, 2) << 1 << false;
}

void TestMButtonMouse::clickState() {
    QFETCH(bool, rocker);
    QFETCH(int, pressX);
    QFETCH(QPoint, release);
    QFETCH(int, clicks);
    QFETCH(bool, clickLeft);

    auto button = MakeButton();
    button->SetRockerLR(rocker);
    QStringList log;
    TMButton* raw = button.get();
    connect(raw, &TMButton::OnClick, raw, [&log, raw] {
        log << QStringLiteral("click down=%1 left=%2").arg(raw->Down()).arg(raw->ClickLeft());
    });
    connect(raw, &TMButton::OnMouseUp, raw,
            [&log, raw] { log << QStringLiteral("up down=%1").arg(raw->Down()); });

    QTest::mousePress(raw, Qt::LeftButton, {}, QPoint(pressX, 4));
    QTest::mouseRelease(raw, Qt::LeftButton, {}, release);

    QStringList expected;
    if (clicks)
        expected << QStringLiteral("click down=1 left=%1").arg(clickLeft);
    expected << QStringLiteral("up down=1");
    QCOMPARE(log, expected);
    QVERIFY(!raw->Down());
    QVERIFY(!raw->Captured());
}

void TestMButtonMouse::dropDownMenu_data() {
    QTest::addColumn<bool>("latch");
    QTest::addColumn<bool>("downBefore");
    QTest::addColumn<bool>("opens");

    QTest::newRow("push") << false << false << true;
    QTest::newRow("latch up") << true << false << true;
    QTest::newRow("latch down clears without menu") << true << true << false;
}

void TestMButtonMouse::dropDownMenu() {
    QFETCH(bool, latch);
    QFETCH(bool, downBefore);
    QFETCH(bool, opens);

    QWidget window;
    window.resize(200, 150);
    window.move(100, 100);
    auto* button = new TMButton(&window);
    button->setGeometry(10, 20, kW, kH);
    button->SetColor(QColor::fromRgb(Back));
    button->SetColorLight(QColor::fromRgb(Light));
    button->SetColorDark(QColor::fromRgb(Dark));
    button->SetLatch(latch);
    button->SetDown(downBefore);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QMenu menu;
    menu.addAction(QStringLiteral("First"));
    button->SetDropDownMenu(&menu);
    SendMove(button, QPoint(4, 4));
    QString frameWhileOpen;
    bool downWhileOpen = false;
    QPoint menuPosition;
    connect(&menu, &QMenu::aboutToShow, &menu, [&] {
        QTimer::singleShot(0, &menu, [&] {
            frameWhileOpen = FrameCode(button->grab().toImage());
            downWhileOpen = button->Down();
            menuPosition = menu.pos();
            menu.close();
        });
    });

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(4, 4));

    if (opens) {
        QVERIFY(downWhileOpen);
        QCOMPARE(frameWhileOpen, QStringLiteral("DDDDLLLL"));
        QCOMPARE(menuPosition, button->mapToGlobal(QPoint(0, kH)));
    } else {
        QVERIFY(frameWhileOpen.isEmpty());
    }
    QVERIFY(!button->Down());
    QVERIFY(!button->Captured());
    QCOMPARE(FrameCode(button->grab().toImage()), QStringLiteral("LLLLDDDD"));
}

void TestMButtonMouse::keyboardReachFollowsConnections() {
    auto button = MakeButton(false);
    QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    // Enough receivers that some share the button's connection lock: each one's death
    // notifies the button with that lock held, which must neither deadlock nor leave
    // the button reachable.
    std::vector<std::unique_ptr<QObject>> receivers(300);
    for (auto& receiver : receivers) {
        receiver = std::make_unique<QObject>();
        connect(button.get(), &TMButton::OnClick, receiver.get(), [] {});
    }
    QCOMPARE(button->focusPolicy(), Qt::TabFocus);
    receivers.resize(1);
    QCoreApplication::processEvents();
    QCOMPARE(button->focusPolicy(), Qt::TabFocus);
    receivers.clear();
    QTRY_COMPARE(button->focusPolicy(), Qt::NoFocus);
}

TINTARA_TEST_MAIN(TestMButtonMouse)
#include "tst_mbutton_mouse.moc"
