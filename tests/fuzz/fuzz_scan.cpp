// Differential fuzzing of the scanner: arbitrary bytes go to the project's scanner
// and to the one-byte-per-call reference; any difference in entries, list numbers,
// offsets, float bits or error aborts.

#include "ReferenceScanner.h"
#include "material/MaterialScanner.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tintara::MemoryByteSource source({data, size});
    tintara::MaterialTable table;
    const tintara::ScanResult result = tintara::ScanMaterials(source, table, 128 + size % 512);

    std::size_t position = 0;
    const auto expected =
        tintara::reference::Scan([&]() { return position < size ? int(data[position++]) : -1; });

    const bool badFloat = result.status == tintara::ScanStatus::BadFloat;
    if (badFloat != expected.badFloat || (!badFloat && !result.ok())) {
        std::fprintf(stderr, "status differs: scanner %d, reference bad float %d\n",
                     int(result.status), int(expected.badFloat));
        std::abort();
    }
    if (table.count() != expected.entries.size()) {
        std::fprintf(stderr, "entry count differs: %zu vs %zu\n", table.count(),
                     expected.entries.size());
        std::abort();
    }
    for (std::size_t i = 0; i < table.count(); ++i) {
        if (!tintara::reference::SameRecord(table[i], expected.entries[i])) {
            std::fprintf(stderr, "entry %zu differs\n", i);
            std::abort();
        }
    }
    return 0;
}
