#pragma once
// A literal, one-byte-per-call implementation of the material-list search, used as
// the yardstick for the real scanner: the benchmark times it, and the tests and the
// fuzzer compare the real scanner's results with it. Not part of the product.

#include "material/Conversions.h"
#include "material/MaterialRecord.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tintara::reference {

struct Result {
    std::vector<MaterialRecord> entries;
    bool badFloat = false;
};

// Field by field, floats by their bits (a record's padding is not compared).
inline bool SameRecord(const MaterialRecord& a, const MaterialRecord& b) {
    return a.FileOffset == b.FileOffset && a.Modified == b.Modified &&
           a.ListNumber == b.ListNumber && std::memcmp(a.Red, b.Red, sizeof a.Red) == 0 &&
           std::memcmp(a.Green, b.Green, sizeof a.Green) == 0 &&
           std::memcmp(a.Blue, b.Blue, sizeof a.Blue) == 0 &&
           std::memcmp(a.Alpha, b.Alpha, sizeof a.Alpha) == 0 &&
           std::memcmp(&a.Power, &b.Power, sizeof a.Power) == 0;
}

// getByte() returns the next byte (0..255) or -1 at the end, like fgetc.
template <typename GetByte> Result Scan(GetByte&& getByte) {
    Result result;
    std::int64_t position = 0;
    std::int32_t lists = 0;
    auto next = [&]() {
        const int c = getByte();
        if (c >= 0)
            ++position;
        return c;
    };
    for (;;) {
        const int b0 = next();
        const int b1 = next();
        if (b1 < 0)
            return result;
        if (b0 != 0xB6 || b1 != 0x00)
            continue;
        const int lo = next();
        const int hi = next();
        if (lo < 0 || hi < 0)
            return result;
        const int count = lo + 256 * hi;
        if (count > 40 || count == 0)
            continue;
        bool reservedZero = true;
        for (int i = 0; i < 4; ++i) {
            const int c = next();
            if (c != 0)
                reservedZero = false;
        }
        if (!reservedZero)
            continue;
        ++lists;
        for (int e = 0; e < count; ++e) {
            MaterialRecord record;
            record.FileOffset = position;
            record.ListNumber = lists;
            // The whole entry is read before any of it is decoded, so an entry cut off
            // by the end of the file is dropped rather than reported.
            unsigned char bytes[MaterialEntrySize];
            for (unsigned char& b : bytes) {
                const int c = next();
                if (c < 0)
                    return result;
                b = static_cast<unsigned char>(c);
            }
            float values[17];
            for (int i = 0; i < 17; ++i) {
                try {
                    values[i] = ReadGuardedFloat(bytes + 4 * i);
                } catch (const ConversionError&) {
                    result.badFloat = true;
                    return result;
                }
            }
            for (int s = 0; s < 4; ++s) {
                record.Red[s] = values[4 * s];
                record.Green[s] = values[4 * s + 1];
                record.Blue[s] = values[4 * s + 2];
                record.Alpha[s] = values[4 * s + 3];
            }
            record.Power = values[16];
            result.entries.push_back(record);
        }
    }
}

} // namespace tintara::reference
