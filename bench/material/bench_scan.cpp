// Scan throughput: the project's scanner against a one-byte-per-fgetc reference and
// against memchr over the same bytes (the practical limit of reading through the
// page cache), on a large pseudo-random file with material lists and traps sown in,
// and on a worst case that repeats B6 00 29 00.
//
//   bench_scan [--size BYTES[K|M|G]] [--dir FOLDER] [--keep]

#include "ReferenceScanner.h"
#include "material/Conversions.h"
#include "material/MaterialScanner.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    std::uint64_t size = 1ull << 30;
    std::filesystem::path dir = std::filesystem::temp_directory_path();
    bool keep = false;
};

std::uint64_t ParseSize(const std::string& text) {
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    switch (end && *end ? *end : ' ') {
    case 'G':
    case 'g':
        value *= 1024.0 * 1024 * 1024;
        break;
    case 'M':
    case 'm':
        value *= 1024.0 * 1024;
        break;
    case 'K':
    case 'k':
        value *= 1024.0;
        break;
    default:
        break;
    }
    return static_cast<std::uint64_t>(value);
}

// Streams `size` bytes from `next` into a file through a 1 MiB buffer.
void WriteFile(const std::filesystem::path& path, std::uint64_t size,
               const std::function<void(std::vector<unsigned char>&)>& next) {
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) {
        std::perror(path.string().c_str());
        std::exit(1);
    }
    std::vector<unsigned char> chunk;
    std::uint64_t written = 0;
    while (written < size) {
        chunk.clear();
        next(chunk);
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - written));
        if (std::fwrite(chunk.data(), 1, n, f) != n) {
            std::perror("write");
            std::exit(1);
        }
        written += n;
    }
    if (std::fclose(f) != 0) {
        std::perror("close");
        std::exit(1);
    }
}

void PutFloat(std::vector<unsigned char>& b, float v) {
    unsigned char bytes[4];
    tintara::EncodeFloatLE(v, bytes);
    b.insert(b.end(), bytes, bytes + 4);
}

// 1 MiB of random bytes, then material lists and traps at even and odd offsets.
void RandomChunk(std::mt19937_64& random, std::vector<unsigned char>& b) {
    b.resize(1 << 20);
    for (std::size_t i = 0; i < b.size(); i += 8) {
        const std::uint64_t r = random();
        std::memcpy(b.data() + i, &r, 8);
    }
    std::uniform_real_distribution<float> channel(0.0f, 1.0f);
    auto put = [&](std::size_t at, std::initializer_list<unsigned char> bytes) {
        std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
    };
    for (std::size_t at = 4096; at + 8 + 40 * 68 < b.size(); at += 65536) {
        const auto count = static_cast<unsigned char>(1 + random() % 40);
        put(at, {0xB6, 0x00, count, 0x00, 0, 0, 0, 0});
        std::vector<unsigned char> entries;
        for (int i = 0; i < count * 17; ++i)
            PutFloat(entries, channel(random));
        std::copy(entries.begin(), entries.end(), b.begin() + static_cast<std::ptrdiff_t>(at + 8));
        // Traps: an odd offset, counts 0 and 41, non-zero reserved bytes.
        put(at + 8 + entries.size() + 1, {0xB6, 0x00, 0x01, 0x00, 0, 0, 0, 0});
        put(at + 8 + entries.size() + 16, {0xB6, 0x00, 0x00, 0x00, 0, 0, 0, 0});
        put(at + 8 + entries.size() + 32, {0xB6, 0x00, 41, 0x00, 0, 0, 0, 0});
        put(at + 8 + entries.size() + 48, {0xB6, 0x00, 0x02, 0x00, 0, 0, 1, 0});
    }
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

template <typename F> double BestOf(int runs, F&& f) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        best = std::min(best, Seconds(start));
    }
    return best;
}

std::size_t MemchrPass(const std::filesystem::path& path) {
    std::FILE* f = std::fopen(path.string().c_str(), "rb");
    std::vector<unsigned char> block(256 * 1024);
    std::size_t hits = 0, n;
    while ((n = std::fread(block.data(), 1, block.size(), f)) > 0) {
        const unsigned char* p = block.data();
        const unsigned char* end = p + n;
        while (
            (p = static_cast<const unsigned char*>(std::memchr(p, 0xB6, std::size_t(end - p))))) {
            ++hits;
            ++p;
        }
    }
    std::fclose(f);
    return hits;
}

