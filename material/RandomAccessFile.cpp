#include "RandomAccessFile.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <sys/types.h>
#include <unistd.h>
#endif

namespace tintara {

DiskFile::DiskFile(const std::filesystem::path& path) : m_path(path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw IoError(DescribeSystemError("Cannot open for writing", path, EISDIR));
    errno = 0;
    m_file = OpenFile(path, "rb+");
    if (!m_file)
        throw IoError(DescribeSystemError("Cannot open for writing", path, errno));
}

DiskFile::~DiskFile() {
    if (m_file)
        std::fclose(m_file);
}

std::string DiskFile::name() const {
    return PathText(m_path);
}

FileStamp DiskFile::stamp() {
    const FileStamp result = ReadFileStamp(m_path);
    if (!result.valid)
        throw IoError(DescribeSystemError("Cannot examine", m_path, errno));
    return result;
}

void DiskFile::writeAt(std::uint64_t offset, std::span<const unsigned char> bytes) {
    errno = 0;
#ifdef _WIN32
    const int seek = _fseeki64(m_file, static_cast<__int64>(offset), SEEK_SET);
#else
    const int seek = fseeko(m_file, static_cast<off_t>(offset), SEEK_SET);
#endif
    if (seek != 0)
        throw IoError(DescribeSystemError("Cannot seek in", m_path, errno));
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
        throw IoError(DescribeSystemError("Cannot write to", m_path, errno));
}

void DiskFile::sync() {
    errno = 0;
    if (std::fflush(m_file) != 0)
        throw IoError(DescribeSystemError("Cannot write to", m_path, errno));
    errno = 0;
#ifdef _WIN32
    const int synced = _commit(_fileno(m_file));
#else
    const int synced = fsync(fileno(m_file));
#endif
    if (synced != 0)
        throw IoError(DescribeSystemError("Cannot flush to disk", m_path, errno));
}

void DiskFile::close() {
    std::FILE* file = m_file;
    m_file = nullptr;
    errno = 0;
    if (file && std::fclose(file) != 0)
        throw IoError(DescribeSystemError("Cannot close", m_path, errno));
}

} // namespace tintara
