// "Save Updated MDL": the confirmation, the in-place write of the modified entries,
// the rescan, and what the window keeps when the write-back cannot be done.

#include "FormFixture.h"
#include "MaterialBytes.h"
#include "testsupport.h"

#include "controls/UpDown.h"
#include "material/Conversions.h"
#include "material/SaveJournal.h"
#include "material/WriteBack.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>

using namespace tintara;
using namespace tintara::test;

namespace {

// Two lists: three entries from offset 108, two from offset 370.
constexpr std::size_t FirstEntry = 108;
constexpr std::size_t SecondListEntry = 370;

MaterialBytes TwoListFile() {
    MaterialBytes file;
    file.fill(100)
        .list({MakeEntry(0.25f, 0.5f, 0.75f, 1.0f), MakeEntry(0.1f, 0.1f, 0.1f, 0.5f),
               MakeEntry(0.9f, 0.8f, 0.7f, 0.6f, 3.5f)})
        .fill(50)
        .list({MakeEntry(0.0f, 1.0f, 0.0f, 0.25f, 40.0f), MakeEntry(0.3f, 0.3f, 0.3f, 1.0f)})
        .fill(20);
    return file;
}

// Entry 0 as the panel sends it back after red was spun up by one: every channel a
// byte value, the alphas and the power as they were.
MaterialRecord EditedEntry() {
    const EntryFloats source = MakeEntry(0.25f, 0.5f, 0.75f, 1.0f);
    MaterialRecord record;
    for (int s = 0; s < 4; ++s) {
        const auto at = static_cast<std::size_t>(4 * s);
        record.Red[s] = ByteToChannel(ChannelToByte(source[at]) + (s == 0 ? 1 : 0));
        record.Green[s] = ByteToChannel(ChannelToByte(source[at + 1]));
        record.Blue[s] = ByteToChannel(ChannelToByte(source[at + 2]));
        record.Alpha[s] = source[at + 3];
    }
    record.Power = source[16];
    return record;
}

} // namespace

class MainWindowSaveTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void editAndSaveTwoEntries();
    void cancelledSaveChangesNothing();
    void saveWithoutModifiedEntriesOnlyRescans();
    void failedWriteBackKeepsTheEdits_data();
    void failedWriteBackKeepsTheEdits();
    void interruptedSaveIsOfferedAtTheNextScan_data();
    void interruptedSaveIsOfferedAtTheNextScan();
    void conversionErrorEndsTheSendBack();

private:
    // Selects lines 0 and 3, spins the diffuse red of line 0 up by one and sends the
    // material back into both lines.
    void editLinesZeroAndThree();
    // A name outside any one ANSI code page: scanning and saving must work by the whole
    // name on Windows too.
    static QString fileName() { return QStringLiteral("mod\u00e8le \u03a9.mdl"); }
    std::filesystem::path filePath() const { return tintara::test::FsPath(f->path(fileName())); }

    std::unique_ptr<FormFixture> f;
    ProbeForm* form = nullptr;
    std::vector<unsigned char> original;
};

void MainWindowSaveTest::init() {
    f = std::make_unique<FormFixture>();
    const MaterialBytes file = TwoListFile();
    file.writeTo(filePath());
    original = file.bytes();
    form = &f->create();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    f->chooseFile(f->path(fileName()));
    QCOMPARE(f->lines().size(), 5);
}

void MainWindowSaveTest::cleanup() {
    f.reset();
    form = nullptr;
}

void MainWindowSaveTest::editLinesZeroAndThree() {
    f->clickLine(0);
    f->clickLine(3, Qt::ControlModifier);
    f->click("Button4");
    QCOMPARE(f->child<QLineEdit>("NumEdit1")->text(), QStringLiteral("63"));
    auto* red = f->child<TUpDown>("UpDown1");
    QTest::mouseClick(red, Qt::LeftButton, Qt::NoModifier, QPoint(red->width() / 2, 3));
    QCOMPARE(f->child<QLineEdit>("NumEdit1")->text(), QStringLiteral("64"));
    f->click("Button13");
    f->click("Button6");
    QVERIFY(f->child<QPushButton>("Button2")->isEnabled());
}

