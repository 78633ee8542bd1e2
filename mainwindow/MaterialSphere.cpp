#include "mainwindow/MaterialSphere.h"

#include <algorithm>
#include <cmath>

namespace tintara {
namespace {

int Byte(float value) {
    return static_cast<int>(Unit(value) * 255.0f + 0.5f);
}

} // namespace

void MaterialSphere::Prepare(int size) {
    if (size == m_size)
        return;
    m_size = size;
    m_pixels.assign(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), Pixel{});
    const auto [lx, ly, lz] = tintara::LightDirection();
    const auto [hx, hy, hz] = HalfDirection();
    const float radius = static_cast<float>(size) / 2.0f;
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const float x = (static_cast<float>(column) + 0.5f - radius) / radius;
            const float y = (radius - static_cast<float>(row) - 0.5f) / radius;
            const float rr = x * x + y * y;
            Pixel& p = m_pixels[static_cast<std::size_t>(row * size + column)];
            if (rr > 1.0f)
                continue;
            const float z = std::sqrt(1.0f - rr);
            p.inside = true;
            p.nDotL = x * lx + y * ly + z * lz;
            p.logHalf = std::log2(std::max(x * hx + y * hy + z * hz, 1e-30f));
        }
    }
}

QImage MaterialSphere::Render(const SphereMaterial& m, int size) {
    Prepare(size);
    QImage image(size, size, QImage::Format_RGB32);
    const ShadingTerms terms = PrepareShading(m);
    const float alpha = terms.alpha;
    for (int row = 0; row < size; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < size; ++column) {
            const Pixel& p = m_pixels[static_cast<std::size_t>(row * size + column)];
            const float checker = ((row / 16 + column / 16) % 2 == 0) ? 0.80f : 0.55f;
            if (!p.inside) {
                const int grey = Byte(checker);
                line[column] = qRgb(grey, grey, grey);
                continue;
            }
            const std::array<float, 3> lit = Shade(terms, p.nDotL, p.logHalf);
            int out[3];
            for (int c = 0; c < 3; ++c)
                out[c] = Byte(alpha * lit[c] + (1.0f - alpha) * checker);
            line[column] = qRgb(out[0], out[1], out[2]);
        }
    }
    return image;
}

} // namespace tintara