tintara::reference::Result ReferencePass(const std::filesystem::path& path) {
    std::FILE* f = std::fopen(path.string().c_str(), "rb");
    auto result = tintara::reference::Scan([f]() { return std::fgetc(f); });
    std::fclose(f);
    return result;
}

bool Identical(const tintara::MaterialTable& table, const tintara::reference::Result& ref) {
    if (table.count() != ref.entries.size())
        return false;
    for (std::size_t i = 0; i < table.count(); ++i)
        if (!tintara::reference::SameRecord(table[i], ref.entries[i]))
            return false;
    return true;
}

long PeakResidentKiB() {
#ifndef _WIN32
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return -1;
#endif
}

bool Measure(const char* name, const std::filesystem::path& path, std::uint64_t size,
             double minReferenceRatio, double minMemchrShare) {
    const double gb = static_cast<double>(size) / 1e9;
    tintara::MaterialTable table;
    tintara::ScanResult scan;
    std::size_t hits = 0;
    MemchrPass(path); // warm the page cache
    const double tMemchr = BestOf(3, [&] { hits = MemchrPass(path); });
    const double tScan = BestOf(3, [&] { scan = tintara::ScanMaterialFile(path, table); });
    // Taken before the reference builds its own copy of the entries.
    const long residentAfterScan = PeakResidentKiB();
    tintara::reference::Result ref;
    const double tRef = BestOf(1, [&] { ref = ReferencePass(path); });
    const bool same = scan.ok() && !ref.badFloat && Identical(table, ref);

    std::printf("\n%s: %.2f GB, %zu materials, %zu B6 bytes\n", name, gb, table.count(), hits);
    std::printf("  reference (fgetc per byte) %8.3f s %8.3f GB/s\n", tRef, gb / tRef);
    std::printf("  scanner                    %8.3f s %8.3f GB/s\n", tScan, gb / tScan);
    std::printf("  memchr                     %8.3f s %8.3f GB/s\n", tMemchr, gb / tMemchr);
    const double vsRef = tRef / tScan, vsMemchr = tMemchr / tScan;
    std::printf("  scanner / reference  %7.1fx (target >= %.0fx)\n", vsRef, minReferenceRatio);
    if (minMemchrShare > 0)
        std::printf("  scanner / memchr     %7.2f  (target >= %.2f)\n", vsMemchr, minMemchrShare);
    std::printf("  entries identical to reference: %s\n", same ? "yes" : "NO");
    std::printf("  peak resident memory after the scanner: %ld KiB, of which table %zu KiB\n",
                residentAfterScan,
                table.records().capacity() * sizeof(tintara::MaterialRecord) / 1024);
    return same && vsRef >= minReferenceRatio && vsMemchr >= minMemchrShare;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--size" && i + 1 < argc)
            options.size = ParseSize(argv[++i]);
        else if (arg == "--dir" && i + 1 < argc)
            options.dir = argv[++i];
        else if (arg == "--keep")
            options.keep = true;
        else {
            std::fprintf(stderr,
                         "usage: bench_scan [--size BYTES[K|M|G]] [--dir FOLDER] [--keep]\n");
            return 2;
        }
    }
    const auto randomPath = options.dir / "tintara-bench-random.mdl";
    const auto worstPath = options.dir / "tintara-bench-worst.mdl";
    std::printf("generating %.2f GB files in %s ...\n", double(options.size) / 1e9,
                options.dir.string().c_str());
    std::mt19937_64 random(20261208);
    WriteFile(randomPath, options.size, [&](auto& b) { RandomChunk(random, b); });
    WriteFile(worstPath, options.size, [](auto& b) {
        for (int i = 0; i < (1 << 18); ++i)
            b.insert(b.end(), {0xB6, 0x00, 0x29, 0x00});
    });

    // The worst case first: it finds nothing, so its memory figure is the scanner's own.
    bool ok = Measure("worst case B6 00 29 00 repeated", worstPath, options.size, 10.0, 0.0);
    ok = Measure("random bytes with lists and traps", randomPath, options.size, 20.0, 0.5) && ok;
    if (!options.keep) {
        std::filesystem::remove(randomPath);
        std::filesystem::remove(worstPath);
    }
    std::printf("%s\n", ok ? "all targets met" : "TARGET MISSED");
    return ok ? 0 : 1;
}
