#pragma once
// Sequential byte input for the scanner: a file or bytes in memory.

#include <cstddef>
#include <cstdio>
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

// Reads a file opened for untranslated reading.
class FileByteSource final : public ByteSource {
public:
    // Throws IoError naming the file and the reason when it cannot be opened.
    explicit FileByteSource(const std::filesystem::path& path);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    std::size_t read(std::span<unsigned char> buffer) override;

private:
    std::filesystem::path m_path;
    std::FILE* m_file = nullptr;
};

// Opens a file with a C stdio mode ("rb", "rb+"), also for non-ASCII paths on Windows.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// The path as UTF-8 text, for messages.
std::string PathText(const std::filesystem::path& path);

// "<what> '<file>': <system reason>" for the given errno value.
std::string DescribeSystemError(const std::string& what, const std::filesystem::path& path,
                                int errorNumber);

} // namespace tintara
