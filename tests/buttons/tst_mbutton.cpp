#include "controls/mbutton.h"

#include "ButtonTestUtils.h"
#include "testsupport.h"

#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTimer>

#include <memory>

using tintara::TMButton;
using tintara::test::PaintWatcher;
using tintara::test::PixelAt;
using tintara::test::SendLeave;
using tintara::test::SendMove;

namespace {

constexpr QRgb Back = 0x00C000;  // Color
constexpr QRgb Light = 0xFF0000; // ColorLight
constexpr QRgb Dark = 0x0000FF;  // ColorDark

// Odd sizes, so that the halves of the frame differ by a pixel.
constexpr int kW = 21;
constexpr int kH = 15;

// The eight frame segments A1..A4, B1..B4 as "L" (light), "D" (dark) or "B" (the
// background colour), read from both ends of each segment.
QString FrameCode(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    const QPoint ends[8][2] = {
        {{0, h - 1}, {0, h / 2 + 1}},
        {{0, h / 2}, {0, 1}},
        {{0, 0}, {w / 2 - 1, 0}},
        {{w / 2, 0}, {w - 2, 0}},
        {{w - 1, 0}, {w - 1, h / 2 - 1}},
        {{w - 1, h / 2}, {w - 1, h - 2}},
        {{w - 1, h - 1}, {w / 2 + 1, h - 1}},
        {{w / 2, h - 1}, {1, h - 1}},
    };
    QString code;
    for (const auto& segment : ends) {
        const QRgb first = PixelAt(image, segment[0].x(), segment[0].y());
        const QRgb last = PixelAt(image, segment[1].x(), segment[1].y());
        if (first != last)
            code += QLatin1Char('?');
        else if (first == Light)
            code += QLatin1Char('L');
        else if (first == Dark)
            code += QLatin1Char('D');
        else if (first == Back)
            code += QLatin1Char('B');
        else
            code += QLatin1Char('x');
    }
    return code;
}

std::unique_ptr<TMButton> MakeButton(bool show = true) {
    auto button = std::make_unique<TMButton>();
    button->resize(kW, kH);
    button->SetColor(QColor::fromRgb(Back));
    button->SetColorLight(QColor::fromRgb(Light));
    button->SetColorDark(QColor::fromRgb(Dark));
    if (show) {
        button->move(300, 300);
        button->show();
        if (!QTest::qWaitForWindowExposed(button.get()))
            qWarning("button window not exposed");
    }
    return button;
}

// Keeps the picture of the repaint that Redraw makes while Hot is set.
class HotProbeButton : public TMButton {
public:
    QImage hotImage;
    bool grabbing = false;
    void Redraw() override {
        if (Hot()) {
            grabbing = true;
            hotImage = grab().toImage();
            grabbing = false;
        }
        TMButton::Redraw();
    }
};

} // namespace

class TestMButton : public QObject {
    Q_OBJECT

private slots:
    void frame_data();
    void frame();
    void hoverFrame_data();
    void hoverFrame();
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
    void bitmapPlacement_data();
    void bitmapPlacement();
    void setFlag_data();
    void setFlag();
    void systemColours();
};

void TestMButton::frame_data() {
    QTest::addColumn<bool>("border");
    QTest::addColumn<bool>("rocker");
    QTest::addColumn<int>("pressX"); // -1: not pressed
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("clickLeft");

    QTest::newRow("raised") << true << false << -1 << "LLLLDDDD" << false;
    QTest::newRow("sunken") << true << false << 5 << "DDDDLLLL" << false;
    QTest::newRow("flat") << false << false << -1 << "BBBBBBBB" << false;
    QTest::newRow("flat pressed is sunken") << false << false << 5 << "DDDDLLLL" << false;
    QTest::newRow("rocker up is raised") << true << true << -1 << "LLLLDDDD" << false;
    QTest::newRow("rocker left half") << true << true << 3 << "DDDLDDDL" << true;
    QTest::newRow("rocker last left pixel") << true << true << kW / 2 - 1 << "DDDLDDDL" << true;
    QTest::newRow("rocker at half is right") << true << true << kW / 2 << "LLLDLLLD" << false;
    QTest::newRow("rocker right half") << true << true << kW - 2 << "LLLDLLLD" << false;
    QTest::newRow("flat rocker left") << false << true << 1 << "DDDLDDDL" << true;
}

