#pragma once
// The bytes of a regular file, read from its start, for the scanner.

#include "ByteSource.h"
#include "RegularFile.h"

namespace tintara {

class FileByteSource final : public ByteSource {
public:
    // Throws IoError naming the file and the reason when it cannot be opened or is not
    // a regular file.
    explicit FileByteSource(const std::filesystem::path& path)
        : m_file(path, RegularFile::Access::Read) {}

    std::size_t read(std::span<unsigned char> buffer) override { return m_file.read(buffer); }
    // The open file's size, time and identity.
    FileStamp stamp() const { return m_file.stamp(); }

private:
    RegularFile m_file;
};

} // namespace tintara
