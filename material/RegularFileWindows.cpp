// Regular files on Windows: handles from CreateFileW, positioned reads and writes,
// FlushFileBuffers, and the volume serial number and file index as identity.

#ifdef _WIN32

#include "RegularFile.h"
#include "RegularFileErrors.h"

#include <windows.h>

#include <aclapi.h>

#include <algorithm>
#include <vector>

namespace tintara {

using detail::Fail;
using detail::NotRegular;

std::string LastSystemReason() {
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason;
    if (length > 0 && text != nullptr) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                             nullptr, nullptr);
        reason.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), reason.data(), size,
                            nullptr, nullptr);
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                                   reason.back() == ' ' || reason.back() == '.'))
            reason.pop_back();
    }
    if (text != nullptr)
        LocalFree(text);
    return reason.empty() ? "system error " + std::to_string(code) : reason;
}

namespace {

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

// Both file kinds end the same way: their bytes to the disk, then the handle closed once.
void SyncHandle(void* handle, const std::filesystem::path& path) {
    if (!FlushFileBuffers(static_cast<HANDLE>(handle)))
        Fail("Cannot flush to disk", path);
}

void CloseHandleOnce(void*& handle, const std::filesystem::path& path) {
    HANDLE closing = static_cast<HANDLE>(handle);
    handle = nullptr;
    if (closing != nullptr && !CloseHandle(closing))
        Fail("Cannot close", path);
}

} // namespace

RegularFile::RegularFile(const std::filesystem::path& path, Access access) : m_path(path) {
    const DWORD rights = access == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    HANDLE handle =
        CreateFileW(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        // A folder cannot be opened as a file: say what it is rather than "access denied".
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            NotRegular(path);
        Fail("Cannot open", path);
    }
    m_handle = handle;
    // Folders and volumes also report a disk type; the attributes tell them apart.
    BY_HANDLE_FILE_INFORMATION info = {};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        CloseHandle(handle);
        m_handle = nullptr;
        NotRegular(path);
    }
}

RegularFile::~RegularFile() {
    if (m_handle != nullptr)
        CloseHandle(static_cast<HANDLE>(m_handle));
}

FileStamp RegularFile::stamp() const {
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(static_cast<HANDLE>(m_handle), &info))
        Fail("Cannot examine", m_path);
    FileStamp stamp;
    stamp.valid = true;
    stamp.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp.device = info.dwVolumeSerialNumber;
    stamp.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return stamp;
}

std::size_t RegularFile::read(std::span<unsigned char> buffer) {
    DWORD got = 0;
    const auto want = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1u << 30));
    if (!ReadFile(static_cast<HANDLE>(m_handle), buffer.data(), want, &got, nullptr))
        Fail("Cannot read", m_path);
    return got;
}

void RegularFile::readAt(std::uint64_t offset, std::span<unsigned char> buffer) const {
    std::size_t done = 0;
    while (done < buffer.size()) {
        OVERLAPPED at = At(offset + done);
        DWORD got = 0;
        const auto want = static_cast<DWORD>(std::min<std::size_t>(buffer.size() - done, 1u << 30));
        if (!ReadFile(static_cast<HANDLE>(m_handle), buffer.data() + done, want, &got, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                throw IoError("Cannot read '" + PathText(m_path) + "': the file ends early");
            Fail("Cannot read", m_path);
        }
        if (got == 0)
            throw IoError("Cannot read '" + PathText(m_path) + "': the file ends early");
        done += got;
    }
}

void RegularFile::writeAt(std::uint64_t offset, std::span<const unsigned char> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED at = At(offset + done);
        DWORD put = 0;
        const auto want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(static_cast<HANDLE>(m_handle), bytes.data() + done, want, &put, &at) ||
            put == 0)
            Fail("Cannot write to", m_path);
        done += put;
    }
}

void RegularFile::sync() {
    SyncHandle(m_handle, m_path);
}

void RegularFile::close() {
    CloseHandleOnce(m_handle, m_path);
}

