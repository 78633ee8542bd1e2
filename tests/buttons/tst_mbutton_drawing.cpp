// TMButton drawing: the frame in its states, the hover frame, where the bitmap goes,
// the flags set by index, and the system colours.

#include "controls/mbutton.h"

#include "ButtonTestUtils.h"
#include "MButtonTestUtils.h"
#include "testsupport.h"

#include <QSignalSpy>

using tintara::TMButton;
using tintara::test::PaintWatcher;
using tintara::test::PixelAt;
using tintara::test::SendMove;
using tintara::test::mbutton::Back;
using tintara::test::mbutton::Dark;
using tintara::test::mbutton::FrameCode;
using tintara::test::mbutton::kH;
using tintara::test::mbutton::kW;
using tintara::test::mbutton::Light;
using tintara::test::mbutton::MakeButton;

namespace {

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

class TestMButtonDrawing : public QObject {
    Q_OBJECT

private slots:
    void frame_data();
    void frame();
    void hoverFrame_data();
    void hoverFrame();
    void bitmapPlacement_data();
    void bitmapPlacement();
    void setFlag_data();
    void setFlag();
    void systemColours();
};

void TestMButtonDrawing::frame_data() {
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

void TestMButtonDrawing::frame() {
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

void TestMButtonDrawing::hoverFrame_data() {
    QTest::addColumn<bool>("highlight");
    QTest::addColumn<QString>("hotFrame"); // frame painted while Hot; empty: never Hot
    QTest::addColumn<bool>("captured");

    QTest::newRow("highlight shows raised frame once") << true << "LLLLDDDD" << true;
    QTest::newRow("no highlight stays flat") << false << "" << false;
}

void TestMButtonDrawing::hoverFrame() {
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

void TestMButtonDrawing::bitmapPlacement_data() {
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

void TestMButtonDrawing::bitmapPlacement() {
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

void TestMButtonDrawing::setFlag_data() {
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

void TestMButtonDrawing::setFlag() {
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

void TestMButtonDrawing::systemColours() {
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

TINTARA_TEST_MAIN(TestMButtonDrawing)
#include "tst_mbutton_drawing.moc"
