// The shape of a picture: runs of non-key pixels, and the one-step region against the
// region united one run at a time.

#include "controls/bmshapedform_region.h"
#include "testsupport.h"

#include <QRandomGenerator>

using namespace tintara;

namespace {

// A picture from text lines: '.' is white, '#' black, 'r' red, 'w' white with a
// different fourth byte.
QImage Picture(const QStringList& lines) {
    const int height = static_cast<int>(lines.size());
    const int width = height > 0 ? static_cast<int>(lines.first().size()) : 0;
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QChar c = lines[y][x];
            QRgb pixel = qRgb(255, 255, 255);
            if (c == u'#')
                pixel = qRgb(0, 0, 0);
            else if (c == u'r')
                pixel = qRgb(255, 0, 0);
            else if (c == u'w')
                pixel = qRgba(255, 255, 255, 7);
            image.setPixel(x, y, pixel);
        }
    }
    return image;
}

// Every pixel whose colour differs from the bottom-left one, as a region.
QRegion PixelsUnlikeKey(const QImage& image) {
    QRegion region;
    const QRgb key = image.pixel(0, image.height() - 1) & 0xFFFFFFu;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) != key)
                region += QRect(x, y, 1, 1);
    return region;
}

} // namespace

class TestShapeRegion : public QObject {
    Q_OBJECT

private slots:
    void runs_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("expectedRuns"); // "x0-x1@y" separated by spaces

        QTest::newRow("run reaching the right edge") << QStringList{"..###", "....."} << "2-4@0";
        QTest::newRow("single pixel at the end of a line")
            << QStringList{"....#", "....."} << "4-4@0";
        QTest::newRow("single pixel at the start of a line")
            << QStringList{"#....", "....."} << "0-0@0";
        QTest::newRow("whole line") << QStringList{"#####", "....."} << "0-4@0";
        QTest::newRow("two runs on one line") << QStringList{"##.r#", "....."} << "0-1@0 3-4@0";
        QTest::newRow("colour change inside a run") << QStringList{".#r#.", "....."} << "1-3@0";
        QTest::newRow("fourth byte ignored") << QStringList{"w#w", "..."} << "1-1@0";
        QTest::newRow("dark key colour") << QStringList{"#..#", "#..#"} << "1-2@0 1-2@1";
        QTest::newRow("all key colour") << QStringList{"...", "..."} << "";
        QTest::newRow("single key pixel") << QStringList{"."} << "";
    }
    void runs() {
        QFETCH(QStringList, lines);
        QFETCH(QString, expectedRuns);
        QStringList found;
        ForEachShapeRun(Picture(lines), [&found](int x0, int x1, int y) {
            found << QStringLiteral("%1-%2@%3").arg(x0).arg(x1).arg(y);
        });
        QCOMPARE(found.join(u' '), expectedRuns);
    }

    void emptyPictureHasNoRuns() {
        int count = 0;
        ForEachShapeRun(QImage(), [&count](int, int, int) { ++count; });
        QCOMPARE(count, 0);
        QVERIFY(RegionOneStep(QImage()).isEmpty());
    }

    void regions_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("rectangles"); // after merging equal touching lines

        QTest::newRow("filled block") << QStringList{"###.", "###.", "###.", "...."} << 1;
        QTest::newRow("ring") << QStringList{"####", "#..#", "#..#", "####", "...."} << 4;
        QTest::newRow("checkerboard") << QStringList{"#.#.", ".#.#", "#.#.", ".#.#"} << 8;
        QTest::newRow("block split by a key line")
            << QStringList{"##..", "....", "##..", "...."} << 2;
        QTest::newRow("all key colour") << QStringList{"..", ".."} << 0;
    }
    void regions() {
        QFETCH(QStringList, lines);
        QFETCH(int, rectangles);
        const QImage image = Picture(lines);
        const QRegion oneStep = RegionOneStep(image);
        QVERIFY(SameCoverage(oneStep, PixelsUnlikeKey(image)));
        QVERIFY(SameCoverage(oneStep, RegionRunByRun(image)));
        QCOMPARE(oneStep.rectCount(), rectangles);
    }

    // Random pictures with few colours: both builds cover exactly the pixels unlike
    // the key, whatever the pattern of bands.
    void randomPicturesMatch() {
        QRandomGenerator random(20261208);
        for (int round = 0; round < 200; ++round) {
            const int width = 1 + random.bounded(24);
            const int height = 1 + random.bounded(24);
            QImage image(width, height, QImage::Format_RGB32);
            const QRgb colours[] = {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(0, 128, 0)};
            const int keyShare = random.bounded(1, 4);
            for (int y = 0; y < height; ++y) {
                // Repeat the line above now and then, so equal lines meet.
                if (y > 0 && random.bounded(3) == 0) {
                    std::copy_n(image.constScanLine(y - 1), width * 4, image.scanLine(y));
                    continue;
                }
                for (int x = 0; x < width; ++x)
                    image.setPixel(x, y,
                                   random.bounded(4) < keyShare ? colours[0]
                                                                : colours[1 + random.bounded(2)]);
            }
            const QRegion expected = PixelsUnlikeKey(image);
            QVERIFY2(SameCoverage(RegionOneStep(image), expected),
                     qPrintable(QString::number(round)));
            QVERIFY2(SameCoverage(RegionRunByRun(image), expected),
                     qPrintable(QString::number(round)));
        }
    }
};

TINTARA_TEST_MAIN(TestShapeRegion)
#include "tst_shaperegion.moc"