void TestMButton::frame() {
    QFETCH(bool, border);
    QFETCH(bool, rocker);
    QFETCH(int, pressX);
    QFETCH(QString, expected);
    QFETCH(bool, clickLeft);

    auto button = MakeButton(false);
    button->SetBorder(border);
    button->SetRockerLR(rocker);
    if (pressX >= 0)
        QTest::mousePress(button.get(), Qt::LeftButton, {}, QPoint(pressX, kH / 2));
    const QImage image = button->grab().toImage();
    if (pressX >= 0)
        QTest::mouseRelease(button.get(), Qt::LeftButton, {}, QPoint(pressX, kH / 2));

    QCOMPARE(FrameCode(image), expected);
    QCOMPARE(button->ClickLeft(), clickLeft);
    QCOMPARE(PixelAt(image, kW / 2, kH / 2), Back);
}

void TestMButton::hoverFrame_data() {
    QTest::addColumn<bool>("highlight");
    QTest::addColumn<QString>("hotFrame"); // frame painted while Hot; empty: never Hot
    QTest::addColumn<bool>("captured");

    QTest::newRow("highlight shows raised frame once") << true << "LLLLDDDD" << true;
    QTest::newRow("no highlight stays flat") << false << "" << false;
}

void TestMButton::hoverFrame() {
    QFETCH(bool, highlight);
    QFETCH(QString, hotFrame);
    QFETCH(bool, captured);

    HotProbeButton button;
    button.resize(kW, kH);
    button.SetColor(QColor::fromRgb(Back));
    button.SetColorLight(QColor::fromRgb(Light));
    button.SetColorDark(QColor::fromRgb(Dark));
    button.SetBorder(false);
    button.SetHighlight(highlight);
    button.move(300, 300); // away from the pointer
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    int hotPaints = 0;
    PaintWatcher watcher(&button,
                         [&button, &hotPaints] { hotPaints += button.Hot() && !button.grabbing; });
    QSignalSpy moves(&button, &TMButton::OnMouseMove);
    QVERIFY(!button.Captured());

    SendMove(&button, QPoint(5, 5));

    QCOMPARE(button.Captured(), captured);
    QCOMPARE(moves.count(), 1);
    QVERIFY(!button.Hot());
    QCOMPARE(hotPaints, hotFrame.isEmpty() ? 0 : 1);
    QCOMPARE(button.hotImage.isNull() ? QString() : FrameCode(button.hotImage), hotFrame);
    // Any later repaint while the pointer is still over the button draws it flat.
    SendMove(&button, QPoint(6, 6));
    button.repaint();
    QCOMPARE(hotPaints, hotFrame.isEmpty() ? 0 : 1);
    QCOMPARE(FrameCode(button.grab().toImage()), QStringLiteral("BBBBBBBB"));
}

