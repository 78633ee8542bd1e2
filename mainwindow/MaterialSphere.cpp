#include "mainwindow/MaterialSphere.h"

#include <algorithm>
#include <cmath>

namespace tintara {
namespace {

struct Vector {
    float x, y, z;
};

Vector Normalised(Vector v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / length, v.y / length, v.z / length};
}

float Dot(Vector a, Vector b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The light comes from the upper left, in front; the viewer looks along -z.
const Vector Light = Normalised({-0.45f, 0.55f, 0.70f});
const Vector Half = Normalised({Light.x, Light.y, Light.z + 1.0f});

int Byte(float value) {
    return static_cast<int>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

} // namespace

std::array<float, 3> MaterialSphere::LightDirection() {
    return {Light.x, Light.y, Light.z};
}

void MaterialSphere::Prepare(int size) {
    if (size == m_size)
        return;
    m_size = size;
    m_pixels.assign(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), Pixel{});
    const float radius = static_cast<float>(size) / 2.0f;
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const float x = (static_cast<float>(column) + 0.5f - radius) / radius;
            const float y = (radius - static_cast<float>(row) - 0.5f) / radius;
            const float rr = x * x + y * y;
            Pixel& p = m_pixels[static_cast<std::size_t>(row * size + column)];
            if (rr > 1.0f)
                continue;
            const Vector normal{x, y, std::sqrt(1.0f - rr)};
            const float nl = Dot(normal, Light);
            p.inside = true;
            p.lit = nl > 0.0f;
            p.diffuse = std::max(0.0f, nl);
            const float nh = std::max(Dot(normal, Half), 1e-30f);
            p.logHalf = std::log2(nh);
        }
    }
}

QImage MaterialSphere::Render(const SphereMaterial& m, int size) {
    Prepare(size);
    QImage image(size, size, QImage::Format_RGB32);
    const auto& [diffuse, ambient, specular, emissive] = m.colours;
    const float alpha = std::clamp(diffuse[3], 0.0f, 1.0f);
    // What does not depend on the pixel, per channel.
    std::array<float, 3> base{};
    for (int c = 0; c < 3; ++c)
        base[c] = emissive[c] + ambient[c] * SceneAmbient;
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
            float shine = 0.0f;
            if (p.lit)
                shine = m.power == 0.0f ? 1.0f : std::exp2(m.power * p.logHalf);
            int out[3];
            for (int c = 0; c < 3; ++c) {
                const float lit = base[c] + diffuse[c] * p.diffuse + specular[c] * shine;
                out[c] = Byte(alpha * std::clamp(lit, 0.0f, 1.0f) + (1.0f - alpha) * checker);
            }
            line[column] = qRgb(out[0], out[1], out[2]);
        }
    }
    return image;
}

} // namespace tintara
