// Times the two ways of turning a picture into a form's shape, on a 1024 x 1024
// checkerboard of 1-pixel squares and on a disc: one region unit per run, united into the
// shape one at a time, against collecting all runs and making the region in one step.
// Prints both times (best of several runs, each including the pixel scan), their ratio,
// and whether both ways cover the same pixels.

#include "controls/bmshapedform_region.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int Size = 1024;

QImage Checkerboard() {
    QImage image(Size, Size, QImage::Format_RGB32);
    for (int y = 0; y < Size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        // The bottom-left pixel (0, 1023) is white: white is the key colour.
        for (int x = 0; x < Size; ++x)
            line[x] = ((x + y) % 2 == 0) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    return image;
}

QImage Disc() {
    QImage image(Size, Size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRect(16, 16, Size - 32, Size - 32));
    return image;
}

double BestMilliseconds(int repeats, const std::function<QRegion()>& build, QRegion& result) {
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        result = build();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

bool Measure(const char* name, const QImage& image) {
    QRegion runByRun;
    QRegion oneStep;
    const double slow = BestMilliseconds(
        3, [&image] { return tintara::RegionRunByRun(image); }, runByRun);
    const double fast = BestMilliseconds(
        10, [&image] { return tintara::RegionOneStep(image); }, oneStep);
    const bool same = tintara::SameCoverage(runByRun, oneStep);
    std::printf("%-13s run by run %9.3f ms   one step %8.3f ms   ratio %6.1f   "
                "rectangles %d / %d   identical: %s\n",
                name, slow, fast, slow / fast, runByRun.rectCount(), oneStep.rectCount(),
                same ? "yes" : "NO");
    return same;
}

} // namespace

int main() {
    std::printf("Shape of a %d x %d picture, best of several builds each\n", Size, Size);
    const bool checkerOk = Measure("checkerboard", Checkerboard());
    const bool discOk = Measure("disc", Disc());
    return checkerOk && discOk ? 0 : 1;
}
