#pragma once
// The lighting every view of a material uses (the preview's sphere and the model view):
// the simulator's fixed-function model, emissive + ambient x scene ambient
// + diffuse x max(0, N.L) + specular x max(0, N.H)^power where N.L > 0 (Blinn-Phong,
// one white directional light from the viewer's upper left, a grey scene ambient). A
// power of 0 or below gives a flat specular term of 1 on the lit side.

#include <array>

namespace tintara {

// Red, green, blue and alpha of the four colours (diffuse, ambient, specular,
// emissive), as the material's floats, and the specular power.
struct SphereMaterial {
    std::array<std::array<float, 4>, 4> colours = {};
    float power = 0.0f;
};

inline constexpr float SceneAmbient = 0.2f;

// Towards the light and the half vector between it and the viewer, who looks along -z
// (unit length; x right, y up, z towards the viewer).
std::array<float, 3> LightDirection();
std::array<float, 3> HalfDirection();

// What of a material does not depend on the surface, worked out once per material.
struct ShadingTerms {
    std::array<float, 3> base{}; // emissive + ambient x scene ambient
    std::array<float, 3> diffuse{};
    std::array<float, 3> specular{};
    float power = 0.0f; // 0 or above
    float alpha = 1.0f; // the diffuse alpha in [0, 1]
};

ShadingTerms PrepareShading(const SphereMaterial& material);

// In [0, 1]; NaN counts as 0.
inline float Unit(float value) {
    return value > 0.0f ? (value < 1.0f ? value : 1.0f) : 0.0f;
}

// The lit colour, each channel in [0, 1], at a surface point whose normal gives `nDotL`
// and log2(max(N.H, tiny)) `logHalf`.
inline std::array<float, 3> Shade(const ShadingTerms& m, float nDotL, float logHalf);

} // namespace tintara

#include <cmath>

namespace tintara {

inline std::array<float, 3> Shade(const ShadingTerms& m, float nDotL, float logHalf) {
    float shine = 0.0f;
    float diffuse = 0.0f;
    if (nDotL > 0.0f) {
        diffuse = nDotL;
        const float exponent = m.power * logHalf;
        shine = m.power == 0.0f || !(exponent < 0.0f) ? 1.0f : std::exp2(exponent);
    }
    std::array<float, 3> out;
    for (int c = 0; c < 3; ++c)
        out[c] = Unit(m.base[c] + m.diffuse[c] * diffuse + m.specular[c] * shine);
    return out;
}

} // namespace tintara
