// TExeButton pressed and drawn: the frame, what a release does and runs, latching,
// which setters repaint, and shortcut files resolved before running.

#include "controls/ExeButtn.h"
#include "framework/Shell.h"

#include "ButtonTestUtils.h"
#include "ExeButtonTestUtils.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>

using tintara::TExeButton;
using tintara::shell::OpenRequest;
using tintara::shell::ScopedOpener;
using tintara::test::PaintWatcher;
using tintara::test::PixelAt;
using tintara::test::exebutton::Back;
using tintara::test::exebutton::Dark;
using tintara::test::exebutton::Light;
using tintara::test::exebutton::MakeButton;

namespace {

// Frame as the colours of its four sides, each read at both ends:
// left (bottom to top), top, right (top to bottom), bottom (right to left).
QString FrameCode(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    const QPoint ends[4][2] = {{{0, h - 1}, {0, 1}},
                               {{0, 0}, {w - 2, 0}},
                               {{w - 1, 0}, {w - 1, h - 2}},
                               {{w - 1, h - 1}, {1, h - 1}}};
    QString code;
    for (const auto& side : ends) {
        const QRgb first = PixelAt(image, side[0].x(), side[0].y());
        const QRgb last = PixelAt(image, side[1].x(), side[1].y());
        if (first != last)
            code += QLatin1Char('?');
        else
            code += first == Light  ? QLatin1Char('L')
                    : first == Dark ? QLatin1Char('D')
                    : first == Back ? QLatin1Char('B')
                                    : QLatin1Char('x');
    }
    return code;
}

} // namespace

class TestExeButtonPress : public QObject {
    Q_OBJECT

private slots:
    void frame_data();
    void frame();
    void release_data();
    void release();
    void latchToggles();
    void repaints();
    void shortcut_data();
    void shortcut();
};

void TestExeButtonPress::frame_data() {
    QTest::addColumn<bool>("border");
    QTest::addColumn<bool>("down");
    QTest::addColumn<QString>("expected");

    QTest::newRow("raised") << true << false << "LLDD";
    QTest::newRow("sunken") << true << true << "DDLL";
    QTest::newRow("sunken without border") << false << true << "DDLL";
    QTest::newRow("no frame") << false << false << "BBBB";
}

void TestExeButtonPress::frame() {
    QFETCH(bool, border);
    QFETCH(bool, down);
    QFETCH(QString, expected);

    auto button = MakeButton(false);
    button->SetShowLabel(false);
    button->SetBorder(border);
    button->SetDown(down);
    const QImage image = button->grab().toImage();
    QCOMPARE(FrameCode(image), expected);
    QCOMPARE(PixelAt(image, 50, 20), Back);
}

void TestExeButtonPress::release_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("autoRun");
    QTest::addColumn<QString>("expected"); // events in order

    QTest::newRow("inside") << Qt::LeftButton << QPoint(30, 15) << true << "click up run";
    QTest::newRow("just inside the corner")
        << Qt::LeftButton << QPoint(1, 1) << true << "click up run";
    QTest::newRow("last pixel") << Qt::LeftButton << QPoint(59, 29) << true << "click up run";
    QTest::newRow("left edge") << Qt::LeftButton << QPoint(0, 15) << true << "click up";
    QTest::newRow("top edge") << Qt::LeftButton << QPoint(30, 0) << true << "click up";
    QTest::newRow("at width") << Qt::LeftButton << QPoint(60, 15) << true << "up";
    QTest::newRow("at height") << Qt::LeftButton << QPoint(30, 30) << true << "up";
    QTest::newRow("without AutoRun") << Qt::LeftButton << QPoint(30, 15) << false << "click up";
    QTest::newRow("middle button") << Qt::MiddleButton << QPoint(30, 15) << true << "up run";
    QTest::newRow("right button") << Qt::RightButton << QPoint(30, 15) << true << "up";
}

void TestExeButtonPress::release() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, at);
    QFETCH(bool, autoRun);
    QFETCH(QString, expected);

    auto tile = MakeButton();
    tile->SetFileName(QStringLiteral("C:\\Tools\\Viewer.exe"));
    tile->SetAutoRun(autoRun);
    tile->resize(60, 30);
    QStringList log;
    QList<OpenRequest> opened;
    ScopedOpener recorder([&](const OpenRequest& request) {
        log << QStringLiteral("run");
        opened << request;
    });
    TExeButton* raw = tile.get();
    connect(raw, &TExeButton::OnClick, raw, [&log, raw] {
        QVERIFY(raw->Down());
        log << QStringLiteral("click");
    });
    connect(raw, &TExeButton::OnMouseUp, raw, [&log] { log << QStringLiteral("up"); });

    QTest::mousePress(raw, button, {}, QPoint(30, 15));
    QCOMPARE(raw->Down(), button != Qt::RightButton);
    QTest::mouseRelease(raw, button, {}, at);

    QCOMPARE(log.join(QLatin1Char(' ')), expected);
    QVERIFY(!raw->Down());
    if (!opened.isEmpty()) {
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().target, QStringLiteral("C:\\Tools\\Viewer.exe"));
        QCOMPARE(opened.first().workingFolder, QStringLiteral("C:\\Tools\\"));
    }
}

