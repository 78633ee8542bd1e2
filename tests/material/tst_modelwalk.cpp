#include "testsupport.h"

#include "examples/modelcode/ModelCode.h"
#include "material/MaterialScanner.h"
#include "material/ModelWalk.h"
#include "material/ModelWalker.h"

#include <clocale>
#include <functional>

using namespace tintara;
using namespace tintara::modelcode;

namespace {

// Where an MDL8 model's code starts in the file Mdl8() writes.
constexpr std::size_t CodeAt = 76;
const QString Fault = QStringLiteral("The model's drawing code could not be followed: ");
const QString EmDash = QString(QChar(0x2014));

const std::vector<Texture> Textures = {{"fuse.bmp", 1}, {"fuse_lm.bmp", 0x100}, {"wing.bmp", 1}};
const std::vector<Material> Materials = {
    {0.8f, 0.8f, 0.8f, 1, 20}, {0.2f, 0.3f, 0.9f, 1, 10}, {0.5f, 0.5f, 0.5f, 0.5f, 5}};

std::vector<Vertex> Square(float x) {
    return {{x, 0, 0}, {x + 1, 0, 0}, {x + 1, 1, 0}, {x, 1, 0}};
}

// Code that opens with the three lists.
Code WithLists(const std::vector<Vertex>& vertices = Square(0)) {
    Code c;
    c.BglBegin().TextureList(Textures).MaterialList(Materials).VertexList(vertices);
    return c;
}

Code& Tris(Code& c, unsigned triangles) {
    std::vector<unsigned> indices;
    for (unsigned t = 0; t < triangles; ++t)
        indices.insert(indices.end(), {0, 1, 2});
    return c.DrawTriangles(0, 4, indices);
}

QByteArray File(const Bytes& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

QString Used(const QString& names, int triangles, const QString& levels) {
    return names + " " + EmDash + " " + QString::number(triangles) +
           (triangles == 1 ? " triangle, detail level" : " triangles, detail level") +
           (levels.size() > 1 ? "s " : " ") + levels;
}

const QString NotDrawn = QStringLiteral("Not drawn by the model's code");

QStringList Repeat(const QString& text, int count) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << text;
    return list;
}

// A fault at the instruction written after `prefix`, ending the code.
void AddFault(const char* row, Code c, const std::function<void(Code&)>& faulty,
              const QString& text) {
    const std::size_t at = CodeAt + c.size();
    faulty(c);
    c.BglEnd();
    QTest::newRow(row) << File(Mdl8(c.Finish())) << "MDL8"
                       << Fault + text + QString::asprintf(" at offset 0x%08zX", at)
                       << Repeat({}, 3);
}

} // namespace

class TestModelWalk : public QObject {
    Q_OBJECT
private slots:
    void walk_data();
    void walk();
    void keepsEachDrawingOncePerTransform();
    void triangleArraysOfAnySize();
    void toolTipText_data();
    void toolTipText();
};

