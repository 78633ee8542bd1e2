// Saves that change only the fields edited, only where the file still holds what was
// read, and that can always be finished or rolled back after an interruption.

#include "testsupport.h"

#include "MaterialBytes.h"
#include "MemoryFiles.h"
#include "material/MaterialScanner.h"
#include "material/WriteBack.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <limits>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace tintara;
using tintara::test::MaterialBytes;
using tintara::test::MemoryDisk;
using tintara::test::MemoryFile;
using tintara::test::MemoryJournal;

namespace {

using Bytes = std::vector<unsigned char>;

// Two lists; the second entry's ambient holds +inf and 2e9 and its power 2e9, which
// the guard shows as 0.
Bytes ModelBytes() {
    const float inf = std::numeric_limits<float>::infinity();
    MaterialBytes b;
    b.fill(30)
        .list({tintara::test::MakeEntry(1, 0.5f, 0, 1),
               {0.1f, 0.2f, 0.3f, 0.4f, inf, 2e9f, 0.5f, 1, 0, 0, 0, 1, 0, 0, 0, 1, 2e9f}})
        .fill(40)
        .list({tintara::test::MakeEntry(0, 0, 1, 0.5f)})
        .fill(9);
    return b.bytes();
}

MaterialTable Scan(const Bytes& bytes) {
    MaterialTable table;
    MemoryByteSource source(bytes);
    if (!ScanMaterials(source, table).ok())
        qFatal("scan failed");
    table.setStamp({true, bytes.size(), 1, 1});
    return table;
}

// The save the tests make: the second entry's diffuse set to 10,20,30,40 and the
// third entry's power to 7.
void Edit(MaterialTable& table) {
    MaterialRecord& second = table[1];
    second.Red[0] = ByteToChannel(10);
    second.Green[0] = ByteToChannel(20);
    second.Blue[0] = ByteToChannel(30);
    second.Alpha[0] = ByteToChannel(40);
    second.ChangedFields |= ColourFields(Diffuse);
    second.Modified = 1;
    table[2].Power = 7;
    table[2].ChangedFields |= PowerField;
    table[2].Modified = 1;
}

// The file the edit should give: only the changed fields replaced.
Bytes Expected(const Bytes& original, const MaterialTable& table) {
    Bytes expected = original;
    const auto put = [&](std::int64_t at, float value) {
        EncodeFloatLE(value, expected.data() + at);
    };
    const std::int64_t second = table[1].FileOffset;
    put(second, ByteToChannel(10));
    put(second + 4, ByteToChannel(20));
    put(second + 8, ByteToChannel(30));
    put(second + 12, ByteToChannel(40));
    put(table[2].FileOffset + 64, 7.0f);
    return expected;
}

} // namespace

class TestSaveSafety : public QObject {
    Q_OBJECT
private slots:
    void writesOnlyTheChangedFields();
    void refusesWhenTheBytesChanged_data();
    void refusesWhenTheBytesChanged();
    void savesAFileThatOnlyLooksChanged();
    void recoversFromACrashAtEveryStep();
    void putsTheOldBytesBackAfterOneFailure();
    void refusesWhileAJournalIsPending();
    void neverAppliesAJournalThatDoesNotMatch_data();
    void neverAppliesAJournalThatDoesNotMatch();
    void rollbackLeavesWhatAnotherSaveWrote();
    void reportsAFileRenamedDuringTheSave();
    void onDisk();
};

void TestSaveSafety::writesOnlyTheChangedFields() {
    MemoryDisk disk(ModelBytes());
    MaterialTable table = Scan(disk.model);
    QCOMPARE(table[1].Green[Ambient], 0.0f); // 2e9 is shown as 0 ...
    Edit(table);
    MemoryFile file(disk);
    MemoryJournal journal(disk);
    const WriteBackResult result = WriteModifiedMaterials(file, journal, table);
    QVERIFY2(result.ok, result.error.c_str());
    QCOMPARE(result.entriesWritten, std::size_t{2});
    // ... and stays 2e9, as +inf and the power 2e9 do: only the edited fields change.
    QVERIFY(disk.model == Expected(ModelBytes(), table));
    QVERIFY(!disk.journal);
}

