// Choosing a file and scanning it: the list lines and count label, the scan's error
// boxes, the property chooser and the questions before unsaved edits are dropped.

#include "FormFixture.h"
#include "MaterialBytes.h"
#include "testsupport.h"

#include <limits>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace tintara;
using namespace tintara::test;

namespace {

const QString ReadProblem = QStringLiteral("Sorry. Having a problem reading this MDL");
const QString NoMaterials = QStringLiteral("No materials found. This may be an old format MDL");

// Lists of 2 and 3 materials with distinct diffuse colours and powers.
MaterialBytes TwoLists() {
    MaterialBytes file;
    file.padTo(6692)
        .list({MakeDiffuseOnlyEntry(1.0f, 0.5f, 0.0f, 1.0f, 20.0f),
               MakeDiffuseOnlyEntry(0.0f, 0.0f, 1.0f, 1.0f, 5.0f)})
        .padTo(7000)
        .list({MakeDiffuseOnlyEntry(1.5f, -0.5f, 0.25f, 1.0f, -3.25f),
               MakeDiffuseOnlyEntry(0.2f, 0.4f, 0.6f, 0.8f),
               MakeDiffuseOnlyEntry(1.0f, 1.0f, 1.0f, 1.0f, 100.0f)});
    return file;
}

} // namespace

class MainWindowScanTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void choosingAFileScansIt();
    void chosenFolderBecomesInitialFolder();
    void cancelledChoiceChangesNothing();
    void sceneryFilterShowsObj();
    void propertyChooserShowsOtherValues();
    void fileWithoutMaterials();
    void rescanWithoutFileDoesNothing();
    void unopenableFileIsReported_data();
    void unopenableFileIsReported();
    void notANumberStopsTheScan();
    void unconvertibleShownChannelKeepsEarlierLines();
    void propertyChangeKeepsUnsavedEdits();
    void rescanAsksBeforeDroppingEdits_data();
    void rescanAsksBeforeDroppingEdits();
    void choosingAnotherFileAsksBeforeDroppingEdits();
    void closingAsksBeforeDroppingEdits();

private:
    ProbeForm& showForm();
    void markFirstModified();

    std::unique_ptr<FormFixture> f;
};

void MainWindowScanTest::init() {
    f = std::make_unique<FormFixture>();
    TwoLists().writeTo(FsPath(f->path("plane.mdl")));
}

void MainWindowScanTest::cleanup() {
    f.reset();
}

