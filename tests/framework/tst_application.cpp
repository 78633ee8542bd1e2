// The application object's error display, run in a separate process: an error that
// escapes an event handler is shown and the loop goes on; an error during start-up is
// shown and the program ends with exit code 0.

#include "testsupport.h"

#include <QProcess>

class ApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void errors_data();
    void errors();
};

void ApplicationTest::errors_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("output");
    QTest::newRow("in a handler") << "handler"
                                  << "shown: failure in a handler\nloop went on\nexit 0\n";
    QTest::newRow("during start-up") << "startup"
                                     << "shown: failure during start-up\nexit 0\n";
}

void ApplicationTest::errors() {
    QFETCH(QString, mode);
    QFETCH(QString, output);
    QProcess probe;
    probe.setProgram(QStringLiteral(TINTARA_APPLICATION_PROBE));
    probe.setArguments({mode});
    probe.start();
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QCOMPARE(probe.exitCode(), 0);
    // Text-mode output ends its lines in CRLF on Windows.
    QCOMPARE(QString::fromUtf8(probe.readAllStandardOutput()).remove(QLatin1Char('\r')), output);
}

TINTARA_TEST_MAIN(ApplicationTest)
#include "tst_application.moc"
