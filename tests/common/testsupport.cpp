#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <QFileInfo>
#include <QFont>
#include <QStandardPaths>

#include <atomic>
#include <clocale>
#include <cstdio>
#include <initializer_list>

namespace tintara::test {
namespace {

std::atomic<int> g_connectWarnings{0};
QtMessageHandler g_previousHandler = nullptr;

void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && (message.startsWith(QLatin1String("QObject::connect")) ||
                                 message.startsWith(QLatin1String("QObject::disconnect")))) {
        ++g_connectWarnings;
    }
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

} // namespace

void prepareEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_WIN
    // A test runner gives the program pipes, not a console; QtTest would then report
    // only to the debugger output and the runner would see nothing.
    qputenv("QT_FORCE_STDERR_LOGGING", "1");
    // The offscreen platform reads fonts from one folder. Under wine take the host's
    // Liberation fonts (metric-compatible with Arial and Courier New), on Windows itself
    // the system's fonts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR")) {
        const QString host = QStringLiteral("Z:/usr/share/fonts/truetype/liberation2");
        qputenv("QT_QPA_FONTDIR", QFileInfo(host).isDir()
                                      ? host.toUtf8()
                                      : qgetenv("WINDIR") + QByteArrayLiteral("/Fonts"));
    }
#endif
    // Keep settings, caches and the like out of the user's real folders, save journals
    // and their records among them.
    QStandardPaths::setTestModeEnabled(true);
    static QTemporaryDir state;
#ifdef Q_OS_WIN
    qputenv("LOCALAPPDATA", QDir::toNativeSeparators(state.path()).toLocal8Bit());
#else
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
#endif
    g_previousHandler = qInstallMessageHandler(messageHandler);
}

void prepareApplication(QApplication& app) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    app.setFont(font);
}

GermanCLocale::GermanCLocale() {
    const char* current = std::setlocale(LC_ALL, nullptr);
    m_previous = current ? current : "C";
    // The POSIX name first; the others are the names Windows' C runtimes know.
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de-DE", "German_Germany.1252"}) {
        if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',') {
            m_ok = true;
            return;
        }
    }
    std::setlocale(LC_ALL, m_previous.c_str());
}

GermanCLocale::~GermanCLocale() {
    std::setlocale(LC_ALL, m_previous.c_str());
}

int connectWarningCount() {
    return g_connectWarnings.load();
}

int runTests(QObject& tests, int argc, char** argv) {
    const int failures = QTest::qExec(&tests, argc, argv);
    if (g_connectWarnings.load() > 0) {
        std::fprintf(stderr, "FAIL: %d QObject::connect warning(s) during the run\n",
                     g_connectWarnings.load());
        return failures + 1;
    }
    return failures;
}

} // namespace tintara::test
