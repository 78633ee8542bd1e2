// The model view's renderer on its own: what a click picks, and where a colour shows.

#include "mainwindow/ModelRenderer.h"
#include "testsupport.h"

#include <cmath>

using namespace tintara;

class ModelRendererTest : public QObject {
    Q_OBJECT
private slots:
    void picksTheNearestMaterialAtItsCentre_data();
    void picksTheNearestMaterialAtItsCentre();
    void greenShowsExactlyWhereItsMaterialProjects();
};

namespace {

const QSize Size(200, 150);

// A triangle facing +z around (x, y, z), `size` across.
ModelTriangle Facing(float x, float y, float z, float size, int material) {
    ModelTriangle t;
    t.position = {{{x - size, y - size, z}, {x + size, y - size, z}, {x, y + size, z}}};
    t.normal = {{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}};
    t.material = material;
    return t;
}

SphereMaterial Plain(float r, float g, float b, float alpha = 1.0f) {
    SphereMaterial m;
    m.colours = {{{r, g, b, alpha}, {r, g, b, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}}};
    return m;
}

// Where a model point lands on the screen, worked out from the camera alone.
QPoint Projected(const ModelRenderer& renderer, ModelPoint p) {
    const Vec3 c = renderer.Camera().ToCamera({-p.x, p.y, p.z}); // x mirrored on the way in
    const float focal = ModelCamera::Focal(Size.height());
    const float halfWidth = static_cast<float>(Size.width()) / 2.0f;
    const float halfHeight = static_cast<float>(Size.height()) / 2.0f;
    return QPoint(static_cast<int>(std::floor(halfWidth + focal * c[0] / -c[2])),
                  static_cast<int>(std::floor(halfHeight - focal * c[1] / -c[2])));
}

ModelPoint Centre(const ModelTriangle& t) {
    return {(t.position[0].x + t.position[1].x + t.position[2].x) / 3,
            (t.position[0].y + t.position[1].y + t.position[2].y) / 3,
            (t.position[0].z + t.position[1].z + t.position[2].z) / 3};
}

} // namespace

using Triangles = ModelTriangles;

void ModelRendererTest::picksTheNearestMaterialAtItsCentre_data() {
    QTest::addColumn<Triangles>("triangles");
    QTest::addColumn<int>("probed"); // the triangle whose centre is clicked
    QTest::addColumn<int>("picked");
    // Two apart: each picks its own.
    const Triangles apart{Facing(-2, 0, 0, 1, 0), Facing(2, 0, 0, 1, 1)};
    QTest::newRow("left one") << apart << 0 << 0;
    QTest::newRow("right one") << apart << 1 << 1;
    // A small one in front of a large one (nearer the camera), in either drawing order.
    const Triangles stacked{Facing(0, 0, 2, 1, 2), Facing(0, 0, -0.5f, 6, 1)};
    QTest::newRow("nearer drawn first") << stacked << 0 << 2;
    QTest::newRow("nearer drawn last") << Triangles{stacked[1], stacked[0]} << 1 << 2;
    // A translucent part in front is picked, not what shows through it.
    QTest::newRow("translucent in front")
        << Triangles{Facing(0, 0, 2, 1, 3), Facing(0, 0, -0.5f, 6, 1)} << 0 << 3;
    QTest::newRow("grey is not picked") << Triangles{Facing(0, 0, 0, 1, -1)} << 0 << -1;
    QTest::newRow("past the table is grey") << Triangles{Facing(0, 0, 0, 1, 9)} << 0 << -1;
}

void ModelRendererTest::picksTheNearestMaterialAtItsCentre() {
    QFETCH(Triangles, triangles);
    QFETCH(int, probed);
    QFETCH(int, picked);
    ModelRenderer renderer;
    renderer.SetSize(Size);
    renderer.SetMaterials({Plain(1, 0, 0), Plain(0, 0, 1), Plain(1, 1, 0), Plain(0, 1, 1, 0.5f)});
    renderer.SetTriangles(triangles);
    const QImage& image = renderer.Render();
    QCOMPARE(image.size(), Size);
    const QPoint at = Projected(renderer, Centre(triangles[static_cast<std::size_t>(probed)]));
    QVERIFY(QRect(QPoint(), Size).contains(at));
    QCOMPARE(renderer.MaterialAt(at), picked);
    // The framing view leaves the corners to the background, which picks nothing.
    for (const QPoint corner : {QPoint(0, 0), QPoint(Size.width() - 1, Size.height() - 1)})
        QCOMPARE(renderer.MaterialAt(corner), ModelRenderer::NoMaterial);
    QCOMPARE(renderer.MaterialAt(QPoint(-1, 0)), ModelRenderer::NoMaterial);
}

// Only a change of colour (no new projection): green exactly where material 1 is picked,
// nowhere else; set back, the first picture returns pixel for pixel.
void ModelRendererTest::greenShowsExactlyWhereItsMaterialProjects() {
    ModelRenderer renderer;
    renderer.SetSize(Size);
    const std::vector<SphereMaterial> before{Plain(0.8f, 0.2f, 0.2f), Plain(0.6f, 0.6f, 0.6f),
                                             Plain(0.2f, 0.3f, 0.9f, 0.5f)};
    renderer.SetMaterials(before);
    renderer.SetTriangles({Facing(-1, 0, 0, 1.5f, 0), Facing(1, 0, -0.5f, 1.5f, 1),
                           Facing(-3, -1.5f, 1, 0.8f, 2), Facing(0, 1.5f, 0, 0.5f, -1)});
    renderer.SetSelected({false, true, false});
    const QImage original = renderer.Render().copy();
    std::vector<SphereMaterial> green = before;
    green[1] = Plain(0, 1, 0);
    renderer.SetMaterials(green);
    const QImage& image = renderer.Render();
    int greenPixels = 0;
    for (int y = 0; y < Size.height(); ++y)
        for (int x = 0; x < Size.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const bool isGreen = qGreen(p) > 2 * std::max(qRed(p), qBlue(p));
            const bool isMaterial = renderer.MaterialAt({x, y}) == 1;
            QVERIFY2(isGreen == isMaterial, qPrintable(QStringLiteral("at %1,%2").arg(x).arg(y)));
            greenPixels += isGreen ? 1 : 0;
        }
    QVERIFY(greenPixels > 100);
    renderer.SetMaterials(before);
    QCOMPARE(renderer.Render(), original);
}

TINTARA_TEST_MAIN(ModelRendererTest)
#include "tst_modelrenderer.moc"
