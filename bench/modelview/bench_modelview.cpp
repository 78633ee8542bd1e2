// Time to draw the model view at 800 x 600: a generated model of 30,000 triangles as
// the camera orbits, the same model after a colour change of one material, and a small
// model (the sample aircraft when its path is given, else a generated one of 1,200
// triangles). The reference, measured in the same run, is Qt's own raster engine
// filling the same projected triangles flat, without a depth buffer or lighting. The
// targets are under 10 ms a frame for the first two and under 2 ms for the small one.
// Times are the process's processor time.
//
//   bench_modelview [model.mdl]

#include "mainwindow/ModelRenderer.h"
#include "material/MaterialScanner.h"
#include "material/ModelWalk.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <numbers>

using namespace tintara;

namespace {

const QSize Size(800, 600);

// A fuselage-like body of revolution along z, in `bands` materials, the last one
// translucent: `rings` x `segments` x 2 triangles.
ModelTriangles Body(int rings, int segments, int bands) {
    ModelTriangles triangles;
    const auto point = [&](int ring, int segment) {
        const float t = static_cast<float>(ring) / static_cast<float>(rings);
        const float angle = 2.0f * std::numbers::pi_v<float> * static_cast<float>(segment) /
                            static_cast<float>(segments);
        const float radius = 1.5f * std::sin(std::numbers::pi_v<float> * t) + 0.05f;
        ModelPoint p{radius * std::cos(angle), radius * std::sin(angle), 12.0f * t - 6.0f};
        ModelPoint n{std::cos(angle), std::sin(angle), 0.0f};
        return std::pair{p, n};
    };
    for (int ring = 0; ring < rings; ++ring)
        for (int segment = 0; segment < segments; ++segment) {
            const auto [a, na] = point(ring, segment);
            const auto [b, nb] = point(ring + 1, segment);
            const auto [c, nc] = point(ring + 1, segment + 1);
            const auto [d, nd] = point(ring, segment + 1);
            const int material = ring * bands / rings;
            triangles.push_back({{a, b, c}, {na, nb, nc}, material, -1, 0});
            triangles.push_back({{a, c, d}, {na, nc, nd}, material, -1, 0});
        }
    return triangles;
}

std::vector<SphereMaterial> Materials(int count) {
    std::vector<SphereMaterial> materials(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const float shade = 0.3f + 0.1f * static_cast<float>(i);
        materials[static_cast<std::size_t>(i)].colours = {
            {{shade, 0.5f, 1.0f - shade, i == count - 1 ? 0.5f : 1.0f},
             {0.2f, 0.2f, 0.2f, 1},
             {0.6f, 0.6f, 0.6f, 1},
             {0, 0, 0, 1}}};
        materials[static_cast<std::size_t>(i)].power = 20.0f;
    }
    return materials;
}

// Processor time, so that other work on a shared machine does not count.
template <class Draw> double MillisecondsPerFrame(Draw&& draw, int frames) {
    const std::clock_t start = std::clock();
    for (int i = 0; i < frames; ++i)
        draw(i);
    return 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC / frames;
}

// Qt's raster engine filling every projected triangle flat, nearest last unsorted.
double Reference(ModelRenderer& renderer, int frames, unsigned& sink) {
    QImage image(Size, QImage::Format_RGB32);
    const float focal = ModelCamera::Focal(Size.height());
    return MillisecondsPerFrame(
        [&](int i) {
            renderer.MoveCamera([](ModelCamera& camera) { camera.Orbit(0.01f, 0.0f); });
            image.fill(Qt::black);
            QPainter painter(&image);
            painter.setPen(Qt::NoPen);
            const ModelCamera& camera = renderer.Camera();
            QPolygonF polygon(3);
            for (const ModelTriangle& t : renderer.Triangles()) {
                for (int k = 0; k < 3; ++k) {
                    const ModelPoint& p = t.position[static_cast<std::size_t>(k)];
                    const Vec3 c = camera.ToCamera({p.x, p.y, p.z});
                    polygon[k] =
                        QPointF(400.0 + focal * c[0] / -c[2], 300.0 - focal * c[1] / -c[2]);
                }
                painter.setBrush(
                    QColor::fromRgb(static_cast<QRgb>(0xFF000000u | (t.material * 40000 + i))));
                painter.drawPolygon(polygon);
            }
            painter.end();
            sink += image.pixel(400, 300);
        },
        frames);
}

void Report(const char* what, double ours, double target) {
    std::printf("  %-44s %7.3f ms a frame (target under %.0f ms)\n", what, ours, target);
}

} // namespace

int main(int argc, char** argv) {
    unsigned sink = 0;
    const int frames = 60;

    ModelRenderer big;
    big.SetSize(Size);
    std::vector<SphereMaterial> materials = Materials(6);
    big.SetMaterials(materials);
    big.SetTriangles(Body(150, 100, 6));
    big.Render();
    const double orbit = MillisecondsPerFrame(
        [&](int) {
            big.MoveCamera([](ModelCamera& camera) { camera.Orbit(0.01f, 0.002f); });
            sink += big.Render().pixel(400, 300);
        },
        frames);
    const double colour = MillisecondsPerFrame(
        [&](int i) {
            materials[2].colours[0][1] = (i % 2 == 0) ? 1.0f : 0.2f;
            big.SetMaterials(materials);
            sink += big.Render().pixel(400, 300);
        },
        frames);
    const double reference = Reference(big, frames, sink);

    ModelRenderer small;
    small.SetSize(Size);
    const char* sample = "generated, 1,200 triangles";
    if (argc > 1) {
        MaterialTable table;
        const ScanResult scan = ScanMaterialFile(argv[1], table);
        const ModelWalk walk = WalkModelFile(argv[1], table);
        if (scan.status != ScanStatus::Ok || !walk.walked) {
            std::fprintf(stderr, "%s: %s\n", argv[1],
                         walk.walked ? scan.message.c_str() : walk.problem.c_str());
            return 1;
        }
        ModelTriangles level0;
        for (const ModelTriangle& t : walk.triangles)
            if (t.detail == 0)
                level0.push_back(t);
        small.SetMaterials(Materials(static_cast<int>(table.count())));
        small.SetTriangles(std::move(level0));
        sample = argv[1];
    } else {
        small.SetMaterials(Materials(4));
        small.SetTriangles(Body(30, 20, 4));
    }
    small.Render();
    const std::size_t smallTriangles = small.Triangles().size();
    const double smallOrbit = MillisecondsPerFrame(
        [&](int) {
            small.MoveCamera([](ModelCamera& camera) { camera.Orbit(0.01f, 0.002f); });
            sink += small.Render().pixel(400, 300);
        },
        frames);

    std::printf("model view, %d x %d, %d frames each\n", Size.width(), Size.height(), frames);
    Report("30,000 triangles, camera moving:", orbit, 10);
    Report("30,000 triangles, one material's colour:", colour, 10);
    std::printf("  small model (%s, %zu triangles):\n", sample, smallTriangles);
    Report("  camera moving:", smallOrbit, 2);
    std::printf("  reference: Qt raster engine, 30,000 flat triangles, no depth: %.3f ms a frame\n",
                reference);
    std::printf("  reference / renderer (camera moving): %.2fx   (checksum %u)\n",
                reference / orbit, sink);
    return 0;
}
