#include "mainwindow/MaterialShading.h"

#include <algorithm>

namespace tintara {
namespace {

std::array<float, 3> Normalised(std::array<float, 3> v) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return {v[0] / length, v[1] / length, v[2] / length};
}

// The light comes from the upper left, in front; the viewer looks along -z.
const std::array<float, 3> Light = Normalised({-0.45f, 0.55f, 0.70f});
const std::array<float, 3> Half = Normalised({Light[0], Light[1], Light[2] + 1.0f});

} // namespace

std::array<float, 3> LightDirection() {
    return Light;
}

std::array<float, 3> HalfDirection() {
    return Half;
}

ShadingTerms PrepareShading(const SphereMaterial& m) {
    const auto& [diffuse, ambient, specular, emissive] = m.colours;
    ShadingTerms terms;
    for (int c = 0; c < 3; ++c) {
        terms.base[c] = emissive[c] + ambient[c] * SceneAmbient;
        terms.diffuse[c] = diffuse[c];
        terms.specular[c] = specular[c];
    }
    // A negative power would make the highlight grow without bound away from H.
    terms.power = m.power > 0.0f ? m.power : 0.0f;
    terms.alpha = Unit(diffuse[3]);
    return terms;
}

} // namespace tintara