void TestSaveSafety::refusesWhenTheBytesChanged_data() {
    QTest::addColumn<int>("at");      // offset changed, from the second entry's start
    QTest::addColumn<bool>("header"); // or the first list's header
    QTest::newRow("an entry the save writes") << 20 << false;
    QTest::newRow("a list header") << 2 << true;
}

void TestSaveSafety::refusesWhenTheBytesChanged() {
    QFETCH(int, at);
    QFETCH(bool, header);
    MemoryDisk disk(ModelBytes());
    MaterialTable table = Scan(disk.model);
    Edit(table);
    // Another program changed one byte since the scan; size and time are the same.
    const std::int64_t where =
        header ? table.listHeaders()[0].offset + at : table[1].FileOffset + at;
    disk.model[static_cast<std::size_t>(where)] ^= 0x40;
    const Bytes before = disk.model;
    MemoryFile file(disk);
    MemoryJournal journal(disk);
    const WriteBackResult result = WriteModifiedMaterials(file, journal, table);
    QVERIFY(!result.ok);
    QVERIFY2(QString::fromStdString(result.error).contains("changed by another program"),
             result.error.c_str());
    QVERIFY(disk.model == before);
    QVERIFY(!disk.journal);
}

// A file that was only touched or copied over with the same bytes saves; so does one
// where a save cut short already wrote some of the new bytes.
void TestSaveSafety::savesAFileThatOnlyLooksChanged() {
    MemoryDisk disk(ModelBytes());
    MaterialTable table = Scan(disk.model);
    Edit(table);
    const Bytes expected = Expected(disk.model, table);
    // The power of the third entry is already written.
    const std::size_t power = static_cast<std::size_t>(table[2].FileOffset + 64);
    std::copy(expected.begin() + power, expected.begin() + power + 4, disk.model.begin() + power);
    MemoryFile file(disk);
    MemoryJournal journal(disk);
    const WriteBackResult result = WriteModifiedMaterials(file, journal, table);
    QVERIFY2(result.ok, result.error.c_str());
    QVERIFY(disk.model == expected);
}

// Whatever step of the save fails, and stays failing as after a crash, the file is
// then exactly the old or exactly the new one once the journal (if any) is finished
// or rolled back; and it is untouched when the journal was never written.
void TestSaveSafety::recoversFromACrashAtEveryStep() {
    const Bytes original = ModelBytes();
    const MaterialTable scanned = Scan(original);
    MaterialTable edited = scanned;
    Edit(edited);
    const Bytes expected = Expected(original, edited);
    // Steps: journal, two entries, sync, journal removal, close: 6, then a clean run.
    for (int crashAt = 0; crashAt <= 6; ++crashAt) {
        for (const Recovery action : {Recovery::Finish, Recovery::RollBack}) {
            MemoryDisk disk(original);
            disk.crashAt = crashAt;
            MemoryFile file(disk);
            MemoryJournal journal(disk);
            const WriteBackResult result = WriteModifiedMaterials(file, journal, edited);
            QCOMPARE(result.ok, crashAt == 6);
            disk.crashAt = -1; // the machine is back
            if (!disk.journal) {
                QVERIFY2(disk.model == original || disk.model == expected,
                         qPrintable(QStringLiteral("crash at %1").arg(crashAt)));
                continue;
            }
            const RecoveryResult recovered = RecoverInterruptedSave(file, journal, action);
            QVERIFY2(recovered.ok, recovered.error.c_str());
            QVERIFY2(disk.model == (action == Recovery::Finish ? expected : original),
                     qPrintable(QStringLiteral("crash at %1").arg(crashAt)));
            QVERIFY(!disk.journal);
        }
    }
}

