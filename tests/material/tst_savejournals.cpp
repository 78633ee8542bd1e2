// Saves on real files that meet other programs: a second save at the same time, journals
// that are torn or were not written for this file, folders that cannot take a journal,
// and other names of the same file.

#include "testsupport.h"

#include "MaterialBytes.h"
#include "material/MaterialScanner.h"
#include "material/PendingSave.h"
#include "material/WriteBack.h"

#include <QTemporaryDir>

#include <functional>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace tintara;
using tintara::test::FsPath;
using tintara::test::MaterialBytes;
using tintara::test::ReadAllBytes;

namespace {

using Bytes = std::vector<unsigned char>;

std::filesystem::path WriteModel(const QTemporaryDir& dir, const QString& name) {
    const auto path = FsPath(dir.filePath(name));
    MaterialBytes b;
    b.fill(30)
        .list({tintara::test::MakeEntry(1, 0.5f, 0, 1), tintara::test::MakeEntry(0, 0, 1, 1)})
        .fill(10);
    b.writeTo(path);
    return path;
}

MaterialTable ScanWithPower(const std::filesystem::path& path, std::size_t entry, float power) {
    MaterialTable table;
    if (!ScanMaterialFile(path, table).ok())
        qFatal("scan failed");
    table[entry].Power = power;
    table[entry].ChangedFields = PowerField;
    table[entry].Modified = 1;
    return table;
}

float StoredPower(const std::filesystem::path& path, std::size_t entry) {
    MaterialTable table;
    if (!ScanMaterialFile(path, table).ok())
        qFatal("scan failed");
    return table[entry].Power;
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    MaterialBytes b;
    for (const unsigned char c : bytes)
        b.raw({c});
    b.writeTo(path);
}

// The save's file, running `hook` just before or just after it takes the save lock.
class HookedFile final : public RandomAccessFile {
public:
    HookedFile(const std::filesystem::path& path, bool afterLock, std::function<void()> hook)
        : m_file(path), m_afterLock(afterLock), m_hook(std::move(hook)) {}
    std::string name() const override { return m_file.name(); }
    FileStamp stamp() override { return m_file.stamp(); }
    void readAt(std::uint64_t offset, std::span<unsigned char> bytes) override {
        m_file.readAt(offset, bytes);
    }
    void writeAt(std::uint64_t offset, std::span<const unsigned char> bytes) override {
        if (!m_failWrites)
            return m_file.writeAt(offset, bytes);
        // A failing write changes some of the bytes, as one cut short by a failing disk.
        const std::size_t half = bytes.size() / 2;
        m_file.writeAt(offset + half, bytes.subspan(half));
        throw IoError("Cannot write to 'model': Input/output error");
    }
    void sync() override { m_file.sync(); }
    void close() override { m_file.close(); }
    bool pathNamesThisFile() override { return m_file.pathNamesThisFile(); }
    bool lockForSave() override {
        if (!m_afterLock && m_hook)
            std::exchange(m_hook, nullptr)();
        const bool locked = m_file.lockForSave();
        if (m_afterLock && m_hook)
            std::exchange(m_hook, nullptr)();
        return locked;
    }
    void failWrites() { m_failWrites = true; }

private:
    DiskFile m_file;
    bool m_afterLock;
    std::function<void()> m_hook;
    bool m_failWrites = false;
};

} // namespace

class TestSaveJournals : public QObject {
    Q_OBJECT
private slots:
    void twoSavesAtOnce_data();
    void twoSavesAtOnce();
    void journalsFound_data();
    void journalsFound();
    void savesWhereNoJournalFitsBeside();
    void aPendingJournalGuardsEveryName();
};

// The first save is held at its lock while a second one runs: the second either ends
// before the lock is taken (the first then finds the file changed and writes nothing)
// or meets the lock (and is refused). Either way one change stands, never a mixture,
// and no save that lost reports success.
void TestSaveJournals::twoSavesAtOnce_data() {
    QTest::addColumn<bool>("afterLock");
    QTest::newRow("second save before the lock") << false;
    QTest::newRow("second save while the lock is held") << true;
}

void TestSaveJournals::twoSavesAtOnce() {
    QFETCH(bool, afterLock);
    QTemporaryDir dir;
    const auto path = WriteModel(dir, "m.mdl");
    const MaterialTable first = ScanWithPower(path, 0, 77);
    const MaterialTable second = ScanWithPower(path, 0, 5);
    WriteBackResult secondResult;
    HookedFile file(path, afterLock, [&] { secondResult = WriteModifiedMaterials(path, second); });
    DiskJournal journal(path, JournalPlacesFor(path, file.stamp()));
    const WriteBackResult firstResult = WriteModifiedMaterials(file, journal, first);

    QCOMPARE(firstResult.ok, afterLock);
    QCOMPARE(secondResult.ok, !afterLock);
    const WriteBackResult& refused = afterLock ? secondResult : firstResult;
    QVERIFY2(QString::fromStdString(refused.error)
                 .contains(afterLock ? "Another program is saving" : "was changed"),
             refused.error.c_str());
    QCOMPARE(StoredPower(path, 0), afterLock ? 77.0f : 5.0f);
    QVERIFY(!std::filesystem::exists(JournalPathFor(path)));
}

// A journal beside the model that this program did not write for it is never applied
// and never blocks a save; one torn before the model was touched is removed.
void TestSaveJournals::journalsFound_data() {
    QTest::addColumn<QString>("journal");
    QTest::addColumn<bool>("ours");
    QTest::newRow("entry over the list header") << "header" << false;
#ifndef Q_OS_WIN
    QTest::newRow("others can write it") << "writable" << false;
#endif
    QTest::newRow("larger than the model allows") << "large" << false;
    QTest::newRow("empty") << "empty" << true;
    QTest::newRow("cut short") << "cut" << true;
}

