#pragma once
// Test support shared by every QtTest executable of the project.

#include <QApplication>
#include <QFile>
#include <QTest>

#include <filesystem>

namespace tintara::test {

// The file system path of a file name held as text: UTF-16 on Windows, the bytes of the
// local 8-bit encoding elsewhere.
inline std::filesystem::path FsPath(const QString& name) {
#ifdef Q_OS_WIN
    return std::filesystem::path(name.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(name).toStdString());
#endif
}

// Prepares the process for a widget test: offscreen platform unless one is forced,
// fixed fonts so pixel and metric checks do not depend on the machine, and a message
// handler that records every QObject::connect warning.
void prepareEnvironment();

// Applied once the application object exists.
void prepareApplication(QApplication& app);

// Number of QObject::connect / disconnect warnings seen so far.
int connectWarningCount();

// Runs the test object and turns any connect warning into a failed run.
int runTests(QObject& tests, int argc, char** argv);

} // namespace tintara::test

// Replacement for QTEST_MAIN that applies the above.
#define TINTARA_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char** argv) {                                                              \
        tintara::test::prepareEnvironment();                                                       \
        QApplication app(argc, argv);                                                              \
        tintara::test::prepareApplication(app);                                                    \
        TestClass tc;                                                                              \
        return tintara::test::runTests(tc, argc, argv);                                            \
    }
