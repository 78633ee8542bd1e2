// Fuzzing of the save: a model built from the input is scanned, random edits are made
// to the table, the file is changed at random between the scan and the save, and the
// save runs. Every outcome must be either exactly the intended bytes (the file as it is
// now with the edited entries composed in) where the save's checks allow it, or a
// refusal that leaves the file untouched where they do not; never anything else.

#include "MemoryFiles.h"
#include "material/Conversions.h"
#include "material/MaterialScanner.h"
#include "material/WriteBack.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace tintara;

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::uint32_t word() {
        std::uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w = w << 8 | byte();
        return w;
    }
    float anyFloat() {
        const std::uint32_t w = word();
        float f;
        std::memcpy(&f, &w, 4);
        return f;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);

    // A model of one to three lists of one to four entries, with filler between.
    std::vector<unsigned char> model(in.byte() % 16, 0x11);
    const int lists = 1 + in.byte() % 3;
    for (int l = 0; l < lists; ++l) {
        const int count = 1 + in.byte() % 4;
        const unsigned char header[8] = {0xB6, 0, static_cast<unsigned char>(count), 0, 0, 0, 0, 0};
        model.insert(model.end(), header, header + 8);
        for (int e = 0; e < count * 17; ++e) {
            float value = in.anyFloat();
            if (value != value)
                value = 0.5f; // a NaN would end the scan
            unsigned char bytes[4];
            EncodeFloatLE(value, bytes);
            model.insert(model.end(), bytes, bytes + 4);
        }
        model.insert(model.end(), in.byte() % 8 * 2, 0x22);
    }
    MaterialTable table;
    MemoryByteSource source(model);
    if (!ScanMaterials(source, table).ok())
        return 0;
    table.setStamp({true, model.size(), 1, 1});

    // Edits: some fields of some entries.
    for (std::size_t i = 0; i < table.count(); ++i) {
        if (in.byte() % 2 == 0)
            continue;
        MaterialRecord& r = table[i];
        const std::uint32_t fields = in.word() & AllFields;
        if (fields == 0)
            continue; // (Modified with no field marked stands for the whole entry)
        for (int field = 0; field < 17; ++field) {
            if (!(fields & (1u << field)))
                continue;
            float value = in.anyFloat();
            if (value != value)
                value = 1.0f;
            float* slot = field == 16 ? &r.Power
                                      : (field % 4 == 0   ? &r.Red[field / 4]
                                         : field % 4 == 1 ? &r.Green[field / 4]
                                         : field % 4 == 2 ? &r.Blue[field / 4]
                                                          : &r.Alpha[field / 4]);
            *slot = value;
        }
        r.ChangedFields = fields;
        r.Modified = 1;
    }

    // What another program does meanwhile.
    std::vector<unsigned char> now = model;
    switch (in.byte() % 6) {
    case 0:
        break;
    case 1: // one byte anywhere
        if (!now.empty())
            now[in.word() % now.size()] ^= static_cast<unsigned char>(1 + in.byte() % 255);
        break;
    case 2: // longer or shorter
        if (in.byte() % 2 || now.empty())
            now.push_back(in.byte());
        else
            now.pop_back();
        break;
    case 3: { // the same size, shifted
        const std::size_t by = 1 + in.byte() % 8;
        if (by < now.size()) {
            std::vector<unsigned char> shifted(by, 0x33);
            shifted.insert(shifted.end(), now.begin(), now.end() - std::ptrdiff_t(by));
            now = shifted;
        }
        break;
    }
    case 4: // a save cut short: some edited entries already hold their new bytes
        for (std::size_t i = 0; i < table.count(); ++i)
            if (table[i].Modified && in.byte() % 2)
                ComposeMaterialEntry(table[i], now.data() + table[i].FileOffset);
        break;
    default: // a few bytes in the filler or the entries
        for (int k = 0; k < 3 && !now.empty(); ++k)
            now[in.word() % now.size()] = in.byte();
    }

    // Whether the save may go ahead: same size, every header and every edited entry
    // as the scan read it (an entry may hold its new bytes).
    bool allowed = now.size() == model.size();
    for (const ListHeader& h : table.listHeaders())
        allowed = allowed && std::memcmp(now.data() + h.offset, h.bytes.data(), 8) == 0;
    std::vector<unsigned char> expected = now;
    for (std::size_t i = 0; i < table.count() && allowed; ++i) {
        const MaterialRecord& r = table[i];
        if (!r.Modified)
            continue;
        unsigned char after[MaterialEntrySize];
        ComposeMaterialEntry(r, after);
        const unsigned char* there = now.data() + r.FileOffset;
        allowed = std::memcmp(there, r.Stored.data(), MaterialEntrySize) == 0 ||
                  std::memcmp(there, after, MaterialEntrySize) == 0;
        std::memcpy(expected.data() + r.FileOffset, after, MaterialEntrySize);
        // Only the edited fields may differ from what was read.
        for (int field = 0; field < 17; ++field)
            if (!(r.ChangedFields & (1u << field)) &&
                std::memcmp(after + 4 * field, r.Stored.data() + 4 * field, 4) != 0)
                Fail("a field no edit changed would be written");
    }

    test::MemoryDisk disk(now);
    test::MemoryFile file(disk);
    test::MemoryJournal journal(disk);
    const WriteBackResult result = WriteModifiedMaterials(file, journal, table);
    if (disk.journal)
        Fail("a journal was left behind");
    if (result.ok) {
        if (!allowed)
            Fail("saved although the file changed");
        if (disk.model != expected)
            Fail("saved other bytes than intended");
    } else {
        if (allowed && table.anyModified())
            Fail("refused although the file holds what was read");
        if (disk.model != now)
            Fail("a refused save changed the file");
    }
    return 0;
}
