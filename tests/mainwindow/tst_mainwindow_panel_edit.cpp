// The colour adjustment panel while it is edited: the preview from typed, pasted and
// spun values, and the colour chooser.

#include "FormFixture.h"
#include "PanelFixture.h"
#include "testsupport.h"

#include "controls/NumEdit.h"
#include "controls/Shape.h"

#include <QClipboard>
#include <QSignalSpy>

#include <cstdint>
#include <optional>
#include <vector>

using namespace tintara;
using namespace tintara::test;

class MainWindowPanelEditTest : public QObject, private PanelFixture {
    Q_OBJECT
private slots:
    void init() { PanelFixture::init(); }
    void cleanup() { PanelFixture::cleanup(); }

    void previewCombinesEdits_data();
    void previewCombinesEdits();
    void pastedInfinitySaturates();
    void spinnersChangeOnlyThePreview();
    void colourChooserSetsTheEdits();
    void colourChooserEqualValueRaisesNoChange();
    void colourChooserCancelledChangesNothing();
};

void MainWindowPanelEditTest::previewCombinesEdits_data() {
    QTest::addColumn<QString>("red");
    QTest::addColumn<QString>("green");
    QTest::addColumn<QString>("blue");
    QTest::addColumn<qint32>("typed");
    QTest::addColumn<qint32>("afterLeaving");
    QTest::newRow("orange") << "255"
                            << "128"
                            << "0" << 33023 << 33023;
    QTest::newRow("blue is the third byte") << "0"
                                            << "0"
                                            << "255" << 0xFF0000 << 0xFF0000;
    QTest::newRow("red 300 carries into green") << "300"
                                                << "0"
                                                << "0" << 300 << 255;
    QTest::newRow("too large for 64 bits saturates") << "99999999999999999999"
                                                     << "0"
                                                     << "0" << -1 << 255;
}

void MainWindowPanelEditTest::previewCombinesEdits() {
    QFETCH(QString, red);
    QFETCH(QString, green);
    QFETCH(QString, blue);
    QFETCH(qint32, typed);
    QFETCH(qint32, afterLeaving);
    // Red is typed last, so it is still being edited when the preview is checked;
    // leaving the field brings it within the limits.
    typeInto(3, blue);
    typeInto(2, green);
    typeInto(1, red);
    QCOMPARE(shape("Shape1")->fillColor(), typed);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(shape("Shape1")->fillColor(), afterLeaving);
    QVERIFY(f->prompter.requests.isEmpty());
}

void MainWindowPanelEditTest::pastedInfinitySaturates() {
    QGuiApplication::clipboard()->setText(QStringLiteral("1e999"));
    typeInto(2, QStringLiteral("0"));
    edit(2)->selectAll();
    QTest::keyClick(edit(2), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(text(2), QStringLiteral("1e999"));
    // Green at the top of the 64-bit range, shifted by one byte, keeps its low bits.
    QCOMPARE(shape("Shape1")->fillColor(), -256);
    QVERIFY(f->prompter.requests.isEmpty());
}

void MainWindowPanelEditTest::spinnersChangeOnlyThePreview() {
    f->clickLine(0);
    f->click("Button4");
    const qint32 swatch = shape("Shape2")->fillColor();
    spin("UpDown1", false);
    QCOMPARE(text(1), QStringLiteral("254"));
    spin("UpDown2", true);
    spin("UpDown2", true);
    QCOMPARE(text(2), QStringLiteral("129"));
    QCOMPARE(shape("Shape1")->fillColor(), 254 + 129 * 256);
    // The alpha takes no part in the preview.
    spin("UpDown4", true);
    QCOMPARE(text(4), QStringLiteral("128"));
    QCOMPARE(shape("Shape1")->fillColor(), 254 + 129 * 256);
    QCOMPARE(shape("Shape2")->fillColor(), swatch);
    QCOMPARE(form->materials()[0].Modified, 0);
    // Typing a power changes nothing until the material is sent back.
    typeInto(5, QStringLiteral("7"));
    QCOMPARE(form->materials()[0].Power, 20.0f);
}

void MainWindowPanelEditTest::colourChooserSetsTheEdits() {
    f->clickLine(0);
    f->click("Button4");
    f->colours.choices.push_back(0x102030);
    f->click("Button5");
    QCOMPARE(f->colours.initials, std::vector<std::int32_t>({32767}));
    QCOMPARE(editTexts(), QStringList({"48", "32", "16", "127"}));
    QCOMPARE(shape("Shape1")->fillColor(), 0x102030);
}

void MainWindowPanelEditTest::colourChooserEqualValueRaisesNoChange() {
    // The preview starts white while the edits read 0, 0, 0: choosing black changes no
    // edit, so the preview stays as it is.
    QSignalSpy changes(edit(1), &QLineEdit::textChanged);
    f->colours.choices.push_back(0);
    f->click("Button5");
    QCOMPARE(f->colours.initials, std::vector<std::int32_t>({TShape::DefaultFill}));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(shape("Shape1")->fillColor(), TShape::DefaultFill);
}

void MainWindowPanelEditTest::colourChooserCancelledChangesNothing() {
    f->clickLine(4);
    f->click("Button4");
    const QStringList before = editTexts();
    const qint32 preview = shape("Shape1")->fillColor();
    f->colours.choices.push_back(std::nullopt);
    f->click("Button5");
    QCOMPARE(editTexts(), before);
    QCOMPARE(shape("Shape1")->fillColor(), preview);
}

TINTARA_TEST_MAIN(MainWindowPanelEditTest)
#include "tst_mainwindow_panel_edit.moc"