void TestModelWalk::walk_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("problem");
    // One tool tip per material the byte search finds; for a fault, the problem.
    QTest::addColumn<QStringList>("tips");

    {
        Code c = WithLists();
        const auto lod1 = c.NewLabel(), lod2 = c.NewLabel(), end = c.NewLabel();
        c.IfSizeV(lod1).SetMaterial(0, 0);
        Tris(c, 2).SetMaterial(1, 2);
        Tris(c, 1).Jump(end).Place(lod1).IfSizeV(lod2).SetMaterial(0, 0);
        Tris(c, 1).Jump(end).Place(lod2).SetMaterial(1);
        Tris(c, 1).Place(end).BglEnd();
        QTest::newRow("level-of-detail chain")
            << File(Mdl8(c.Finish())) << "MDL8" << QString()
            << QStringList{Used("fuse.bmp", 3, "0" + QString(QChar(0x2013)) + "1"),
                           Used("wing.bmp", 2, "0, 2"), NotDrawn};
    }
    {
        Code c = WithLists();
        const auto sub = c.NewLabel();
        c.Call(sub);
        Tris(c, 1).BglEnd().Place(sub).SetMaterial(0, 1);
        Tris(c, 2).Return();
        QTest::newRow("call and return: the callee's material stays")
            << File(Mdl8(c.Finish())) << "MDL8" << QString()
            << QStringList{Used("fuse_lm.bmp", 3, "0"), NotDrawn, NotDrawn};
    }
    {
        Code c = WithLists();
        const auto sub = c.NewLabel();
        c.SetMaterial(2).Call32(sub).SetMaterial(1, 2).Call(sub).SetMaterial(2).Call(sub);
        c.BglEnd().Place(sub);
        Tris(c, 2).Return();
        QTest::newRow("subroutine called twice, once per material")
            << File(Mdl8(c.Finish())) << "MDL8" << QString()
            << QStringList{NotDrawn, Used("wing.bmp", 2, "0"), Used("No texture", 2, "0")};
    }
    {
        Code c = WithLists();
        const auto loop = c.NewLabel();
        c.Place(loop).SetMaterial(0, 2);
        Tris(c, 1).IfMask(loop, 0x10, 1).SetMaterial(0, 0).Jump(loop);
        QTest::newRow("loop") << File(Mdl8(c.Finish())) << "MDL8" << QString()
                              << QStringList{Used("wing.bmp, fuse.bmp", 1, "0"), NotDrawn,
                                             NotDrawn};
    }
    {
        // The jumped-over bytes hold an unknown opcode, then a material list.
        Code data;
        data.Op(0xFFFF).MaterialList({Materials[0]});
        Code c = WithLists();
        const auto over = c.NewLabel();
        c.Jump(over).Raw(data.Finish()).Place(over).SetMaterial(1);
        Tris(c, 1).BglEnd();
        QTest::newRow("data jumped over")
            << File(Mdl8(c.Finish())) << "MDL8" << QString()
            << QStringList{NotDrawn, Used("No texture", 1, "0"), NotDrawn, NotDrawn};
    }
    {
        auto object = [](const std::string& texture, std::size_t materials, unsigned triangles) {
            Code t, m, v, c;
            t.TextureList({{texture, 1}});
            m.MaterialList(std::vector<Material>(materials));
            v.VertexList(Square(2));
            c.SetMaterial(unsigned(materials - 1), 0);
            Tris(c, triangles).BglEnd();
            return Mdl9(t, m, v, c.Finish());
        };
        QTest::newRow("two objects in one scenery BGL")
            << File(NewBgl({object("house.bmp", 2, 3), object("roof.bmp", 1, 1)})) << "MDL9"
            << QString()
            << QStringList{NotDrawn, Used("house.bmp", 3, "0"), Used("roof.bmp", 1, "0")};
        Code t, m, v, c;
        t.TextureList(Textures);
        m.MaterialList(Materials);
        v.VertexList(Square(0));
        // SET_MATERIAL_ANIMATE: material 2, textures 2 and on, chosen by a variable.
        c.Op(0xC1).U16(2).U16(2).U16(2).U32(0).U32(0x10);
        Tris(c, 2).BglEnd();
        QTest::newRow("one MDL9 object, animated material")
            << File(Mdl9(t, m, v, c.Finish())) << "MDL9" << QString()
            << QStringList{NotDrawn, NotDrawn, Used("wing.bmp", 2, "0")};
    }

    AddFault(
        "unknown instruction", WithLists(), [](Code& c) { c.Op(0x36); },
        "unknown instruction 0x0036");
    AddFault(
        "jump outside", WithLists(), [](Code& c) { c.Op(0x0D).U16(0x7000); },
        "a jump outside the code");
    AddFault(
        "call outside", WithLists(), [](Code& c) { c.Op(0x23).U16(0x8000); },
        "a call outside the code");
    AddFault(
        "material past its list", WithLists(), [](Code& c) { c.SetMaterial(3, 0); },
        "material 3 past the end of its list");
    AddFault(
        "texture past its list", WithLists(), [](Code& c) { c.SetMaterial(0, 3); },
        "texture 3 past the end of its list");
    AddFault(
        "vertex past its list", WithLists(),
        [](Code& c) {
            c.DrawTriangles(2, 2, {0, 1, 2});
        },
        "vertex 4 past the end of its list");
    Code materialsOnly;
    materialsOnly.MaterialList(Materials);
    AddFault(
        "no vertex list", materialsOnly,
        [](Code& c) {
            c.DrawTriangles(0, 3, {0, 1, 2});
        },
        "a drawing with no vertex list");
    {
        Code c = WithLists();
        const auto self = c.NewLabel();
        c.Place(self);
        AddFault(
            "calls nested too deep", c,
            [&](Code& code) {
                // The call of depth 65 is the same instruction.
                code.Call(self);
            },
            "calls nested deeper than 64");
    }
    {
        // Each pass one detail level further; the fall-through ends the code.
        Code c = WithLists();
        const auto self = c.NewLabel();
        const std::size_t at = CodeAt + c.size(), codeBytes = c.size() + 8;
        c.Place(self).IfSizeV(self);
        QTest::newRow("more than the budget")
            << File(Mdl8(c.Finish())) << "MDL8"
            << Fault + QString::asprintf(
                           "more than %llu instructions at offset 0x%08zX",
                           static_cast<unsigned long long>(MinInstructionBudget +
                                                           InstructionsPerCodeByte * codeBytes),
                           at)
            << Repeat({}, 3);
    }
    {
        Code c = WithLists();
        const std::size_t at = CodeAt + c.size();
        c.Op(0xB8).U16(0);
        QTest::newRow("cut off") << File(Mdl8(c.Finish())) << "MDL8"
                                 << Fault + "an instruction cut off by the end of the code" +
                                        QString::asprintf(" at offset 0x%08zX", at)
                                 << Repeat({}, 3);
    }
    {
        Code c = WithLists();
        Bytes file = Mdl8(c.BglEnd().Finish());
        file[4] += 2;
        QTest::newRow("chunk sizes") << File(file) << "MDL8"
                                     << "The file's chunk sizes run past its end" << Repeat({}, 3);
    }
    QTest::newRow("no code") << File(Riff("MDL8", Chunk("MDLH", Bytes(32)))) << "MDL8"
                             << "The model file holds no drawing code" << QStringList();
    QTest::newRow("another RIFF") << File(Riff("WAVE", Chunk("fmt ", Bytes(16)))) << "none"
                                  << "Not a model or scenery file whose drawing code the editor "
                                     "can read"
                                  << QStringList();
    QTest::newRow("old-style scenery") << File(OldBgl(WithLists().Finish())) << "BGL"
                                       << "Old-style scenery code is not read yet" << Repeat({}, 3);
}

