#include "framework/Shell.h"

#include "ButtonTestUtils.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>

using tintara::shell::OpenRequest;
using tintara::shell::ScopedOpener;

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void address_data();
    void address();
    void openerIsReplacedAndRestored();
    void programFile_data();
    void programFile();
    void associatedIcon();
    void systemOpenStartsAProgramInItsFolder();
};

void TestShell::address_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("address");

    QTest::newRow("web address") << "https://www.example.com/" << true;
    QTest::newRow("mail link") << "mailto:someone@example.com" << true;
    QTest::newRow("drive path") << "C:\\Tools\\Viewer.exe" << false;
    QTest::newRow("drive relative") << "C:Viewer.exe" << false;
    QTest::newRow("posix path") << "/usr/bin/env" << false;
    QTest::newRow("bare name") << "readme.txt" << false;
    QTest::newRow("empty") << "" << false;
}

void TestShell::address() {
    QFETCH(QString, target);
    QFETCH(bool, address);
    QCOMPARE(tintara::shell::IsAddress(target), address);
}

void TestShell::openerIsReplacedAndRestored() {
    QList<OpenRequest> outer;
    QList<OpenRequest> inner;
    {
        ScopedOpener first([&outer](const OpenRequest& request) { outer << request; });
        {
            ScopedOpener second([&inner](const OpenRequest& request) { inner << request; });
            tintara::shell::Open(QStringLiteral("mailto:someone@example.com"));
        }
        tintara::shell::Open(QStringLiteral("C:\\Tools\\Viewer.exe"),
                             QStringLiteral("C:\\Tools\\"));
    }
    QCOMPARE(inner.size(), 1);
    QCOMPARE(inner.first().target, QStringLiteral("mailto:someone@example.com"));
    QVERIFY(inner.first().workingFolder.isEmpty());
    QCOMPARE(outer.size(), 1);
    QCOMPARE(outer.first().workingFolder, QStringLiteral("C:\\Tools\\"));
}

void TestShell::programFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<bool>("program");

#ifdef Q_OS_WIN
    QTest::newRow("exe") << "tool.exe" << false << true;
    QTest::newRow("upper case com") << "TOOL.COM" << false << true;
    QTest::newRow("batch") << "run.bat" << false << true;
    QTest::newRow("text") << "notes.txt" << false << false;
#else
    QTest::newRow("executable script") << "run.sh" << true << true;
    QTest::newRow("plain text") << "notes.txt" << false << false;
    QTest::newRow("exe without permission") << "tool.exe" << false << false;
    QTest::newRow("missing") << "" << false << false;
#endif
}

void TestShell::programFile() {
    QFETCH(QString, name);
    QFETCH(bool, executable);
    QFETCH(bool, program);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath(QStringLiteral("absent"));
    if (!name.isEmpty()) {
        path = dir.filePath(name);
        QVERIFY(tintara::test::TouchFile(path));
        if (executable)
            QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner));
    }
    QCOMPARE(tintara::shell::IsProgramFile(path), program);
}

void TestShell::associatedIcon() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("notes.txt"));
    QVERIFY(tintara::test::TouchFile(name));

    QVERIFY(!tintara::shell::AssociatedIcon(name).isNull());
    QVERIFY(tintara::shell::AssociatedIcon(dir.filePath(QStringLiteral("gone.txt"))).isNull());
    QVERIFY(tintara::shell::AssociatedIcon(QString()).isNull());
}

// One real run through the system: a small program started in the folder it is given
// leaves a file there.
void TestShell::systemOpenStartsAProgramInItsFolder() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
#ifdef Q_OS_WIN
    const QString program = dir.filePath(QStringLiteral("mark.bat"));
    const QByteArray text = "@echo ran> marker.txt\r\n";
#else
    const QString program = dir.filePath(QStringLiteral("mark.sh"));
    const QByteArray text = "#!/bin/sh\necho ran > marker.txt\n";
#endif
    QFile file(program);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    tintara::shell::SystemOpen({program, dir.path()});
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath(QStringLiteral("marker.txt"))), 20000);
    // The program may still hold its folder for a moment after writing.
    QTRY_VERIFY_WITH_TIMEOUT(dir.remove(), 20000);
}

TINTARA_TEST_MAIN(TestShell)
#include "tst_shell.moc"
