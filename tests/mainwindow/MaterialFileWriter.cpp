#include "MaterialFileWriter.h"

#include <QFile>

#include <cstring>

namespace tintara::test {

EntryFloats MakeEntry(float r, float g, float b, float a, float power) {
    EntryFloats e{};
    e[0] = r;
    e[1] = g;
    e[2] = b;
    e[3] = a;
    e[16] = power;
    return e;
}

MaterialFileWriter& MaterialFileWriter::padTo(std::size_t offset) {
    if (m_bytes.size() < offset)
        m_bytes.resize(offset, 0);
    return *this;
}

MaterialFileWriter& MaterialFileWriter::bytes(std::initializer_list<unsigned char> values) {
    m_bytes.insert(m_bytes.end(), values);
    return *this;
}

MaterialFileWriter& MaterialFileWriter::list(const std::vector<EntryFloats>& entries) {
    const auto count = static_cast<std::uint16_t>(entries.size());
    bytes({0xB6, 0x00, static_cast<unsigned char>(count & 0xFF),
           static_cast<unsigned char>(count >> 8), 0, 0, 0, 0});
    for (const EntryFloats& entry : entries) {
        for (const float value : entry) {
            std::uint32_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            bytes({static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                   static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)});
        }
    }
    return *this;
}

bool MaterialFileWriter::save(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const auto written = file.write(reinterpret_cast<const char*>(m_bytes.data()),
                                    static_cast<qint64>(m_bytes.size()));
    return written == static_cast<qint64>(m_bytes.size()) && file.flush();
}

} // namespace tintara::test
