#include "MaterialScanner.h"

#include "Conversions.h"
#include "FileByteSource.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define TINTARA_HAVE_SSE2 1
#include <emmintrin.h>
#endif

#if defined(_MSC_VER)
#define TINTARA_NOINLINE __declspec(noinline)
#else
#define TINTARA_NOINLINE __attribute__((noinline))
#endif

namespace tintara {
namespace {

constexpr std::size_t HeaderSize = 8;
constexpr unsigned MaxListCount = 40;

// A window onto the source that reads in large blocks and keeps a partly used tail
// when more contiguous bytes are needed.
class BlockReader {
public:
    BlockReader(ByteSource& source, std::size_t blockSize)
        : m_source(source), m_buffer(std::max<std::size_t>(blockSize, 128)) {}

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

std::uint64_t LoadLE64(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) {
        std::uint64_t swapped = 0;
        for (int i = 0; i < 8; ++i)
            swapped = swapped << 8 | ((v >> (8 * i)) & 0xFF);
        v = swapped;
    }
    return v;
}

// Returns the first even position from `i` whose two bytes are the opcode, or a
// position less than a word from the end of the view when there is none before it.
// The positions are even, so the 16-bit little-endian lanes of a vector or a word
// are exactly the two-byte steps of the search.
// Kept out of line so the loop over consecutive opcodes in FindHeader stays tight.
TINTARA_NOINLINE std::size_t SkipToOpcode(const unsigned char* p, std::size_t i, std::size_t n) {
#if defined(TINTARA_HAVE_SSE2)
    const __m128i opcode = _mm_set1_epi16(0x00B6);
    while (i + 32 <= n) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 16));
        const auto matches =
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi16(a, opcode))) |
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi16(b, opcode))) << 16;
        if (matches != 0)
            return i + static_cast<std::size_t>(std::countr_zero(matches));
        i += 32;
    }
#endif
    constexpr std::uint64_t opcodeLanes = 0x00B600B600B600B6ull;
    constexpr std::uint64_t ones = 0x0001000100010001ull;
    constexpr std::uint64_t highs = 0x8000800080008000ull;
    while (i + 8 <= n) {
        const std::uint64_t x = LoadLE64(p + i) ^ opcodeLanes;
        const std::uint64_t zeroLanes = (x - ones) & ~x & highs;
        if (zeroLanes != 0) // the lowest flagged lane is always a real match
            return i + 2 * static_cast<std::size_t>(std::countr_zero(zeroLanes) / 16);
        i += 8;
    }
    return i;
}

// From a position just after a header rejected for its count, steps over further
// headers rejected for their count that follow it four bytes apart, four at a time:
// the same steps the search would take one by one. Returns the position reached.
std::size_t SkipRejectedCounts(const unsigned char* p, std::size_t i, std::size_t n) {
#if defined(TINTARA_HAVE_SSE2)
    const __m128i opcode = _mm_set1_epi16(0x00B6);
    const __m128i zero = _mm_setzero_si128();
    const __m128i maxCount = _mm_set1_epi16(static_cast<short>(MaxListCount));
    while (i + 16 + HeaderSize <= n) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        // Opcodes in the 16-bit lanes at bytes 0, 4, 8 and 12 ...
        const int opcodes = _mm_movemask_epi8(_mm_cmpeq_epi16(v, opcode)) & 0x3333;
        // ... and no count from 1 to 40 in the lanes after them.
        const __m128i upTo40 = _mm_cmpeq_epi16(_mm_subs_epu16(v, maxCount), zero);
        const __m128i acceptable = _mm_andnot_si128(_mm_cmpeq_epi16(v, zero), upTo40);
        const int counts = _mm_movemask_epi8(acceptable) & 0xCCCC;
        if (opcodes != 0x3333 || counts != 0)
            break;
        i += 16;
    }
#else
    (void)p;
    (void)n;
#endif
    return i;
}

