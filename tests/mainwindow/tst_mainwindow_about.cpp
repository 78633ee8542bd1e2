// "About" shows the About window, modally, with the program's description.

#include "FormFixture.h"
#include "testsupport.h"

#include "about/aboutbox.h"
#include "about/showabout.h"

#include <QTimer>

using namespace tintara;
using namespace tintara::test;

class MainWindowAboutTest : public QObject {
    Q_OBJECT
private slots:
    void aboutShowsTheDescription();
    void withoutAboutWindowNothingHappens();
};

void MainWindowAboutTest::aboutShowsTheDescription() {
    FormFixture f;
    ProbeForm& form = f.create();
    auto* about = new TAboutForm(&form);
    form.SetAboutForm(about);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!about->isVisible());

    bool sawWindow = false;
    QString shownText;
    bool modal = false;
    QTimer::singleShot(0, about, [&] {
        sawWindow = about->isVisible();
        modal = QApplication::activeModalWidget() == about;
        if (auto* label = about->findChild<QLabel*>(QStringLiteral("Label1")))
            shownText = label->text();
        about->reject();
    });
    f.click("Button3");

    QVERIFY(sawWindow);
    QVERIFY(modal);
    QCOMPARE(about->AboutText, programDescription());
    QCOMPARE(shownText, programDescription());
    QVERIFY(!about->isVisible());
    QCOMPARE(about->parent(), &form);
}

void MainWindowAboutTest::withoutAboutWindowNothingHappens() {
    FormFixture f;
    ProbeForm& form = f.create();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    f.click("Button3");
    QVERIFY(!QApplication::activeModalWidget());
}

TINTARA_TEST_MAIN(MainWindowAboutTest)
#include "tst_mainwindow_about.moc"