// A write that fails once (a full disk) leaves the file as it was and no journal, so
// the same save can simply be made again.
void TestSaveSafety::putsTheOldBytesBackAfterOneFailure() {
    MemoryDisk disk(ModelBytes());
    MaterialTable table = Scan(disk.model);
    Edit(table);
    const Bytes original = disk.model;
    MemoryFile file(disk);
    MemoryJournal journal(disk);
    // Only the second entry's write fails; the operations after it go through.
    struct OneFailure final : public RandomAccessFile {
        MemoryFile& inner;
        int writes = 0;
        explicit OneFailure(MemoryFile& f) : inner(f) {}
        std::string name() const override { return inner.name(); }
        FileStamp stamp() override { return inner.stamp(); }
        void readAt(std::uint64_t o, std::span<unsigned char> b) override { inner.readAt(o, b); }
        void writeAt(std::uint64_t o, std::span<const unsigned char> b) override {
            if (++writes == 2)
                throw IoError("Cannot write to 'memory.mdl': No space left on device");
            inner.writeAt(o, b);
        }
        void sync() override { inner.sync(); }
        void close() override { inner.close(); }
        bool pathNamesThisFile() override { return true; }
        bool lockForSave() override { return true; }
    } failing(file);
    const WriteBackResult result = WriteModifiedMaterials(failing, journal, table);
    QVERIFY(!result.ok);
    QVERIFY2(QString::fromStdString(result.error).contains("No space left on device"),
             result.error.c_str());
    QVERIFY(QString::fromStdString(result.error).contains("old bytes were put back"));
    QVERIFY(disk.model == original);
    QVERIFY(!disk.journal);
    QVERIFY(WriteModifiedMaterials(file, journal, table).ok);
    QVERIFY(disk.model == Expected(original, table));
}

void TestSaveSafety::refusesWhileAJournalIsPending() {
    MemoryDisk disk(ModelBytes());
    MaterialTable table = Scan(disk.model);
    Edit(table);
    disk.journal = EncodeJournal({disk.model.size(), {}});
    MemoryFile file(disk);
    MemoryJournal journal(disk);
    const WriteBackResult result = WriteModifiedMaterials(file, journal, table);
    QVERIFY(!result.ok);
    QVERIFY2(QString::fromStdString(result.error).contains("was interrupted"),
             result.error.c_str());
    QVERIFY(disk.model == ModelBytes());
}

// A torn journal (checksum, cut short) is removed, since its save never wrote to the
// file; a whole one that does not match the file is kept and never applied.
void TestSaveSafety::neverAppliesAJournalThatDoesNotMatch_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("checksum") << "checksum";
    QTest::newRow("cut short") << "cut";
    QTest::newRow("entry holds other bytes") << "entry";
    QTest::newRow("file size changed") << "size";
    QTest::newRow("another program holds the lock") << "locked";
}

void TestSaveSafety::neverAppliesAJournalThatDoesNotMatch() {
    QFETCH(QString, damage);
    MemoryDisk disk(ModelBytes());
    MaterialTable table = Scan(disk.model);
    Edit(table);
    Journal journal{disk.model.size(), {}};
    JournalEntry entry;
    entry.offset = static_cast<std::uint64_t>(table[1].FileOffset);
    entry.before = table[1].Stored;
    ComposeMaterialEntry(table[1], entry.after.data());
    journal.entries.push_back(entry);
    disk.journal = EncodeJournal(journal);
    // A byte of the new bytes: only the checksum tells it from a whole journal.
    if (damage == "checksum")
        (*disk.journal)[20 + 8 + MaterialEntrySize + 5] ^= 1;
    else if (damage == "cut")
        disk.journal->pop_back();
    else if (damage == "entry")
        disk.model[entry.offset + 4] =
            static_cast<unsigned char>(~entry.before[4] & ~entry.after[4]);
    else if (damage == "size")
        disk.model.push_back(0);
    else
        disk.lockedElsewhere = true;
    const Bytes before = disk.model;
    MemoryFile file(disk);
    MemoryJournal store(disk);
    const RecoveryResult result = RecoverInterruptedSave(file, store, Recovery::Finish);
    const bool torn = damage == "checksum" || damage == "cut";
    QCOMPARE(result.ok, torn);
    QVERIFY2(QString::fromStdString(torn ? result.notes.at(0) : result.error)
                 .contains(torn                 ? "had not changed the file"
                           : damage == "locked" ? "Another program is saving"
                                                : "was not applied"),
             result.error.c_str());
    QVERIFY(disk.model == before);
    QCOMPARE(disk.journal.has_value(), !torn); // a whole one is kept for the user to look at
}

