#pragma once
// Builds the bytes of synthetic model files for tests and benchmarks: material-list
// headers, 68-byte entries and filler, in any arrangement.

#include "material/Conversions.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace tintara::test {

// fopen by path, so that any file name works on Windows too.
inline std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

inline std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The 17 floats of one entry in file order: diffuse, ambient, specular, emissive
// (red, green, blue, alpha each), then the specular power.
using EntryFloats = std::array<float, 17>;

// An entry with the given diffuse colour and power, a dark grey ambient colour, black
// specular and emissive colours, all opaque.
inline EntryFloats MakeEntry(float r, float g, float b, float a, float power = 20.0f) {
    return {r,    g,    b,    a,    0.2f, 0.2f, 0.2f, 1.0f, 0.0f,
            0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, power};
}

// An entry with the given diffuse colour and power and every other float zero.
inline EntryFloats MakeDiffuseOnlyEntry(float r, float g, float b, float a, float power = 0.0f) {
    EntryFloats e{};
    e[0] = r;
    e[1] = g;
    e[2] = b;
    e[3] = a;
    e[16] = power;
    return e;
}

class MaterialBytes {
public:
    MaterialBytes& raw(std::initializer_list<int> values) {
        for (int v : values)
            m_bytes.push_back(static_cast<unsigned char>(v));
        return *this;
    }
    // Zero bytes up to `offset`; nothing when the bytes already reach it.
    // Not inlined: GCC 12 at -O3 takes the insertion into a vector it knows to be empty
    // for an access out of bounds (-Warray-bounds).
    [[gnu::noinline]] MaterialBytes& padTo(std::size_t offset) {
        if (m_bytes.size() < offset)
            m_bytes.insert(m_bytes.end(), offset - m_bytes.size(), 0);
        return *this;
    }
    MaterialBytes& fill(std::size_t count, unsigned char value = 0x11) {
        m_bytes.insert(m_bytes.end(), count, value);
        return *this;
    }
    MaterialBytes& header(unsigned count, std::uint32_t reserved = 0) {
        raw({0xB6, 0x00, static_cast<int>(count & 0xFF), static_cast<int>((count >> 8) & 0xFF)});
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(static_cast<unsigned char>((reserved >> (8 * i)) & 0xFF));
        return *this;
    }
    MaterialBytes& floats(std::initializer_list<float> values) {
        for (float v : values)
            put(v);
        return *this;
    }
    MaterialBytes& entry(const EntryFloats& values) {
        for (float v : values)
            put(v);
        return *this;
    }
    MaterialBytes& list(const std::vector<EntryFloats>& entries) {
        header(static_cast<unsigned>(entries.size()));
        for (const auto& e : entries)
            entry(e);
        return *this;
    }

    std::size_t size() const { return m_bytes.size(); }
    const std::vector<unsigned char>& bytes() const { return m_bytes; }

    void writeTo(const std::filesystem::path& path) const {
        std::FILE* f = OpenFile(path, "wb");
        if (!f)
            throw std::runtime_error("cannot create " + PathText(path));
        const bool ok =
            m_bytes.empty() || std::fwrite(m_bytes.data(), 1, m_bytes.size(), f) == m_bytes.size();
        if (std::fclose(f) != 0 || !ok)
            throw std::runtime_error("cannot write " + PathText(path));
    }

private:
    void put(float v) {
        unsigned char b[4];
        EncodeFloatLE(v, b);
        m_bytes.insert(m_bytes.end(), b, b + 4);
    }
    std::vector<unsigned char> m_bytes;
};

inline std::vector<unsigned char> ReadAllBytes(const std::filesystem::path& path) {
    std::vector<unsigned char> bytes;
    std::FILE* f = OpenFile(path, "rb");
    if (!f)
        return bytes;
    unsigned char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

} // namespace tintara::test
