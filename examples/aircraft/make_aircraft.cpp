// Writes a small aircraft model (RIFF MDL8) whose drawing code draws real meshes:
// fuselage, wings, tail and canopy in two levels of detail, the wheels by one shared
// subroutine placed twice with static transforms, a crash block, a texture list with a
// night map, and six materials (one untextured, one translucent, one never drawn).
//
//   make-aircraft OUTPUT

#include "examples/modelcode/ModelCode.h"

#include <cmath>
#include <cstdio>

using namespace tintara::modelcode;

namespace {

constexpr float Pi = 3.14159265f;

struct Mesh {
    std::vector<Vertex> vertices;
    std::vector<unsigned> indices;

    void Quad(unsigned a, unsigned b, unsigned c, unsigned d) {
        indices.insert(indices.end(), {a, b, c, a, c, d});
    }
};

// A body of revolution along z: `around` points on each station's circle, radius and
// height from `profile` (z, radius, centre height). The first station closes in a point.
Mesh Loft(const std::vector<std::array<float, 3>>& profile, unsigned around, float squash = 1) {
    Mesh m;
    for (std::size_t s = 0; s < profile.size(); ++s) {
        const auto [z, r, y] = profile[s];
        for (unsigned a = 0; a < around; ++a) {
            const float angle = 2 * Pi * float(a) / float(around);
            const float cx = std::cos(angle), cy = std::sin(angle);
            m.vertices.push_back({r * cx, y + squash * r * cy, z, cx, cy, 0,
                                  float(a) / float(around), float(s) / float(profile.size() - 1)});
        }
    }
    for (unsigned s = 0; s + 1 < profile.size(); ++s)
        for (unsigned a = 0; a < around; ++a) {
            const unsigned next = (a + 1) % around;
            m.Quad(s * around + a, s * around + next, (s + 1) * around + next,
                   (s + 1) * around + a);
        }
    return m;
}

// A thin tapered slab from `root` to `tip` (leading-edge points), chords and thickness
// given, in `segments` spanwise steps: a wing, a stabiliser or a fin.
Mesh Slab(std::array<float, 3> root, std::array<float, 3> tip, float rootChord, float tipChord,
          float thickness, unsigned segments, bool vertical) {
    Mesh m;
    for (unsigned s = 0; s <= segments; ++s) {
        const float t = float(s) / float(segments);
        float p[3];
        for (int i = 0; i < 3; ++i)
            p[i] = root[i] + t * (tip[i] - root[i]);
        const float chord = rootChord + t * (tipChord - rootChord);
        const float half = thickness * (1 - 0.6f * t) / 2;
        // Leading edge, upper trailing, lower trailing: a wedge section.
        for (int k = 0; k < 3; ++k) {
            const float side = k == 1 ? half : (k == 2 ? -half : 0);
            const float back = k == 0 ? 0 : chord;
            Vertex v;
            v.z = p[2] - back;
            if (vertical) {
                v = {p[0] + side, p[1], v.z, side > 0 ? 1.f : -1.f, 0, 0, t, back};
                if (side == 0)
                    v.nx = 0, v.nz = 1;
            } else {
                v = {p[0], p[1] + side, v.z, 0, side > 0 ? 1.f : -1.f, 0, t, back};
                if (side == 0)
                    v.ny = 0, v.nz = 1;
            }
            m.vertices.push_back(v);
        }
    }
    for (unsigned s = 0; s < segments; ++s) {
        const unsigned a = 3 * s, b = 3 * (s + 1);
        m.Quad(a, b, b + 1, a + 1);         // upper surface
        m.Quad(a + 2, b + 2, b, a);         // lower surface
        m.Quad(a + 1, b + 1, b + 2, a + 2); // trailing edge
    }
    return m;
}

// Meshes gathered into one vertex list; each remembers where it starts.
struct Parts {
    std::vector<Vertex> vertices;
    struct Placed {
        unsigned start, count;
        std::vector<unsigned> indices;
    };
    Placed Add(const Mesh& mesh) {
        const Placed placed{unsigned(vertices.size()), unsigned(mesh.vertices.size()),
                            mesh.indices};
        vertices.insert(vertices.end(), mesh.vertices.begin(), mesh.vertices.end());
        return placed;
    }
};

void Draw(Code& c, const Parts::Placed& part) {
    c.DrawTriangles(part.start, part.count, part.indices);
}

std::vector<std::array<float, 3>> FuselageProfile(unsigned stations) {
    std::vector<std::array<float, 3>> profile;
    for (unsigned s = 0; s < stations; ++s) {
        const float t = float(s) / float(stations - 1); // 0 at the nose, 1 at the tail
        const float radius = 0.05f + 0.75f * std::sin(Pi * std::pow(t, 0.55f)) * (1 - 0.55f * t);
        profile.push_back({4.5f - 10.0f * t, radius, 0.35f * t});
    }
    return profile;
}

struct LevelOfDetail {
    Parts::Placed fuselage, leftWing, rightWing, fin, leftTail, rightTail, canopy;
    std::vector<Vertex> vertices;
};

LevelOfDetail BuildLevel(bool detailed) {
    Parts parts;
    LevelOfDetail lod;
    const unsigned around = detailed ? 24 : 8, span = detailed ? 8 : 2;
    lod.fuselage = parts.Add(Loft(FuselageProfile(detailed ? 26 : 6), around));
    lod.leftWing =
        parts.Add(Slab({-0.6f, -0.2f, 1.2f}, {-5.5f, 0.15f, 0.6f}, 1.8f, 0.9f, 0.22f, span, false));
    lod.rightWing =
        parts.Add(Slab({0.6f, -0.2f, 1.2f}, {5.5f, 0.15f, 0.6f}, 1.8f, 0.9f, 0.22f, span, false));
    lod.fin =
        parts.Add(Slab({0, 0.5f, -3.9f}, {0, 2.0f, -4.9f}, 1.4f, 0.6f, 0.12f, span / 2, true));
    lod.leftTail = parts.Add(
        Slab({-0.2f, 0.35f, -4.2f}, {-2.0f, 0.4f, -4.7f}, 1.0f, 0.5f, 0.1f, span / 2, false));
    lod.rightTail = parts.Add(
        Slab({0.2f, 0.35f, -4.2f}, {2.0f, 0.4f, -4.7f}, 1.0f, 0.5f, 0.1f, span / 2, false));
    if (detailed) {
        std::vector<std::array<float, 3>> bubble;
        for (unsigned s = 0; s < 10; ++s) {
            const float t = float(s) / 9;
            bubble.push_back({2.6f - 2.2f * t, 0.05f + 0.42f * std::sin(Pi * t), 0.62f});
        }
        lod.canopy = parts.Add(Loft(bubble, 16, 0.8f));
    }
    lod.vertices = std::move(parts.vertices);
    return lod;
}

Mesh Wheel() {
    std::vector<std::array<float, 3>> tyre;
    for (unsigned s = 0; s < 5; ++s)
        tyre.push_back({-0.1f + 0.05f * float(s), 0.05f + 0.25f * std::sin(Pi * float(s) / 4), 0});
    Mesh m = Loft(tyre, 12);
    // Turned so that the axle runs across the aircraft.
    for (Vertex& v : m.vertices) {
        std::swap(v.x, v.z);
        std::swap(v.nx, v.nz);
    }
    return m;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-aircraft OUTPUT\n");
        return 2;
    }
    const std::vector<Texture> textures = {{"fuselage_t.bmp", 1},
                                           {"fuselage_t_lm.bmp", 0x100}, // night map
                                           {"wings_t.bmp", 1},
                                           {"canopy_t.bmp", 1}};
    enum { Fuselage, Wings, Tail, Canopy, Tyres, Spare };
    const std::vector<Material> materials = {
        {0.95f, 0.95f, 0.95f, 1.0f, 30},  // fuselage
        {0.85f, 0.85f, 0.88f, 1.0f, 20},  // wings
        {0.80f, 0.10f, 0.10f, 1.0f, 10},  // tail, untextured
        {0.35f, 0.50f, 0.70f, 0.35f, 80}, // canopy, translucent
        {0.08f, 0.08f, 0.08f, 1.0f, 2},   // tyres
        {1.00f, 0.85f, 0.20f, 1.0f, 10},  // never drawn
    };
    const LevelOfDetail high = BuildLevel(true), low = BuildLevel(false);
    const Mesh wheel = Wheel();

