#pragma once
// A regular file opened through the system's own handle: no buffering, reads and writes
// at explicit offsets, the identity of the open file (not of whatever its path names
// later), and a refusal of anything that is not a regular file (folders, FIFOs,
// devices) before a single byte is read. Opening never blocks: a FIFO without a writer
// is refused, not waited for.

#include "ByteSource.h"
#include "FileStamp.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace tintara {

class RegularFile {
public:
    enum class Access { Read, ReadWrite };

    // Throws IoError: "Cannot open '<file>': <reason>", or "'<file>' is not a regular
    // file".
    RegularFile(const std::filesystem::path& path, Access access);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    // Size and identity of the open file.
    FileStamp stamp() const;

    // Reads up to buffer.size() bytes from the current position; 0 only at the end.
    std::size_t read(std::span<unsigned char> buffer);
    // Reads exactly buffer.size() bytes at `offset`; a file that ends first is an error.
    void readAt(std::uint64_t offset, std::span<unsigned char> buffer) const;
    void writeAt(std::uint64_t offset, std::span<const unsigned char> bytes);
    // Asks the system to put the written data on the disk.
    void sync();
    void close();

    // Whether the path still names this open file (it may have been renamed or
    // replaced since it was opened).
    bool pathNamesThisFile() const;

    // The save lock: exclusive, held by this open of the file until it is closed, and
    // ended by the system with the process. It covers one byte far beyond any file's
    // end, so it never stops other programs reading. False when another open of the
    // file, in this process or another, holds it.
    bool tryLockForSave();
    // Whether another open of the file holds the save lock now.
    bool lockedForSave() const;

    // Whether the file belongs to the user running the program or to the owner of
    // `other`.
    bool ownedByUserOrOwnerOf(const RegularFile& other) const;
    // Whether users other than the owner may write it (always false on Windows, where
    // files take their folder's access rules).
    bool writableByOthers() const;

private:
    std::filesystem::path m_path;
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

// A file created new for writing; never opened over an existing file (that is an
// IoError, "... already exists"). Written from its start, in order. It is created
// readable by its owner only.
class NewFile {
public:
    explicit NewFile(const std::filesystem::path& path); // throws IoError
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    void write(std::span<const unsigned char> bytes);
    // Gives the file the permission bits of `model` (without the group and other write
    // bits unless `othersMayWrite`) and, for root, its owner. Nothing on Windows, where
    // a new file takes its folder's access rules.
    void shareAccessOf(const std::filesystem::path& model, bool othersMayWrite);
    void sync();
    void close();

private:
    std::filesystem::path m_path;
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

// Creates `path` new, gives it the access of `model` (see NewFile::shareAccessOf), has
// `fill` write it, then syncs it and its folder. On any failure what was created is
// removed and the error passes on: no half-written file stays behind.
void CreateWholeFile(const std::filesystem::path& path, const std::filesystem::path& model,
                     bool othersMayWrite, const std::function<void(NewFile&)>& fill);

// Whether anything exists at `path` (a link counts, whatever it points to). Throws
// IoError when that cannot be told.
bool PathExists(const std::filesystem::path& path);
// Removes a file; throws IoError naming it and the reason.
void RemoveFile(const std::filesystem::path& path);
// Gives the file at `from` the name `to`, never replacing an existing `to` (then the
// IoError says it already exists). Throws IoError naming the files and the reason.
void MoveNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);

// Syncs the folder that holds `path`, so that a file created, renamed or removed in it
// stays so after a crash (throws IoError when that fails). Does nothing where the
// system has no such operation.
void SyncFolderOf(const std::filesystem::path& path);

// The system's reason for the last failed call (errno, or GetLastError on Windows).
std::string LastSystemReason();

} // namespace tintara