bool RegularFile::pathNamesThisFile() const {
    HANDLE other =
        CreateFileW(m_path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (other == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION mine = {};
    BY_HANDLE_FILE_INFORMATION theirs = {};
    const bool same = GetFileInformationByHandle(static_cast<HANDLE>(m_handle), &mine) &&
                      GetFileInformationByHandle(other, &theirs) &&
                      mine.dwVolumeSerialNumber == theirs.dwVolumeSerialNumber &&
                      mine.nFileIndexHigh == theirs.nFileIndexHigh &&
                      mine.nFileIndexLow == theirs.nFileIndexLow;
    CloseHandle(other);
    return same;
}

// The save lock is one byte far past the end of any file: a lock on the data would make
// other programs' reads fail.
constexpr std::uint64_t SaveLockStart = std::uint64_t{1} << 62;

bool RegularFile::tryLockForSave() {
    OVERLAPPED at = At(SaveLockStart);
    if (LockFileEx(static_cast<HANDLE>(m_handle),
                   LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
        return true;
    if (GetLastError() == ERROR_LOCK_VIOLATION || GetLastError() == ERROR_IO_PENDING)
        return false;
    Fail("Cannot lock", m_path);
}

bool RegularFile::lockedForSave() const {
    OVERLAPPED at = At(SaveLockStart);
    if (LockFileEx(static_cast<HANDLE>(m_handle), LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        UnlockFileEx(static_cast<HANDLE>(m_handle), 0, 1, 0, &at);
        return false;
    }
    if (GetLastError() == ERROR_LOCK_VIOLATION || GetLastError() == ERROR_IO_PENDING)
        return true;
    Fail("Cannot examine the locks of", m_path);
}

namespace {

// The owner SID of an open file, in a buffer the caller frees with LocalFree.
PSID OwnerOf(HANDLE handle, PSECURITY_DESCRIPTOR& descriptor, const std::filesystem::path& path) {
    PSID owner = nullptr;
    const DWORD status = GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                         nullptr, nullptr, nullptr, &descriptor);
    if (status != ERROR_SUCCESS) {
        SetLastError(status);
        Fail("Cannot examine the owner of", path);
    }
    return owner;
}

bool IsCurrentUser(PSID sid) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    bool same = false;
    if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size))
        same = EqualSid(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, sid) != 0;
    CloseHandle(token);
    return same;
}

} // namespace

bool RegularFile::ownedByUserOrOwnerOf(const RegularFile& other) const {
    PSECURITY_DESCRIPTOR mineHeld = nullptr;
    PSECURITY_DESCRIPTOR theirsHeld = nullptr;
    const PSID mine = OwnerOf(static_cast<HANDLE>(m_handle), mineHeld, m_path);
    bool trusted = IsCurrentUser(mine);
    if (!trusted) {
        try {
            const PSID theirs =
                OwnerOf(static_cast<HANDLE>(other.m_handle), theirsHeld, other.m_path);
            trusted = EqualSid(mine, theirs) != 0;
        } catch (const IoError&) {
            LocalFree(mineHeld);
            throw;
        }
    }
    LocalFree(mineHeld);
    LocalFree(theirsHeld);
    return trusted;
}

bool RegularFile::writableByOthers() const {
    return false;
}

void NewFile::shareAccessOf(const std::filesystem::path&, bool) {
    // A new file takes the access rules its folder passes on, as any file made there.
}

void SyncFolderOf(const std::filesystem::path&) {
    // Windows puts a file's name on the disk with the file's own metadata.
}

NewFile::NewFile(const std::filesystem::path& path) : m_path(path) {
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        Fail("Cannot create", path);
    m_handle = handle;
}

NewFile::~NewFile() {
    if (m_handle != nullptr)
        CloseHandle(static_cast<HANDLE>(m_handle));
}

void NewFile::write(std::span<const unsigned char> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const auto want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(static_cast<HANDLE>(m_handle), bytes.data() + done, want, &put, nullptr) ||
            put == 0)
            Fail("Cannot write to", m_path);
        done += put;
    }
}

void NewFile::sync() {
    SyncHandle(m_handle, m_path);
}

void NewFile::close() {
    CloseHandleOnce(m_handle, m_path);
}

bool PathExists(const std::filesystem::path& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        error == ERROR_FILENAME_EXCED_RANGE) // none can be there
        return false;
    Fail("Cannot examine", path);
}

void RemoveFile(const std::filesystem::path& path) {
    if (!DeleteFileW(path.c_str()))
        Fail("Cannot remove", path);
}

void MoveNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when `to` exists.
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH))
        Fail("Cannot name the file", to);
}

} // namespace tintara

#endif
