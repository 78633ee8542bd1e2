#pragma once
// Test support shared by every QtTest executable of the project.

#include <QApplication>
#include <QFile>
#include <QTest>

#include <filesystem>
#include <string>

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

// Switches the C library's locale (all categories) to a German one, whose decimal
// separator is ",", for the object's lifetime, and restores the previous locale after.
// ok() is false when no such locale is installed (on Debian: package locales-all).
class GermanCLocale {
public:
    GermanCLocale();
    ~GermanCLocale();
    GermanCLocale(const GermanCLocale&) = delete;
    GermanCLocale& operator=(const GermanCLocale&) = delete;
    bool ok() const { return m_ok; }

private:
    std::string m_previous;
    bool m_ok = false;
};

// Fails the running test function when the German locale cannot be had.
#define TINTARA_REQUIRE_GERMAN_LOCALE(locale)                                                      \
    QVERIFY2((locale).ok(), "no German C locale (de_DE.UTF-8) is installed: install the Debian "   \
                            "package locales-all (scripts/deps.sh lists it)")

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
