#pragma once
// A sphere lit the way the simulator's fixed-function lighting lights a material (see
// MaterialShading.h), evaluated for every pixel on the CPU. The diffuse alpha lays the
// sphere over a checkerboard.

#include "mainwindow/MaterialShading.h"

#include <QImage>

#include <array>
#include <vector>

namespace tintara {

class MaterialSphere {
public:
    static constexpr float SceneAmbient = tintara::SceneAmbient;
    // Towards the light (unit length; x right, y up, z towards the viewer).
    static std::array<float, 3> LightDirection() { return tintara::LightDirection(); }

    // Renders at `size` x `size` pixels; the geometry for a size is worked out once.
    QImage Render(const SphereMaterial& material, int size);

private:
    struct Pixel {
        float nDotL = 0;
        float logHalf = 0; // log2 of N.H
        bool inside = false;
    };
    void Prepare(int size);

    int m_size = 0;
    std::vector<Pixel> m_pixels;
};

} // namespace tintara
