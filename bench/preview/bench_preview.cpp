// Time to render the lit preview's 256 x 256 sphere, against a straightforward
// reference that works out the geometry and calls pow for every pixel, measured in the
// same run. The target is under 5 ms a frame.

#include "mainwindow/MaterialSphere.h"

#include <QColor>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

using namespace tintara;

namespace {

QImage Reference(const SphereMaterial& m, int size) {
    QImage image(size, size, QImage::Format_RGB32);
    const float lx = -0.45f, ly = 0.55f, lz = 0.70f;
    const float ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    const float hx = lx / ll, hy = ly / ll, hz = lz / ll + 1.0f;
    const float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    const float r = static_cast<float>(size) / 2.0f;
    for (int row = 0; row < size; ++row)
        for (int column = 0; column < size; ++column) {
            const float x = (static_cast<float>(column) + 0.5f - r) / r;
            const float y = (r - static_cast<float>(row) - 0.5f) / r;
            const float rr = x * x + y * y;
            if (rr > 1.0f) {
                image.setPixel(column, row, qRgb(200, 200, 200));
                continue;
            }
            const float z = std::sqrt(1.0f - rr);
            const float nl = (x * lx + y * ly + z * lz) / ll;
            const float nh = std::max(0.0f, (x * hx + y * hy + z * hz) / hl);
            const float shine = nl > 0 ? std::pow(nh, m.power) : 0.0f;
            int out[3];
            for (int c = 0; c < 3; ++c)
                out[c] =
                    static_cast<int>(255 * std::clamp(m.colours[3][c] + m.colours[1][c] * 0.2f +
                                                          m.colours[0][c] * std::max(0.0f, nl) +
                                                          m.colours[2][c] * shine,
                                                      0.0f, 1.0f));
            image.setPixel(column, row, qRgb(out[0], out[1], out[2]));
        }
    return image;
}

template <class Render> double MillisecondsPerFrame(Render&& render, int frames) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i)
        render(i);
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / frames;
}

} // namespace

int main() {
    SphereMaterial material;
    material.colours = {
        {{0.8f, 0.3f, 0.2f, 0.9f}, {0.2f, 0.2f, 0.2f, 1}, {1, 1, 1, 1}, {0, 0, 0, 1}}};
    MaterialSphere sphere;
    unsigned sink = 0;
    const int frames = 200;
    const double ours = MillisecondsPerFrame(
        [&](int i) {
            material.power = 5.0f + static_cast<float>(i % 50);
            sink += sphere.Render(material, 256).pixel(128, 128);
        },
        frames);
    const double reference = MillisecondsPerFrame(
        [&](int i) {
            material.power = 5.0f + static_cast<float>(i % 50);
            sink += Reference(material, 256).pixel(128, 128);
        },
        frames);
    std::printf("lit preview, 256 x 256, %d frames\n", frames);
    std::printf("  MaterialSphere: %.3f ms a frame (target under 5 ms)\n", ours);
    std::printf("  reference (pow per pixel): %.3f ms a frame\n", reference);
    std::printf("  reference / MaterialSphere: %.2fx   (checksum %u)\n", reference / ours, sink);
    return 0;
}
