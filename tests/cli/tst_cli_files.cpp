// The command-line tool and the files it is given: exit codes, exact bytes, interrupted
// saves, backups, and file names that are not what they seem.

#include "testsupport.h"

#include "MaterialBytes.h"
#include "cli/CliApp.h"
#include "material/SaveJournal.h"
#include "material/WriteBack.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <limits>
#include <sstream>

#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace tintara;
using tintara::test::FsPath;
using tintara::test::MaterialBytes;
using tintara::test::ReadAllBytes;

namespace {

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

Outcome Run(const std::vector<std::string>& words, std::ostream* out = nullptr) {
    std::ostringstream text, err;
    Outcome o;
    o.code = cli::Run(words, out ? *out : text, err);
    o.out = text.str();
    o.err = err.str();
    return o;
}

// One list of two; the second entry's ambient holds +inf and 2e9 and its power 2e9,
// which the guard shows as 0.
MaterialBytes Model() {
    const float inf = std::numeric_limits<float>::infinity();
    MaterialBytes b;
    b.fill(6).list({tintara::test::MakeEntry(1, 0.5f, 0, 1),
                    {0.1f, 0.2f, 0.3f, 0.4f, inf, 2e9f, 0.5f, 1, 0, 0, 0, 1, 0, 0, 0, 1, 2e9f}});
    return b;
}
constexpr std::size_t SecondEntry = 6 + 8 + 68;

// An output stream whose every write fails, like standard output on a full disk.
class FailingBuffer final : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

} // namespace

class TestCliFiles : public QObject {
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void fileProblemsExitOne_data();
    void fileProblemsExitOne();
    void setChangesOnlyTheNamedColour();
    void powerIsCheckedAsStored_data();
    void powerIsCheckedAsStored();
    void interruptedSaveIsRecovered_data();
    void interruptedSaveIsRecovered();
    void failedBackupLeavesNothing_data();
    void failedBackupLeavesNothing();
    void outputFailureAfterSetSaysTheFileChanged();
    void namesAreSafeForJsonAndTerminal();

private:
    std::string write(const MaterialBytes& bytes, const std::string& name = "plane.mdl") {
        const std::string path = m_dir->filePath(QString::fromStdString(name)).toStdString();
        bytes.writeTo(FsPath(QString::fromStdString(path)));
        return path;
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCliFiles::fileProblemsExitOne_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "missing"
                             << "No such file|not found|cannot find";
    QTest::newRow("folder") << "folder"
                            << "is not a regular file";
#ifndef Q_OS_WIN
    // Neither may block: a FIFO without a writer, a device without an end.
    QTest::newRow("fifo") << "fifo"
                          << "is not a regular file";
    QTest::newRow("device") << "device"
                            << "is not a regular file";
#endif
    QTest::newRow("journal pending") << "journal"
                                     << "was interrupted";
}

void TestCliFiles::fileProblemsExitOne() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    std::string file = write(Model());
    if (kind == "missing") {
        file += ".gone";
    } else if (kind == "folder") {
        file = m_dir->path().toStdString();
    } else if (kind == "fifo") {
#ifndef Q_OS_WIN
        file += ".pipe";
        QVERIFY(::mkfifo(file.c_str(), 0600) == 0);
#endif
    } else if (kind == "device") {
        file = "/dev/zero";
    } else {
        MaterialBytes journal;
        for (const unsigned char c : EncodeJournal({Model().size(), {}}))
            journal.raw({c});
        journal.writeTo(JournalPathFor(FsPath(QString::fromStdString(file))));
    }
    // Not read here for a FIFO or a device: the test must not block either.
    const bool special = kind == "fifo" || kind == "device";
    const auto before =
        special ? std::vector<unsigned char>() : ReadAllBytes(FsPath(QString::fromStdString(file)));
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"list", file},
          {"dump", file},
          {"set", file, "--materials", "1", "--power", "3"}}) {
        const Outcome o = Run(words);
        if (kind == "journal" && words[0] != "set") {
            // Reading still works, with a warning.
            QCOMPARE(o.code, 0);
            QVERIFY2(QString::fromStdString(o.err).contains("warning: an earlier save"),
                     o.err.c_str());
            continue;
        }
        QCOMPARE(o.code, 1);
        QVERIFY2(QString::fromStdString(o.err).contains(QRegularExpression(message)),
                 o.err.c_str());
    }
    if (!special)
        QVERIFY(ReadAllBytes(FsPath(QString::fromStdString(file))) == before);
}

// Colours that are not named keep their stored bits, whatever the guard shows.
void TestCliFiles::setChangesOnlyTheNamedColour() {
    const MaterialBytes model = Model();
    const std::string file = write(model);
    const Outcome o = Run({"set", file, "--materials", "2", "--diffuse", "10,20,30,40"});
    QCOMPARE(o.code, 0);
    std::vector<unsigned char> expected = model.bytes();
    for (int channel = 0; channel < 4; ++channel)
        EncodeFloatLE(ByteToChannel(10 * (channel + 1)),
                      expected.data() + SecondEntry + 4 * std::size_t(channel));
    QVERIFY(ReadAllBytes(FsPath(QString::fromStdString(file))) == expected);
}

void TestCliFiles::powerIsCheckedAsStored_data() {
    QTest::addColumn<QString>("power");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("shown");
    // 1111111110 is stored as 1111111168, above the guard: it would read back as 0.
    QTest::newRow("rounds above the guard") << "1111111110" << 2 << "";
    QTest::newRow("largest that reads back") << "1111111040" << 0 << "1111111040.0000";
    QTest::newRow("below the lowest float") << "-3.5e38" << 2 << "";
}

