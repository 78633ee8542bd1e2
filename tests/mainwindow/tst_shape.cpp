// TShape: the fill value is kept exactly as given and drawn by its low three bytes;
// a circle leaves the corners to its parent.

#include "testsupport.h"

#include "controls/Shape.h"

#include <QImage>
#include <QSignalSpy>

using namespace tintara;

class ShapeTest : public QObject {
    Q_OBJECT
private slots:
    void fillIsKeptAsGiven_data();
    void fillIsKeptAsGiven();
    void circleLeavesTheCorners();
};

void ShapeTest::fillIsKeptAsGiven_data() {
    QTest::addColumn<qint32>("value");
    QTest::addColumn<QColor>("drawn");
    QTest::newRow("orange") << qint32{33023} << QColor(255, 128, 0);
    QTest::newRow("red 300 carried into green") << qint32{300} << QColor(44, 1, 0);
    QTest::newRow("negative: low three bytes") << qint32{-127} << QColor(0x81, 0xFF, 0xFF);
    QTest::newRow("above three bytes") << qint32{0x010000FF} << QColor(255, 0, 0);
}

void ShapeTest::fillIsKeptAsGiven() {
    QFETCH(qint32, value);
    QFETCH(QColor, drawn);
    TShape shape;
    shape.resize(20, 12);
    QSignalSpy changes(&shape, &TShape::fillColorChanged);
    shape.setFillColor(value);
    QCOMPARE(shape.fillColor(), value);
    QCOMPARE(changes.count(), 1);
    shape.setFillColor(value);
    QCOMPARE(changes.count(), 1);

    const QImage image = shape.grab().toImage();
    QCOMPARE(image.pixelColor(10, 6), drawn);
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black)); // the outline
    QCOMPARE(image.pixelColor(19, 11), QColor(Qt::black));
}

void ShapeTest::circleLeavesTheCorners() {
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::blue);
    parent.setPalette(palette);
    auto* shape = new TShape(&parent);
    shape->setGeometry(0, 0, 17, 17);
    shape->setShapeType(TShape::Circle);
    shape->setFillColor(0x00FF00);
    parent.resize(17, 17);
    const QImage image = parent.grab().toImage();
    QCOMPARE(image.pixelColor(8, 8), QColor(0, 255, 0));
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(16, 16), QColor(Qt::blue));
}

TINTARA_TEST_MAIN(ShapeTest)
#include "tst_shape.moc"
