#pragma once
// The pieces of the walk's state: where a path is and what it has set, hashed for the
// visited set, and the static transforms on its way.

#include "ModelWalk.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <utility>

namespace tintara::walk {

// A static transform: the row vector p becomes p * m + t.
struct Affine {
    float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    float t[3] = {0, 0, 0};

    ModelPoint Point(const float* p) const {
        return {p[0] * m[0] + p[1] * m[3] + p[2] * m[6] + t[0],
                p[0] * m[1] + p[1] * m[4] + p[2] * m[7] + t[1],
                p[0] * m[2] + p[1] * m[5] + p[2] * m[8] + t[2]};
    }
    ModelPoint Normal(const float* n) const {
        ModelPoint r{n[0] * m[0] + n[1] * m[3] + n[2] * m[6],
                     n[0] * m[1] + n[1] * m[4] + n[2] * m[7],
                     n[0] * m[2] + n[1] * m[5] + n[2] * m[8]};
        const float length = std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z);
        if (length > 0 && std::isfinite(length))
            r = {r.x / length, r.y / length, r.z / length};
        return r;
    }
    // `inner` applied first, then this.
    Affine After(const Affine& inner) const {
        Affine r;
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                r.m[3 * row + col] = inner.m[3 * row] * m[col] + inner.m[3 * row + 1] * m[3 + col] +
                                     inner.m[3 * row + 2] * m[6 + col];
        const ModelPoint t2 = Point(inner.t);
        r.t[0] = t2.x;
        r.t[1] = t2.y;
        r.t[2] = t2.z;
        return r;
    }
};

// Everything that decides where a path goes and what it draws.
struct State {
    std::int64_t at = 0;
    std::int64_t vertexList = -1, materialList = -1, textureList = -1;
    std::int32_t material = -1, texture = -1; // indices into the current lists
    std::int32_t detail = 0;
    std::uint32_t transform = 0, stack = 0; // interned nodes; 0: none
    friend bool operator==(const State&, const State&) = default;
};

inline std::size_t Mix(std::size_t h, std::uint64_t v) {
    return h ^ (std::hash<std::uint64_t>{}(v) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2));
}

struct StateHash {
    std::size_t operator()(const State& s) const {
        std::size_t h = std::hash<std::int64_t>{}(s.at);
        h = Mix(h, std::uint64_t(s.vertexList));
        h = Mix(h, std::uint64_t(s.materialList));
        h = Mix(h, std::uint64_t(s.textureList));
        h = Mix(h, (std::uint64_t(std::uint32_t(s.material)) << 32) | std::uint32_t(s.texture));
        h = Mix(h, (std::uint64_t(s.transform) << 32) | s.stack);
        return Mix(h, std::uint64_t(std::uint32_t(s.detail)));
    }
};

using Key = std::pair<std::int64_t, std::int64_t>;
struct KeyHash {
    std::size_t operator()(const Key& k) const {
        return Mix(std::hash<std::int64_t>{}(k.first), std::uint64_t(k.second));
    }
};

// A node of an interned stack: parent and the instruction that pushed it.
struct StackNode {
    std::uint32_t parent = 0;
    std::int64_t value = 0; // return offset, or the TRANSFORM_MAT's offset
    int depth = 0;
};

} // namespace tintara::walk
