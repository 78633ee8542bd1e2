#pragma once
// Builders of small synthetic ELF files and loader caches for the version reader tests.

#include <QByteArray>
#include <QList>
#include <QPair>

#include <cstdint>

namespace tintara::test {

struct ElfShape {
    bool is64 = true;
    bool bigEndian = false;
    std::uint64_t noteAlignment = 4;
};

// One note: owner (zero terminator added), type and description words.
QByteArray elfNote(const ElfShape& shape, const QByteArray& owner, std::uint32_t type,
                   const QList<std::uint32_t>& description);

// An ELF file with a null section and one note section holding `notes`.
QByteArray elfWithNotes(const ElfShape& shape, const QByteArray& notes);

// Offsets of header fields in images made by elfWithNotes().
struct ElfOffsets {
    int sectionTableOffset; // e_shoff
    int sectionEntrySize;   // e_shentsize
    int sectionCount;       // e_shnum
    int noteData;           // start of the note section's data
    int noteSectionHeader;  // start of the note section's header
    int noteSectionOffset;  // its sh_offset field
    int noteSectionSize;    // its sh_size field
};
ElfOffsets elfOffsets(const ElfShape& shape, int notesSize);

// Writes `value` as `width` bytes at `pos` in the shape's byte order.
void putInt(QByteArray& image, int pos, std::uint64_t value, int width, bool bigEndian);

// A new-format loader cache (host byte order) mapping each key to its path.
QByteArray loaderCache(const QList<QPair<QByteArray, QByteArray>>& entries,
                       bool withOldTable = false);

} // namespace tintara::test
