// The properties panel as the window uses it: an entry shown, with a conversion error
// returned rather than thrown, and the panel applied to entries, the power field read
// once for each colour slot.

#include "FormFixture.h"
#include "testsupport.h"

#include "controls/NumEdit.h"
#include "controls/Shape.h"
#include "mainwindow/MaterialPanel.h"
#include "material/Conversions.h"

#include <limits>

using namespace tintara;
using namespace tintara::test;

class MaterialPanelTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showThenApply_data();
    void showThenApply();
    void powerReadForEachSlot_data();
    void powerReadForEachSlot();

private:
    std::unique_ptr<FormFixture> f;
    MaterialPanel* panel = nullptr;
    TNumEdit* power = nullptr;
};

void MaterialPanelTest::init() {
    f = std::make_unique<FormFixture>();
    f->create();
    panel = f->child<MaterialPanel>("GroupBox1");
    power = f->child<TNumEdit>("NumEdit5");
    QVERIFY(panel && power);
}

void MaterialPanelTest::cleanup() {
    f.reset();
}

void MaterialPanelTest::showThenApply_data() {
    QTest::addColumn<float>("ambientGreen");
    QTest::addColumn<bool>("shown");
    QTest::newRow("every channel converts") << 0.2f << true;
    QTest::newRow("NaN ambient green") << std::numeric_limits<float>::quiet_NaN() << false;
}

void MaterialPanelTest::showThenApply() {
    QFETCH(float, ambientGreen);
    QFETCH(bool, shown);
    MaterialRecord entry;
    for (int s = 0; s < ColourSlotCount; ++s) {
        entry.Red[s] = 0.1f;
        entry.Green[s] = 0.2f;
        entry.Blue[s] = 0.3f;
        entry.Alpha[s] = 0.3f + 0.1f * static_cast<float>(s);
    }
    entry.Green[1] = ambientGreen;
    entry.Power = 12.5f;

    const std::optional<QString> error = panel->ShowMaterial(entry);
    QCOMPARE(!error.has_value(), shown);
    QVERIFY(!error || !error->isEmpty());
    // The diffuse slot comes before the failing one; the power only after every slot.
    QCOMPARE(f->child<TShape>("Shape2")->fillColor(), 25 + 51 * 256 + 76 * 65536);
    QCOMPARE(power->text(), shown ? QStringLiteral("12.5") : QStringLiteral("0"));
    if (!shown)
        return;

    MaterialRecord target;
    panel->ApplyTo(target);
    for (int s = 0; s < ColourSlotCount; ++s) {
        QCOMPARE(target.Red[s], ByteToChannel(25));
        QCOMPARE(target.Green[s], ByteToChannel(51));
        QCOMPARE(target.Blue[s], ByteToChannel(76));
        QCOMPARE(target.Alpha[s], entry.Alpha[s]);
    }
    QCOMPARE(target.Power, 12.5f);
    QCOMPARE(target.ChangedFields, AllFields);
    QCOMPARE(target.Modified, 1);
}

void MaterialPanelTest::powerReadForEachSlot_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("first");
    QTest::addColumn<float>("second");
    QTest::newRow("no comma") << "7.5" << 7.5f << 7.5f;
    QTest::newRow("commas used up by the first entry") << "1,2,3" << 123.0f << 123.0f;
    QTest::newRow("a comma left for the second entry") << "1,2,3,4,5,6" << 12345.0f << 123456.0f;
}

void MaterialPanelTest::powerReadForEachSlot() {
    QFETCH(QString, text);
    QFETCH(float, first);
    QFETCH(float, second);
    power->setText(text);
    MaterialRecord entries[3];
    panel->ApplyTo(entries[0]);
    panel->ApplyTo(entries[1]);
    QCOMPARE(entries[0].Power, first);
    QCOMPARE(entries[1].Power, second);
    // A new text is read again, whatever was read before.
    power->setText(QStringLiteral("4,2"));
    panel->ApplyTo(entries[2]);
    QCOMPARE(entries[2].Power, 42.0f);
    QCOMPARE(power->text(), QStringLiteral("42"));
}

TINTARA_TEST_MAIN(MaterialPanelTest)
#include "tst_mainwindow_materialpanel.moc"