ProbeForm& MainWindowScanTest::showForm() {
    ProbeForm& form = f->create();
    form.show();
    [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(&form);
    return form;
}

void MainWindowScanTest::markFirstModified() {
    MaterialRecord& record = f->form().table()[0];
    record.Red[0] = 0.0f;
    record.Modified = 1;
    f->child<QPushButton>("Button2")->setEnabled(true);
}

void MainWindowScanTest::choosingAFileScansIt() {
    ProbeForm& form = showForm();
    f->chooseFile(f->path("plane.mdl"));

    QCOMPARE(f->child<QLineEdit>("Edit1")->text(), QStringLiteral("plane.mdl"));
    QCOMPARE(form.openDialog().FileName(), f->nativePath("plane.mdl"));
    QCOMPARE(f->lines(),
             QStringList({"LOD 01 01 00001A2C  FF 7F 00 FF", "LOD 01 02 00001A70  00 00 FF FF",
                          "LOD 02 03 00001B60  17E FFFFFF81 3F FF",
                          "LOD 02 04 00001BA4  33 66 99 CC", "LOD 02 05 00001BE8  FF FF FF FF"}));
    QCOMPARE(f->label(), QStringLiteral("5 Materials found"));
    QCOMPARE(form.materials().count(), std::size_t{5});
    QVERIFY(f->list()->selectionModel()->selectedIndexes().isEmpty());
    QVERIFY(f->prompter.requests.isEmpty());
    QCOMPARE(f->chooser.requests.back().filters,
             QStringList({"Aircraft Model (*.mdl)", "Scenery File (*.bgl)", "Any File (*.*)"}));
    QCOMPARE(f->chooser.requests.back().filterIndex, 1);
}

void MainWindowScanTest::chosenFolderBecomesInitialFolder() {
    ProbeForm& form = showForm();
    f->chooseFile(f->path("plane.mdl"));
    QCOMPARE(form.openDialog().InitialDir(), f->nativePath("."));
    f->chooser.choices.push_back(std::nullopt);
    QTest::mouseClick(f->child<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(f->chooser.requests.back().initialFolder, f->nativePath("."));
}

void MainWindowScanTest::cancelledChoiceChangesNothing() {
    ProbeForm& form = showForm();
    f->chooseFile(f->path("plane.mdl"));
    f->chooser.choices.push_back(std::nullopt);
    QTest::mouseClick(f->child<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(form.openDialog().FileName(), f->nativePath("plane.mdl"));
    QCOMPARE(f->lines().size(), 5);
}

void MainWindowScanTest::sceneryFilterShowsObj() {
    ProbeForm& form = showForm();
    f->chooseFile(f->path("plane.mdl"), 2);
    QCOMPARE(f->lines().value(0), QStringLiteral("OBJ 01 01 00001A2C  FF 7F 00 FF"));
    QCOMPARE(f->lines().value(4), QStringLiteral("OBJ 02 05 00001BE8  FF FF FF FF"));
    // The next dialog preselects the filter last confirmed; "Any File" goes back to LOD.
    f->chooseFile(f->path("plane.mdl"), 3);
    QCOMPARE(f->chooser.requests.back().filterIndex, 2);
    QCOMPARE(form.openDialog().FilterIndex(), 3);
    QCOMPARE(f->lines().value(0), QStringLiteral("LOD 01 01 00001A2C  FF 7F 00 FF"));
}

void MainWindowScanTest::propertyChooserShowsOtherValues() {
    showForm();
    f->chooseFile(f->path("plane.mdl"));
    QComboBox* combo = f->child<QComboBox>("ComboBox1");
    combo->setFocus();
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentText(), QStringLiteral("Specularity"));
    QCOMPARE(f->lines(), QStringList({"LOD 01 01 00001A2C 20.0000", "LOD 01 02 00001A70 5.0000",
                                      "LOD 02 03 00001B60 -3.2500", "LOD 02 04 00001BA4 0.0000",
                                      "LOD 02 05 00001BE8 100.0000"}));
    QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(f->lines().value(0), QStringLiteral("LOD 01 01 00001A2C  00 00 00 00"));
    QCOMPARE(f->label(), QStringLiteral("5 Materials found"));
}

void MainWindowScanTest::fileWithoutMaterials() {
    MaterialBytes file;
    // An opcode at an odd offset is not a list.
    file.padTo(101).list({MakeDiffuseOnlyEntry(1.0f, 1.0f, 1.0f, 1.0f)});
    file.writeTo(FsPath(f->path("old.mdl")));
    showForm();
    f->chooseFile(f->path("old.mdl"));
    QVERIFY(f->lines().isEmpty());
    QCOMPARE(f->label(), NoMaterials);
    QVERIFY(f->prompter.requests.isEmpty());
}

void MainWindowScanTest::rescanWithoutFileDoesNothing() {
    showForm();
    QTest::mouseClick(f->child<QPushButton>("scan"), Qt::LeftButton);
    QVERIFY(f->lines().isEmpty());
    QVERIFY(f->label().isEmpty());
    QVERIFY(f->prompter.requests.isEmpty());
}

void MainWindowScanTest::unopenableFileIsReported_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("file gone") << "gone.mdl"
                               << "";
    QTest::newRow("a folder") << "folder.mdl"
                              << "is not a regular file";
#ifndef Q_OS_WIN
    // Refused without waiting for a writer.
    QTest::newRow("a FIFO") << "pipe.mdl"
                            << "is not a regular file";
#endif
}

void MainWindowScanTest::unopenableFileIsReported() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QDir().mkpath(f->path("folder.mdl"));
#ifndef Q_OS_WIN
    QVERIFY(::mkfifo(QFile::encodeName(f->path("pipe.mdl")).constData(), 0600) == 0);
#endif
    showForm();
    f->chooseFile(f->path("plane.mdl"));
    f->child<QPushButton>("Button2")->setEnabled(true);
    f->chooseFile(f->path(name));

    QCOMPARE(f->prompter.requests.size(), 1);
    const PromptRequest& box = f->prompter.requests[0];
    QVERIFY2(box.text.contains(name) && box.text.contains(reason), qPrintable(box.text));
    QCOMPARE(box.icon, PromptIcon::Critical);
    QVERIFY(f->lines().isEmpty());
    QCOMPARE(f->form().materials().count(), std::size_t{0});
    // The label and the save button keep their state.
    QCOMPARE(f->label(), QStringLiteral("5 Materials found"));
    QVERIFY(f->child<QPushButton>("Button2")->isEnabled());
}

