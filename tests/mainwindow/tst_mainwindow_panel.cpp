// The material properties panel and the colour adjustment panel, driven by clicks in
// the list, on the ">>", "<<" and send-back buttons, on the spinners and by typing.

#include "FormFixture.h"
#include "MaterialBytes.h"
#include "testsupport.h"

#include "controls/NumEdit.h"
#include "controls/Shape.h"
#include "controls/UpDown.h"
#include "material/Conversions.h"

#include <QClipboard>
#include <QGroupBox>
#include <QScrollArea>
#include <QSignalSpy>

#include <cmath>
#include <limits>

using namespace tintara;
using namespace tintara::test;

namespace {

// Line 0: diffuse 1.0, 0.5, 0.0 with alpha 0.5; line 1: red 2.0; line 2: power 5000;
// line 3: alpha 1.5; lines 4 and 5: ordinary materials.
MaterialBytes PanelFile() {
    MaterialBytes file;
    file.fill(64).list({MakeEntry(1.0f, 0.5f, 0.0f, 0.5f, 20.0f), MakeEntry(2.0f, 0.0f, 0.0f, 1.0f),
                        MakeEntry(0.2f, 0.4f, 0.6f, 1.0f, 5000.0f),
                        MakeEntry(0.0f, 0.0f, 1.0f, 1.5f), MakeEntry(0.1f, 0.2f, 0.3f, 1.0f, 12.5f),
                        MakeEntry(0.4f, 0.4f, 0.4f, 1.0f)});
    return file;
}

} // namespace

class MainWindowPanelTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void panelLayout_data();
    void panelLayout();
    void arrowButtonsLook();
    void windowOpensWithEmptyPanel();
    void clickShowsLowestSelectedLine();
    void clickLeavingNoSelectionKeepsPanel();
    void halfMaterialSwatchAndSendBack();
    void channelAboveOneCarriesIntoGreen();
    void arrowWithoutSelectionOnlyMovesIndicator();
    void arrowAfterBackArrowTakesTheSwatch();
    void previewCombinesEdits_data();
    void previewCombinesEdits();
    void pastedInfinitySaturates();
    void spinnersChangeOnlyThePreview();
    void alphaAboveOneIsClamped();
    void powerIsClampedAndStoredAsFloat();
    void powerShowsDecimalPointInGermanLocale();
    void sendBackToSeveralLines();
    void sendBackWithNothingSelectedShowsLineZero();
    void sendBackWithEmptyListDoesNothing();
    void colourChooserSetsTheEdits();
    void colourChooserEqualValueRaisesNoChange();
    void colourChooserCancelledChangesNothing();
    void clickAfterEditingRestoresStoredColours();
    void clickOnSelectedLineShowsItAgain();
    void unconvertibleChannelIsReported();

private:
    TShape* shape(const char* name) { return f->child<TShape>(name); }
    TNumEdit* edit(int n) {
        return f->child<TNumEdit>(QStringLiteral("NumEdit%1").arg(n).toLatin1().constData());
    }
    QString text(int n) { return edit(n)->text(); }
    QStringList editTexts() { return {text(1), text(2), text(3), text(4)}; }
    QStringList visibleIndicators();
    void typeInto(int n, const QString& typed);
    void spin(const char* spinner, bool up);

    std::unique_ptr<FormFixture> f;
    ProbeForm* form = nullptr;
};

void MainWindowPanelTest::init() {
    f = std::make_unique<FormFixture>();
    PanelFile().writeTo(f->path("panel.mdl").toStdString());
    form = &f->create();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    f->chooseFile(f->path("panel.mdl"));
    QCOMPARE(f->lines().size(), 6);
}

void MainWindowPanelTest::cleanup() {
    f.reset();
    form = nullptr;
}

QStringList MainWindowPanelTest::visibleIndicators() {
    QStringList names;
    for (const char* name : {"Shape6", "Shape7", "Shape8", "Shape9"}) {
        if (!shape(name)->isHidden())
            names << QLatin1String(name);
    }
    return names;
}

void MainWindowPanelTest::typeInto(int n, const QString& typed) {
    TNumEdit* target = edit(n);
    target->setFocus();
    target->selectAll();
    QTest::keyClicks(target, typed);
}

