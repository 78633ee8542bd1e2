// The lit sphere of the preview: each term of the lighting where it should show.

#include "mainwindow/MaterialSphere.h"
#include "testsupport.h"

#include <algorithm>
#include <cmath>

using namespace tintara;

class MaterialSphereTest : public QObject {
    Q_OBJECT
private slots:
    void terms_data();
    void terms();
    void highlightAndRimFollowTheFormula();
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
    QTest::newRow("emissive everywhere") << none << none << none << Colour{0.5f, 0.25f, 0, 1}
                                         << 10.0f << qRgb(128, 64, 0) << qRgb(128, 64, 0);
    QTest::newRow("ambient by the scene's grey") << none << Colour{1, 1, 1, 1} << none << none
                                                 << 10.0f << qRgb(51, 51, 51) << qRgb(51, 51, 51);
    QTest::newRow("diffuse only where lit")
        << Colour{1, 1, 1, 1} << none << none << none << 10.0f << QRgb(0) << qRgb(0, 0, 0);
    QTest::newRow("power 0: flat specular on the lit side")
        << none << none << Colour{0, 1, 0, 1} << none << 0.0f << qRgb(0, 255, 0) << qRgb(0, 0, 0);
    // The field takes down to -1000: the shading counts it as 0, never 0 x infinity.
    QTest::newRow("negative power shades as power 0")
        << none << none << Colour{0, 1, 0, 1} << none << -1000.0f << qRgb(0, 255, 0)
        << qRgb(0, 0, 0);
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

// At the highlight (N = H) and at the lit rim, the pixel is the lighting equation
// worked out here independently, to within rounding.
void MaterialSphereTest::highlightAndRimFollowTheFormula() {
    const Colour diffuse{0.5f, 0.3f, 0.1f, 1}, ambient{0.2f, 0.4f, 0.6f, 1};
    const Colour specular{0.4f, 0.4f, 0.4f, 1}, emissive{0.05f, 0, 0.1f, 1};
    const float power = 12;
    const int size = 200;
    MaterialSphere sphere;
    const QImage image = sphere.Render({{diffuse, ambient, specular, emissive}, power}, size);
    const auto [lx, ly, lz] = MaterialSphere::LightDirection();
    const double hl = std::sqrt(lx * lx + ly * ly + (lz + 1.0) * (lz + 1.0));
    const double hx = lx / hl, hy = ly / hl, hz = (lz + 1.0) / hl;
    const double r = size / 2.0;
    const auto expected = [&](int column, int row) {
        const double x = (column + 0.5 - r) / r, y = (r - row - 0.5) / r;
        const double z = std::sqrt(std::max(0.0, 1 - x * x - y * y));
        const double nl = x * lx + y * ly + z * lz;
        const double nh = x * hx + y * hy + z * hz;
        const double shine = nl > 0 ? std::pow(std::max(0.0, nh), power) : 0.0;
        int out[3];
        for (int c = 0; c < 3; ++c) {
            const double v = emissive[c] + ambient[c] * 0.2 + diffuse[c] * std::max(0.0, nl) +
                             specular[c] * shine;
            out[c] = int(std::clamp(v, 0.0, 1.0) * 255 + 0.5);
        }
        return qRgb(out[0], out[1], out[2]);
    };
    const QPoint highlight(int(hx * r + r), int(r - hy * r));
    const QPoint rim(int(r * 0.06), int(r)); // the left edge, lit from the left
    for (const QPoint at : {highlight, rim}) {
        const QRgb got = image.pixel(at), want = expected(at.x(), at.y());
        QVERIFY2(std::abs(qRed(got) - qRed(want)) <= 1 &&
                     std::abs(qGreen(got) - qGreen(want)) <= 1 &&
                     std::abs(qBlue(got) - qBlue(want)) <= 1,
                 qPrintable(QStringLiteral("at %1,%2: %3 for %4")
                                .arg(at.x())
                                .arg(at.y())
                                .arg(got, 0, 16)
                                .arg(want, 0, 16)));
    }
    QVERIFY(qRed(image.pixel(highlight)) > qRed(image.pixel(rim))); // the highlight shines
}

TINTARA_TEST_MAIN(MaterialSphereTest)
#include "tst_materialsphere.moc"
