// The material list's selection: clicks and keys raise texlistClicked, the program's own
// selection changes do not; "Select All" and "Invert Selection".

#include "FormFixture.h"
#include "MaterialBytes.h"
#include "examples/modelcode/ModelCode.h"
#include "testsupport.h"

#include <QAbstractItemModelTester>
#include <QHelpEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolTip>

using namespace tintara;
using namespace tintara::test;

class MainWindowListTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void userSelectionRaisesTexlistClicked();
    void programSelectionDoesNot();
    void programSelectsOneLine();
    void clickAnywhereOnALineSelectsIt();
    void selectAllSelectsEveryLine();
    void invertSelectionFlipsEveryLine();
    void selectionCommandsOnEmptyList();
    void longLinesScrollSideways_data();
    void longLinesScrollSideways();
    void lineToolTipTellsTexturesAndTriangles();
    void selectionShowsAsWellWithoutFocus();

private:
    QList<int> selectedRows();
    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    std::unique_ptr<FormFixture> f;
    ProbeForm* form = nullptr;
    // Checks every change the list model announces (resets on scans, rebuilds) against
    // the item-model rules, failing the running test on any breach.
    std::unique_ptr<QAbstractItemModelTester> m_modelTester;
};

void MainWindowListTest::init() {
    f = std::make_unique<FormFixture>();
    MaterialBytes file;
    std::vector<EntryFloats> entries;
    for (int i = 0; i < 7; ++i)
        entries.push_back(MakeDiffuseOnlyEntry(0.1f * static_cast<float>(i), 0.0f, 0.0f, 1.0f));
    file.padTo(64).list(entries);
    file.writeTo(FsPath(f->path("seven.mdl")));
    form = &f->create();
    m_modelTester = std::make_unique<QAbstractItemModelTester>(
        f->list()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    f->chooseFile(f->path("seven.mdl"));
    QCOMPARE(f->lines().size(), 7);
}

void MainWindowListTest::cleanup() {
    m_modelTester.reset();
    f.reset();
    form = nullptr;
}

QList<int> MainWindowListTest::selectedRows() {
    QList<int> rows;
    for (const QModelIndex& index : f->list()->selectionModel()->selectedIndexes())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MainWindowListTest::clickRow(int row, Qt::KeyboardModifiers modifiers) {
    QAbstractItemView* list = f->list();
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
}

void MainWindowListTest::userSelectionRaisesTexlistClicked() {
    clickRow(1);
    QCOMPARE(selectedRows(), QList<int>({1}));
    QCOMPARE(form->texlistClicks, 1);

    clickRow(3, Qt::ControlModifier);
    QCOMPARE(selectedRows(), QList<int>({1, 3}));
    QCOMPARE(form->texlistClicks, 2);

    clickRow(5, Qt::ShiftModifier);
    QCOMPARE(selectedRows(), QList<int>({1, 3, 4, 5}));
    QCOMPARE(form->texlistClicks, 3);

    QTest::keyClick(f->list(), Qt::Key_Down);
    QCOMPARE(selectedRows(), QList<int>({6}));
    QCOMPARE(form->texlistClicks, 4);

    QTest::keyClick(f->list(), Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(selectedRows(), QList<int>({5, 6}));
    QCOMPARE(form->texlistClicks, 5);
}

void MainWindowListTest::programSelectionDoesNot() {
    clickRow(2);
    QCOMPARE(form->texlistClicks, 1);
    f->child<QPushButton>("Button7")->click();
    f->child<QPushButton>("Button8")->click();
    form->RebuildMaterialList();
    QVERIFY(selectedRows().isEmpty());
    clickRow(0);
    form->RescanFile();
    QCOMPARE(form->texlistClicks, 2);
}

void MainWindowListTest::programSelectsOneLine() {
    clickRow(5);
    clickRow(2, Qt::ControlModifier);
    QCOMPARE(form->FirstSelectedLine(), 2);
    form->SelectLine(4);
    QCOMPARE(selectedRows(), QList<int>({4}));
    QCOMPARE(form->FirstSelectedLine(), 4);
    QCOMPARE(f->list()->currentIndex().row(), 4);
    form->SelectLine(7);
    QVERIFY(selectedRows().isEmpty());
    QCOMPARE(form->FirstSelectedLine(), -1);
    QCOMPARE(form->texlistClicks, 2);
    // The user's next step goes on from the line the program selected.
    QTest::keyClick(f->list(), Qt::Key_Down);
    QCOMPARE(selectedRows(), QList<int>({5}));
}

void MainWindowListTest::clickAnywhereOnALineSelectsIt() {
    QAbstractItemView* list = f->list();
    const QRect rect = list->visualRect(list->model()->index(4, 0));
    // Right of the text, near the list's right edge.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(list->viewport()->width() - 4, rect.center().y()));
    QCOMPARE(selectedRows(), QList<int>({4}));
}

void MainWindowListTest::selectAllSelectsEveryLine() {
    clickRow(2);
    f->child<QPushButton>("Button7")->click();
    QCOMPARE(selectedRows(), QList<int>({0, 1, 2, 3, 4, 5, 6}));
}

void MainWindowListTest::invertSelectionFlipsEveryLine() {
    clickRow(1);
    clickRow(3, Qt::ControlModifier);
    clickRow(4, Qt::ControlModifier);
    f->child<QPushButton>("Button8")->click();
    QCOMPARE(selectedRows(), QList<int>({0, 2, 5, 6}));
    f->child<QPushButton>("Button8")->click();
    QCOMPARE(selectedRows(), QList<int>({1, 3, 4}));
}

void MainWindowListTest::selectionCommandsOnEmptyList() {
    MaterialBytes empty;
    empty.padTo(40);
    empty.writeTo(FsPath(f->path("empty.mdl")));
    f->chooseFile(f->path("empty.mdl"));
    f->child<QPushButton>("Button7")->click();
    f->child<QPushButton>("Button8")->click();
    QVERIFY(selectedRows().isEmpty());
}

void MainWindowListTest::longLinesScrollSideways_data() {
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("perList");
    QTest::addColumn<float>("lastRed");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("short lines fit") << 7 << 40 << 0.5f << false;
    QTest::newRow("three-digit list and line numbers") << 120 << 1 << 0.5f << true;
    QTest::newRow("negative channel's long value") << 3 << 40 << -0.5f << true;
}

// Every line can be read whole, scrolling sideways where the list is too narrow, and
// short lines need no scroll bar.
void MainWindowListTest::longLinesScrollSideways() {
    QFETCH(int, entries);
    QFETCH(int, perList);
    QFETCH(float, lastRed);
    QFETCH(bool, scrolls);
    std::vector<EntryFloats> floats(static_cast<std::size_t>(entries),
                                    MakeDiffuseOnlyEntry(0.5f, 0.0f, 0.0f, 1.0f));
    floats.back() = MakeDiffuseOnlyEntry(lastRed, 0.0f, 0.0f, 1.0f);
    MaterialBytes file;
    file.padTo(64);
    const auto step = static_cast<std::size_t>(perList);
    for (std::size_t first = 0; first < floats.size(); first += step)
        file.list(
            {floats.begin() + static_cast<std::ptrdiff_t>(first),
             floats.begin() + static_cast<std::ptrdiff_t>(std::min(first + step, floats.size()))});
    file.writeTo(FsPath(f->path("long.mdl")));
    f->chooseFile(f->path("long.mdl"));
    QCOMPARE(f->lines().size(), entries);
    QCoreApplication::processEvents();

    QAbstractItemView* list = f->list();
    const int textWidth = QFontMetrics(list->font()).horizontalAdvance(f->lines().constLast());
    QScrollBar* sideways = list->horizontalScrollBar();
    QCOMPARE(sideways->isVisible(), scrolls);
    QVERIFY2(sideways->maximum() + list->viewport()->width() > textWidth,
             qPrintable(QStringLiteral("%1 + %2 for a line %3 wide")
                            .arg(sideways->maximum())
                            .arg(list->viewport()->width())
                            .arg(textWidth)));
}

// A model whose code draws 1,500 triangles with its second material: hovering its line
// shows the texture, the count with a thousands comma, and the detail level.
void MainWindowListTest::lineToolTipTellsTexturesAndTriangles() {
    using namespace tintara::modelcode;
    Code c;
    c.TextureList({{"fuselage_t.bmp", 1}}).MaterialList({{}, {}});
    c.VertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).SetMaterial(1, 0);
    c.DrawTriangles(0, 3, std::vector<unsigned>(4500, 0)).BglEnd();
    MaterialBytes file;
    for (unsigned char byte : Mdl8(c.Finish()))
        file.raw({byte});
    file.writeTo(FsPath(f->path("plane.mdl")));
    QSignalSpy walked(form, &TForm1::modelWalked);
    f->chooseFile(f->path("plane.mdl"));
    QCOMPARE(walked.count(), 1);
    QCOMPARE(f->lines().size(), 2);

    QAbstractItemView* list = f->list();
    const QRect rect = list->visualRect(list->model()->index(1, 0));
    QHelpEvent help(QEvent::ToolTip, rect.center(), list->viewport()->mapToGlobal(rect.center()));
    QApplication::sendEvent(list->viewport(), &help);
    QTRY_COMPARE(QToolTip::text(), QString::fromUtf8("fuselage_t.bmp \u2014 1,500 triangles, "
                                                     "detail level 0"));
    QCOMPARE(list->model()->index(0, 0).data(Qt::ToolTipRole).toString(),
             "Not drawn by the model's code");
}

// While the user types in the panel, the selected lines look as they do with the focus
// in the list, even where the style's colours for an unfocused view are as pale as the
// Windows palette makes them.
void MainWindowListTest::selectionShowsAsWellWithoutFocus() {
    QAbstractItemView* list = f->list();
    QPalette pale = list->palette();
    pale.setColor(QPalette::Inactive, QPalette::Highlight, QColor(242, 242, 242));
    pale.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
    list->setPalette(pale);
    clickRow(2);
    QTRY_VERIFY(list->hasFocus());

    auto* power = f->child<QLineEdit>("NumEdit5");
    QVERIFY(power);
    power->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(power->hasFocus());
    QCOMPARE(selectedRows(), QList<int>{2});
    // Beside the text, the line shows the colour of a selection with the focus.
    const QRect line = list->visualRect(list->model()->index(2, 0));
    const QImage shown = list->viewport()->grab(line).toImage();
    QCOMPARE(shown.pixelColor(line.width() - 5, line.height() / 2),
             pale.color(QPalette::Active, QPalette::Highlight));
}

TINTARA_TEST_MAIN(MainWindowListTest)
#include "tst_mainwindow_list.moc"