void MainWindowPanelTest::spin(const char* spinner, bool up) {
    auto* control = f->child<TUpDown>(spinner);
    const QPoint at(control->width() / 2, up ? 3 : control->height() - 3);
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, at);
}

void MainWindowPanelTest::panelLayout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    const QString group = QStringLiteral("GroupBox1");
    const QString scroll = QStringLiteral("ScrollBox1");
    const struct {
        const char* name;
        const QString& parent;
        QRect geometry;
    } rows[] = {
        {"Shape2", group, {56, 24, 57, 41}},      {"Shape6", group, {24, 40, 17, 17}},
        {"Shape5", group, {56, 168, 57, 41}},     {"Shape9", group, {24, 184, 17, 17}},
        {"Button4", group, {120, 24, 33, 20}},    {"Button16", group, {120, 189, 33, 20}},
        {"NumEdit5", group, {168, 156, 113, 21}}, {"ScrollBox1", group, {160, 24, 201, 121}},
        {"Button6", group, {168, 184, 193, 25}},  {"Shape1", scroll, {8, 8, 185, 33}},
        {"NumEdit1", scroll, {8, 48, 25, 21}},    {"UpDown1", scroll, {33, 48, 15, 21}},
        {"NumEdit4", scroll, {152, 48, 25, 21}},  {"UpDown4", scroll, {177, 48, 15, 21}},
        {"Button5", scroll, {8, 88, 185, 25}},
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.parent << row.geometry;
}

void MainWindowPanelTest::panelLayout() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    auto* control = form->findChild<QWidget*>(name);
    QVERIFY(control);
    // Positions count from the parent's client area: the group box itself, the scroll
    // box's viewport.
    QWidget* client = parent == QLatin1String("ScrollBox1")
                          ? f->child<QScrollArea>("ScrollBox1")->viewport()
                          : f->child<QWidget>(parent.toLatin1().constData());
    QCOMPARE(QRect(control->mapTo(client, QPoint(0, 0)), control->size()), geometry);
}

void MainWindowPanelTest::arrowButtonsLook() {
    const QColor lime(0, 255, 0);
    int tag = 0;
    for (const char* name : {"Button4", "Button10", "Button11", "Button12"}) {
        auto* button = f->child<QPushButton>(name);
        QCOMPARE(button->text(), QStringLiteral(">>"));
        QVERIFY(button->font().bold());
        QCOMPARE(button->palette().color(QPalette::Active, QPalette::ButtonText), lime);
        QCOMPARE(button->property("Tag").toInt(), tag++);
    }
    tag = 0;
    for (const char* name : {"Button13", "Button14", "Button15", "Button16"}) {
        auto* button = f->child<QPushButton>(name);
        QCOMPARE(button->text(), QStringLiteral("<<"));
        QVERIFY(!button->font().bold());
        QCOMPARE(button->property("Tag").toInt(), tag++);
    }
    QCOMPARE(
        f->child<QPushButton>("Button13")->palette().color(QPalette::Active, QPalette::ButtonText),
        QColor(0, 0, 128));
    for (const char* name : {"Shape6", "Shape7", "Shape8", "Shape9"}) {
        QCOMPARE(shape(name)->shapeType(), TShape::Circle);
        QCOMPARE(shape(name)->fillColor(), 0x00FF00);
    }
}

void MainWindowPanelTest::windowOpensWithEmptyPanel() {
    QCOMPARE(editTexts(), QStringList({"0", "0", "0", "0"}));
    QCOMPARE(text(5), QStringLiteral("0"));
    QCOMPARE(shape("Shape1")->fillColor(), TShape::DefaultFill);
    QCOMPARE(shape("Shape2")->fillColor(), TShape::DefaultFill);
    QVERIFY(visibleIndicators().isEmpty());
    QVERIFY(edit(5)->AllowDecimal() && edit(5)->AllowMinus());
    QCOMPARE(edit(5)->Max(), 1000.0);
    QCOMPARE(edit(1)->Max(), 255.0);
    QCOMPARE(edit(1)->Min(), -1000.0);
    QVERIFY(!edit(1)->AllowDecimal() && !edit(1)->AllowMinus());
}

