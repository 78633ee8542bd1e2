// Times the main window on large files under the offscreen platform: the scan with
// the list rebuild, the rebuild alone, "Select All", "Invert Selection" and "<< Send
// modified Material back" into every line, for
// 1,000, 100,000 and 1,000,000 materials in lists of 40. Prints the figures.

#include "RecordingPrompter.h"
#include "framework/FileChooser.h"
#include "framework/SettingsStore.h"
#include "mainwindow/tintara1x.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

class FixedChooser final : public tintara::FileChooser {
public:
    std::optional<tintara::FileChoice>
    ChooseFileToOpen(QWidget*, const tintara::FileChoiceRequest&) override {
        return tintara::FileChoice{path, 1};
    }
    QString path;
};

// `materials` entries in lists of 40 with a little filler between the lists.
bool WriteFile(const QString& path, int materials) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    std::vector<unsigned char> block;
    int left = materials;
    int serial = 0;
    while (left > 0) {
        const int count = std::min(left, 40);
        block.assign(16, 0x11); // filler, never taken for an opcode
        block.insert(block.end(), {0xB6, 0x00, static_cast<unsigned char>(count), 0, 0, 0, 0, 0});
        for (int i = 0; i < count; ++i, ++serial) {
            for (int f = 0; f < 17; ++f) {
                const float value =
                    f == 16 ? 20.0f : static_cast<float>((serial + f) % 256) / 255.0f;
                unsigned char bytes[4];
                std::memcpy(bytes, &value, 4);
                block.insert(block.end(), bytes, bytes + 4);
            }
        }
        if (file.write(reinterpret_cast<const char*>(block.data()),
                       static_cast<qint64>(block.size())) != static_cast<qint64>(block.size()))
            return false;
        left -= count;
    }
    return file.flush();
}

// Best of `runs` timings in milliseconds; events are processed inside the timing, so
// the list's layout and painting count. `prepare` runs untimed before each run.
double Time(
    int runs, const std::function<void()>& action, const std::function<void()>& prepare = [] {}) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        action();
        QCoreApplication::processEvents();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    std::printf("%10s %14s %12s %12s %12s %14s %10s\n", "materials", "scan+list ms", "rebuild ms",
                "select ms", "invert ms", "send back ms", "ns/line");
    for (const int materials : {1000, 100000, 1000000}) {
        const QString path = dir.filePath(QStringLiteral("bench%1.mdl").arg(materials));
        if (!WriteFile(path, materials)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        FixedChooser chooser;
        chooser.path = path;
        tintara::RecordingPrompter prompter;
        tintara::TForm1Services services;
        services.settings = std::make_unique<tintara::SettingsStore>(std::make_unique<QSettings>(
            dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
        services.fileChooser = &chooser;
        services.prompter = &prompter;
        tintara::TForm1 form(std::move(services));
        form.show();
        QCoreApplication::processEvents();

        auto* select = form.findChild<QPushButton*>(QStringLiteral("Button7"));
        auto* invert = form.findChild<QPushButton*>(QStringLiteral("Button8"));
        auto* list = form.findChild<QAbstractItemView*>(QStringLiteral("texlist"));
        auto* sendBack = form.findChild<QPushButton*>(QStringLiteral("Button6"));

        const double scan = Time(3, [&] { form.loaditClick(); });
        if (form.materials().count() != static_cast<std::size_t>(materials) ||
            list->model()->rowCount() != materials || !prompter.requests.isEmpty()) {
            std::fprintf(stderr, "scan of %d materials went wrong\n", materials);
            return 1;
        }
        const double rebuild = Time(5, [&] { form.RebuildMaterialList(); });
        const double selectAll = Time(
            5, [&] { select->click(); }, [&] { list->clearSelection(); });
        const double invertAll = Time(5, [&] { invert->click(); });
        const double sendAll = Time(
            3, [&] { sendBack->click(); }, [&] { select->click(); });
        if (!form.materials().anyModified()) {
            std::fprintf(stderr, "send-back of %d materials went wrong\n", materials);
            return 1;
        }
        std::printf("%10d %14.2f %12.2f %12.2f %12.2f %14.2f %10.1f\n", materials, scan, rebuild,
                    selectAll, invertAll, sendAll, rebuild * 1e6 / materials);
        std::fflush(stdout);
        form.close();
    }
    return 0;
}
