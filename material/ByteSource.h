#pragma once
// Sequential byte input for the scanner: bytes in memory here, a file in
// FileByteSource.h.

#include <cstddef>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>

namespace tintara {

// An input/output failure, carrying a message that names the file and the system's
// reason.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to buffer.size() bytes; returns the number read, 0 only at the end.
    // Throws IoError when the read fails.
    virtual std::size_t read(std::span<unsigned char> buffer) = 0;
};

class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const unsigned char> bytes) : m_bytes(bytes) {}
    std::size_t read(std::span<unsigned char> buffer) override;

private:
    std::span<const unsigned char> m_bytes;
    std::size_t m_position = 0;
};

// The path as UTF-8 text, for messages.
std::string PathText(const std::filesystem::path& path);

} // namespace tintara
