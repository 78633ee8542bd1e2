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
    const int flags =
        (access == Access::Read ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
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
    errno = 0;
    const bool examined = ::fstat(m_fd, &info) == 0;
    const int reason = errno;
    if (!examined || !S_ISREG(info.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        errno = reason;
        if (!examined)
            Fail("Cannot examine", path);
        NotRegular(path);
    }
    // The descriptor stays non-blocking: a real regular file never blocks, and a file
    // that only looks like one (/proc/kmsg) is refused at its first read instead of
    // waiting for ever.
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
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            NotRegular(m_path);
        if (errno != EINTR)
            Fail("Cannot read", m_path);
    }
}

void RegularFile::readAt(std::uint64_t offset, std::span<unsigned char> buffer) const {
    std::size_t done = 0;
    while (done < buffer.size()) {
        errno = 0;
        const ssize_t got = ::pread(m_fd, buffer.data() + done, buffer.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            NotRegular(m_path);
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

// The save lock is one byte far past the end of any file: other programs' locks on the
// data never meet it.
constexpr off_t SaveLockStart = static_cast<off_t>(1) << 62;

#ifdef F_OFD_SETLK
constexpr int SetLock = F_OFD_SETLK; // owned by the open file, so two opens in one
constexpr int GetLock = F_OFD_GETLK; // process exclude each other too
#else
constexpr int SetLock = F_SETLK;
constexpr int GetLock = F_GETLK;
#endif

struct flock SaveLockRange(short type) {
    struct flock range = {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = SaveLockStart;
    range.l_len = 1;
    return range;
}

bool RegularFile::tryLockForSave() {
    struct flock range = SaveLockRange(F_WRLCK);
    for (;;) {
        errno = 0;
        if (::fcntl(m_fd, SetLock, &range) == 0)
            return true;
        if (errno == EAGAIN || errno == EACCES)
            return false;
        if (errno != EINTR)
            Fail("Cannot lock", m_path);
    }
}

bool RegularFile::lockedForSave() const {
    struct flock range = SaveLockRange(F_RDLCK);
    errno = 0;
    if (::fcntl(m_fd, GetLock, &range) != 0)
        Fail("Cannot examine the locks of", m_path);
    return range.l_type != F_UNLCK;
}

bool RegularFile::ownedByUserOrOwnerOf(const RegularFile& other) const {
    struct stat mine = {};
    struct stat theirs = {};
    errno = 0;
    if (::fstat(m_fd, &mine) != 0 || ::fstat(other.m_fd, &theirs) != 0)
        Fail("Cannot examine", m_path);
    return mine.st_uid == ::geteuid() || mine.st_uid == theirs.st_uid;
}

bool RegularFile::writableByOthers() const {
    struct stat info = {};
    errno = 0;
    if (::fstat(m_fd, &info) != 0)
        Fail("Cannot examine", m_path);
    return (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

NewFile::NewFile(const std::filesystem::path& path) : m_path(path) {
    // Private until shareAccessOf: a copy of a private model is never readable by others,
    // not even for a moment.
    do {
        errno = 0;
        m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0600);
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

void NewFile::shareAccessOf(const std::filesystem::path& model, bool othersMayWrite) {
    struct stat info = {};
    errno = 0;
    if (::stat(model.c_str(), &info) != 0)
        Fail("Cannot examine", model);
    mode_t mode = info.st_mode & 07777 & ~static_cast<mode_t>(S_ISUID | S_ISGID | S_ISVTX);
    if (!othersMayWrite)
        mode &= ~static_cast<mode_t>(S_IWGRP | S_IWOTH);
    // Root editing another user's file leaves that user able to use what it made.
    if (::geteuid() == 0 && info.st_uid != 0 && ::fchown(m_fd, info.st_uid, info.st_gid) != 0)
        Fail("Cannot give the owner of the model to", m_path);
    errno = 0;
    if (::fchmod(m_fd, mode) != 0)
        Fail("Cannot set the permissions of", m_path);
}

void NewFile::close() {
    CloseDescriptor(m_fd, m_path);
}

bool PathExists(const std::filesystem::path& path) {
    struct stat info = {};
    errno = 0;
    if (::lstat(path.c_str(), &info) == 0)
        return true;
    if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG) // none can be there
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
