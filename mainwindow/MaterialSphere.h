#pragma once
// A sphere lit the way the simulator's fixed-function lighting lights a material,
// evaluated for every pixel on the CPU: emissive + ambient x scene ambient
// + diffuse x max(0, N.L) + specular x max(0, N.H)^power where N.L > 0 (Blinn-Phong,
// one white directional light from the upper left, a grey scene ambient; a power of 0
// gives a flat specular term of 1 on the lit side). The diffuse alpha lays the sphere
// over a checkerboard.

#include <QImage>

#include <array>
#include <vector>

namespace tintara {

// Red, green, blue and alpha of the four colours (diffuse, ambient, specular,
// emissive), as the material's floats, and the specular power.
struct SphereMaterial {
    std::array<std::array<float, 4>, 4> colours = {};
    float power = 0.0f;
};

class MaterialSphere {
public:
    static constexpr float SceneAmbient = 0.2f;
    // Towards the light (unit length; x right, y up, z towards the viewer).
    static std::array<float, 3> LightDirection();

    // Renders at `size` x `size` pixels; the geometry for a size is worked out once.
    QImage Render(const SphereMaterial& material, int size);

private:
    struct Pixel {
        float diffuse = 0;  // max(0, N.L)
        float logHalf = 0;  // log2 of N.H where N.L > 0, else no specular
        bool lit = false;
        bool inside = false;
    };
    void Prepare(int size);

    int m_size = 0;
    std::vector<Pixel> m_pixels;
};

} // namespace tintara