// An entry another program already saved with the same new bytes is not this save's
// to write: a rollback after a crash leaves it as that program saved it.
void TestSaveSafety::rollbackLeavesWhatAnotherSaveWrote() {
    MemoryDisk disk(ModelBytes());
    MaterialTable table = Scan(disk.model);
    Edit(table);
    const Bytes theirs = Expected(ModelBytes(), table);
    std::copy_n(theirs.begin() + table[1].FileOffset, MaterialEntrySize,
                disk.model.begin() + table[1].FileOffset);
    const Bytes beforeSave = disk.model;
    disk.crashAt = 2; // the journal and the first write go through, then a crash
    MemoryFile file(disk);
    MemoryJournal journal(disk);
    QVERIFY(!WriteModifiedMaterials(file, journal, table).ok);
    QVERIFY(disk.journal);
    disk.crashAt = -1;
    QVERIFY(RecoverInterruptedSave(file, journal, Recovery::RollBack).ok);
    QVERIFY(disk.model == beforeSave);
}

void TestSaveSafety::reportsAFileRenamedDuringTheSave() {
    MemoryDisk disk(ModelBytes());
    MaterialTable table = Scan(disk.model);
    Edit(table);
    disk.renamed = true;
    MemoryFile file(disk);
    MemoryJournal journal(disk);
    const WriteBackResult result = WriteModifiedMaterials(file, journal, table);
    QVERIFY(!result.ok);
    QVERIFY2(QString::fromStdString(result.error).contains("no longer names"),
             result.error.c_str());
}

// The same on real files: the journal is gone after a good save; another file put in
// the file's place between scan and save is refused; FIFOs, devices and folders are
// refused without blocking.
void TestSaveSafety::onDisk() {
    QTemporaryDir dir;
    const auto path = tintara::test::FsPath(dir.filePath("plane.mdl"));
    MaterialBytes b;
    for (const unsigned char c : ModelBytes())
        b.raw({c});
    b.writeTo(path);
    MaterialTable table;
    QVERIFY(ScanMaterialFile(path, table).ok());
    Edit(table);
    QVERIFY(WriteModifiedMaterials(path, table).ok);
    QVERIFY(tintara::test::ReadAllBytes(path) == Expected(ModelBytes(), table));
    QVERIFY(!std::filesystem::exists(JournalPathFor(path)));

    // Another file put in its place with the same bytes but shifted by 4: refused.
    Bytes shifted(4, 0x11);
    const Bytes now = tintara::test::ReadAllBytes(path);
    shifted.insert(shifted.end(), now.begin(), now.end() - 4);
    MaterialTable again;
    QVERIFY(ScanMaterialFile(path, again).ok());
    again[0].Power = 1;
    again[0].ChangedFields = PowerField;
    again[0].Modified = 1;
    MaterialBytes other;
    for (const unsigned char c : shifted)
        other.raw({c});
    const auto replacement = tintara::test::FsPath(dir.filePath("other.mdl"));
    other.writeTo(replacement);
    std::filesystem::rename(replacement, path);
    const WriteBackResult refused = WriteModifiedMaterials(path, again);
    QVERIFY(!refused.ok);
    QVERIFY(tintara::test::ReadAllBytes(path) == shifted);

#ifndef Q_OS_WIN
    const QString fifo = dir.filePath("pipe.mdl");
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    const ScanResult piped = ScanMaterialFile(tintara::test::FsPath(fifo), table);
    QCOMPARE(piped.status, ScanStatus::OpenFailed);
    QVERIFY2(QString::fromStdString(piped.message).endsWith("is not a regular file"),
             piped.message.c_str());
    const ScanResult device = ScanMaterialFile("/dev/zero", table);
    QVERIFY(QString::fromStdString(device.message).contains("is not a regular file"));
#endif
    const ScanResult folder = ScanMaterialFile(tintara::test::FsPath(dir.path()), table);
    QVERIFY2(QString::fromStdString(folder.message).contains("is not a regular file"),
             folder.message.c_str());
}

TINTARA_TEST_MAIN(TestSaveSafety)
#include "tst_savesafety.moc"