void MainWindowSaveTest::editAndSaveTwoEntries() {
    editLinesZeroAndThree();
    f->click("Button2");

    QCOMPARE(f->prompter.requests.size(), 1);
    const PromptRequest& confirm = f->prompter.requests[0];
    QCOMPARE(confirm.caption, QStringLiteral("Tintara"));
    QCOMPARE(confirm.text, QStringLiteral("This will update the MDL with the new\n"
                                          "Poly Colour data. Ensure you have a\n"
                                          "backup copy somewhere safe!"));
    QCOMPARE(confirm.icon, PromptIcon::None);
    QCOMPARE(confirm.buttons, PromptButtons::OkCancel);
    QCOMPARE(f->prompter.owners[0], static_cast<QWidget*>(form)); // centred on the window

    // The file differs from the original exactly in the two written entries.
    std::array<unsigned char, MaterialEntrySize> entry{};
    EncodeMaterialEntry(EditedEntry(), entry.data());
    std::vector<unsigned char> expected = original;
    const std::size_t written[] = {FirstEntry, SecondListEntry};
    for (const std::size_t offset : written)
        std::copy(entry.begin(), entry.end(), expected.begin() + static_cast<long>(offset));
    const std::vector<unsigned char> now = ReadAllBytes(filePath());
    QCOMPARE(now.size(), original.size());
    QVERIFY(now == expected);

    // The rescan shows what the file now holds.
    QCOMPARE(f->lines().at(0), QStringLiteral("LOD 01 01 0000006C  40 7F BF FF"));
    QCOMPARE(f->lines().at(3), QStringLiteral("LOD 02 04 00000172  40 7F BF FF"));
    QCOMPARE(f->lines().at(1), QStringLiteral("LOD 01 02 000000B0  19 19 19 7F"));
    QVERIFY(!form->materials().anyModified());
    QVERIFY(!f->child<QPushButton>("Button2")->isEnabled());
    QVERIFY(f->selectedLines().isEmpty());
    QCOMPARE(f->prompter.requests.size(), 1);
}

void MainWindowSaveTest::cancelledSaveChangesNothing() {
    editLinesZeroAndThree();
    const QStringList lines = f->lines();
    f->prompter.answers.push_back(PromptAnswer::Cancel);
    f->click("Button2");
    QVERIFY(ReadAllBytes(filePath()) == original);
    QVERIFY(f->child<QPushButton>("Button2")->isEnabled());
    QCOMPARE(form->materials()[3].Modified, 1);
    QCOMPARE(f->lines(), lines);
    QCOMPARE(f->prompter.requests.size(), 1);
}

void MainWindowSaveTest::saveWithoutModifiedEntriesOnlyRescans() {
    // Sent back with no line selected: nothing is modified, yet saving is offered.
    f->click("Button6");
    QVERIFY(f->child<QPushButton>("Button2")->isEnabled());
    QCOMPARE(f->selectedLines(), QList<int>({0}));
    f->click("Button2");
    QVERIFY(ReadAllBytes(filePath()) == original);
    QVERIFY(!f->child<QPushButton>("Button2")->isEnabled());
    QVERIFY(f->selectedLines().isEmpty());
    QCOMPARE(f->lines().size(), 5);
}

void MainWindowSaveTest::failedWriteBackKeepsTheEdits_data() {
    QTest::addColumn<QString>("change");
    QTest::newRow("changed on disk since the scan") << "append";
    QTest::newRow("deleted") << "delete";
    QTest::newRow("replaced by a folder") << "folder";
    QTest::newRow("made read-only") << "readonly";
}

void MainWindowSaveTest::failedWriteBackKeepsTheEdits() {
    QFETCH(QString, change);
    const QString path = f->path(fileName());
    editLinesZeroAndThree();
    const QStringList lines = f->lines();

    if (change == QLatin1String("append")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        QCOMPARE(file.write("x", 1), qint64{1});
    } else if (change == QLatin1String("delete")) {
        QVERIFY(QFile::remove(path));
    } else if (change == QLatin1String("folder")) {
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path));
    } else {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser));
        QFile probe(path);
        if (probe.open(QIODevice::ReadWrite)) {
            probe.close();
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
            QSKIP("Permissions do not stop this user from writing (running as root)");
        }
    }
    const std::vector<unsigned char> before = ReadAllBytes(filePath());

    f->click("Button2");
    QCOMPARE(f->prompter.requests.size(), 2);
    const PromptRequest& error = f->prompter.requests[1];
    QCOMPARE(error.icon, PromptIcon::Critical);
    QCOMPARE(error.caption, QStringLiteral("Tintara"));
    QVERIFY2(error.text.contains(fileName()), qPrintable(error.text));
    QCOMPARE(f->prompter.owners[1], static_cast<QWidget*>(form));

    // Nothing was written; the edits stay for another try.
    QVERIFY(ReadAllBytes(filePath()) == before);
    QVERIFY(f->child<QPushButton>("Button2")->isEnabled());
    QCOMPARE(form->materials()[0].Modified, 1);
    QCOMPARE(form->materials()[3].Modified, 1);
    QCOMPARE(f->lines(), lines);

    f->prompter.answers.push_back(PromptAnswer::Cancel);
    f->click("Button2");
    QCOMPARE(f->prompter.requests.size(), 3);
    QCOMPARE(f->prompter.requests[2].buttons, PromptButtons::OkCancel);
    if (change == QLatin1String("readonly"))
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

