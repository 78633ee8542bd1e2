#include "ModelContainers.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>

namespace tintara {
namespace {

constexpr const char* ChunkSizesProblem = "The file's chunk sizes run past its end";
constexpr const char* NoCodeProblem = "The model file holds no drawing code";
constexpr const char* NotAModelProblem =
    "Not a model or scenery file whose drawing code the editor can read";
constexpr const char* OldBglProblem = "Old-style scenery code is not read yet";

constexpr std::uint32_t OldBglMagic = 0x87654321u;
constexpr std::size_t OldBglMagicAt = 118;
constexpr unsigned NewBglFirstWord = 0x0201;
constexpr std::uint32_t ModelDataSection = 0x2B;
constexpr std::size_t SectionEntrySize = 20, SubsectionEntrySize = 16, ModelRecordSize = 24;

class Bytes {
public:
    explicit Bytes(std::span<const unsigned char> file) : m_file(file) {}
    bool Has(std::size_t at, std::size_t count) const {
        return at <= m_file.size() && count <= m_file.size() - at;
    }
    std::optional<std::uint32_t> U32(std::size_t at) const {
        if (!Has(at, 4))
            return std::nullopt;
        return m_file[at] | (std::uint32_t(m_file[at + 1]) << 8) |
               (std::uint32_t(m_file[at + 2]) << 16) | (std::uint32_t(m_file[at + 3]) << 24);
    }
    unsigned U16(std::size_t at) const { return m_file[at] | (unsigned(m_file[at + 1]) << 8); }
    bool IdAt(std::size_t at, const char* id) const {
        return Has(at, 4) && std::memcmp(&m_file[at], id, 4) == 0;
    }
    // A RIFF of the given form type at `at`.
    bool RiffAt(std::size_t at, const char* form) const {
        return IdAt(at, "RIFF") && IdAt(at + 8, form);
    }

private:
    std::span<const unsigned char> m_file;
};

struct CurrentLists {
    std::int64_t vertex = -1, material = -1, texture = -1;
};

// The list instruction at the start of a TEXT, MATE or VERT chunk, when it fits there.
void TakeList(const Bytes& bytes, std::size_t begin, std::size_t end, unsigned opcode,
              std::size_t element, std::int64_t& list) {
    if (end - begin < 8 || bytes.U16(begin) != opcode)
        return;
    if (8 + element * bytes.U16(begin + 2) <= end - begin)
        list = static_cast<std::int64_t>(begin);
}

// Reads the chunks in [begin, end), descending into EXTE; each `BGL ` chunk becomes a
// block with the lists its object's chunks set before it. False: a size runs past end.
bool ReadChunks(const Bytes& bytes, std::size_t begin, std::size_t end, CurrentLists& lists,
                std::vector<CodeBlock>& blocks) {
    std::size_t at = begin;
    while (end - at >= 8) {
        const std::size_t size = *bytes.U32(at + 4);
        if (size > end - at - 8)
            return false;
        const std::size_t data = at + 8, dataEnd = data + size;
        if (bytes.IdAt(at, "EXTE")) {
            if (!ReadChunks(bytes, data, dataEnd, lists, blocks))
                return false;
        } else if (bytes.IdAt(at, "TEXT")) {
            TakeList(bytes, data, dataEnd, 0xB7, 80, lists.texture);
        } else if (bytes.IdAt(at, "MATE")) {
            TakeList(bytes, data, dataEnd, 0xB6, 68, lists.material);
        } else if (bytes.IdAt(at, "VERT")) {
            TakeList(bytes, data, dataEnd, 0xB5, 32, lists.vertex);
        } else if (bytes.IdAt(at, "BGL ")) {
            blocks.push_back({data, dataEnd, lists.vertex, lists.material, lists.texture});
        }
        // Chunks keep an even length; the pad byte may be missing after the last one.
        at = std::min(end, dataEnd + (size & 1));
    }
    return true;
}

// A RIFF model at [begin, limit): false when its sizes run past `limit`.
bool ReadRiffModel(const Bytes& bytes, std::size_t begin, std::size_t limit,
                   std::vector<CodeBlock>& blocks) {
    if (limit - begin < 12)
        return false;
    const std::size_t size = *bytes.U32(begin + 4);
    if (size < 4 || size > limit - begin - 8)
        return false;
    CurrentLists lists;
    return ReadChunks(bytes, begin + 12, begin + 8 + size, lists, blocks);
}

ModelLayout Finish(ModelLayout layout, bool sizesFit) {
    if (!sizesFit)
        layout.problem = ChunkSizesProblem;
    else if (layout.blocks.empty())
        layout.problem = NoCodeProblem;
    return layout;
}

// Every RIFF MDL9 object of the model-data sections, each read once.
ModelLayout ReadNewBgl(const Bytes& bytes, std::size_t fileSize) {
    ModelLayout layout;
    bool sizesFit = true;
    std::set<std::size_t> objects;
    // Tables may point at each other's records: the records looked at stay within what
    // the file could hold.
    std::size_t recordsLeft = fileSize / ModelRecordSize + 1;
    const std::size_t sectionTable = bytes.U32(4).value_or(0);
    const std::uint32_t sectionCount = bytes.U32(20).value_or(0);
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t section = sectionTable + SectionEntrySize * i;
        if (!bytes.Has(section, SectionEntrySize))
            break;
        if (*bytes.U32(section) != ModelDataSection)
            continue;
        const std::uint32_t subsections = *bytes.U32(section + 8);
        const std::size_t subsectionTable = *bytes.U32(section + 12);
        for (std::size_t j = 0; j < subsections; ++j) {
            const std::size_t subsection = subsectionTable + SubsectionEntrySize * j;
            if (!bytes.Has(subsection, SubsectionEntrySize))
                break;
            const std::uint32_t records = *bytes.U32(subsection + 4);
            const std::size_t recordTable = *bytes.U32(subsection + 8);
            for (std::size_t k = 0; k < records && recordsLeft > 0; ++k, --recordsLeft) {
                const std::size_t record = recordTable + ModelRecordSize * k;
                if (!bytes.Has(record, ModelRecordSize))
                    break;
                const std::int64_t place =
                    std::int64_t(recordTable) + std::int32_t(*bytes.U32(record + 16));
                if (place < 0 || !bytes.RiffAt(std::size_t(place), "MDL9") ||
                    !objects.insert(std::size_t(place)).second)
                    continue;
                layout.format = ModelFormat::Mdl9;
                const std::size_t begin = std::size_t(place), size = *bytes.U32(record + 20);
                if (!bytes.Has(begin, size) ||
                    !ReadRiffModel(bytes, begin, begin + size, layout.blocks))
                    sizesFit = false;
            }
        }
    }
    if (layout.format == ModelFormat::None) {
        layout.problem = NotAModelProblem;
        return layout;
    }
    return Finish(std::move(layout), sizesFit);
}

} // namespace

ModelLayout ReadModelLayout(std::span<const unsigned char> file) {
    const Bytes bytes(file);
    ModelLayout layout;
    if (bytes.RiffAt(0, "MDL8") || bytes.RiffAt(0, "MDL9")) {
        layout.format = bytes.IdAt(8, "MDL8") ? ModelFormat::Mdl8 : ModelFormat::Mdl9;
        const bool sizesFit = ReadRiffModel(bytes, 0, file.size(), layout.blocks);
        return Finish(std::move(layout), sizesFit);
    }
    if (file.size() >= 2 && bytes.U16(0) == NewBglFirstWord)
        return ReadNewBgl(bytes, file.size());
    if (file.size() >= 2 && file[1] == 0 && bytes.U32(OldBglMagicAt) == OldBglMagic) {
        layout.format = ModelFormat::Bgl;
        layout.problem = OldBglProblem;
        return layout;
    }
    layout.problem = NotAModelProblem;
    return layout;
}

} // namespace tintara
