#include "elfimage.h"

#include <cstring>

namespace tintara::test {
namespace {

void pad(QByteArray& data, int alignment) {
    while (data.size() % alignment != 0)
        data.append('\0');
}

QByteArray intBytes(std::uint64_t value, int width, bool bigEndian) {
    QByteArray bytes(width, '\0');
    putInt(bytes, 0, value, width, bigEndian);
    return bytes;
}

void appendHost32(QByteArray& data, std::uint32_t value) {
    data.append(reinterpret_cast<const char*>(&value), sizeof value);
}

} // namespace

void putInt(QByteArray& image, int pos, std::uint64_t value, int width, bool bigEndian) {
    for (int i = 0; i < width; ++i) {
        const int shift = bigEndian ? (width - 1 - i) * 8 : i * 8;
        image[pos + i] = static_cast<char>((value >> shift) & 0xff);
    }
}

QByteArray elfNote(const ElfShape& shape, const QByteArray& owner, std::uint32_t type,
                   const QList<std::uint32_t>& description) {
    const int alignment = static_cast<int>(shape.noteAlignment);
    QByteArray note;
    note += intBytes(static_cast<std::uint64_t>(owner.size() + 1), 4, shape.bigEndian);
    note += intBytes(static_cast<std::uint64_t>(description.size() * 4), 4, shape.bigEndian);
    note += intBytes(type, 4, shape.bigEndian);
    note += owner;
    note.append('\0');
    pad(note, alignment);
    for (const auto word : description)
        note += intBytes(word, 4, shape.bigEndian);
    pad(note, alignment);
    return note;
}

ElfOffsets elfOffsets(const ElfShape& shape, int notesSize) {
    const int header = shape.is64 ? 64 : 52;
    const int entry = shape.is64 ? 64 : 40;
    const int noteHeader = (header + notesSize + 7) / 8 * 8 + entry;
    return {shape.is64 ? 0x28 : 0x20,
            shape.is64 ? 0x3A : 0x2E,
            shape.is64 ? 0x3C : 0x30,
            header,
            noteHeader,
            noteHeader + (shape.is64 ? 24 : 16),
            noteHeader + (shape.is64 ? 32 : 20)};
}

QByteArray elfWithNotes(const ElfShape& shape, const QByteArray& notes) {
    const bool be = shape.bigEndian;
    const int headerSize = shape.is64 ? 64 : 52;
    const int entrySize = shape.is64 ? 64 : 40;
    QByteArray image(headerSize, '\0');
    image[0] = '\x7f';
    image[1] = 'E';
    image[2] = 'L';
    image[3] = 'F';
    image[4] = shape.is64 ? 2 : 1;
    image[5] = be ? 2 : 1;
    image[6] = 1;
    image += notes;
    pad(image, 8);
    const int tableOffset = static_cast<int>(image.size());
    QByteArray table(2 * entrySize, '\0');
    const int s = entrySize; // the note section's header; the first stays null
    putInt(table, s + 4, 7, 4, be);
    if (shape.is64) {
        putInt(table, s + 24, static_cast<std::uint64_t>(headerSize), 8, be);
        putInt(table, s + 32, static_cast<std::uint64_t>(notes.size()), 8, be);
        putInt(table, s + 48, shape.noteAlignment, 8, be);
    } else {
        putInt(table, s + 16, static_cast<std::uint64_t>(headerSize), 4, be);
        putInt(table, s + 20, static_cast<std::uint64_t>(notes.size()), 4, be);
        putInt(table, s + 32, shape.noteAlignment, 4, be);
    }
    image += table;
    const auto offsets = elfOffsets(shape, static_cast<int>(notes.size()));
    putInt(image, offsets.sectionTableOffset, static_cast<std::uint64_t>(tableOffset),
           shape.is64 ? 8 : 4, be);
    putInt(image, offsets.sectionEntrySize, static_cast<std::uint64_t>(entrySize), 2, be);
    putInt(image, offsets.sectionCount, 2, 2, be);
    return image;
}

QByteArray loaderCache(const QList<QPair<QByteArray, QByteArray>>& entries, bool withOldTable) {
    QByteArray prefix;
    if (withOldTable) {
        prefix = QByteArray("ld.so-1.7.0");
        prefix.append('\0');
        appendHost32(prefix, 1);
        prefix += QByteArray(12, '\0'); // one old entry, never read
        pad(prefix, 8);
    }
    constexpr int headerSize = 48;
    constexpr int entrySize = 24;
    const int stringsStart = headerSize + static_cast<int>(entries.size()) * entrySize;
    QByteArray strings;
    QByteArray table;
    for (const auto& [key, path] : entries) {
        const auto keyOffset = static_cast<std::uint32_t>(stringsStart + strings.size());
        strings += key;
        strings.append('\0');
        const auto pathOffset = static_cast<std::uint32_t>(stringsStart + strings.size());
        strings += path;
        strings.append('\0');
        appendHost32(table, 0x0303);
        appendHost32(table, keyOffset);
        appendHost32(table, pathOffset);
        table += QByteArray(12, '\0');
    }
    QByteArray header("glibc-ld.so.cache1.1");
    appendHost32(header, static_cast<std::uint32_t>(entries.size()));
    appendHost32(header, static_cast<std::uint32_t>(strings.size()));
    header += QByteArray(headerSize - header.size(), '\0');
    return prefix + header + table + strings;
}

} // namespace tintara::test
