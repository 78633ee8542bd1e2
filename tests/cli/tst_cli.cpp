#include "testsupport.h"

#include "MaterialBytes.h"
#include "cli/CliApp.h"
#include "examples/modelcode/ModelCode.h"
#include "material/Conversions.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <limits>
#include <sstream>

using namespace tintara;
using tintara::test::MakeEntry;
using tintara::test::MaterialBytes;
using tintara::test::ReadAllBytes;

namespace {

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

Outcome RunCli(const QStringList& args) {
    std::vector<std::string> words;
    for (const QString& a : args)
        words.push_back(a.toStdString());
    std::ostringstream out, err;
    Outcome o;
    o.code = cli::Run(words, out, err);
    o.out = QString::fromStdString(out.str());
    o.err = QString::fromStdString(err.str());
    return o;
}

// Two lists of 2 and 3 materials, the first at offset 6700.
MaterialBytes TwoLists() {
    MaterialBytes b;
    b.fill(6700 - 8)
        .list({MakeEntry(1.0f, 0.5f, 0.0f, 1.0f, 20.0f), MakeEntry(0.25f, 0.25f, 0.25f, 1.0f)})
        .fill(100)
        .list({MakeEntry(1.5f, 0, 0, 1), MakeEntry(-0.5f, 0, 0, 1),
               MakeEntry(0, 0, 1, 0.5f, -3.25f)});
    return b;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void init();
    void listLines_data();
    void listLines();
    void blockKindFollowsTheFileName_data();
    void blockKindFollowsTheFileName();
    void listReadProblems_data();
    void listReadProblems();
    void dumpJson();
    void modelTexturesAndTriangles();
    void setWritesNamedSlotsOnly();
    void setBackup();
    void badInputTouchesNothing_data();
    void badInputTouchesNothing();
    void help_data();
    void help();

private:
    QString writeFile(const MaterialBytes& bytes, const QString& name = "plane.mdl");
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCli::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

QString TestCli::writeFile(const MaterialBytes& bytes, const QString& name) {
    // Native separators, as a user types the name; on Windows the JSON must escape them.
    const QString path = QDir::toNativeSeparators(m_dir->filePath(name));
    bytes.writeTo(tintara::test::FsPath(path));
    return path;
}

void TestCli::listLines_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");
    // The sample's diffuse lines, as the default list and --textures on a file with no
    // drawing code print them.
    const QString diffuse = "LOD 01 01 00001A2C  FF 7F 00 FF\n"
                            "LOD 01 02 00001A70  3F 3F 3F FF\n"
                            "LOD 02 03 00001B20  17E 00 00 FF\n"
                            "LOD 02 04 00001B64  FFFFFF81 00 00 FF\n"
                            "LOD 02 05 00001BA8  00 00 FF 7F\n"
                            "5 Materials found\n";
    QTest::newRow("diffuse by default") << QStringList{} << diffuse;
    QTest::newRow("specularity for scenery") << QStringList{"--show", "specularity", "--scenery"}
                                             << "OBJ 01 01 00001A2C 20.0000\n"
                                                "OBJ 01 02 00001A70 20.0000\n"
                                                "OBJ 02 03 00001B20 20.0000\n"
                                                "OBJ 02 04 00001B64 20.0000\n"
                                                "OBJ 02 05 00001BA8 -3.2500\n"
                                                "5 Materials found\n";
    QTest::newRow("textures of a file that is not a model") << QStringList{"--textures"} << diffuse;
    QTest::newRow("ambient with equals form") << QStringList{"--show=ambient"}
                                              << "LOD 01 01 00001A2C  33 33 33 FF\n"
                                                 "LOD 01 02 00001A70  33 33 33 FF\n"
                                                 "LOD 02 03 00001B20  33 33 33 FF\n"
                                                 "LOD 02 04 00001B64  33 33 33 FF\n"
                                                 "LOD 02 05 00001BA8  33 33 33 FF\n"
                                                 "5 Materials found\n";
}

void TestCli::listLines() {
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    const QString file = writeFile(TwoLists());
    const Outcome o = RunCli(QStringList{"list"} + options + QStringList{file});
    QCOMPARE(o.err, QString());
    QCOMPARE(o.out, expected);
    QCOMPARE(o.code, 0);
}

void TestCli::blockKindFollowsTheFileName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("kind");
    QTest::newRow("scenery file") << "airport.bgl" << QStringList{} << "OBJ";
    QTest::newRow("scenery in capitals") << "AIRPORT.BGL" << QStringList{} << "OBJ";
    QTest::newRow("scenery listed as model") << "airport.bgl" << QStringList{"--model"} << "LOD";
    QTest::newRow("name only ending in bgl") << "airportbgl" << QStringList{} << "LOD";
}

