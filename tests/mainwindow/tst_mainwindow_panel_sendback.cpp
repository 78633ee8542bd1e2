// The panels sent back to the selected lines with the send-back button: the channels,
// the alpha and the power as stored, several lines at once, and no selection or no
// lines at all.

#include "FormFixture.h"
#include "MaterialBytes.h"
#include "PanelFixture.h"
#include "testsupport.h"

#include "controls/Shape.h"
#include "material/Conversions.h"

#include <cstddef>

using namespace tintara;
using namespace tintara::test;

class MainWindowPanelSendBackTest : public QObject, private PanelFixture {
    Q_OBJECT
private slots:
    void init() { PanelFixture::init(); }
    void cleanup() { PanelFixture::cleanup(); }

    void halfMaterialSwatchAndSendBack();
    void alphaAboveOneIsClamped();
    void powerIsClampedAndStoredAsFloat();
    void powerShowsDecimalPointInGermanLocale();
    void sendBackToSeveralLines();
    void sendBackWithNothingSelectedShowsLineZero();
    void sendBackWithEmptyListDoesNothing();
};

void MainWindowPanelSendBackTest::halfMaterialSwatchAndSendBack() {
    f->clickLine(0);
    QCOMPARE(shape("Shape2")->fillColor(), 255 + 256 * 127);
    f->click("Button4");
    QCOMPARE(editTexts(), QStringList({"255", "127", "0", "127"}));
    QCOMPARE(shape("Shape1")->fillColor(), 32767);
    QCOMPARE(visibleIndicators(), QStringList({"Shape6"}));

    // Sent back untouched: the channels come back as byte values, the alpha bit for bit.
    f->click("Button6");
    const MaterialRecord& e = form->materials()[0];
    QCOMPARE(e.Red[0], 1.0f);
    QCOMPARE(e.Green[0], 127.0f / 255.0f);
    QCOMPARE(e.Green[0], 0.49803922f);
    QCOMPARE(e.Blue[0], 0.0f);
    QCOMPARE(e.Alpha[0], 0.5f);
    QCOMPARE(e.Red[1], ByteToChannel(51));
    QCOMPARE(e.Alpha[1], 1.0f);
    QCOMPARE(e.Power, 20.0f);
    QCOMPARE(e.Modified, 1);
    QVERIFY(visibleIndicators().isEmpty());

    // Through the adjustment panel the alpha becomes a byte value too.
    f->click("Button4");
    f->click("Button13");
    QCOMPARE(visibleIndicators(), QStringList({"Shape6"}));
    f->click("Button6");
    QCOMPARE(form->materials()[0].Alpha[0], ByteToChannel(127));
    QCOMPARE(form->materials()[1].Modified, 0);
}

void MainWindowPanelSendBackTest::alphaAboveOneIsClamped() {
    f->clickLine(3);
    f->click("Button4");
    QCOMPARE(text(4), QStringLiteral("255"));
    f->click("Button13");
    f->click("Button6");
    QCOMPARE(form->materials()[3].Alpha[0], 1.0f);
}

void MainWindowPanelSendBackTest::powerIsClampedAndStoredAsFloat() {
    f->clickLine(2);
    QCOMPARE(text(5), QStringLiteral("1000"));
    f->click("Button6");
    QCOMPARE(form->materials()[2].Power, 1000.0f);

    typeInto(5, QStringLiteral("12.3"));
    f->click("Button6");
    QCOMPARE(form->materials()[2].Power, 12.3f);
    QCOMPARE(text(5), QStringLiteral("12.3000001907349"));
    f->clickLine(4);
    f->clickLine(2);
    QCOMPARE(text(5), QStringLiteral("12.3000001907349"));
}

