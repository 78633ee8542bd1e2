// Console output converts UTF-8 in pieces: a piece must never end inside a character.

#include "testsupport.h"

#include "cli/ConsoleOutput.h"

#include <string>

class TestCliConsole : public QObject {
    Q_OBJECT
private slots:
    void completePrefixKeepsCharactersWhole_data();
    void completePrefixKeepsCharactersWhole();
};

void TestCliConsole::completePrefixKeepsCharactersWhole_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("complete");
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("ascii") << QByteArray("LOD") << 3;
    QTest::newRow("two bytes whole") << QByteArray("caf\xC3\xA9") << 5;
    QTest::newRow("two bytes cut") << QByteArray("caf\xC3") << 3;
    QTest::newRow("three bytes cut after two") << QByteArray("a\xE2\x82") << 1;
    QTest::newRow("three bytes whole") << QByteArray("\xE2\x82\xAC") << 3;
    QTest::newRow("four bytes cut after three") << QByteArray("\xF0\x9F\x98") << 0;
    QTest::newRow("four bytes whole") << QByteArray("\xF0\x9F\x98\x80") << 4;
    QTest::newRow("stray continuation") << QByteArray("a\x80") << 2;
}

void TestCliConsole::completePrefixKeepsCharactersWhole() {
    QFETCH(QByteArray, text);
    QFETCH(int, complete);
    const std::string bytes = text.toStdString();
    QCOMPARE(static_cast<int>(tintara::cli::CompleteUtf8Prefix(bytes)), complete);
}

TINTARA_TEST_MAIN(TestCliConsole)
#include "tst_cli_console.moc"