void TestCli::blockKindFollowsTheFileName() {
    QFETCH(QString, name);
    QFETCH(QStringList, options);
    QFETCH(QString, kind);
    const QString file = writeFile(TwoLists(), name);
    const Outcome o = RunCli(QStringList{"list"} + options + QStringList{file});
    QCOMPARE(o.code, 0);
    const QStringList lines = o.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6);
    for (const QString& line : lines.mid(0, 5))
        QCOMPARE(line.left(4), kind + ' ');
}

void TestCli::listReadProblems_data() {
    QTest::addColumn<int>("badSlot");
    QTest::addColumn<float>("badValue");
    QTest::addColumn<QString>("expectedOut");
    QTest::addColumn<QString>("detail"); // the reason and the place, after the message
    // A NaN stops the reading of the file: no line is printed.
    QTest::newRow("nan") << 4 << std::numeric_limits<float>::quiet_NaN() << ""
                         << "NaN in the material at offset 0x0000004C in '";
    // A channel that cannot be shown stops the list before its line.
    QTest::newRow("unshowable diffuse")
        << 0 << -1.0e30f << "LOD 01 01 00000008  FF FF FF FF\n"
        << "Invalid floating point operation in the material at offset 0x0000004C of '";
    QTest::newRow("empty file") << -1 << 0.0f
                                << "No materials found. This may be an old format MDL\n"
                                << "";
}

void TestCli::listReadProblems() {
    QFETCH(int, badSlot);
    QFETCH(float, badValue);
    QFETCH(QString, expectedOut);
    QFETCH(QString, detail);
    MaterialBytes b;
    if (badSlot >= 0) {
        auto bad = MakeEntry(0.5f, 0.5f, 0.5f, 1);
        bad[std::size_t(badSlot)] = badValue;
        b.list({MakeEntry(1, 1, 1, 1), bad, MakeEntry(0, 0, 0, 1)});
    }
    const Outcome o = RunCli({"list", writeFile(b)});
    QCOMPARE(o.out, expectedOut);
    if (badSlot >= 0) {
        QVERIFY2(
            o.err.startsWith("Sorry. Having a problem reading this MDL\ntintara-cli: " + detail),
            qPrintable(o.err));
        QCOMPARE(o.err.count('\n'), 2);
        QCOMPARE(o.code, 1);
    } else {
        QCOMPARE(o.code, 0);
    }
}

