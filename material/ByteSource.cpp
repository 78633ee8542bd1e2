#include "ByteSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tintara {

std::size_t MemoryByteSource::read(std::span<unsigned char> buffer) {
    const std::size_t n = std::min(buffer.size(), m_bytes.size() - m_position);
    if (n > 0)
        std::memcpy(buffer.data(), m_bytes.data() + m_position, n);
    m_position += n;
    return n;
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

std::string PathText(const std::filesystem::path& path) {
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string DescribeSystemError(const std::string& what, const std::filesystem::path& path,
                                int errorNumber) {
    std::string reason = errorNumber != 0 ? std::strerror(errorNumber) : "unknown error";
    return what + " '" + PathText(path) + "': " + reason;
}

FileByteSource::FileByteSource(const std::filesystem::path& path) : m_path(path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw IoError(DescribeSystemError("Cannot open", path, EISDIR));
    errno = 0;
    m_file = OpenFile(path, "rb");
    if (!m_file)
        throw IoError(DescribeSystemError("Cannot open", path, errno));
}

FileByteSource::~FileByteSource() {
    if (m_file)
        std::fclose(m_file);
}

std::size_t FileByteSource::read(std::span<unsigned char> buffer) {
    errno = 0;
    const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), m_file);
    if (n < buffer.size() && std::ferror(m_file))
        throw IoError(DescribeSystemError("Cannot read", m_path, errno));
    return n;
}

} // namespace tintara