void TestModelWalk::walk() {
    QFETCH(QByteArray, file);
    QFETCH(QString, format);
    QFETCH(QString, problem);
    QFETCH(QStringList, tips);
    const std::span<const unsigned char> bytes(
        reinterpret_cast<const unsigned char*>(file.constData()), std::size_t(file.size()));
    MemoryByteSource source(bytes);
    MaterialTable table;
    QVERIFY(ScanMaterials(source, table).ok());
    // The walk only reads: the byte search alone decides the list.
    QCOMPARE(table.count(), std::size_t(tips.size()));

    const ModelWalk walk = WalkModel(bytes, table);
    QCOMPARE(QString::fromLatin1(ModelFormatName(walk.format)), format);
    QCOMPARE(QString::fromStdString(walk.problem), problem);
    QCOMPARE(walk.walked, problem.isEmpty());
    QCOMPARE(walk.uses.size(), table.count());
    for (qsizetype i = 0; i < tips.size(); ++i) {
        const QString expected = problem.isEmpty() ? tips[i] : problem;
        QCOMPARE(QString::fromStdString(MaterialUseText(walk, std::size_t(i))), expected);
    }
    if (!walk.walked)
        QVERIFY(walk.triangles.empty());
}

// A subroutine drawn under two transforms keeps two copies of its triangles, moved,
// but counts once; calling it again under the first keeps nothing new.
void TestModelWalk::keepsEachDrawingOncePerTransform() {
    Code c = WithLists();
    const auto sub = c.NewLabel();
    Transform right;
    right.translation = {10, 0, 0};
    c.SetMaterial(0).Call(sub).TransformMat(right).Call(sub).TransformEnd().Call(sub);
    c.BglEnd().Place(sub);
    Tris(c, 1).Return();
    const Bytes file = Mdl8(c.Finish());
    MemoryByteSource source(file);
    MaterialTable table;
    QVERIFY(ScanMaterials(source, table).ok());
    const ModelWalk walk = WalkModel(file, table);
    QVERIFY(walk.walked);
    QCOMPARE(walk.uses[0].triangles, 1u);
    QCOMPARE(walk.triangles.size(), std::size_t(2));
    const float x0 = walk.triangles[0].position[1].x, x1 = walk.triangles[1].position[1].x;
    QCOMPARE(std::min(x0, x1), 1.0f);
    QCOMPARE(std::max(x0, x1), 11.0f);
    QCOMPARE(walk.triangles[0].material, 0);
    QCOMPARE(walk.triangles[0].texture, -1);
}