// Qt sets the C library's locale from the environment; a German one must not turn the
// power's decimal point into a comma in the list or in the field.
void MainWindowPanelSendBackTest::powerShowsDecimalPointInGermanLocale() {
    const GermanCLocale german;
    TINTARA_REQUIRE_GERMAN_LOCALE(german);
    f->child<QComboBox>("ComboBox1")->setCurrentIndex(PowerProperty);
    QCOMPARE(f->lines().value(4), QStringLiteral("LOD 01 05 00000158 12.5000"));
    f->clickLine(4);
    QCOMPARE(text(5), QStringLiteral("12.5"));
    typeInto(5, QStringLiteral("7.25"));
    f->click("Button6");
    QCOMPARE(form->materials()[4].Power, 7.25f);
    QCOMPARE(f->lines().value(4), QStringLiteral("LOD 01 05 00000158 7.2500"));
}

void MainWindowPanelSendBackTest::sendBackToSeveralLines() {
    f->clickLine(1);
    f->clickLine(3, Qt::ControlModifier);
    f->clickLine(5, Qt::ControlModifier);
    f->click("Button4"); // red 254, green 1 from line 1
    f->click("Button15");
    typeInto(5, QStringLiteral("-42.5"));
    f->click("Button6");

    const MaterialTable& table = form->materials();
    for (const std::size_t i : {std::size_t{1}, std::size_t{3}, std::size_t{5}}) {
        const MaterialRecord& e = table[i];
        QCOMPARE(e.Modified, 1);
        QCOMPARE(e.Red[0], ByteToChannel(254));
        QCOMPARE(e.Green[0], ByteToChannel(1));
        QCOMPARE(e.Red[2], ByteToChannel(254));
        QCOMPARE(e.Alpha[2], ByteToChannel(255));
        QCOMPARE(e.Alpha[0], 1.0f); // from line 1, bit for bit
        QCOMPARE(e.Power, -42.5f);
    }
    for (const std::size_t i : {std::size_t{0}, std::size_t{2}, std::size_t{4}})
        QCOMPARE(table[i].Modified, 0);
    QCOMPARE(f->selectedLines(), QList<int>({5}));
    QVERIFY(f->child<QPushButton>("Button2")->isEnabled());
    QCOMPARE(f->lines().at(5), QStringLiteral("LOD 01 06 0000019C  FE 01 00 FF"));
    QCOMPARE(shape("Shape4")->fillColor(), 254 + 256);
    QVERIFY(visibleIndicators().isEmpty());
}

void MainWindowPanelSendBackTest::sendBackWithNothingSelectedShowsLineZero() {
    f->clickLine(4);
    f->clickLine(4, Qt::ControlModifier);
    QVERIFY(f->selectedLines().isEmpty());
    f->click("Button6");
    QVERIFY(!form->materials().anyModified());
    QVERIFY(f->child<QPushButton>("Button2")->isEnabled());
    QCOMPARE(f->selectedLines(), QList<int>({0}));
    QCOMPARE(shape("Shape2")->fillColor(), 32767);
}

void MainWindowPanelSendBackTest::sendBackWithEmptyListDoesNothing() {
    FormFixture empty;
    ProbeForm& fresh = empty.create();
    fresh.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fresh));
    empty.click("Button6");
    QVERIFY(empty.prompter.requests.isEmpty());
    QVERIFY(!empty.child<QPushButton>("Button2")->isEnabled());
    QVERIFY(empty.selectedLines().isEmpty());

    // The same after a scan that found no materials.
    MaterialBytes nothing;
    nothing.fill(200);
    nothing.writeTo(empty.path("none.mdl").toStdString());
    empty.chooseFile(empty.path("none.mdl"));
    QCOMPARE(empty.lines().size(), 0);
    empty.click("Button6");
    QVERIFY(empty.prompter.requests.isEmpty());
    QVERIFY(!empty.child<QPushButton>("Button2")->isEnabled());
}

TINTARA_TEST_MAIN(MainWindowPanelSendBackTest)
#include "tst_mainwindow_panel_sendback.moc"