void TestSaveJournals::journalsFound() {
    QFETCH(QString, journal);
    QFETCH(bool, ours);
    QTemporaryDir dir;
    const auto path = WriteModel(dir, "m.mdl");
    const Bytes original = ReadAllBytes(path);
    // A whole journal whose one entry lies over the list header (offset 30), with the
    // bytes there as "before".
    Journal planted{original.size(), {}};
    JournalEntry entry;
    entry.offset = 30;
    std::copy_n(original.begin() + 30, MaterialEntrySize, entry.before.begin());
    entry.after.fill(0x41);
    planted.entries.push_back(entry);
    Bytes bytes = EncodeJournal(planted);
    if (journal == "writable" || journal == "large" || journal == "cut") {
        // Over a real entry this time, so only what the row names is wrong.
        entry.offset = 38;
        std::copy_n(original.begin() + 38, MaterialEntrySize, entry.before.begin());
        planted.entries = {entry};
        if (journal == "large")
            planted.entries.resize(3, entry);
        bytes = EncodeJournal(planted);
    }
    if (journal == "empty")
        bytes.clear();
    if (journal == "cut")
        bytes.resize(bytes.size() - 7);
    const auto journalPath = JournalPathFor(path);
    WriteBytes(journalPath, bytes);
#ifndef Q_OS_WIN
    ::chmod(journalPath.c_str(), journal == "writable" ? 0666 : 0600);
#endif

    const RecoveryResult recovered = RecoverInterruptedSave(path, Recovery::Finish);
    QCOMPARE(recovered.ok, ours);
    QCOMPARE(recovered.notes.size(), std::size_t{1});
    QVERIFY2(QString::fromStdString(recovered.notes[0])
                 .contains(ours ? "it had not changed the file, and its journal was removed"
                                : "was ignored"),
             recovered.notes[0].c_str());
    QVERIFY(ReadAllBytes(path) == original);
    QCOMPARE(std::filesystem::exists(journalPath), !ours);

    // A save goes ahead, journalling elsewhere while the planted file stays untouched.
    const WriteBackResult saved = WriteModifiedMaterials(path, ScanWithPower(path, 1, 9));
    QVERIFY2(saved.ok, saved.error.c_str());
    QCOMPARE(StoredPower(path, 1), 9.0f);
    if (!ours)
        QVERIFY(ReadAllBytes(journalPath) == bytes);
}

// A name so long that no journal name fits beside it: the journal goes to the state
// folder, where an interrupted save is then found and finished.
void TestSaveJournals::savesWhereNoJournalFitsBeside() {
    QTemporaryDir dir;
    const auto path = WriteModel(dir, QString(240, QLatin1Char('n')) + QStringLiteral(".mdl"));
    const MaterialTable table = ScanWithPower(path, 0, 33);
    JournalPlaces places;
    {
        HookedFile file(path, true, nullptr);
        file.failWrites(); // the write and the putting back both fail: the journal stays
        places = JournalPlacesFor(path, file.stamp());
        DiskJournal journal(path, places);
        const WriteBackResult failed = WriteModifiedMaterials(file, journal, table);
        QVERIFY(!failed.ok);
        QVERIFY2(std::filesystem::exists(places.inState), failed.error.c_str());
    }

    const PendingSave pending = InspectPendingSave(path, TornJournals::Keep);
    QCOMPARE(pending.state, PendingState::Interrupted);
    const RecoveryResult finished = RecoverInterruptedSave(path, Recovery::Finish);
    QVERIFY2(finished.ok, finished.error.c_str());
    QCOMPARE(StoredPower(path, 0), 33.0f);
    QVERIFY(!std::filesystem::exists(places.inState));
    QVERIFY(WriteModifiedMaterials(path, ScanWithPower(path, 0, 34)).ok);
}

// An interrupted save through one name of the file blocks saves through every other
// name: a symbolic link and a hard link in another folder.
void TestSaveJournals::aPendingJournalGuardsEveryName() {
    QTemporaryDir dir;
    const auto path = WriteModel(dir, "real.mdl");
    std::filesystem::create_directory(FsPath(dir.filePath("other")));
    std::vector<std::filesystem::path> names{FsPath(dir.filePath("other/hard.mdl"))};
    std::filesystem::create_hard_link(path, names[0]);
#ifndef Q_OS_WIN
    names.push_back(FsPath(dir.filePath("other/link.mdl")));
    std::filesystem::create_symlink(path, names[1]);
#endif
    {
        HookedFile file(path, true, nullptr);
        file.failWrites();
        DiskJournal journal(path, JournalPlacesFor(path, file.stamp()));
        QVERIFY(!WriteModifiedMaterials(file, journal, ScanWithPower(path, 0, 3)).ok);
        QVERIFY(std::filesystem::exists(JournalPathFor(path)));
    }

    for (const auto& name : names) {
        QCOMPARE(InspectPendingSave(name, TornJournals::Keep).state, PendingState::Interrupted);
        const WriteBackResult refused = WriteModifiedMaterials(name, ScanWithPower(name, 0, 4));
        QVERIFY2(QString::fromStdString(refused.error).contains("was interrupted"),
                 refused.error.c_str());
    }
    QVERIFY(RecoverInterruptedSave(names.back(), Recovery::RollBack).ok);
    QVERIFY(!std::filesystem::exists(JournalPathFor(path)));
    QCOMPARE(InspectPendingSave(names[0], TornJournals::Keep).state, PendingState::None);
}

TINTARA_TEST_MAIN(TestSaveJournals)
#include "tst_savejournals.moc"
