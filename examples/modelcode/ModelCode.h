#pragma once
// Writes model drawing code and its containers byte by byte: instructions with labels
// for their jump and call targets, vertex, material and texture lists, RIFF chunks, an
// MDL8 model, an MDL9 object and the two kinds of scenery BGL. The tests, the
// benchmark, the fuzz seeds and the sample generator build their files with it; the
// product never includes it.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace tintara::modelcode {

using Bytes = std::vector<unsigned char>;

inline void PutU16(Bytes& b, unsigned v) {
    b.push_back(static_cast<unsigned char>(v & 0xFF));
    b.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

inline void PutU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<unsigned char>((v >> (8 * i)) & 0xFF));
}

inline void PutFloat(Bytes& b, float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    PutU32(b, bits);
}

inline void Append(Bytes& to, const Bytes& from) {
    to.insert(to.end(), from.begin(), from.end());
}

struct Vertex {
    float x = 0, y = 0, z = 0;
    float nx = 0, ny = 1, nz = 0;
    float tu = 0, tv = 0;
};

// 17 floats: diffuse RGBA, ambient RGB + 1, specular RGB + 1, emissive RGB + 1, power.
struct Material {
    float r = 0.8f, g = 0.8f, b = 0.8f, a = 1.0f;
    float power = 20.0f;
};

struct Texture {
    std::string name;
    std::uint32_t textureClass = 1; // 1 aircraft; 0x100 and up: night, reflection, light map
};

// Row-vector convention: a point p becomes p * rows + translation.
struct Transform {
    std::array<float, 3> translation = {0, 0, 0};
    std::array<float, 9> rows = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};

class Code {
public:
    using Label = std::size_t;

    Label NewLabel() {
        m_labels.push_back(-1);
        return m_labels.size() - 1;
    }
    Code& Place(Label label) {
        m_labels[label] = static_cast<std::int64_t>(m_bytes.size());
        return *this;
    }
    std::size_t size() const { return m_bytes.size(); }

    Code& Op(unsigned opcode) {
        m_start = m_bytes.size();
        PutU16(m_bytes, opcode);
        return *this;
    }
    Code& U16(unsigned v) {
        PutU16(m_bytes, v);
        return *this;
    }
    Code& U32(std::uint32_t v) {
        PutU32(m_bytes, v);
        return *this;
    }
    Code& F32(float v) {
        PutFloat(m_bytes, v);
        return *this;
    }
    Code& Raw(const Bytes& bytes) {
        Append(m_bytes, bytes);
        return *this;
    }
    // A 16- or 32-bit offset from the current instruction's opcode to the label.
    Code& Offset16(Label target) { return Fixup(target, 2); }
    Code& Offset32(Label target) { return Fixup(target, 4); }

    Code& Eof() { return Op(0x00); }
    Code& Return() { return Op(0x22); }
    Code& BglEnd() { return Op(0xBD); }
    Code& BglBegin() { return Op(0xBC).U32(0x800); }
    Code& Jump(Label target) { return Op(0x0D).Offset16(target); }
    Code& Jump32(Label target) { return Op(0x88).Offset32(target); }
    Code& Call(Label target) { return Op(0x23).Offset16(target); }
    Code& Call32(Label target) { return Op(0x8A).Offset32(target); }
    // Level of detail: branches to `smaller` when the model looks small on screen.
    Code& IfSizeV(Label smaller, unsigned size = 20, unsigned pixels = 50) {
        return Op(0x5F).Offset16(smaller).U16(size).U16(pixels);
    }
    Code& IfMask(Label fail, unsigned var, unsigned mask) {
        return Op(0x39).Offset16(fail).U16(var).U16(mask);
    }
    Code& IfIn1(Label fail, unsigned var, int low, int high) {
        return Op(0x24)
            .Offset16(fail)
            .U16(var)
            .U16(static_cast<unsigned>(low))
            .U16(static_cast<unsigned>(high));
    }
    Code& CrashStart(std::size_t bodyBytes, unsigned radius = 10) {
        return Op(0x96).U16(static_cast<unsigned>(6 + bodyBytes)).U16(radius);
    }
    Code& TransformMat(const Transform& t) {
        Op(0xAF);
        for (float v : t.translation)
            F32(v);
        for (float v : t.rows)
            F32(v);
        return *this;
    }
    Code& TransformEnd() { return Op(0xAE); }
    Code& VertexList(const std::vector<Vertex>& vertices) {
        Op(0xB5).U16(static_cast<unsigned>(vertices.size())).U32(0);
        for (const Vertex& v : vertices)
            F32(v.x).F32(v.y).F32(v.z).F32(v.nx).F32(v.ny).F32(v.nz).F32(v.tu).F32(v.tv);
        return *this;
    }
    Code& MaterialList(const std::vector<Material>& materials) {
        Op(0xB6).U16(static_cast<unsigned>(materials.size())).U32(0);
        for (const Material& m : materials) {
            F32(m.r).F32(m.g).F32(m.b).F32(m.a);
            F32(m.r * 0.3f).F32(m.g * 0.3f).F32(m.b * 0.3f).F32(1);
            F32(0.5f).F32(0.5f).F32(0.5f).F32(1);
            F32(0).F32(0).F32(0).F32(1);
            F32(m.power);
        }
        return *this;
    }
    Code& TextureList(const std::vector<Texture>& textures) {
        Op(0xB7).U16(static_cast<unsigned>(textures.size())).U32(0);
        for (const Texture& t : textures) {
            U32(t.textureClass).U32(0xFF808080u).U32(0).F32(1.0f);
            Bytes name(64, 0);
            std::memcpy(name.data(), t.name.data(), std::min<std::size_t>(64, t.name.size()));
            Raw(name);
        }
        return *this;
    }
    // texture 0xFFFF: none.
    Code& SetMaterial(unsigned material, unsigned texture = 0xFFFF) {
        return Op(0xB8).U16(material).U16(texture);
    }
    Code& DrawTriangles(unsigned vertexStart, unsigned vertexCount,
                        const std::vector<unsigned>& indices, unsigned opcode = 0xB9) {
        Op(opcode).U16(vertexStart).U16(vertexCount).U16(static_cast<unsigned>(indices.size()));
        for (unsigned i : indices)
            U16(i);
        return *this;
    }