void MainWindowScanTest::notANumberStopsTheScan() {
    MaterialBytes file;
    tintara::test::EntryFloats bad = MakeDiffuseOnlyEntry(0.5f, 0.5f, 0.5f, 1.0f);
    bad[9] = std::numeric_limits<float>::quiet_NaN(); // ambient green
    file.padTo(16).list({MakeDiffuseOnlyEntry(1.0f, 1.0f, 1.0f, 1.0f),
                         MakeDiffuseOnlyEntry(0.0f, 0.0f, 0.0f, 0.0f), bad,
                         MakeDiffuseOnlyEntry(1.0f, 1.0f, 1.0f, 1.0f)});
    file.writeTo(FsPath(f->path("nan.mdl")));
    showForm();
    f->chooseFile(f->path("plane.mdl"));
    f->child<QPushButton>("Button2")->setEnabled(true);
    f->chooseFile(f->path("nan.mdl"));

    QCOMPARE(f->prompter.requests.size(), 1);
    QCOMPARE(f->prompter.requests[0].text, ReadProblem);
    QCOMPARE(f->prompter.requests[0].caption, QStringLiteral("TINTARA"));
    QCOMPARE(f->prompter.requests[0].icon, PromptIcon::Critical);
    QCOMPARE(f->prompter.owners[0], static_cast<QWidget*>(&f->form())); // centred on it
    QCOMPARE(f->form().materials().count(), std::size_t{2});
    QVERIFY(f->lines().isEmpty());
    QCOMPARE(f->label(), QStringLiteral("5 Materials found"));
    QVERIFY(f->child<QPushButton>("Button2")->isEnabled());

    // The property chooser has no table to show after a failed read.
    QTest::keyClick(f->child<QComboBox>("ComboBox1"), Qt::Key_Down);
    QVERIFY(f->lines().isEmpty());
    QCOMPARE(f->prompter.requests.size(), 1);
}

void MainWindowScanTest::unconvertibleShownChannelKeepsEarlierLines() {
    MaterialBytes file;
    file.padTo(16).list({MakeDiffuseOnlyEntry(1.0f, 1.0f, 1.0f, 1.0f),
                         MakeDiffuseOnlyEntry(0.5f, -1.0e30f, 0.0f, 1.0f),
                         MakeDiffuseOnlyEntry(0.0f, 0.0f, 0.0f, 0.0f)});
    file.writeTo(FsPath(f->path("huge.mdl")));
    showForm();
    f->chooseFile(f->path("plane.mdl"));
    f->child<QPushButton>("Button2")->setEnabled(true);
    f->chooseFile(f->path("huge.mdl"));

    QCOMPARE(f->prompter.requests.size(), 1);
    QCOMPARE(f->prompter.requests[0].text, ReadProblem);
    QCOMPARE(f->form().materials().count(), std::size_t{3});
    QCOMPARE(f->lines(), QStringList({"LOD 01 01 00000018  FF FF FF FF"}));
    QCOMPARE(f->label(), QStringLiteral("5 Materials found"));
    QVERIFY(f->child<QPushButton>("Button2")->isEnabled());

    // The channel is only shown with "Diffuse": another property lists every entry.
    QTest::keyClick(f->child<QComboBox>("ComboBox1"), Qt::Key_Down);
    QCOMPARE(f->lines().size(), 3);
    QCOMPARE(f->label(), QStringLiteral("3 Materials found"));
}

