#pragma once
// In-place writing to an existing file, for the write-back.

#include "ByteSource.h"
#include "FileStamp.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace tintara {

// Every operation throws IoError with a message naming the file and the reason.
class RandomAccessFile {
public:
    virtual ~RandomAccessFile() = default;
    virtual std::string name() const = 0;
    virtual FileStamp stamp() = 0;
    virtual void writeAt(std::uint64_t offset, std::span<const unsigned char> bytes) = 0;
    // Flushes buffered data and asks the system to put it on the disk.
    virtual void sync() = 0;
    virtual void close() = 0;
};

// A file on disk opened for reading and writing without truncation ("rb+").
class DiskFile final : public RandomAccessFile {
public:
    explicit DiskFile(const std::filesystem::path& path); // throws IoError
    ~DiskFile() override;
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    std::string name() const override;
    FileStamp stamp() override;
    void writeAt(std::uint64_t offset, std::span<const unsigned char> bytes) override;
    void sync() override;
    void close() override;

private:
    std::filesystem::path m_path;
    std::FILE* m_file = nullptr;
};

} // namespace tintara