    // The code with every label resolved.
    Bytes Finish() const {
        Bytes out = m_bytes;
        for (const Fix& f : m_fixes) {
            if (m_labels[f.label] < 0)
                throw std::logic_error("a label was never placed");
            const std::int64_t delta = m_labels[f.label] - static_cast<std::int64_t>(f.opcodeAt);
            if (f.width == 2 && (delta < -32768 || delta > 32767))
                throw std::logic_error("a 16-bit offset cannot reach its label");
            for (std::size_t i = 0; i < f.width; ++i)
                out[f.at + i] = static_cast<unsigned char>(
                    (static_cast<std::uint64_t>(delta) >> (8 * i)) & 0xFF);
        }
        return out;
    }

private:
    struct Fix {
        std::size_t at, opcodeAt, width;
        Label label;
    };
    Code& Fixup(Label target, std::size_t width) {
        m_fixes.push_back({m_bytes.size(), m_start, width, target});
        m_bytes.insert(m_bytes.end(), width, 0);
        return *this;
    }
    Bytes m_bytes;
    std::size_t m_start = 0;
    std::vector<std::int64_t> m_labels;
    std::vector<Fix> m_fixes;
};

// A RIFF chunk: its id, size and data, padded to an even length.
inline Bytes Chunk(const char* id, const Bytes& data) {
    Bytes b(id, id + 4);
    PutU32(b, static_cast<std::uint32_t>(data.size()));
    Append(b, data);
    if (data.size() % 2 != 0)
        b.push_back(0);
    return b;
}

inline Bytes Riff(const char* form, const Bytes& chunks) {
    Bytes inner(form, form + 4);
    Append(inner, chunks);
    return Chunk("RIFF", inner);
}

// An aircraft model: the MDL8 header chunk and the code, lists inline, in `BGL `.
inline Bytes Mdl8(const Bytes& code, float radius = 20.0f) {
    Bytes header;
    for (std::uint32_t v : {0u, 0u, 0u, 0u, 0u, 0u, 0x30385346u, 2304u})
        PutU32(header, v);
    std::memcpy(&header[8], &radius, 4);
    Bytes chunks = Chunk("MDLH", header);
    Append(chunks, Chunk("ISFT", Bytes{'t', 'i', 'n', 't', 'a', 'r', 'a', 0}));
    Append(chunks, Chunk("BGL ", code));
    return Riff("MDL8", chunks);
}

// A scenery object: each list in its own chunk followed by a return, then the code.
inline Bytes Mdl9(const Code& textures, const Code& materials, const Code& vertices,
                  const Bytes& code) {
    auto withReturn = [](const Code& list) {
        Bytes b = list.Finish();
        PutU16(b, 0x22);
        return b;
    };
    Bytes header;
    for (int i = 0; i < 9; ++i)
        PutU32(header, 0);
    Bytes exte = Chunk("TEXT", withReturn(textures));
    Append(exte, Chunk("MATE", withReturn(materials)));
    Append(exte, Chunk("VERT", withReturn(vertices)));
    Append(exte, Chunk("BGL ", code));
    Bytes chunks = Chunk("MDLH", header);
    Append(chunks, Chunk("EXTE", exte));
    return Riff("MDL9", chunks);
}

// A new-format scenery BGL: one model-data section (0x2B) with one subsection holding
// a record per object.
inline Bytes NewBgl(const std::vector<Bytes>& objects) {
    constexpr std::uint32_t HeaderSize = 56, SectionAt = HeaderSize, SubsectionAt = SectionAt + 20,
                            RecordsAt = SubsectionAt + 16;
    Bytes b;
    PutU16(b, 0x0201);
    PutU16(b, 0x1992);
    PutU32(b, SectionAt);
    while (b.size() < 20)
        b.push_back(0);
    PutU32(b, 1); // section count
    while (b.size() < HeaderSize)
        b.push_back(0);
    const std::uint32_t records = static_cast<std::uint32_t>(objects.size());
    PutU32(b, 0x2B);
    PutU32(b, 1);
    PutU32(b, 1);
    PutU32(b, SubsectionAt);
    PutU32(b, 16);
    PutU32(b, 0);
    PutU32(b, records);
    PutU32(b, RecordsAt);
    PutU32(b, records * 24);
    std::uint32_t dataAt = records * 24; // relative to the record table
    for (std::uint32_t i = 0; i < records; ++i) {
        for (std::uint32_t g = 0; g < 4; ++g)
            PutU32(b, 0x1000 * (i + 1) + g);
        PutU32(b, dataAt);
        PutU32(b, static_cast<std::uint32_t>(objects[i].size()));
        dataAt += static_cast<std::uint32_t>(objects[i].size());
    }
    for (const Bytes& o : objects)
        Append(b, o);
    return b;
}

// An old-style scenery BGL header of 130 bytes followed by `body`.
inline Bytes OldBgl(const Bytes& body) {
    Bytes b(130, 0);
    b[0] = 0x01;
    const std::uint32_t magic = 0x87654321u;
    std::memcpy(&b[118], &magic, 4);
    Append(b, body);
    return b;
}

} // namespace tintara::modelcode