void TestExeButtonPress::latchToggles() {
    auto button = MakeButton();
    button->SetLatch(true);
    const QPoint at(10, 10);
    QTest::mouseClick(button.get(), Qt::LeftButton, {}, at);
    QVERIFY(button->Down());
    QCOMPARE(FrameCode(button->grab().toImage()), QStringLiteral("DDLL"));
    QTest::mouseClick(button.get(), Qt::LeftButton, {}, at);
    QVERIFY(!button->Down());
}

void TestExeButtonPress::repaints() {
    auto button = MakeButton();
    button->SetCaption(QStringLiteral("Tool"));
    PaintWatcher paints(button.get());

    button->SetCaption(QStringLiteral("Tool"));
    QCOMPARE(paints.count, 0);
    QPixmap picture(32, 32);
    picture.fill(Qt::magenta);
    button->SetIcon(QIcon(picture));
    QCOMPARE(paints.count, 0);
    QCOMPARE(button->SmallIcon().availableSizes().value(0), QSize(16, 16));
    button->SetLatch(true);
    QCOMPARE(paints.count, 0);

    button->SetCaption(QStringLiteral("tool"));
    QCOMPARE(paints.count, 1);
    button->SetFlag(0, true);
    QCOMPARE(paints.count, 2);
    // The icon set earlier shows with that repaint, stretched to 32 x 32 at (4, 4).
    const QImage image = button->grab().toImage();
    const QRgb magenta = QColor(Qt::magenta).rgb() & 0xFFFFFFu;
    QCOMPARE(PixelAt(image, 4, 4), magenta);
    QCOMPARE(PixelAt(image, 35, 20), magenta);
    QVERIFY(PixelAt(image, 3, 20) != magenta);
    QVERIFY(PixelAt(image, 36, 20) != magenta);
}

void TestExeButtonPress::shortcut_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expectedTarget"); // relative to the folder; empty: no run
    QTest::addColumn<QString>("expectedFolder");

#ifdef Q_OS_WIN
    QSKIP("Shortcut files are resolved by the shell on Windows");
#endif
    QTest::newRow("plain file") << "plain"
                                << "file.txt"
                                << "";
    QTest::newRow("link to a file") << "link"
                                    << "target/real.txt"
                                    << "target/";
    QTest::newRow("link to a link") << "chain"
                                    << "target/real.txt"
                                    << "target/";
    QTest::newRow("broken link") << "broken"
                                 << ""
                                 << "";
    QTest::newRow("lnk file is a plain file") << "lnk"
                                              << "Editor.LNK"
                                              << "";
}

void TestExeButtonPress::shortcut() {
    QFETCH(QString, kind);
    QFETCH(QString, expectedTarget);
    QFETCH(QString, expectedFolder);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = QDir(dir.path()).canonicalPath() + QLatin1Char('/');
    QVERIFY(QDir(root).mkdir(QStringLiteral("target")));
    for (const char* name : {"target/real.txt", "file.txt", "Editor.LNK"})
        QVERIFY(tintara::test::TouchFile(root + QLatin1String(name)));
    QVERIFY(QFile::link(root + QStringLiteral("target/real.txt"), root + QStringLiteral("link")));
    QVERIFY(QFile::link(root + QStringLiteral("link"), root + QStringLiteral("chain")));
    QVERIFY(QFile::link(root + QStringLiteral("gone.txt"), root + QStringLiteral("broken")));
    const QString fileName = kind == QLatin1String("plain") ? root + QStringLiteral("file.txt")
                             : kind == QLatin1String("lnk") ? root + QStringLiteral("Editor.LNK")
                                                            : root + kind;

    QList<OpenRequest> opened;
    ScopedOpener recorder([&opened](const OpenRequest& request) { opened << request; });
    auto button = MakeButton(false);
    button->SetAutoRun(true);
    button->SetFileName(fileName);
    QTest::mouseClick(button.get(), Qt::LeftButton, {}, QPoint(10, 10));

    if (expectedTarget.isEmpty()) {
        QVERIFY(opened.isEmpty());
        return;
    }
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().target, root + expectedTarget);
    QCOMPARE(opened.first().workingFolder, expectedFolder.isEmpty() ? root : root + expectedFolder);
}

TINTARA_TEST_MAIN(TestExeButtonPress)
#include "tst_exebutton_press.moc"