void MainWindowScanTest::propertyChangeKeepsUnsavedEdits() {
    ProbeForm& form = showForm();
    f->chooseFile(f->path("plane.mdl"));
    markFirstModified();
    QComboBox* combo = f->child<QComboBox>("ComboBox1");
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Up);

    QCOMPARE(f->lines().value(0), QStringLiteral("LOD 01 01 00001A2C  00 7F 00 FF"));
    QVERIFY(form.materials()[0].Modified != 0);
    QVERIFY(f->child<QPushButton>("Button2")->isEnabled());
    QVERIFY(f->prompter.requests.isEmpty());
}

void MainWindowScanTest::rescanAsksBeforeDroppingEdits_data() {
    QTest::addColumn<bool>("discard");
    QTest::newRow("keep edits") << false;
    QTest::newRow("discard edits") << true;
}

void MainWindowScanTest::rescanAsksBeforeDroppingEdits() {
    QFETCH(bool, discard);
    ProbeForm& form = showForm();
    f->chooseFile(f->path("plane.mdl"));
    markFirstModified();
    f->prompter.answers.push_back(discard ? PromptAnswer::Yes : PromptAnswer::No);
    QTest::mouseClick(f->child<QPushButton>("scan"), Qt::LeftButton);

    QCOMPARE(f->prompter.requests.size(), 1);
    QCOMPARE(f->prompter.requests[0].buttons, PromptButtons::YesNo);
    QCOMPARE(form.materials()[0].Modified != 0, !discard);
    QCOMPARE(form.materials()[0].Red[0], discard ? 1.0f : 0.0f);
    QCOMPARE(f->child<QPushButton>("Button2")->isEnabled(), !discard);

    // With nothing modified a rescan asks nothing.
    if (discard) {
        QTest::mouseClick(f->child<QPushButton>("scan"), Qt::LeftButton);
        QCOMPARE(f->prompter.requests.size(), 1);
    }
}

void MainWindowScanTest::choosingAnotherFileAsksBeforeDroppingEdits() {
    TwoLists().writeTo(FsPath(f->path("other.mdl")));
    ProbeForm& form = showForm();
    f->chooseFile(f->path("plane.mdl"));
    markFirstModified();

    f->prompter.answers.push_back(PromptAnswer::No);
    f->chooseFile(f->path("other.mdl"));
    QCOMPARE(form.openDialog().FileName(), f->nativePath("plane.mdl"));
    QCOMPARE(f->child<QLineEdit>("Edit1")->text(), QStringLiteral("plane.mdl"));
    QVERIFY(form.materials()[0].Modified != 0);

    f->prompter.answers.push_back(PromptAnswer::Yes);
    f->chooseFile(f->path("other.mdl"));
    QCOMPARE(f->prompter.requests.size(), 2);
    QCOMPARE(f->child<QLineEdit>("Edit1")->text(), QStringLiteral("other.mdl"));
    QCOMPARE(form.materials()[0].Modified, 0);
}

void MainWindowScanTest::closingAsksBeforeDroppingEdits() {
    ProbeForm& form = showForm();
    f->chooseFile(f->path("plane.mdl"));
    markFirstModified();

    f->prompter.answers.push_back(PromptAnswer::No);
    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
    QVERIFY(!f->settings()->contains("Top"));

    f->prompter.answers.push_back(PromptAnswer::Yes);
    QVERIFY(form.close());
    QCOMPARE(f->prompter.requests.size(), 2);
    QVERIFY(f->settings()->contains("Top"));
}

TINTARA_TEST_MAIN(MainWindowScanTest)
#include "tst_mainwindow_scan.moc"
