#pragma once
// The journal of a save: written and synced before the model's first byte is changed in
// place, and removed once the new bytes are on the disk. A journal left
// behind means a save was interrupted; it holds, for every entry the save writes, the
// bytes before and after, so the save can be finished or rolled back exactly.
//
// Format (little-endian): the 8 bytes "TNTJRNL1", the model's size (u64), the number
// of entries (u32), each entry as its offset (u64), the 68 bytes before and the 68
// bytes after, then the CRC-32 of everything before it (u32).

#include "JournalPlaces.h"
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

// The largest journal a model of `modelSize` bytes can have: one entry for every
// material entry it could hold, and never over a gigabyte. Anything larger is not read.
std::uint64_t LargestJournalSize(std::uint64_t modelSize);

// A journal on disk (see JournalPlaces.h). A new one goes beside the model when that
// place is free and usable, and otherwise into the user's state folder.
class DiskJournal final : public JournalStore {
public:
    // The journal of a save of `model`; `besideUsable` false when a file not ours holds
    // the place beside it.
    DiskJournal(const std::filesystem::path& model, const JournalPlaces& places,
                bool besideUsable = true);
    // The existing journal at `path`, found by a scan.
    DiskJournal(const std::filesystem::path& model, const JournalPlaces& places,
                const std::filesystem::path& path);
    std::string name() const override;
    bool exists() override;
    std::vector<unsigned char> read() override;
    void write(std::span<const unsigned char> bytes) override;
    void remove() override;

private:
    void create(const std::filesystem::path& path, std::span<const unsigned char> bytes);

    std::filesystem::path m_model;
    JournalPlaces m_places;
    std::filesystem::path m_path;
};

} // namespace tintara
