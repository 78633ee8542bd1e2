#include "SaveJournal.h"

#include "ByteSource.h"
#include "RegularFile.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <system_error>

namespace tintara {
namespace {

constexpr unsigned char Magic[8] = {'T', 'N', 'T', 'J', 'R', 'N', 'L', '1'};
constexpr std::size_t HeaderBytes = 8 + 8 + 4;
constexpr std::size_t EntryBytes = 8 + 2 * MaterialEntrySize;
constexpr std::uint64_t MaxJournalBytes = 1ull << 30;

void PutLE(std::vector<unsigned char>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::uint64_t GetLE(const unsigned char* p, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

} // namespace

std::uint32_t Crc32(std::span<const unsigned char> bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char b : bytes)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::vector<unsigned char> EncodeJournal(const Journal& journal) {
    std::vector<unsigned char> out(std::begin(Magic), std::end(Magic));
    out.reserve(HeaderBytes + journal.entries.size() * EntryBytes + 4);
    PutLE(out, journal.fileSize, 8);
    PutLE(out, journal.entries.size(), 4);
    for (const JournalEntry& entry : journal.entries) {
        PutLE(out, entry.offset, 8);
        out.insert(out.end(), entry.before.begin(), entry.before.end());
        out.insert(out.end(), entry.after.begin(), entry.after.end());
    }
    PutLE(out, Crc32(out), 4);
    return out;
}

std::optional<Journal> DecodeJournal(std::span<const unsigned char> bytes) {
    if (bytes.size() < HeaderBytes + 4 || std::memcmp(bytes.data(), Magic, 8) != 0)
        return std::nullopt;
    const std::uint64_t count = GetLE(bytes.data() + 16, 4);
    if ((bytes.size() - HeaderBytes - 4) / EntryBytes != count ||
        (bytes.size() - HeaderBytes - 4) % EntryBytes != 0)
        return std::nullopt;
    const auto checked = bytes.first(bytes.size() - 4);
    if (Crc32(checked) != GetLE(bytes.data() + bytes.size() - 4, 4))
        return std::nullopt;
    Journal journal;
    journal.fileSize = GetLE(bytes.data() + 8, 8);
    journal.entries.resize(static_cast<std::size_t>(count));
    const unsigned char* p = bytes.data() + HeaderBytes;
    for (JournalEntry& entry : journal.entries) {
        entry.offset = GetLE(p, 8);
        std::memcpy(entry.before.data(), p + 8, MaterialEntrySize);
        std::memcpy(entry.after.data(), p + 8 + MaterialEntrySize, MaterialEntrySize);
        p += EntryBytes;
    }
    return journal;
}

std::uint64_t LargestJournalSize(std::uint64_t modelSize) {
    // Never more than read() takes, whatever the model's size.
    return std::min<std::uint64_t>(HeaderBytes + 4 + EntryBytes * (modelSize / MaterialEntrySize),
                                   MaxJournalBytes);
}

DiskJournal::DiskJournal(const std::filesystem::path& model, const JournalPlaces& places,
                         bool besideUsable)
    : m_model(model), m_places(places), m_path(besideUsable ? places.beside : places.inState) {}

DiskJournal::DiskJournal(const std::filesystem::path& model, const JournalPlaces& places,
                         const std::filesystem::path& path)
    : m_model(model), m_places(places), m_path(path) {}

std::string DiskJournal::name() const {
    return PathText(m_path);
}

bool DiskJournal::exists() {
    return !m_path.empty() && PathExists(m_path);
}

std::vector<unsigned char> DiskJournal::read() {
    RegularFile file(m_path, RegularFile::Access::Read);
    // A journal holds at most one entry for every 68 bytes of its model; anything
    // larger than a gigabyte is not one of ours.
    const std::uint64_t size = file.stamp().size;
    if (size > MaxJournalBytes)
        throw IoError("'" + name() + "' is too large to be a journal");
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    file.readAt(0, bytes);
    return bytes;
}

void DiskJournal::create(const std::filesystem::path& path, std::span<const unsigned char> bytes) {
    // Never writable by others, whatever the model allows: a journal is trusted only so.
    CreateWholeFile(path, m_model, false, [&](NewFile& file) { file.write(bytes); });
}

void DiskJournal::write(std::span<const unsigned char> bytes) {
    std::string reasons;
    if (m_path == m_places.beside) {
        try {
            create(m_path, bytes);
            // Hard links of the model find it through the record; without one, every
            // name that resolves to this file still does.
            try {
                WriteJournalRecord(m_places, m_path);
            } catch (const IoError&) {
            }
            return;
        } catch (const IoError& error) {
            reasons = error.what();
        }
    }
    // The folder cannot take it (not writable, full, a name too long): the state folder.
    if (m_places.inState.empty())
        throw IoError(reasons.empty() ? "no state folder is set (HOME)" : reasons);
    try {
        std::error_code ignored;
        const std::filesystem::path folder = m_places.inState.parent_path();
        if (std::filesystem::create_directories(folder, ignored))
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ignored);
        create(m_places.inState, bytes);
        m_path = m_places.inState;
    } catch (const IoError& error) {
        throw IoError(reasons.empty() ? std::string(error.what())
                                      : reasons.append("; ").append(error.what()));
    }
}

void DiskJournal::remove() {
    RemoveFile(m_path);
    SyncFolderOf(m_path);
    try {
        RemoveJournalRecord(m_places, m_path);
    } catch (const IoError&) {
        // A record naming no journal is ignored by the next scan.
    }
}

} // namespace tintara
