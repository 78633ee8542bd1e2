// Finds the product version note in an ELF file by walking its section headers.
// Nothing is mapped or executed; every read is bounds-checked against the file size.

#include "framework/FileVersion.h"

#include <QByteArray>
#include <QIODevice>
#include <QtEndian>

namespace tintara {
namespace {

constexpr std::uint32_t SectionTypeNote = 7;
constexpr std::uint32_t VersionNoteType = 1;
constexpr char VersionNoteOwner[] = "Tintara"; // with its terminating zero: 8 bytes
constexpr quint64 MaxSectionHeaderBytes = 16u << 20;
constexpr quint64 MaxNoteSectionBytes = 1u << 20;

// Reads exactly `length` bytes at `offset`, or fails when they are not all in the file.
bool readAt(QIODevice& device, quint64 offset, quint64 length, QByteArray& out) {
    const auto size = static_cast<quint64>(device.size());
    if (offset > size || length > size - offset)
        return false;
    if (!device.seek(static_cast<qint64>(offset)))
        return false;
    out = device.read(static_cast<qint64>(length));
    return static_cast<quint64>(out.size()) == length;
}

// Decodes the integers of one image; callers check `pos + width <= data.size()`.
class Decoder {
public:
    explicit Decoder(bool bigEndian) : m_bigEndian(bigEndian) {}

    quint16 u16(const QByteArray& data, qsizetype pos) const {
        const auto* p = data.constData() + pos;
        return m_bigEndian ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
    }
    quint32 u32(const QByteArray& data, qsizetype pos) const {
        const auto* p = data.constData() + pos;
        return m_bigEndian ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
    }
    quint64 u64(const QByteArray& data, qsizetype pos) const {
        const auto* p = data.constData() + pos;
        return m_bigEndian ? qFromBigEndian<quint64>(p) : qFromLittleEndian<quint64>(p);
    }

private:
    bool m_bigEndian;
};

struct Section {
    quint32 type = 0;
    quint64 offset = 0;
    quint64 size = 0;
    quint64 alignment = 0;
};

// Layout of the file header and section headers for one ELF class.
struct ElfLayout {
    bool is64 = false;
    qsizetype headerSize() const { return is64 ? 64 : 52; }
    qsizetype sectionHeaderSize() const { return is64 ? 64 : 40; }
};

Section decodeSection(const QByteArray& table, qsizetype pos, const ElfLayout& layout,
                      const Decoder& d) {
    Section s;
    s.type = d.u32(table, pos + 4);
    if (layout.is64) {
        s.offset = d.u64(table, pos + 24);
        s.size = d.u64(table, pos + 32);
        s.alignment = d.u64(table, pos + 48);
    } else {
        s.offset = d.u32(table, pos + 16);
        s.size = d.u32(table, pos + 20);
        s.alignment = d.u32(table, pos + 32);
    }
    return s;
}

quint64 alignUp(quint64 value, quint64 alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// Walks the notes of one note section looking for ours.
std::optional<ProductVersion> findVersionNote(const QByteArray& notes, quint64 alignment,
                                              const Decoder& d) {
    const quint64 size = static_cast<quint64>(notes.size());
    quint64 pos = 0;
    while (size - pos >= 12) {
        const quint64 nameSize = d.u32(notes, static_cast<qsizetype>(pos));
        const quint64 descSize = d.u32(notes, static_cast<qsizetype>(pos + 4));
        const quint32 type = d.u32(notes, static_cast<qsizetype>(pos + 8));
        // The description and the next note start at the section's note alignment.
        const quint64 namePos = pos + 12;
        const quint64 descPos = alignUp(namePos + nameSize, alignment);
        if (descPos > size || descSize > size - descPos)
            return std::nullopt;
        const quint64 next = alignUp(descPos + descSize, alignment);
        if (type == VersionNoteType && nameSize == sizeof VersionNoteOwner && descSize >= 8 &&
            notes.mid(static_cast<qsizetype>(namePos), sizeof VersionNoteOwner) ==
                QByteArray(VersionNoteOwner, sizeof VersionNoteOwner)) {
            return ProductVersion{d.u32(notes, static_cast<qsizetype>(descPos)),
                                  d.u32(notes, static_cast<qsizetype>(descPos + 4))};
        }
        if (next > size)
            return std::nullopt;
        pos = next;
    }
    return std::nullopt;
}

} // namespace

std::optional<ProductVersion> ReadElfProductVersion(QIODevice& device) {
    QByteArray ident;
    if (!readAt(device, 0, 16, ident) || !ident.startsWith("\x7f"
                                                           "ELF"))
        return std::nullopt;
    const char elfClass = ident.at(4);
    const char encoding = ident.at(5);
    if ((elfClass != 1 && elfClass != 2) || (encoding != 1 && encoding != 2))
        return std::nullopt;
    const ElfLayout layout{elfClass == 2};
    const Decoder d(encoding == 2);

    QByteArray header;
    if (!readAt(device, 0, static_cast<quint64>(layout.headerSize()), header))
        return std::nullopt;
    const quint64 tableOffset = layout.is64 ? d.u64(header, 0x28) : d.u32(header, 0x20);
    const qsizetype entrySize = d.u16(header, layout.is64 ? 0x3A : 0x2E);
    quint64 count = d.u16(header, layout.is64 ? 0x3C : 0x30);
    if (tableOffset == 0 || entrySize < layout.sectionHeaderSize())
        return std::nullopt;

    // With many sections the real count sits in the first section header.
    QByteArray first;
    if (!readAt(device, tableOffset, static_cast<quint64>(entrySize), first))
        return std::nullopt;
    if (count == 0)
        count = decodeSection(first, 0, layout, d).size;
    if (count == 0 || count > MaxSectionHeaderBytes / static_cast<quint64>(entrySize))
        return std::nullopt;

    QByteArray table;
    if (!readAt(device, tableOffset, count * static_cast<quint64>(entrySize), table))
        return std::nullopt;
    for (quint64 i = 1; i < count; ++i) {
        const auto section = decodeSection(table, static_cast<qsizetype>(i) * entrySize, layout, d);
        if (section.type != SectionTypeNote || section.size > MaxNoteSectionBytes)
            continue;
        QByteArray notes;
        if (!readAt(device, section.offset, section.size, notes))
            continue;
        const quint64 alignment = section.alignment == 8 ? 8 : 4;
        if (const auto version = findVersionNote(notes, alignment, d))
            return version;
    }
    return std::nullopt;
}

} // namespace tintara