void TestCli::dumpJson() {
    MaterialBytes b = TwoLists();
    b.list({MakeEntry(0.1f, -std::numeric_limits<float>::infinity(), 1.0e-7f, 1, 12.3f)});
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("a name \u00e9.mdl"); // no quotes in Windows names
#else
    const QString name = QStringLiteral("a \"quoted\" name \u00e9.mdl");
#endif
    const QString file = writeFile(b, name);
    const Outcome o = RunCli({"dump", file});
    QCOMPARE(o.code, 0);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(o.out.toUtf8(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    QCOMPARE(doc.object().value("file").toString(), file);
    const QJsonArray materials = doc.object().value("materials").toArray();
    QCOMPARE(materials.size(), 6);
    const QJsonObject first = materials[0].toObject();
    QCOMPARE(first.value("number").toInt(), 1);
    QCOMPARE(first.value("list").toInt(), 1);
    QCOMPARE(first.value("offset").toInt(), 6700);
    QCOMPARE(first.value("diffuse").toArray(), QJsonArray({1, 0.5, 0, 1}));
    QCOMPARE(first.value("power").toDouble(), 20.0);
    // Shortest text that reads back as the same float, and infinity as a string.
    QVERIFY(o.out.contains("[0.1, \"-Infinity\", 1e-07, 1]"));
    QVERIFY(o.out.contains("\"power\": 12.3}"));
    QCOMPARE(materials[5].toObject().value("list").toInt(), 3);
    const QJsonObject model = doc.object().value("model").toObject();
    QCOMPARE(model.value("format").toString(), "none");
    QCOMPARE(model.value("walked").toBool(true), false);
    QVERIFY(model.value("problem").toString().startsWith("Not a model"));
    QCOMPARE(first.value("textures").toArray(), QJsonArray());
    QVERIFY(o.out.contains("\"triangles\": 0, \"power\": 20}"));
}

// An aircraft whose code draws two triangles with the second material and a texture,
// one without: the list names the texture, the dump counts the triangles.
void TestCli::modelTexturesAndTriangles() {
    using namespace tintara::modelcode;
    Code c;
    c.TextureList({{"wing\x1b.bmp", 1}, {"fuse.bmp", 1}}).MaterialList({{}, {}});
    c.VertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    c.SetMaterial(1, 0).DrawTriangles(0, 3, {0, 1, 2, 2, 1, 0}).SetMaterial(1, 1);
    c.DrawTriangles(0, 3, {0, 1, 2}).BglEnd();
    MaterialBytes b;
    for (unsigned char byte : Mdl8(c.Finish()))
        b.raw({byte});
    const QString file = writeFile(b);
    const Outcome list = RunCli({"list", "--textures", file});
    QCOMPARE(list.out, "LOD 01 01 000000FC  CC CC CC FF\n"
                       "LOD 01 02 00000140  CC CC CC FF  wing\\x1B.bmp, fuse.bmp\n"
                       "2 Materials found\n");
    const Outcome dump = RunCli({"dump", file});
    QVERIFY(dump.out.contains("\"model\": {\"format\": \"MDL8\", \"walked\": true}, "));
    const QJsonArray materials =
        QJsonDocument::fromJson(dump.out.toUtf8()).object().value("materials").toArray();
    QCOMPARE(materials[1].toObject().value("textures").toArray(),
             QJsonArray({"wing\u001b.bmp", "fuse.bmp"}));
    QCOMPARE(materials[1].toObject().value("triangles").toInt(), 3);
    QCOMPARE(materials[0].toObject().value("triangles").toInt(), 0);
}

void TestCli::setWritesNamedSlotsOnly() {
    const MaterialBytes b = TwoLists();
    // Letters outside any one ANSI code page: Windows must take the name as UTF-8.
    const QString file = writeFile(b, QStringLiteral("Flugzeug \u00fc \u03a9.mdl"));
    const Outcome o = RunCli(
        {"set", file, "--materials", "1,3-4", "--diffuse", "255,128,0,255", "--power", "12.3"});
    QCOMPARE(o.err, QString());
    QCOMPARE(o.code, 0);
    QVERIFY(o.out.contains("material 3 (list 2, offset 00001B20): diffuse 255,128,0,255 power"));
    QVERIFY(o.out.endsWith("3 materials written to " + file + "\n"));

    const auto after = ReadAllBytes(tintara::test::FsPath(file));
    std::vector<unsigned char> expected = b.bytes();
    // Materials 1, 3 and 4: the first of the first list, the first two of the second.
    const std::size_t firstList = 6700, secondList = 6700 + 2 * 68 + 100 + 8;
    const std::size_t changed[] = {firstList, secondList, secondList + 68};
    for (std::size_t at : changed) {
        unsigned char f[4];
        EncodeFloatLE(ByteToChannel(255), f);
        std::copy(f, f + 4, expected.begin() + std::ptrdiff_t(at));
        EncodeFloatLE(ByteToChannel(128), f);
        std::copy(f, f + 4, expected.begin() + std::ptrdiff_t(at + 4));
        EncodeFloatLE(ByteToChannel(0), f);
        std::copy(f, f + 4, expected.begin() + std::ptrdiff_t(at + 8));
        EncodeFloatLE(ByteToChannel(255), f);
        std::copy(f, f + 4, expected.begin() + std::ptrdiff_t(at + 12));
        EncodeFloatLE(12.3f, f);
        std::copy(f, f + 4, expected.begin() + std::ptrdiff_t(at + 64));
    }
    QVERIFY(after == expected);
}

void TestCli::setBackup() {
    const MaterialBytes b = TwoLists();
    const QString file = writeFile(b);
    QCOMPARE(RunCli({"set", file, "--materials", "2", "--power", "7", "--backup"}).code, 0);
    QVERIFY(ReadAllBytes((file + ".bak").toStdString()) == b.bytes());
    QVERIFY(ReadAllBytes(file.toStdString()) != b.bytes());

    // A second backup would overwrite the first: refused, and the file stays as it is.
    const auto before = ReadAllBytes(file.toStdString());
    const Outcome o = RunCli({"set", file, "--materials", "2", "--power", "9", "--backup"});
    QCOMPARE(o.code, 1);
    QVERIFY(o.err.contains("already exists"));
    QVERIFY(ReadAllBytes(file.toStdString()) == before);
    QVERIFY(ReadAllBytes((file + ".bak").toStdString()) == b.bytes());
}

void TestCli::badInputTouchesNothing_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no command") << QStringList{} << "Usage:";
    QTest::newRow("unknown command") << QStringList{"frob", "FILE"} << "unknown command 'frob'";
    QTest::newRow("unknown option")
        << QStringList{"list", "--colour", "x", "FILE"} << "unknown option --colour";
    QTest::newRow("unknown property")
        << QStringList{"list", "--show", "shiny", "FILE"} << "unknown property 'shiny'";
    QTest::newRow("no file") << QStringList{"dump"} << "no FILE given";
    QTest::newRow("two files") << QStringList{"dump", "FILE", "FILE"} << "unexpected argument";
    QTest::newRow("missing value")
        << QStringList{"set", "FILE", "--materials"} << "--materials needs a value";
    QTest::newRow("no materials") << QStringList{"set", "FILE", "--power", "3"}
                                  << "--materials is required";
    QTest::newRow("nothing to set")
        << QStringList{"set", "FILE", "--materials", "1"} << "nothing to set";
    QTest::newRow("material zero") << QStringList{"set", "FILE", "--materials", "0", "--power", "1"}
                                   << "material 0 is not in the table";
    QTest::newRow("material past table")
        << QStringList{"set", "FILE", "--materials", "2-6", "--power", "1"}
        << "material 6 is not in the table";
    QTest::newRow("malformed list")
        << QStringList{"set", "FILE", "--materials", "1,,2", "--power", "1"} << "malformed";
    QTest::newRow("reversed range")
        << QStringList{"set", "FILE", "--materials", "4-2", "--power", "1"} << "malformed";
    QTest::newRow("channel above 255")
        << QStringList{"set", "FILE", "--materials", "1", "--diffuse", "256,0,0,0"}
        << "from 0 to 255";
    QTest::newRow("three channels")
        << QStringList{"set", "FILE", "--materials", "1", "--ambient", "1,2,3"} << "four values";
    QTest::newRow("five channels")
        << QStringList{"set", "FILE", "--materials", "1", "--ambient", "1,2,3,4,5"}
        << "from 0 to 255";
    QTest::newRow("negative channel")
        << QStringList{"set", "FILE", "--materials", "1", "--emissive", "-1,0,0,0"}
        << "from 0 to 255";
    QTest::newRow("power not a number")
        << QStringList{"set", "FILE", "--materials", "1", "--power", "12abc"} << "needs a number";
    QTest::newRow("power infinite")
        << QStringList{"set", "FILE", "--materials", "1", "--power", "inf"} << "needs a number";
    QTest::newRow("power above guard")
        << QStringList{"set", "FILE", "--materials", "1", "--power", "2e9"} << "must lie between";
    QTest::newRow("scenery and model")
        << QStringList{"list", "--scenery", "--model", "FILE"} << "exclude each other";
    QTest::newRow("flag with value")
        << QStringList{"set", "FILE", "--materials", "1", "--power", "1", "--backup=yes"}
        << "takes no value";
}

void TestCli::badInputTouchesNothing() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const MaterialBytes b = TwoLists();
    const QString file = writeFile(b);
    args.replaceInStrings(QRegularExpression("^FILE$"), file);
    const Outcome o = RunCli(args);
    QCOMPARE(o.code, 2);
    QVERIFY2(o.err.contains(message), qPrintable(o.err));
    QCOMPARE(o.err.count('\n'), args.isEmpty() ? o.err.count('\n') : 1);
    QVERIFY(ReadAllBytes(file.toStdString()) == b.bytes());
    QVERIFY(!QFile::exists(file + ".bak"));
}

void TestCli::help_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("starts");
    QTest::newRow("tool") << QStringList{"--help"} << "Usage: tintara-cli COMMAND";
    QTest::newRow("list") << QStringList{"list", "--help"} << "Usage: tintara-cli list";
    QTest::newRow("dump") << QStringList{"dump", "--help"} << "Usage: tintara-cli dump";
    QTest::newRow("set") << QStringList{"set", "--help"} << "Usage: tintara-cli set";
}

void TestCli::help() {
    QFETCH(QStringList, args);
    QFETCH(QString, starts);
    const Outcome o = RunCli(args);
    QCOMPARE(o.code, 0);
    QVERIFY(o.out.startsWith(starts));
}

TINTARA_TEST_MAIN(TestCli)
#include "tst_cli.moc"
