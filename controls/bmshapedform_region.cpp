#include "controls/bmshapedform_region.h"

#include <algorithm>
#include <cstddef>

namespace tintara {
namespace {

bool SameSpans(const QRect* a, const QRect* b, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (a[i].left() != b[i].left() || a[i].right() != b[i].right())
            return false;
    }
    return true;
}

} // namespace

QRegion RegionFromRuns(std::vector<QRect>& runs) {
    // Compact the runs into bands in place: a line whose runs equal those of the band
    // just above it (and touching it) only makes that band one pixel taller. The result
    // is sorted by top, then left, with no rectangles abutting within a band, as
    // QRegion::setRects requires.
    const std::size_t count = runs.size();
    QRect* rects = runs.data();
    std::size_t out = 0;
    std::size_t bandStart = 0;
    std::size_t bandCount = 0;
    std::size_t i = 0;
    while (i < count) {
        const int y = rects[i].top();
        std::size_t end = i + 1;
        while (end < count && rects[end].top() == y)
            ++end;
        const std::size_t lineCount = end - i;
        if (bandCount == lineCount && rects[bandStart].bottom() == y - 1 &&
            SameSpans(rects + bandStart, rects + i, lineCount)) {
            for (std::size_t k = bandStart; k < bandStart + bandCount; ++k)
                rects[k].setBottom(y);
        } else {
            // The line moves down over merged ones; where nothing was merged yet it is
            // already in place (copying a range onto its own start is undefined).
            if (out != i)
                std::copy(rects + i, rects + end, rects + out);
            bandStart = out;
            bandCount = lineCount;
            out += lineCount;
        }
        i = end;
    }
    runs.resize(out);
    QRegion region;
    if (!runs.empty())
        region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

QRegion RegionRunByRun(const QImage& pixels) {
    QRegion region;
    ForEachShapeRun(pixels, [&region](int x0, int x1, int y) {
        // += unites in place and appends when the run lies after the shape so far;
        // |= would copy the whole region for every run.
        const QRegion run(x0, y, x1 - x0 + 1, 1);
        region += run;
    });
    return region;
}

QRegion RegionOneStep(const QImage& pixels) {
    std::vector<QRect> runs;
    ForEachShapeRun(pixels,
                    [&runs](int x0, int x1, int y) { runs.emplace_back(x0, y, x1 - x0 + 1, 1); });
    return RegionFromRuns(runs);
}

bool SameCoverage(const QRegion& a, const QRegion& b) {
    return a.xored(b).isEmpty();
}

} // namespace tintara