void TestModelWalk::triangleArraysOfAnySize() {
    // Growing from small blocks into mapped ones and back keeps every triangle.
    ModelTriangles triangles;
    for (int i = 0; i < 120'000; ++i)
        triangles.emplace_back().detail = i;
    ModelTriangles copy = triangles;
    triangles.resize(10);
    triangles.shrink_to_fit();
    QCOMPARE(copy.size(), std::size_t(120'000));
    for (int i = 0; i < 120'000; i += 997)
        QCOMPARE(copy[std::size_t(i)].detail, i);
    QCOMPARE(triangles.back().detail, 9);
}

void TestModelWalk::toolTipText_data() {
    QTest::addColumn<QStringList>("textures");
    QTest::addColumn<qulonglong>("triangles");
    QTest::addColumn<QList<int>>("levels");
    QTest::addColumn<QString>("expected");
    const QString en(QChar(0x2013));
    QTest::newRow("one triangle") << QStringList{"a.bmp"} << 1ull << QList<int>{0}
                                  << "a.bmp " + EmDash + " 1 triangle, detail level 0";
    QTest::newRow("thousands and runs of levels")
        << QStringList{"a.bmp", "b.bmp"} << 1234567ull << QList<int>{0, 1, 2, 4, 6, 7}
        << "a.bmp, b.bmp " + EmDash + " 1,234,567 triangles, detail levels 0" + en + "2, 4, 6" +
               en + "7";
    QTest::newRow("selected, never drawn")
        << QStringList{} << 0ull << QList<int>{} << "No texture " + EmDash + " 0 triangles";
}

// The counts' commas do not follow the locale.
void TestModelWalk::toolTipText() {
    QFETCH(QStringList, textures);
    QFETCH(qulonglong, triangles);
    QFETCH(QList<int>, levels);
    QFETCH(QString, expected);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    ModelWalk walk;
    walk.walked = true;
    walk.uses.resize(2);
    walk.uses[0].selected = true;
    for (const QString& t : textures)
        walk.uses[0].textures.push_back(t.toStdString());
    walk.uses[0].triangles = triangles;
    walk.uses[0].detailLevels.assign(levels.begin(), levels.end());
    const QString text = QString::fromStdString(MaterialUseText(walk, 0));
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(before);
    QCOMPARE(text, expected);
    QCOMPARE(QString::fromStdString(MaterialUseText(walk, 1)), NotDrawn);
}

TINTARA_TEST_MAIN(TestModelWalk)
#include "tst_modelwalk.moc"
