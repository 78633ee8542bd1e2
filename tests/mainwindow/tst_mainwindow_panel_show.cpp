// The material properties panel and the colour adjustment panel as they show a
// material: the layout, the arrow buttons, clicks in the list and on the ">>" and "<<"
// buttons, and a channel that cannot be shown.

#include "FormFixture.h"
#include "PanelFixture.h"
#include "testsupport.h"

#include "controls/NumEdit.h"
#include "controls/Shape.h"

#include <QScrollArea>

#include <limits>

using namespace tintara;
using namespace tintara::test;

class MainWindowPanelShowTest : public QObject, private PanelFixture {
    Q_OBJECT
private slots:
    void init() { PanelFixture::init(); }
    void cleanup() { PanelFixture::cleanup(); }

    void panelLayout_data();
    void panelLayout();
    void arrowButtonsLook();
    void windowOpensWithEmptyPanel();
    void clickShowsLowestSelectedLine();
    void clickLeavingNoSelectionKeepsPanel();
    void channelAboveOneCarriesIntoGreen();
    void arrowWithoutSelectionOnlyMovesIndicator();
    void arrowAfterBackArrowTakesTheSwatch();
    void clickAfterEditingRestoresStoredColours();
    void clickOnSelectedLineShowsItAgain();
    void unconvertibleChannelIsReported();
};

void MainWindowPanelShowTest::panelLayout_data() {
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

void MainWindowPanelShowTest::panelLayout() {
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

void MainWindowPanelShowTest::arrowButtonsLook() {
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

void MainWindowPanelShowTest::windowOpensWithEmptyPanel() {
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

void MainWindowPanelShowTest::clickShowsLowestSelectedLine() {
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

void MainWindowPanelShowTest::clickLeavingNoSelectionKeepsPanel() {
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

void MainWindowPanelShowTest::channelAboveOneCarriesIntoGreen() {
    f->clickLine(1);
    QCOMPARE(shape("Shape2")->fillColor(), 510);
    f->click("Button4");
    QCOMPARE(editTexts(), QStringList({"254", "1", "0", "255"}));
    QCOMPARE(shape("Shape1")->fillColor(), 510);
}

void MainWindowPanelShowTest::arrowWithoutSelectionOnlyMovesIndicator() {
    f->click("Button12");
    QCOMPARE(editTexts(), QStringList({"0", "0", "0", "0"}));
    QCOMPARE(shape("Shape1")->fillColor(), TShape::DefaultFill);
    QCOMPARE(visibleIndicators(), QStringList({"Shape9"}));
    f->click("Button11");
    QCOMPARE(visibleIndicators(), QStringList({"Shape8"}));
}

void MainWindowPanelShowTest::arrowAfterBackArrowTakesTheSwatch() {
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

void MainWindowPanelShowTest::clickAfterEditingRestoresStoredColours() {
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

void MainWindowPanelShowTest::clickOnSelectedLineShowsItAgain() {
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

void MainWindowPanelShowTest::unconvertibleChannelIsReported() {
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

TINTARA_TEST_MAIN(MainWindowPanelShowTest)
#include "tst_mainwindow_panel_show.moc"
