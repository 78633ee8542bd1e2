#pragma once
// In-place reading and writing of an existing file, for the write-back.

#include "ByteSource.h"
#include "FileStamp.h"
#include "RegularFile.h"

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
    // Size, time and identity of the open file.
    virtual FileStamp stamp() = 0;
    // Exactly bytes.size() bytes at `offset`.
    virtual void readAt(std::uint64_t offset, std::span<unsigned char> bytes) = 0;
    virtual void writeAt(std::uint64_t offset, std::span<const unsigned char> bytes) = 0;
    // Asks the system to put the written data on the disk.
    virtual void sync() = 0;
    virtual void close() = 0;
    // Whether the file's path still names the open file.
    virtual bool pathNamesThisFile() = 0;
    // Takes the save lock (see RegularFile::tryLockForSave), or finds it held by
    // another program: false. Taking it again is harmless.
    virtual bool lockForSave() = 0;
};

// A regular file on disk opened for reading and writing, without truncation.
class DiskFile final : public RandomAccessFile {
public:
    explicit DiskFile(const std::filesystem::path& path) // throws IoError
        : m_file(path, RegularFile::Access::ReadWrite) {}

    std::string name() const override { return PathText(m_file.path()); }
    FileStamp stamp() override { return m_file.stamp(); }
    void readAt(std::uint64_t offset, std::span<unsigned char> bytes) override {
        m_file.readAt(offset, bytes);
    }
    void writeAt(std::uint64_t offset, std::span<const unsigned char> bytes) override {
        m_file.writeAt(offset, bytes);
    }
    void sync() override { m_file.sync(); }
    void close() override { m_file.close(); }
    bool pathNamesThisFile() override { return m_file.pathNamesThisFile(); }
    bool lockForSave() override { return m_locked || (m_locked = m_file.tryLockForSave()); }

    const RegularFile& regular() const { return m_file; }

private:
    RegularFile m_file;
    bool m_locked = false;
};

} // namespace tintara
