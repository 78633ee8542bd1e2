// Regular files on POSIX systems: descriptors opened without blocking, pread and
// pwrite, fsync, and device and inode as identity.

#ifndef _WIN32

#include "RegularFile.h"
#include "RegularFileErrors.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tintara {

using detail::Fail;
using detail::NotRegular;

std::string LastSystemReason() {
    const int code = errno;
    return code != 0 ? std::strerror(code) : "unknown error";
}

namespace {

// Both file kinds end the same way: their bytes to the disk, then the descriptor closed
// (once, whatever close reports; EINTR still closed it).
void SyncDescriptor(int fd, const std::filesystem::path& path) {
    errno = 0;
    if (::fsync(fd) != 0)
        Fail("Cannot flush to disk", path);
}

void CloseDescriptor(int& fd, const std::filesystem::path& path) {
    const int closing = fd;
    fd = -1;
    errno = 0;
    if (closing >= 0 && ::close(closing) != 0 && errno != EINTR)
        Fail("Cannot close", path);
}

} // namespace

RegularFile::RegularFile(const std::filesystem::path& path, Access access) : m_path(path) {
    // Without blocking, so a FIFO without a writer is refused rather than waited for.
    const int flags = (access == Access::Read ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_NOCTTY |
                      O_CLOEXEC;
    do {
        errno = 0;
        m_fd = ::open(path.c_str(), flags);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0) {
        if (errno == EISDIR || errno == ENXIO) // a folder, or a FIFO nobody writes to
            NotRegular(path);
        Fail("Cannot open", path);
    }
    struct stat info = {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        NotRegular(path);
    }
    const int status = ::fcntl(m_fd, F_GETFL);
    if (status >= 0)
        ::fcntl(m_fd, F_SETFL, status & ~O_NONBLOCK);
}

RegularFile::~RegularFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

FileStamp RegularFile::stamp() const {
    struct stat info = {};
    errno = 0;
    if (::fstat(m_fd, &info) != 0)
        Fail("Cannot examine", m_path);
    FileStamp stamp;
    stamp.valid = true;
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                       info.st_mtim.tv_nsec;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    return stamp;
}

std::size_t RegularFile::read(std::span<unsigned char> buffer) {
    for (;;) {
        errno = 0;
        const ssize_t got = ::read(m_fd, buffer.data(), buffer.size());
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            Fail("Cannot read", m_path);
    }
}

void RegularFile::readAt(std::uint64_t offset, std::span<unsigned char> buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        errno = 0;
        const ssize_t got = ::pread(m_fd, buffer.data() + done, buffer.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Fail("Cannot read", m_path);
        if (got == 0)
            throw IoError("Cannot read '" + PathText(m_path) + "': the file ends early");
        done += static_cast<std::size_t>(got);
    }
}

void RegularFile::writeAt(std::uint64_t offset, std::span<const unsigned char> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        errno = 0;
        const ssize_t put = ::pwrite(m_fd, bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            Fail("Cannot write to", m_path);
        done += static_cast<std::size_t>(put);
    }
}

void RegularFile::sync() {
    SyncDescriptor(m_fd, m_path);
}

void RegularFile::close() {
    CloseDescriptor(m_fd, m_path);
}

bool RegularFile::pathNamesThisFile() const {
    struct stat mine = {};
    struct stat theirs = {};
    return ::fstat(m_fd, &mine) == 0 && ::stat(m_path.c_str(), &theirs) == 0 &&
           mine.st_dev == theirs.st_dev && mine.st_ino == theirs.st_ino;
}

NewFile::NewFile(const std::filesystem::path& path) : m_path(path) {
    do {
        errno = 0;
        m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0644);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        Fail("Cannot create", path);
}

NewFile::~NewFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void NewFile::write(std::span<const unsigned char> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        errno = 0;
        const ssize_t put = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            Fail("Cannot write to", m_path);
        done += static_cast<std::size_t>(put);
    }
}

void NewFile::sync() {
    SyncDescriptor(m_fd, m_path);
}

void NewFile::close() {
    CloseDescriptor(m_fd, m_path);
}

bool PathExists(const std::filesystem::path& path) {
    struct stat info = {};
    errno = 0;
    if (::lstat(path.c_str(), &info) == 0)
        return true;
    if (errno == ENOENT || errno == ENOTDIR)
        return false;
    Fail("Cannot examine", path);
}

void RemoveFile(const std::filesystem::path& path) {
    errno = 0;
    if (::unlink(path.c_str()) != 0)
        Fail("Cannot remove", path);
}

void MoveNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef __linux__
    errno = 0;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        Fail("Cannot name the file", to);
#endif
    // Where the file system cannot rename without replacing: a second name for the
    // file, which fails when `to` exists, then the first name goes.
    errno = 0;
    if (::link(from.c_str(), to.c_str()) != 0)
        Fail("Cannot name the file", to);
    ::unlink(from.c_str());
}

void SyncFolderOf(const std::filesystem::path& path) {
    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        Fail("Cannot open the folder of", path);
    errno = 0;
    // Some file systems cannot sync a folder (EINVAL); they keep names with the data.
    const bool failed = ::fsync(fd) != 0 && errno != EINVAL;
    const int reason = errno;
    ::close(fd);
    if (failed) {
        errno = reason;
        Fail("Cannot flush to disk the folder of", path);
    }
}

} // namespace tintara

#endif
