#include "controls/ExeButtn.h"
#include "controls/mbutton.h"

#include "testsupport.h"
#include "ui_buttonform.h"

// The controls promoted in a Designer form: properties set by name, signals connected
// by the form's connections.
class TestButtonForm : public QObject {
    Q_OBJECT

private slots:
    void promotedControls() {
        QWidget form;
        Ui::ButtonForm ui;
        ui.setupUi(&form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QVERIFY(!ui.MButton3->Border());
        QVERIFY(!ui.MButton3->Stretch());
        QCOMPARE(ui.MButton3->toolTip(), QStringLiteral("Visit the website"));
        QVERIFY(ui.ExeButton1->Down());
        QCOMPARE(ui.ExeButton1->size(), QSize(104, 40));

        // A click on the icon tile starts nothing but clears its Down for good.
        QTest::mouseClick(ui.ExeButton1, Qt::LeftButton);
        QVERIFY(!ui.ExeButton1->Down());

        QTest::mouseClick(ui.MButton3, Qt::LeftButton);
        QVERIFY(!form.isVisible());
    }
};

TINTARA_TEST_MAIN(TestButtonForm)
#include "tst_buttonform.moc"
