// The lit sphere of the preview: each term of the lighting where it should show.

#include "mainwindow/MaterialSphere.h"
#include "testsupport.h"

using namespace tintara;

class MaterialSphereTest : public QObject {
    Q_OBJECT
private slots:
    void terms_data();
    void terms();
};

namespace {
using Colour = std::array<float, 4>;
constexpr int Size = 64;
// Inside the sphere: towards the light (upper left), and away from it (lower right).
const QPoint Lit(22, 20);
const QPoint Dark(50, 50);
} // namespace

void MaterialSphereTest::terms_data() {
    QTest::addColumn<Colour>("diffuse");
    QTest::addColumn<Colour>("ambient");
    QTest::addColumn<Colour>("specular");
    QTest::addColumn<Colour>("emissive");
    QTest::addColumn<float>("power");
    QTest::addColumn<QRgb>("lit");  // expected at Lit, or 0 to only compare with Dark
    QTest::addColumn<QRgb>("dark"); // expected at Dark
    const Colour none{0, 0, 0, 1};
    QTest::newRow("emissive everywhere")
        << none << none << none << Colour{0.5f, 0.25f, 0, 1} << 10.0f << qRgb(128, 64, 0)
        << qRgb(128, 64, 0);
    QTest::newRow("ambient by the scene's grey")
        << none << Colour{1, 1, 1, 1} << none << none << 10.0f << qRgb(51, 51, 51)
        << qRgb(51, 51, 51);
    QTest::newRow("diffuse only where lit") << Colour{1, 1, 1, 1} << none << none << none
                                            << 10.0f << QRgb(0) << qRgb(0, 0, 0);
    QTest::newRow("power 0: flat specular on the lit side")
        << none << none << Colour{0, 1, 0, 1} << none << 0.0f << qRgb(0, 255, 0) << qRgb(0, 0, 0);
    QTest::newRow("transparent shows the checkerboard")
        << Colour{1, 0, 0, 0} << none << none << none << 10.0f << qRgb(204, 204, 204)
        << qRgb(204, 204, 204);
}

void MaterialSphereTest::terms() {
    QFETCH(Colour, diffuse);
    QFETCH(Colour, ambient);
    QFETCH(Colour, specular);
    QFETCH(Colour, emissive);
    QFETCH(float, power);
    QFETCH(QRgb, lit);
    QFETCH(QRgb, dark);
    MaterialSphere sphere;
    const QImage image = sphere.Render({{diffuse, ambient, specular, emissive}, power}, Size);
    QCOMPARE(image.size(), QSize(Size, Size));
    QCOMPARE(image.pixel(Dark) & 0xFFFFFF, dark & 0xFFFFFF);
    if (lit != 0)
        QCOMPARE(image.pixel(Lit) & 0xFFFFFF, lit & 0xFFFFFF);
    else
        QVERIFY(qGray(image.pixel(Lit)) > 150); // brightly lit, unlike the dark side
    // Outside the sphere: the checkerboard.
    QCOMPARE(qGray(image.pixel(0, 0)), 204);
}

TINTARA_TEST_MAIN(MaterialSphereTest)
#include "tst_materialsphere.moc"