void TestCliFiles::powerIsCheckedAsStored() {
    QFETCH(QString, power);
    QFETCH(int, code);
    QFETCH(QString, shown);
    const MaterialBytes model = Model();
    const std::string file = write(model);
    QCOMPARE(Run({"set", file, "--materials", "1", "--power", power.toStdString()}).code, code);
    if (code != 0) {
        QVERIFY(ReadAllBytes(FsPath(QString::fromStdString(file))) == model.bytes());
        return;
    }
    const Outcome listed = Run({"list", "--show", "specularity", file});
    QVERIFY2(QString::fromStdString(listed.out).startsWith("LOD 01 01 0000000E " + shown),
             listed.out.c_str());
}

void TestCliFiles::interruptedSaveIsRecovered_data() {
    QTest::addColumn<QString>("option");
    QTest::newRow("finish") << "--finish";
    QTest::newRow("roll back") << "--rollback";
}

// A save cut short after its first entry: the journal finishes or undoes it.
void TestCliFiles::interruptedSaveIsRecovered() {
    QFETCH(QString, option);
    MaterialBytes model = Model();
    const std::string file = write(model);
    const auto path = FsPath(QString::fromStdString(file));
    Journal journal{model.size(), {}};
    for (const std::size_t at : {std::size_t{14}, SecondEntry}) {
        JournalEntry entry;
        entry.offset = at;
        std::copy_n(model.bytes().begin() + std::ptrdiff_t(at), 68, entry.before.begin());
        entry.after = entry.before;
        entry.after[0] ^= 0xFF;
        journal.entries.push_back(entry);
    }
    std::vector<unsigned char> interrupted = model.bytes();
    interrupted[14] ^= 0xFF; // the first entry was written, the second not
    MaterialBytes on;
    for (const unsigned char c : interrupted)
        on.raw({c});
    on.writeTo(path);
    MaterialBytes journalFile;
    for (const unsigned char c : EncodeJournal(journal))
        journalFile.raw({c});
    journalFile.writeTo(JournalPathFor(path));

    QCOMPARE(Run({"recover", file}).code, 2); // which way must be said
    const Outcome o = Run({"recover", file, option.toStdString()});
    QCOMPARE(o.code, 0);
    std::vector<unsigned char> expected = model.bytes();
    if (option == "--finish") {
        expected[14] ^= 0xFF;
        expected[SecondEntry] ^= 0xFF;
    }
    QVERIFY(ReadAllBytes(path) == expected);
    QVERIFY(!std::filesystem::exists(JournalPathFor(path)));
    QCOMPARE(Run({"recover", file, "--finish"}).code, 1); // nothing left to recover
}

void TestCliFiles::failedBackupLeavesNothing_data() {
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("reason");
#ifdef Q_OS_WIN
    QTest::newRow("name too long") << "long"
                                   << ""; // the system's words vary
#else
    QTest::newRow("name too long") << "long"
                                   << "too long";
#endif
#ifndef Q_OS_WIN
    QTest::newRow("no room") << "full"
                             << "File too large";
#endif
}

// The backup is whole or absent, the model untouched, and the message gives the
// system's reason.
void TestCliFiles::failedBackupLeavesNothing() {
    QFETCH(QString, cause);
    QFETCH(QString, reason);
    // 250 characters: the file itself can exist, its backup's name cannot.
    const std::string name = cause == "long" ? std::string(246, 'm') + ".mdl" : "plane.mdl";
    MaterialBytes model = Model();
    model.fill(200000);
    const std::string file = write(model, name);
    Outcome o;
#ifndef Q_OS_WIN
    rlimit saved{};
    if (cause == "full") {
        // Files may grow to half the model's size: the copy runs out of room.
        getrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = model.size() / 2;
        setrlimit(RLIMIT_FSIZE, &small);
    }
#endif
    o = Run({"set", file, "--materials", "1", "--power", "3", "--backup"});
#ifndef Q_OS_WIN
    if (cause == "full")
        setrlimit(RLIMIT_FSIZE, &saved);
#endif
    QCOMPARE(o.code, 1);
    QVERIFY2(QString::fromStdString(o.err).contains(reason), o.err.c_str());
    QVERIFY(!QString::fromStdString(o.err).contains("already exists"));
    QVERIFY(ReadAllBytes(FsPath(QString::fromStdString(file))) == model.bytes());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestCliFiles::outputFailureAfterSetSaysTheFileChanged() {
    const std::string file = write(Model());
    FailingBuffer buffer;
    std::ostream out(&buffer);
    const Outcome o = Run({"set", file, "--materials", "1", "--power", "3"}, &out);
    QCOMPARE(o.code, 1);
    QVERIFY2(QString::fromStdString(o.err).contains("was changed"), o.err.c_str());
}

// A name that is not UTF-8 still gives valid JSON; a name holding an escape sequence is
// shown escaped, never sent to the terminal as it is.
void TestCliFiles::namesAreSafeForJsonAndTerminal() {
#ifndef Q_OS_WIN
    const std::string file = write(Model(), "plane\xff\xfe.mdl");
    const Outcome dumped = Run({"dump", file});
    QCOMPARE(dumped.code, 0);
    QJsonParseError error;
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray::fromStdString(dumped.out), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    QVERIFY(
        doc.object().value("file").toString().endsWith(QStringLiteral("plane\ufffd\ufffd.mdl")));
#endif
    const Outcome missing =
        Run({"list", m_dir->path().toStdString() + "/a\x1b[31mred\xc2\x9b.mdl"});
    QCOMPARE(missing.code, 1);
    QVERIFY(missing.err.find('\x1b') == std::string::npos);
    QVERIFY2(QString::fromStdString(missing.err).contains("a\\x1B[31mred\\xC2\\x9B.mdl"),
             missing.err.c_str());
}

TINTARA_TEST_MAIN(TestCliFiles)
#include "tst_cli_files.moc"
