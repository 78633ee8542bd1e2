// Writes a small model file shaped like a real one: a RIFF container of type MDL9
// with two levels of detail, each holding a material list inside an EXTE chunk's
// MATE chunk, followed by the return opcode 22 00.
//
//   make-sample OUTPUT

#include "material/Conversions.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void PutU16(Bytes& b, unsigned v) {
    b.push_back(static_cast<unsigned char>(v & 0xFF));
    b.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void PutU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<unsigned char>((v >> (8 * i)) & 0xFF));
}

void PutFloat(Bytes& b, float v) {
    unsigned char bytes[4];
    tintara::EncodeFloatLE(v, bytes);
    b.insert(b.end(), bytes, bytes + 4);
}

Bytes Chunk(const char* id, const Bytes& content) {
    Bytes b(id, id + 4);
    PutU32(b, static_cast<std::uint32_t>(content.size()));
    b.insert(b.end(), content.begin(), content.end());
    if (content.size() % 2 != 0)
        b.push_back(0); // chunks stay word-aligned
    return b;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes b;
    for (const Bytes& p : parts)
        b.insert(b.end(), p.begin(), p.end());
    return b;
}

struct Material {
    float diffuse[4];
    float ambient[3];
    float specular[3];
    float emissive[3];
    float power;
};

Bytes MaterialList(const std::vector<Material>& materials) {
    Bytes b;
    PutU16(b, 0x00B6);
    PutU16(b, static_cast<unsigned>(materials.size()));
    PutU32(b, 0);
    for (const Material& m : materials) {
        for (float v : m.diffuse)
            PutFloat(b, v);
        // Real files carry alpha 1.0 in the ambient, specular and emissive colours.
        for (const float* colour : {m.ambient, m.specular, m.emissive}) {
            for (int i = 0; i < 3; ++i)
                PutFloat(b, colour[i]);
            PutFloat(b, 1.0f);
        }
        PutFloat(b, m.power);
    }
    PutU16(b, 0x0022); // return
    return b;
}

Bytes DrawingCode(unsigned seed, std::size_t size) {
    // Stand-in for the drawing code that follows the materials in a real file.
    Bytes b;
    std::uint32_t x = seed;
    while (b.size() < size) {
        x = x * 1664525u + 1013904223u;
        unsigned char byte = static_cast<unsigned char>(x >> 24);
        if (byte == 0xB6)
            byte = 0x36;
        b.push_back(byte);
    }
    return b;
}

Bytes Lod(const std::vector<Material>& materials, unsigned seed) {
    return Chunk("LODE", Join({Chunk("LODH", Bytes(8, 0)),
                               Chunk("EXTE", Join({Chunk("MATE", MaterialList(materials)),
                                                   Chunk("BGLC", DrawingCode(seed, 512))}))}));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sample OUTPUT\n");
        return 2;
    }
    const std::vector<Material> fuselage = {
        {{1.0f, 1.0f, 1.0f, 1.0f}, {0.8f, 0.8f, 0.8f}, {0.9f, 0.9f, 0.9f}, {0, 0, 0}, 40.0f},
        {{0.8f, 0.1f, 0.1f, 1.0f}, {0.6f, 0.08f, 0.08f}, {0.5f, 0.5f, 0.5f}, {0, 0, 0}, 20.0f},
        {{0.2f, 0.3f, 0.4f, 0.5f}, {0.2f, 0.3f, 0.4f}, {1.0f, 1.0f, 1.0f}, {0, 0, 0}, 60.0f},
        {{0.05f, 0.05f, 0.05f, 1.0f}, {0.05f, 0.05f, 0.05f}, {0.1f, 0.1f, 0.1f}, {0, 0, 0}, 5.0f},
        {{1.0f, 0.9f, 0.6f, 1.0f},
         {1.0f, 0.9f, 0.6f},
         {0.3f, 0.3f, 0.3f},
         {1.0f, 0.9f, 0.6f},
         10.0f},
    };
    const std::vector<Material> distant = {
        {{1.0f, 1.0f, 1.0f, 1.0f}, {0.8f, 0.8f, 0.8f}, {0.2f, 0.2f, 0.2f}, {0, 0, 0}, 8.0f},
        {{0.8f, 0.1f, 0.1f, 1.0f}, {0.6f, 0.08f, 0.08f}, {0.2f, 0.2f, 0.2f}, {0, 0, 0}, 8.0f},
        {{0.2f, 0.3f, 0.4f, 0.5f}, {0.2f, 0.3f, 0.4f}, {0.2f, 0.2f, 0.2f}, {0, 0, 0}, 8.0f},
    };
    Bytes header;
    PutU32(header, 1);     // format revision
    PutU32(header, 2);     // levels of detail
    PutU32(header, 0x400); // radius
    PutU32(header, 0);
    const Bytes body = Join({Bytes{'M', 'D', 'L', '9'}, Chunk("MDLH", header),
                             Chunk("LODT", Join({Lod(fuselage, 7), Lod(distant, 11)}))});
    Bytes file{'R', 'I', 'F', 'F'};
    PutU32(file, static_cast<std::uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
