#include "MaterialScanner.h"

#include "Conversions.h"

#include <cstring>
#include <vector>

namespace tintara {
namespace {

constexpr std::size_t BlockSize = 256 * 1024;
constexpr unsigned char OpcodeLow = 0xB6;
constexpr unsigned char OpcodeHigh = 0x00;
constexpr std::size_t HeaderSize = 8;
constexpr unsigned MaxListCount = 40;

// A window onto the source that reads in large blocks and keeps a partly used tail
// when more contiguous bytes are needed.
class BlockReader {
public:
    explicit BlockReader(ByteSource& source) : m_source(source), m_buffer(BlockSize) {}

    const unsigned char* data() const { return m_buffer.data() + m_pos; }
    std::size_t available() const { return m_end - m_pos; }
    std::uint64_t offset() const { return m_base + m_pos; }
    void consume(std::size_t n) { m_pos += n; }

    // Makes at least `need` bytes available unless the source ends first; returns
    // whether they are.
    bool fill(std::size_t need) {
        if (available() >= need)
            return true;
        if (m_atEnd)
            return false;
        if (m_pos > 0) {
            const std::size_t tail = available();
            std::memmove(m_buffer.data(), m_buffer.data() + m_pos, tail);
            m_base += m_pos;
            m_pos = 0;
            m_end = tail;
        }
        // One read usually fills the block; read more only while too short, so the
        // bytes already here are used before a later read can fail.
        do {
            const std::size_t got =
                m_source.read(std::span(m_buffer.data() + m_end, m_buffer.size() - m_end));
            if (got == 0) {
                m_atEnd = true;
                break;
            }
            m_end += got;
        } while (m_end < need);
        return available() >= need;
    }

private:
    ByteSource& m_source;
    std::vector<unsigned char> m_buffer;
    std::uint64_t m_base = 0; // file offset of m_buffer[0]
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;
};

// Advances to the next opcode at an even offset. The reader's position is always at
// an even offset here, so bytes at even positions relative to it begin a pair.
// Returns false at the end of the source.
bool FindOpcode(BlockReader& reader) {
    for (;;) {
        if (!reader.fill(2))
            return false;
        const unsigned char* p = reader.data();
        const std::size_t n = reader.available();
        std::size_t from = 0;
        // The last byte can only be the second byte of a pair, so search n - 1 bytes.
        while (from < n - 1) {
            const auto* hit =
                static_cast<const unsigned char*>(std::memchr(p + from, OpcodeLow, n - 1 - from));
            if (!hit)
                break;
            const auto k = static_cast<std::size_t>(hit - p);
            if (k % 2 != 0) {
                from = k + 1;
            } else if (p[k + 1] != OpcodeHigh) {
                from = k + 2;
            } else {
                reader.consume(k);
                return true;
            }
        }
        // Every complete pair in view has been looked at; keep an unpaired last byte.
        reader.consume(n & ~std::size_t{1});
    }
}

MaterialRecord DecodeEntry(const unsigned char* p, std::uint64_t offset, std::int32_t list) {
    MaterialRecord record;
    record.FileOffset = static_cast<std::int64_t>(offset);
    record.Modified = 0;
    record.ListNumber = list;
    for (int slot = 0; slot < ColourSlotCount; ++slot) {
        const unsigned char* colour = p + 16 * slot;
        record.Red[slot] = ReadGuardedFloat(colour);
        record.Green[slot] = ReadGuardedFloat(colour + 4);
        record.Blue[slot] = ReadGuardedFloat(colour + 8);
        record.Alpha[slot] = ReadGuardedFloat(colour + 12);
    }
    record.Power = ReadGuardedFloat(p + 64);
    return record;
}

} // namespace

ScanResult ScanMaterials(ByteSource& source, MaterialTable& table) {
    table.clear();
    BlockReader reader(source);
    std::int32_t listCounter = 0;
    try {
        while (FindOpcode(reader)) {
            // A header the source cannot supply in full creates nothing, and nothing
            // after it could hold a complete list either.
            if (!reader.fill(HeaderSize))
                break;
            const unsigned char* h = reader.data();
            const unsigned count = h[2] + 256u * h[3];
            if (count == 0 || count > MaxListCount) {
                reader.consume(4);
                continue;
            }
            if (h[4] != 0 || h[5] != 0 || h[6] != 0 || h[7] != 0) {
                reader.consume(HeaderSize);
                continue;
            }
            reader.consume(HeaderSize);
            ++listCounter;
            for (unsigned i = 0; i < count; ++i) {
                if (!reader.fill(MaterialEntrySize))
                    return {}; // a truncated entry ends the scan; nothing is invented
                table.append(DecodeEntry(reader.data(), reader.offset(), listCounter));
                reader.consume(MaterialEntrySize);
            }
        }
    } catch (const ConversionError& error) {
        return {ScanStatus::BadFloat,
                std::string(error.what()) + " at offset " + std::to_string(reader.offset())};
    } catch (const IoError& error) {
        return {ScanStatus::ReadFailed, error.what()};
    }
    return {};
}

ScanResult ScanMaterialFile(const std::filesystem::path& path, MaterialTable& table) {
    table.clear();
    try {
        FileByteSource source(path);
        const FileStamp stamp = ReadFileStamp(path);
        ScanResult result = ScanMaterials(source, table);
        table.setStamp(stamp);
        if (!result.ok() && result.status == ScanStatus::BadFloat)
            result.message += " in '" + PathText(path) + "'";
        return result;
    } catch (const IoError& error) {
        return {ScanStatus::OpenFailed, error.what()};
    }
}

} // namespace tintara
