#include "controls/ExeButtn.h"
#include "framework/Shell.h"

#include "ButtonTestUtils.h"
#include "testsupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

using tintara::TExeButton;
using tintara::shell::OpenRequest;
using tintara::shell::ScopedOpener;
using tintara::test::PaintWatcher;
using tintara::test::PixelAt;

namespace {

constexpr QRgb Back = 0x00C000;  // Color
constexpr QRgb Light = 0xFF0000; // palette Midlight
constexpr QRgb Dark = 0x0000FF;  // palette Shadow

std::unique_ptr<TExeButton> MakeButton(bool show = true) {
    auto button = std::make_unique<TExeButton>();
    QPalette palette = button->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(Back));
    palette.setColor(QPalette::Midlight, QColor::fromRgb(Light));
    palette.setColor(QPalette::Shadow, QColor::fromRgb(Dark));
    button->setPalette(palette);
    button->resize(60, 30);
    if (show) {
        button->move(300, 300); // away from the pointer
        button->show();
        if (!QTest::qWaitForWindowExposed(button.get()))
            qWarning("button window not exposed");
    }
    return button;
}

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

class TestExeButton : public QObject {
    Q_OBJECT

private slots:
    void autoLayout_data();
    void autoLayout();
    void fileName_data();
    void fileName();
    void fileNameKeepsLaterCaption();
    void shortenLabel_data();
    void shortenLabel();
    void visibleLabelFitsAutoSize();
    void frame_data();
    void frame();
    void release_data();
    void release();
    void latchToggles();
    void repaints();
    void shortcut_data();
    void shortcut();
};

void TestExeButton::autoLayout_data() {
    QTest::addColumn<bool>("large");
    QTest::addColumn<bool>("icon");
    QTest::addColumn<bool>("label");
    QTest::addColumn<QSize>("size");

    QTest::newRow("large icon and label") << true << true << true << QSize(104, 40);
    QTest::newRow("large icon only") << true << true << false << QSize(40, 40);
    QTest::newRow("large label only") << true << false << true << QSize(72, 40);
    QTest::newRow("large neither") << true << false << false << QSize(40, 40);
    QTest::newRow("small icon and label") << false << true << true << QSize(88, 24);
    QTest::newRow("small icon only") << false << true << false << QSize(24, 24);
    QTest::newRow("small label only") << false << false << true << QSize(72, 24);
    QTest::newRow("small neither") << false << false << false << QSize(24, 24);
}

void TestExeButton::autoLayout() {
    QFETCH(bool, large);
    QFETCH(bool, icon);
    QFETCH(bool, label);
    QFETCH(QSize, size);

    auto button = MakeButton(false);
    button->SetShowIcon(icon);
    button->SetShowLabel(label);
    button->SetLargeIcon(large);
    QCOMPARE(button->size(), QSize(60, 30)); // no automatic size yet
    QCOMPARE(button->IconSize(), large ? 32 : 16);
    button->SetAuto(true);
    QCOMPARE(button->size(), size);
}

void TestExeButton::fileName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ext");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("caption");

    QTest::newRow("program") << "C:\\Tools\\Viewer.exe"
                             << ".EXE"
                             << "C:\\Tools\\"
                             << "Viewer";
    QTest::newRow("no extension") << "C:\\Tools\\README"
                                  << ""
                                  << "C:\\Tools\\"
                                  << "README";
    QTest::newRow("dot in folder only") << "C:\\my.dir\\notes"
                                        << ""
                                        << "C:\\my.dir\\"
                                        << "notes";
    QTest::newRow("drive relative") << "C:name.txt"
                                    << ".TXT"
                                    << "C:"
                                    << "name";
    QTest::newRow("two dots") << "D:\\a.tar.gz"
                              << ".GZ"
                              << "D:\\"
                              << "a.tar";
    QTest::newRow("mixed case shortcut") << "D:\\Links\\Editor.Lnk"
                                         << ".LNK"
                                         << "D:\\Links\\"
                                         << "Editor";
    QTest::newRow("posix folders") << "/usr/local/bin/run.sh"
                                   << ".SH"
                                   << "/usr/local/bin/"
                                   << "run";
    QTest::newRow("bare name") << "Setup.Bat"
                               << ".BAT"
                               << ""
                               << "Setup";
    QTest::newRow("only an extension") << "C:\\.profile"
                                       << ".PROFILE"
                                       << "C:\\"
                                       << "";
}

