#pragma once
// The journal of a save: written and synced beside the model before its first byte is
// changed in place, and removed once the new bytes are on the disk. A journal left
// behind means a save was interrupted; it holds, for every entry the save writes, the
// bytes before and after, so the save can be finished or rolled back exactly.
//
// Format (little-endian): the 8 bytes "TNTJRNL1", the model's size (u64), the number
// of entries (u32), each entry as its offset (u64), the 68 bytes before and the 68
// bytes after, then the CRC-32 of everything before it (u32).

#include "MaterialRecord.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tintara {

struct JournalEntry {
    std::uint64_t offset = 0;
    std::array<unsigned char, MaterialEntrySize> before = {};
    std::array<unsigned char, MaterialEntrySize> after = {};
};

struct Journal {
    std::uint64_t fileSize = 0;
    std::vector<JournalEntry> entries;
};

std::vector<unsigned char> EncodeJournal(const Journal& journal);
// Nothing when the bytes are not a whole journal with a matching checksum.
std::optional<Journal> DecodeJournal(std::span<const unsigned char> bytes);

// The CRC-32 (as zip and PNG use it) of `bytes`.
std::uint32_t Crc32(std::span<const unsigned char> bytes);

// Where the journal of one model lives. Every operation throws IoError naming the
// journal and the system's reason.
class JournalStore {
public:
    virtual ~JournalStore() = default;
    virtual std::string name() const = 0;
    virtual bool exists() = 0;
    virtual std::vector<unsigned char> read() = 0;
    // Creates the journal (never over an existing one) and syncs it and its folder.
    virtual void write(std::span<const unsigned char> bytes) = 0;
    // Removes the journal and syncs its folder.
    virtual void remove() = 0;
};

// "<model>.tintara-journal", beside the model.
std::filesystem::path JournalPathFor(const std::filesystem::path& model);

class DiskJournal final : public JournalStore {
public:
    explicit DiskJournal(const std::filesystem::path& model) : m_path(JournalPathFor(model)) {}
    std::string name() const override;
    bool exists() override;
    std::vector<unsigned char> read() override;
    void write(std::span<const unsigned char> bytes) override;
    void remove() override;

private:
    std::filesystem::path m_path;
};

} // namespace tintara