void MainWindowPanelTest::clickShowsLowestSelectedLine() {
    f->clickLine(4);
    QCOMPARE(shape("Shape2")->fillColor(), 25 + 51 * 256 + 76 * 65536); // 0.1, 0.2, 0.3 x 255
    QCOMPARE(text(5), QStringLiteral("12.5"));
    f->clickLine(0, Qt::ControlModifier);
    QCOMPARE(f->selectedLines(), QList<int>({0, 4}));
    QCOMPARE(shape("Shape2")->fillColor(), 32767);
    QCOMPARE(shape("Shape3")->fillColor(), 51 + 51 * 256 + 51 * 65536);
    QCOMPARE(shape("Shape4")->fillColor(), 0);
    QCOMPARE(text(5), QStringLiteral("20"));
}

void MainWindowPanelTest::clickLeavingNoSelectionKeepsPanel() {
    f->clickLine(0);
    f->click("Button10");
    QCOMPARE(visibleIndicators(), QStringList({"Shape7"}));
    const QStringList panel = editTexts();
    f->clickLine(0, Qt::ControlModifier); // unselects the only line
    QVERIFY(f->selectedLines().isEmpty());
    QCOMPARE(shape("Shape2")->fillColor(), 32767);
    QCOMPARE(editTexts(), panel);
    QVERIFY(visibleIndicators().isEmpty());
}