// Looks through the bytes in view for the next acceptable list header, skipping the
// opcodes whose headers are rejected. Returns the header's position, or the position
// where fewer than a header's bytes remain in view (then `found` is false).
std::size_t FindHeader(const unsigned char* p, std::size_t n, bool& found) {
    std::size_t i = 0;
    found = false;
    while (i + HeaderSize <= n) {
        // One little-endian load holds the opcode, the count and the reserved bytes.
        const std::uint64_t header = LoadLE64(p + i);
        if ((header & 0xFFFF) != 0x00B6) {
            // Runs of opcodes take the path below instead, whose steps the processor
            // can predict, so a file full of rejected headers is still read quickly.
            i = SkipToOpcode(p, i + 2, n);
            continue;
        }
        const auto count = static_cast<unsigned>((header >> 16) & 0xFFFF);
        if (count - 1u >= MaxListCount) { // 0 wraps round and is rejected too
            i = SkipRejectedCounts(p, i + 4, n);
            continue;
        }
        if ((header >> 32) != 0) {
            i += HeaderSize;
            continue;
        }
        found = true;
        break;
    }
    return i;
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
    std::memcpy(record.Stored.data(), p, MaterialEntrySize);
    return record;
}

} // namespace

ScanResult ScanMaterials(ByteSource& source, MaterialTable& table, std::size_t blockSize) {
    table.clear();
    BlockReader reader(source, blockSize);
    std::int32_t listCounter = 0;
    try {
        // A header the source cannot supply in full creates nothing, and nothing after
        // it could hold a complete list either.
        while (reader.fill(HeaderSize)) {
            bool found = false;
            reader.consume(FindHeader(reader.data(), reader.available(), found));
            if (!found)
                continue;
            const unsigned count = reader.data()[2] + 256u * reader.data()[3];
            ListHeader header;
            header.offset = static_cast<std::int64_t>(reader.offset());
            std::memcpy(header.bytes.data(), reader.data(), HeaderSize);
            table.appendListHeader(header);
            reader.consume(HeaderSize);
            ++listCounter;
            for (unsigned i = 0; i < count; ++i) {
                if (!reader.fill(MaterialEntrySize))
                    return {}; // a truncated entry ends the scan; nothing is invented
                table.append(DecodeEntry(reader.data(), reader.offset(), listCounter));
                reader.consume(MaterialEntrySize);
            }
        }
    } catch (const ConversionError&) {
        // The guard refuses only NaN; the reader still stands at the entry's start.
        char place[64];
        std::snprintf(place, sizeof place, "NaN in the material at offset 0x%08llX",
                      static_cast<unsigned long long>(reader.offset()));
        return {ScanStatus::BadFloat, place};
    } catch (const IoError& error) {
        return {ScanStatus::ReadFailed, error.what()};
    }
    return {};
}

std::vector<ListPlace> LocateMaterialLists(ByteSource& source) {
    std::vector<ListPlace> lists;
    BlockReader reader(source, DefaultScanBlockSize);
    while (reader.fill(HeaderSize)) {
        bool found = false;
        reader.consume(FindHeader(reader.data(), reader.available(), found));
        if (!found)
            continue;
        ListPlace list{reader.offset(), reader.data()[2] + 256u * reader.data()[3]};
        reader.consume(HeaderSize);
        // Entry by entry as the scan takes them, so both end at the same place.
        for (unsigned i = 0; i < list.count; ++i) {
            if (!reader.fill(MaterialEntrySize)) {
                list.count = i;
                break;
            }
            reader.consume(MaterialEntrySize);
        }
        lists.push_back(list);
    }
    return lists;
}

ScanResult ScanMaterialFile(const std::filesystem::path& path, MaterialTable& table) {
    table.clear();
    try {
        FileByteSource source(path);
        // Of the open file itself, so a rename after the open cannot slip in another.
        const FileStamp stamp = source.stamp();
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
