#include "ByteSource.h"

#include <algorithm>
#include <cstring>

namespace tintara {

std::size_t MemoryByteSource::read(std::span<unsigned char> buffer) {
    const std::size_t n = std::min(buffer.size(), m_bytes.size() - m_position);
    if (n > 0)
        std::memcpy(buffer.data(), m_bytes.data() + m_position, n);
    m_position += n;
    return n;
}

std::string PathText(const std::filesystem::path& path) {
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace tintara
