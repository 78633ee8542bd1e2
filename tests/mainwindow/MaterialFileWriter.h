#pragma once
// Builds model files for the window tests: material lists at chosen offsets with
// chosen floats, and any bytes between them.

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace tintara::test {

// The 17 floats of one entry in file order: diffuse, ambient, specular, emissive
// (red, green, blue, alpha each), then power.
using EntryFloats = std::array<float, 17>;

// An entry with the given diffuse colour and power and zero elsewhere.
EntryFloats MakeEntry(float r, float g, float b, float a, float power = 0.0f);

class MaterialFileWriter {
public:
    // Pads with zero bytes up to `offset`.
    MaterialFileWriter& padTo(std::size_t offset);
    MaterialFileWriter& bytes(std::initializer_list<unsigned char> values);
    // A list header (B6 00, count, four zero bytes) followed by its entries.
    MaterialFileWriter& list(const std::vector<EntryFloats>& entries);

    std::size_t size() const { return m_bytes.size(); }
    // Writes the file; fails the running test when it cannot.
    bool save(const QString& path) const;

private:
    std::vector<unsigned char> m_bytes;
};

} // namespace tintara::test
