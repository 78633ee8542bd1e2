// The model walk's speed: a generated model of 500,000 triangles in 40 drawing lists
// (tens of MB) walked, and the sample aircraft scanned and walked from its file. Each
// figure is the median of several runs, beside a reference measured in the same run:
// the scan of the same bytes from memory, one pass summing them, and writing as many
// triangles into fresh memory from operator new (the walk's own arrays ask for huge
// pages where the system has them).
//
//   bench_walk [AIRCRAFT.mdl]

#include "examples/modelcode/ModelCode.h"
#include "material/MaterialScanner.h"
#include "material/ModelWalk.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <numeric>

using namespace tintara;
using namespace tintara::modelcode;

namespace {

using Clock = std::chrono::steady_clock;

double MedianMs(int runs, const std::function<void()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        run();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// 40 parts, each with its own vertex list of 25,000 vertices and one drawing list of
// 12,500 triangles, with 20 materials and 4 textures between them.
Bytes BigModel() {
    constexpr unsigned Parts = 40, Triangles = 12'500, Vertices = 25'000;
    std::vector<Texture> textures;
    for (int i = 0; i < 4; ++i)
        textures.push_back({"texture_" + std::to_string(i) + ".bmp", 1});
    Code c;
    c.BglBegin().TextureList(textures).MaterialList(std::vector<Material>(20));
    std::vector<Vertex> vertices(Vertices);
    for (unsigned v = 0; v < Vertices; ++v)
        vertices[v] = {float(v % 500), float(v / 500), 0.0f, 0, 0, 1, 0, 0};
    std::vector<unsigned> indices;
    for (unsigned t = 0; t < Triangles; ++t)
        indices.insert(indices.end(),
                       {(2 * t) % Vertices, (2 * t + 1) % Vertices, (2 * t + 500) % Vertices});
    for (unsigned p = 0; p < Parts; ++p) {
        c.VertexList(vertices).SetMaterial(p % 20, p % 4);
        c.DrawTriangles(0, Vertices, indices);
    }
    return Mdl8(c.BglEnd().Finish());
}

} // namespace

int main(int argc, char** argv) {
    const Bytes big = BigModel();
    MaterialTable table;
    MemoryByteSource source(big);
    ScanMaterials(source, table);
    ModelWalk walk;
    const double walkMs = MedianMs(7, [&] { walk = WalkModel(big, table); });
    std::uint64_t triangles = 0;
    for (const MaterialUse& use : walk.uses)
        triangles += use.triangles;
    const double scanMs = MedianMs(7, [&] {
        MemoryByteSource again(big);
        ScanMaterials(again, table);
    });
    // Writing the kept triangles' memory alone, in fresh pages from operator new.
    const double fillMs = MedianMs(7, [&] {
        std::vector<ModelTriangle> fresh;
        fresh.reserve(walk.triangles.size());
        for (std::size_t i = 0; i < walk.triangles.size(); ++i)
            fresh.emplace_back().detail = int(i);
        walk.triangles[0].detail = fresh.back().detail;
    });
    volatile unsigned sink = 0;
    const double sumMs = MedianMs(7, [&] { sink = std::accumulate(big.begin(), big.end(), 0u); });
    std::printf("generated model: %.1f MB, %llu triangles counted, %zu kept, walked: %s\n",
                double(big.size()) / 1e6, static_cast<unsigned long long>(triangles),
                walk.triangles.size(), walk.walked ? "yes" : walk.problem.c_str());
    std::printf("  walk %.2f ms (target under 100 ms); reference: scan of the same bytes %.2f ms, "
                "byte sum %.2f ms, writing as many triangles %.2f ms\n",
                walkMs, scanMs, sumMs, fillMs);

    const char* aircraft = argc > 1 ? argv[1] : TINTARA_AIRCRAFT_PATH;
    MaterialTable sampleTable;
    ModelWalk sampleWalk;
    const double sampleMs = MedianMs(101, [&] {
        ScanMaterialFile(aircraft, sampleTable);
        sampleWalk = WalkModelFile(aircraft, sampleTable);
    });
    const double sampleScanMs = MedianMs(101, [&] { ScanMaterialFile(aircraft, sampleTable); });
    std::printf("sample aircraft: %zu materials, %zu triangles kept, walked: %s\n",
                sampleTable.count(), sampleWalk.triangles.size(),
                sampleWalk.walked ? "yes" : sampleWalk.problem.c_str());
    std::printf("  scan + walk %.3f ms (target under 5 ms); reference: scan alone %.3f ms\n",
                sampleMs, sampleScanMs);
    return 0;
}
