#pragma once
// The shape of a picture: every run of pixels on a line whose colour differs from the
// key colour (the picture's bottom-left pixel) is part of the shape.

#include <QImage>
#include <QRect>
#include <QRegion>

#include <vector>

namespace tintara {

// The key colour of a picture: the low 24 bits of its bottom-left pixel.
// `pixels` holds 32-bit pixels (QImage::Format_RGB32 or ARGB32) and is not empty.
inline QRgb ShapeKeyColour(const QImage& pixels) {
    const auto* lastLine = reinterpret_cast<const QRgb*>(pixels.constScanLine(pixels.height() - 1));
    return lastLine[0] & 0xFFFFFFu;
}

// Calls addRun(x0, x1, y) for each maximal run of non-key pixels (x1 inclusive), line by
// line from the top, left to right. Only the low 24 bits of a pixel count. `pixels`
// holds 32-bit pixels; an empty image has no runs.
template <typename AddRun> void ForEachShapeRun(const QImage& pixels, AddRun&& addRun) {
    const int width = pixels.width();
    const int height = pixels.height();
    if (width <= 0 || height <= 0)
        return;
    const QRgb key = ShapeKeyColour(pixels);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && ((line[x] ^ key) & 0xFFFFFFu) == 0)
                ++x;
            if (x == width)
                break;
            const int start = x;
            while (x < width && ((line[x] ^ key) & 0xFFFFFFu) != 0)
                ++x;
            addRun(start, x - 1, y);
        }
    }
}

// Makes the region of the runs in one step. `runs` are one-pixel-high rectangles in the
// order ForEachShapeRun finds them; they are reused as the region's bands (lines with
// equal runs that touch are merged), so the vector is consumed. No runs give an empty
// region.
QRegion RegionFromRuns(std::vector<QRect>& runs);

// The same region combined one run at a time: a one-rectangle region per run, united
// into the shape. Kept as the reference the one-step build is measured and checked
// against.
QRegion RegionRunByRun(const QImage& pixels);

// The region of a picture built in one step (ForEachShapeRun + RegionFromRuns): how the
// shaped form builds its shape, since uniting runs one at a time costs far more on
// pictures with many runs.
QRegion RegionOneStep(const QImage& pixels);

// True when both regions cover exactly the same pixels.
bool SameCoverage(const QRegion& a, const QRegion& b);

} // namespace tintara