    Code c;
    const auto lowLabel = c.NewLabel(), wheels = c.NewLabel(), wheelLabel = c.NewLabel(),
               end = c.NewLabel();
    c.BglBegin().TextureList(textures).MaterialList(materials);
    // The crash block: a sphere the simulator tests; the walk steps over it.
    c.CrashStart(6).Op(0x97).U16(0).U16(6);
    // IFSIZEV reaches 32 KB at most: it branches to a long jump to the far level.
    const auto toLow = c.NewLabel(), highLabel = c.NewLabel();
    c.IfSizeV(toLow, 12, 40).Jump(highLabel).Place(toLow).Jump32(lowLabel);
    c.Place(highLabel).VertexList(high.vertices);
    c.SetMaterial(Fuselage, 0);
    Draw(c, high.fuselage);
    c.SetMaterial(Wings, 2);
    Draw(c, high.leftWing);
    Draw(c, high.rightWing);
    Draw(c, high.leftTail);
    Draw(c, high.rightTail);
    c.SetMaterial(Tail);
    Draw(c, high.fin);
    c.SetMaterial(Canopy, 3);
    Draw(c, high.canopy);
    c.Call32(wheels).Jump32(end);

    c.Place(lowLabel).VertexList(low.vertices).SetMaterial(Fuselage, 0);
    Draw(c, low.fuselage);
    c.SetMaterial(Wings, 2);
    Draw(c, low.leftWing);
    Draw(c, low.rightWing);
    Draw(c, low.leftTail);
    Draw(c, low.rightTail);
    c.SetMaterial(Tail);
    Draw(c, low.fin);
    c.Call32(wheels).Jump32(end);

    // Both wheels by one subroutine, each placed by a static transform.
    Transform left, right;
    left.translation = {-1.3f, -1.1f, 0.9f};
    right.translation = {1.3f, -1.1f, 0.9f};
    c.Place(wheels).SetMaterial(Tyres).TransformMat(left).Call(wheelLabel).TransformEnd();
    c.TransformMat(right).Call(wheelLabel).TransformEnd().Return();
    c.Place(wheelLabel).VertexList(wheel.vertices);
    c.DrawTriangles(0, unsigned(wheel.vertices.size()), wheel.indices).Return();
    c.Place(end).BglEnd();

    const Bytes file = Mdl8(c.Finish(), 6.0f);
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size() ||
        std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