void MainWindowSaveTest::interruptedSaveIsOfferedAtTheNextScan_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("file"); // what the file then holds
    QTest::newRow("finish") << int(PromptAnswer::Yes) << "new";
    QTest::newRow("roll back") << int(PromptAnswer::No) << "old";
    QTest::newRow("leave it") << int(PromptAnswer::Cancel) << "interrupted";
}

// A save cut short after the first of its two entries: the next scan asks what to do,
// then scans the file as it is; while the journal stays, no save goes through.
void MainWindowSaveTest::interruptedSaveIsOfferedAtTheNextScan() {
    QFETCH(int, answer);
    QFETCH(QString, file);
    std::array<unsigned char, MaterialEntrySize> edited{};
    EncodeMaterialEntry(EditedEntry(), edited.data());
    Journal journal{original.size(), {}};
    for (const std::size_t offset : {FirstEntry, SecondListEntry}) {
        JournalEntry entry;
        entry.offset = offset;
        std::memcpy(entry.before.data(), original.data() + offset, MaterialEntrySize);
        entry.after = edited;
        journal.entries.push_back(entry);
    }
    std::vector<unsigned char> interrupted = original;
    std::memcpy(interrupted.data() + FirstEntry, edited.data(), MaterialEntrySize);
    std::vector<unsigned char> finished = interrupted;
    std::memcpy(finished.data() + SecondListEntry, edited.data(), MaterialEntrySize);
    MaterialBytes bytes;
    for (const unsigned char c : interrupted)
        bytes.raw({c});
    bytes.writeTo(filePath());
    MaterialBytes journalBytes;
    for (const unsigned char c : EncodeJournal(journal))
        journalBytes.raw({c});
    journalBytes.writeTo(JournalPathFor(filePath()));

    f->prompter.answers.push_back(PromptAnswer(answer));
    f->click("scan");
    QCOMPARE(f->prompter.requests.size(), 1);
    QVERIFY2(f->prompter.requests[0].text.contains("was interrupted"),
             qPrintable(f->prompter.requests[0].text));
    QCOMPARE(f->prompter.requests[0].buttons, PromptButtons::YesNoCancel);
    const std::vector<unsigned char> now = ReadAllBytes(filePath());
    QVERIFY(now == (file == "new" ? finished : file == "old" ? original : interrupted));
    QCOMPARE(std::filesystem::exists(JournalPathFor(filePath())), file == "interrupted");
    QCOMPARE(f->lines().size(), 5); // scanned as it is

    f->clickLine(1);
    f->click("Button6");
    f->click("Button2");
    if (file == "interrupted") {
        QVERIFY2(f->prompter.requests.back().text.contains("was interrupted"),
                 qPrintable(f->prompter.requests.back().text));
        QVERIFY(ReadAllBytes(filePath()) == interrupted);
        QVERIFY(f->child<QPushButton>("Button2")->isEnabled());
    } else {
        QVERIFY(!f->child<QPushButton>("Button2")->isEnabled());
    }
}

// A line that cannot be shown makes the send-back's list rebuild fail: the error is
// shown and the send-back ends there, offering no save and selecting no line again.
void MainWindowSaveTest::conversionErrorEndsTheSendBack() {
    MaterialBytes file;
    file.fill(100).list({MakeEntry(0.5f, 0.5f, 0.5f, 1.0f), MakeEntry(-1.0e30f, 0, 0, 1)});
    file.writeTo(filePath());
    f->click("scan");
    QCOMPARE(f->lines().size(), 1); // the second line cannot be shown
    const qsizetype before = f->prompter.requests.size();
    f->clickLine(0);
    f->click("Button6");
    QCOMPARE(f->prompter.requests.size(), before + 1);
    QCOMPARE(f->prompter.requests.back().icon, PromptIcon::Critical);
    QVERIFY(!f->child<QPushButton>("Button2")->isEnabled());
    QVERIFY(f->selectedLines().isEmpty());
}

TINTARA_TEST_MAIN(MainWindowSaveTest)
#include "tst_mainwindow_save.moc"