void TestMButton::hoverEdges_data() {
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

void TestMButton::hoverEdges() {
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

void TestMButton::leaveEventEndsTracking() {
    auto button = MakeButton();
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(button->mapToGlobal(QPoint(4, 4))));
    QCoreApplication::sendEvent(button.get(), &enter);
    QVERIFY(button->Captured());
    PaintWatcher paints(button.get());

    SendLeave(button.get());

    QVERIFY(!button->Captured());
    QCOMPARE(paints.count, 1);
}

void TestMButton::pointerThroughThePlatform() {
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

void TestMButton::dragOffKeepsDown() {
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

void TestMButton::rightButtonChangesNothing_data() {
    QTest::addColumn<bool>("latch");
    QTest::addColumn<bool>("down");

    QTest::newRow("push up") << false << false;
    QTest::newRow("push down") << false << true;
    QTest::newRow("latch down") << true << true;
}

void TestMButton::rightButtonChangesNothing() {
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

void TestMButton::latchToggles() {
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

void TestMButton::clickState_data() {
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

void TestMButton::clickState() {
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

void TestMButton::dropDownMenu_data() {
    QTest::addColumn<bool>("latch");
    QTest::addColumn<bool>("downBefore");
    QTest::addColumn<bool>("opens");

    QTest::newRow("push") << false << false << true;
    QTest::newRow("latch up") << true << false << true;
    QTest::newRow("latch down clears without menu") << true << true << false;
}

void TestMButton::dropDownMenu() {
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

void TestMButton::bitmapPlacement_data() {
    QTest::addColumn<QSize>("control");
    QTest::addColumn<QSize>("bitmap");
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<QRect>("expected"); // control pixels the bitmap covers

    QTest::newRow("stretched") << QSize(20, 16) << QSize(4, 4) << true << QRect(2, 2, 14, 10);
    QTest::newRow("stretched into too small a control")
        << QSize(4, 4) << QSize(4, 4) << true << QRect();
    QTest::newRow("centred smaller") << QSize(21, 15) << QSize(5, 4) << false << QRect(8, 5, 5, 4);
    QTest::newRow("centred larger overhangs")
        << QSize(10, 10) << QSize(15, 13) << false << QRect(-2, -1, 15, 13);
}

void TestMButton::bitmapPlacement() {
    QFETCH(QSize, control);
    QFETCH(QSize, bitmap);
    QFETCH(bool, stretch);
    QFETCH(QRect, expected);

    // Every pixel carries its own coordinates, so the offsets can be read back.
    QImage picture(bitmap, QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 10, y * 10, 77));
    auto button = MakeButton(false);
    button->resize(control);
    button->SetStretch(stretch);
    button->SetBitmap(QPixmap::fromImage(picture));
    const QImage image = button->grab().toImage();

    for (int y = 0; y < control.height(); ++y) {
        for (int x = 0; x < control.width(); ++x) {
            const QRgb pixel = PixelAt(image, x, y);
            const bool covered = expected.contains(x, y);
            QVERIFY2(covered == (qBlue(pixel) == 77),
                     qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            if (covered && !stretch) {
                QCOMPARE(qRed(pixel), (x - expected.left()) * 10);
                QCOMPARE(qGreen(pixel), (y - expected.top()) * 10);
            }
        }
    }
}

void TestMButton::setFlag_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("property"); // empty: the index names none

    QTest::newRow("0 none") << 0 << "";
    QTest::newRow("1 Latch") << 1 << "Latch";
    QTest::newRow("2 Down") << 2 << "Down";
    QTest::newRow("3 Border") << 3 << "Border";
    QTest::newRow("4 none") << 4 << "";
    QTest::newRow("5 Stretch") << 5 << "Stretch";
    QTest::newRow("6 RockerLR") << 6 << "RockerLR";
    QTest::newRow("7 RockerUD") << 7 << "RockerUD";
    QTest::newRow("8 Highlight") << 8 << "Highlight";
}

void TestMButton::setFlag() {
    QFETCH(int, index);
    QFETCH(QString, property);

    auto button = MakeButton();
    const QStringList flags = {QStringLiteral("Latch"),    QStringLiteral("Down"),
                               QStringLiteral("Border"),   QStringLiteral("Stretch"),
                               QStringLiteral("RockerLR"), QStringLiteral("RockerUD"),
                               QStringLiteral("Highlight")};
    QVariantMap before;
    for (const QString& flag : flags)
        before[flag] = button->property(qPrintable(flag));
    QSignalSpy presses(button.get(), &TMButton::OnMouseDown);
    PaintWatcher paints(button.get());

    for (const bool value : {false, true}) {
        const int paintsBefore = paints.count;
        button->SetFlag(index, value);
        QCOMPARE(paints.count, paintsBefore + 1);
        for (const QString& flag : flags) {
            const QVariant expected = flag == property ? QVariant(value) : before[flag];
            QCOMPARE(button->property(qPrintable(flag)), expected);
        }
    }
    QCOMPARE(presses.count(), 0);
}

void TestMButton::systemColours() {
    QWidget parent;
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(10, 20, 30));
    palette.setColor(QPalette::Base, QColor(40, 50, 60));
    palette.setColor(QPalette::Shadow, QColor(70, 80, 90));
    palette.setColor(QPalette::Midlight, QColor(100, 110, 120));
    parent.setPalette(palette);
    auto* button = new TMButton(&parent);

    QCOMPARE(button->ColorDark(), QColor(70, 80, 90));
    QCOMPARE(button->ColorLight(), QColor(100, 110, 120));
    QVERIFY(button->ParentColor());
    QCOMPARE(button->Color(), QColor(10, 20, 30));
    button->SetParentColor(false);
    QCOMPARE(button->Color(), QColor(40, 50, 60));

    button->SetColorDark(Qt::red);
    QCOMPARE(button->ColorDark(), QColor(Qt::red));
    button->SetColorDark(QColor());
    QCOMPARE(button->ColorDark(), QColor(70, 80, 90));
    button->SetColor(Qt::yellow);
    QVERIFY(!button->ParentColor());
    QCOMPARE(button->Color(), QColor(Qt::yellow));
}

TINTARA_TEST_MAIN(TestMButton)
#include "tst_mbutton.moc"
