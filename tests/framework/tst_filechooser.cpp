// The real file dialog must list a folder without opening the files in it: a file whose
// open or read blocks (/proc/kmsg for root, a file held by another program) would
// otherwise freeze the dialog, or its closing, for good.

#include "framework/FileChooser.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#endif

using namespace tintara;

class FileChooserTest : public QObject {
    Q_OBJECT
private slots:
    void listingNeverOpensFiles();
};

#ifdef Q_OS_LINUX
namespace {

// A write lease on a file: any open of it by another file handle, in this process or
// another, blocks until the lease is given up. A watcher thread notices such an open
// (the lease turns to "breaking"), notes it and gives the lease up at once, so that a
// faulty dialog fails the test instead of hanging it.
class OpenDetector {
public:
    explicit OpenDetector(const QString& path) {
        // The system signals the holder when its lease is to be broken; polling does here.
        m_previousSignal = std::signal(SIGIO, SIG_IGN);
        m_fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
        if (m_fd < 0 || ::fcntl(m_fd, F_SETLEASE, F_WRLCK) != 0) {
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        m_watcher = std::thread([this] {
            while (!m_stop) {
                if (::fcntl(m_fd, F_GETLEASE) != F_WRLCK) {
                    m_opened = true;
                    ::fcntl(m_fd, F_SETLEASE, F_UNLCK);
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
    }
    ~OpenDetector() {
        m_stop = true;
        if (m_watcher.joinable())
            m_watcher.join();
        if (m_fd >= 0)
            ::close(m_fd);
        std::signal(SIGIO, m_previousSignal);
    }
    OpenDetector(const OpenDetector&) = delete;
    OpenDetector& operator=(const OpenDetector&) = delete;

    // Why no lease could be taken (file system without leases); empty when armed.
    const QString& error() const { return m_error; }
    bool opened() const { return m_opened; }

private:
    int m_fd = -1;
    void (*m_previousSignal)(int) = SIG_DFL;
    QString m_error;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_opened{false};
    std::thread m_watcher;
};

} // namespace
#endif

void FileChooserTest::listingNeverOpensFiles() {
#ifndef Q_OS_LINUX
    QSKIP("file leases, which detect the opening of a file, exist on Linux only");
#else
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // No name pattern of the MIME database knows ".mdl": only the contents could tell.
    const QString model = dir.filePath(QStringLiteral("plane.mdl"));
    QFile file(model);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\n");
    file.close();
    OpenDetector detector(model);
    if (!detector.error().isEmpty())
        QSKIP(qPrintable(QStringLiteral("no lease on a temporary file: ") + detector.error()));

    // Waits until the dialog has gathered what it shows of the file, then cancels it.
    bool listed = false;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        const auto* files = dialog->findChild<QFileSystemModel*>();
        const QModelIndex index = files ? files->index(model) : QModelIndex();
        listed = index.isValid() && !files->type(index).isEmpty();
        if (listed || clock.elapsed() > 20000)
            dialog->reject();
    });
    poll.start(10);
    QtFileChooser chooser;
    const std::optional<FileChoice> choice = chooser.ChooseFileToOpen(
        nullptr, {dir.path(), {QStringLiteral("Aircraft Model (*.mdl)")}, 1});
    poll.stop();

    QVERIFY(!choice);
    QVERIFY2(listed, "the dialog never listed the model file");
    QVERIFY2(!detector.opened(), "the dialog opened a file to choose its icon or type");
#endif
}

TINTARA_TEST_MAIN(FileChooserTest)
#include "tst_filechooser.moc"