void TestExeButton::fileName() {
    QFETCH(QString, name);
    QFETCH(QString, ext);
    QFETCH(QString, path);
    QFETCH(QString, caption);

    auto button = MakeButton(false);
    button->SetAuto(true);
    button->SetShowLabel(false);
    button->resize(10, 10);
    button->SetFileName(name);

    QCOMPARE(button->FileName(), name);
    QCOMPARE(button->FileExt(), ext);
    QCOMPARE(button->FilePath(), path);
    QCOMPARE(button->Caption(), caption);
    QVERIFY(button->Icon().isNull()); // no such file here, so no icon
    QCOMPARE(button->size(), QSize(40, 40));
}

void TestExeButton::fileNameKeepsLaterCaption() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("notes.txt"));
    QVERIFY(tintara::test::TouchFile(name));

    auto button = MakeButton(false);
    button->SetFileName(name);
    QCOMPARE(button->Caption(), QStringLiteral("notes"));
    button->SetCaption(QStringLiteral("My notes"));
    // Writing the same name again changes nothing, so the caption stays.
    button->SetFileName(name);
    QCOMPARE(button->Caption(), QStringLiteral("My notes"));
}

void TestExeButton::shortenLabel_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("available");
    QTest::addColumn<QString>("expected");

    // Widths in characters.
    QTest::newRow("fits") << "ABCDEF" << 0 << 6 << "ABCDEF";
    QTest::newRow("one short") << "ABCDEF" << 0 << 5 << "ABC..";
    QTest::newRow("two short") << "ABCDEF" << 0 << 4 << "ABC.";
    QTest::newRow("three short") << "ABCDEF" << 0 << 3 << "ABC";
    QTest::newRow("two left") << "ABCDEF" << 0 << 2 << "AB";
    QTest::newRow("one left") << "ABCDEF" << 0 << 1 << "A";
    QTest::newRow("nothing fits") << "ABCDEF" << 0 << 0 << "";
    QTest::newRow("negative room") << "ABCDEF" << 0 << -5 << "";
    QTest::newRow("long name ends in two dots") << "ABCDEFGHIJ" << 0 << 8 << "ABCDEF..";
    QTest::newRow("offset counts") << "ABCDEF" << 2 << 6 << "ABC.";
    QTest::newRow("four letters get no dots") << "ABCDE" << 0 << 4 << "ABCD";
}

void TestExeButton::shortenLabel() {
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(int, available);
    QFETCH(QString, expected);

    const auto width = [](const QString& s) { return static_cast<int>(s.size()); };
    QCOMPARE(TExeButton::ShortenLabel(text, offset, available, width), expected);
}

void TestExeButton::visibleLabelFitsAutoSize() {
    auto button = MakeButton(false);
    button->SetAuto(true);
    button->SetCaption(QStringLiteral("Short"));
    QCOMPARE(button->size(), QSize(104, 40));
    QCOMPARE(button->VisibleLabel(), QStringLiteral("Short"));

    button->SetCaption(QStringLiteral("A rather long program title"));
    const QString label = button->VisibleLabel();
    QVERIFY2(label.endsWith(QLatin1String("..")), qPrintable(label));
    QVERIFY(QFontMetrics(button->font()).horizontalAdvance(label) <= 64);
    QVERIFY(QStringLiteral("A rather long program title").startsWith(label.chopped(2)));

    button->SetShowLabel(false);
    QVERIFY(button->VisibleLabel().isEmpty());
}

void TestExeButton::frame_data() {
    QTest::addColumn<bool>("border");
    QTest::addColumn<bool>("down");
    QTest::addColumn<QString>("expected");

    QTest::newRow("raised") << true << false << "LLDD";
    QTest::newRow("sunken") << true << true << "DDLL";
    QTest::newRow("sunken without border") << false << true << "DDLL";
    QTest::newRow("no frame") << false << false << "BBBB";
}

void TestExeButton::frame() {
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

void TestExeButton::release_data() {
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

void TestExeButton::release() {
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

void TestExeButton::latchToggles() {
    auto button = MakeButton();
    button->SetLatch(true);
    const QPoint at(10, 10);
    QTest::mouseClick(button.get(), Qt::LeftButton, {}, at);
    QVERIFY(button->Down());
    QCOMPARE(FrameCode(button->grab().toImage()), QStringLiteral("DDLL"));
    QTest::mouseClick(button.get(), Qt::LeftButton, {}, at);
    QVERIFY(!button->Down());
}

void TestExeButton::repaints() {
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

void TestExeButton::shortcut_data() {
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

void TestExeButton::shortcut() {
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

TINTARA_TEST_MAIN(TestExeButton)
#include "tst_exebutton.moc"