void MainWindowPanelTest::halfMaterialSwatchAndSendBack() {
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

void MainWindowPanelTest::channelAboveOneCarriesIntoGreen() {
    f->clickLine(1);
    QCOMPARE(shape("Shape2")->fillColor(), 510);
    f->click("Button4");
    QCOMPARE(editTexts(), QStringList({"254", "1", "0", "255"}));
    QCOMPARE(shape("Shape1")->fillColor(), 510);
}

void MainWindowPanelTest::arrowWithoutSelectionOnlyMovesIndicator() {
    f->click("Button12");
    QCOMPARE(editTexts(), QStringList({"0", "0", "0", "0"}));
    QCOMPARE(shape("Shape1")->fillColor(), TShape::DefaultFill);
    QCOMPARE(visibleIndicators(), QStringList({"Shape9"}));
    f->click("Button11");
    QCOMPARE(visibleIndicators(), QStringList({"Shape8"}));
}

void MainWindowPanelTest::arrowAfterBackArrowTakesTheSwatch() {
    f->clickLine(5);
    f->click("Button4");
    typeInto(1, QStringLiteral("9"));
    f->click("Button14"); // into the ambient swatch
    QCOMPARE(shape("Shape3")->fillColor(), 9 + 102 * 256 + 102 * 65536);
    f->click("Button4"); // diffuse into the panel again
    QCOMPARE(text(1), QStringLiteral("102"));
    f->click("Button10"); // the edited ambient swatch, not the stored colour
    QCOMPARE(editTexts(), QStringList({"9", "102", "102", "255"}));
    QCOMPARE(visibleIndicators(), QStringList({"Shape7"}));
}

void MainWindowPanelTest::previewCombinesEdits_data() {
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

void MainWindowPanelTest::previewCombinesEdits() {
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

void MainWindowPanelTest::pastedInfinitySaturates() {
    QGuiApplication::clipboard()->setText(QStringLiteral("1e999"));
    typeInto(2, QStringLiteral("0"));
    edit(2)->selectAll();
    QTest::keyClick(edit(2), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(text(2), QStringLiteral("1e999"));
    // Green at the top of the 64-bit range, shifted by one byte, keeps its low bits.
    QCOMPARE(shape("Shape1")->fillColor(), -256);
    QVERIFY(f->prompter.requests.isEmpty());
}

void MainWindowPanelTest::spinnersChangeOnlyThePreview() {
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

void MainWindowPanelTest::alphaAboveOneIsClamped() {
    f->clickLine(3);
    f->click("Button4");
    QCOMPARE(text(4), QStringLiteral("255"));
    f->click("Button13");
    f->click("Button6");
    QCOMPARE(form->materials()[3].Alpha[0], 1.0f);
}

void MainWindowPanelTest::powerIsClampedAndStoredAsFloat() {
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
void MainWindowPanelTest::powerShowsDecimalPointInGermanLocale() {
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

void MainWindowPanelTest::sendBackToSeveralLines() {
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

void MainWindowPanelTest::sendBackWithNothingSelectedShowsLineZero() {
    f->clickLine(4);
    f->clickLine(4, Qt::ControlModifier);
    QVERIFY(f->selectedLines().isEmpty());
    f->click("Button6");
    QVERIFY(!form->materials().anyModified());
    QVERIFY(f->child<QPushButton>("Button2")->isEnabled());
    QCOMPARE(f->selectedLines(), QList<int>({0}));
    QCOMPARE(shape("Shape2")->fillColor(), 32767);
}

void MainWindowPanelTest::sendBackWithEmptyListDoesNothing() {
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

void MainWindowPanelTest::colourChooserSetsTheEdits() {
    f->clickLine(0);
    f->click("Button4");
    f->colours.choices.push_back(0x102030);
    f->click("Button5");
    QCOMPARE(f->colours.initials, std::vector<std::int32_t>({32767}));
    QCOMPARE(editTexts(), QStringList({"48", "32", "16", "127"}));
    QCOMPARE(shape("Shape1")->fillColor(), 0x102030);
}

void MainWindowPanelTest::colourChooserEqualValueRaisesNoChange() {
    // The preview starts white while the edits read 0, 0, 0: choosing black changes no
    // edit, so the preview stays as it is.
    QSignalSpy changes(edit(1), &QLineEdit::textChanged);
    f->colours.choices.push_back(0);
    f->click("Button5");
    QCOMPARE(f->colours.initials, std::vector<std::int32_t>({TShape::DefaultFill}));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(shape("Shape1")->fillColor(), TShape::DefaultFill);
}

void MainWindowPanelTest::colourChooserCancelledChangesNothing() {
    f->clickLine(4);
    f->click("Button4");
    const QStringList before = editTexts();
    const qint32 preview = shape("Shape1")->fillColor();
    f->colours.choices.push_back(std::nullopt);
    f->click("Button5");
    QCOMPARE(editTexts(), before);
    QCOMPARE(shape("Shape1")->fillColor(), preview);
}

void MainWindowPanelTest::clickAfterEditingRestoresStoredColours() {
    f->clickLine(0);
    f->click("Button4");
    spin("UpDown3", true);
    f->click("Button13");
    QCOMPARE(shape("Shape2")->fillColor(), 32767 + 65536);
    f->clickLine(4);
    f->clickLine(0);
    QCOMPARE(shape("Shape2")->fillColor(), 32767);
    QCOMPARE(editTexts(), QStringList({"255", "127", "1", "127"}));
    QCOMPARE(shape("Shape1")->fillColor(), 32767 + 65536);
}

void MainWindowPanelTest::clickOnSelectedLineShowsItAgain() {
    // Clicking the line already shown, with no change of selection, still shows it.
    f->clickLine(0);
    f->click("Button4");
    spin("UpDown3", true);
    f->click("Button13");
    QCOMPARE(shape("Shape2")->fillColor(), 32767 + 65536);
    f->clickLine(0);
    QCOMPARE(shape("Shape2")->fillColor(), 32767);
    QCOMPARE(visibleIndicators(), QStringList());
}

void MainWindowPanelTest::unconvertibleChannelIsReported() {
    f->clickLine(4);
    f->click("Button11");
    form->table()[5].Green[1] = std::numeric_limits<float>::quiet_NaN();
    form->table()[5].Power = 77.0f;
    f->clickLine(5);
    QCOMPARE(f->prompter.requests.size(), 1);
    QCOMPARE(f->prompter.requests[0].icon, PromptIcon::Critical);
    // The diffuse slot was shown before the failing ambient one; the rest keep theirs.
    QCOMPARE(shape("Shape2")->fillColor(), 102 + 102 * 256 + 102 * 65536);
    QCOMPARE(shape("Shape3")->fillColor(), 51 + 51 * 256 + 51 * 65536);
    QCOMPARE(text(5), QStringLiteral("12.5"));
    QCOMPARE(visibleIndicators(), QStringList({"Shape8"}));
}

TINTARA_TEST_MAIN(MainWindowPanelTest)
#include "tst_mainwindow_panel.moc"
