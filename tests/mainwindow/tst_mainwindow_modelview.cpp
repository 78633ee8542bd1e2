// The model view in the real window: F3 opens it on the chosen file, a click on a part
// selects its line as a click on the line would, a colour sent back shows at once where
// its material is drawn and nowhere else, and Ctrl+Z in the view puts the old pixels
// back.

#include "FormFixture.h"
#include "MaterialBytes.h"
#include "testsupport.h"

#include "controls/Shape.h"
#include "mainwindow/ModelViewCanvas.h"
#include "mainwindow/ModelViewWindow.h"

#include <QSettings>

using namespace tintara;
using namespace tintara::test;

class MainWindowModelViewTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void f3OpensTheViewOfTheChosenFile();
    void clicksOnPartsSelectTheirLines();
    void sentBackGreenShowsWhereItsMaterialIsDrawnUntilUndone();
};

namespace {

void U16(MaterialBytes& bytes, int value) {
    bytes.raw({value & 0xFF, (value >> 8) & 0xFF});
}

void U32(MaterialBytes& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.raw({static_cast<int>((value >> (8 * i)) & 0xFF)});
}

struct Vertex {
    float x, y, z, nx, ny, nz;
};

// Vertex list, material 0 drawn as a box (the fuselage, along z), material 1 as a flat
// wing across it, material 2 never drawn.
MaterialBytes PlaneFile() {
    std::vector<Vertex> vertices;
    std::vector<int> fuselage;
    for (int axis = 0; axis < 3; ++axis)
        for (const float side : {-1.0f, 1.0f}) {
            const float half[3] = {0.6f, 0.6f, 3.0f};
            const int u = (axis + 1) % 3, v = (axis + 2) % 3;
            const int first = static_cast<int>(vertices.size());
            for (const auto& [a, b] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
                float p[3], n[3] = {0, 0, 0};
                p[axis] = side * half[axis];
                p[u] = static_cast<float>(a) * half[u];
                p[v] = static_cast<float>(b) * half[v];
                n[axis] = side;
                vertices.push_back({p[0], p[1], p[2], n[0], n[1], n[2]});
            }
            fuselage.insert(fuselage.end(),
                            {first, first + 1, first + 2, first, first + 2, first + 3});
        }
    const int wing = static_cast<int>(vertices.size());
    for (const auto& [x, z] : {std::pair{-4.0f, -0.8f}, {4.0f, -0.8f}, {4.0f, 0.8f}, {-4.0f, 0.8f}})
        vertices.push_back({x, 0.0f, z, 0.0f, 1.0f, 0.0f});

    MaterialBytes code;
    code.list({MakeEntry(0.8f, 0.3f, 0.2f, 1.0f), MakeEntry(0.2f, 0.3f, 0.8f, 1.0f),
               MakeEntry(0.5f, 0.5f, 0.5f, 1.0f)});
    code.raw({0xB5, 0x00});
    U16(code, static_cast<int>(vertices.size()));
    U32(code, 0);
    for (const Vertex& p : vertices)
        code.floats({p.x, p.y, p.z, p.nx, p.ny, p.nz, 0.0f, 0.0f});
    const auto draw = [&](int material, int start, const std::vector<int>& indices) {
        code.raw({0xB8, 0x00});
        U16(code, material);
        U16(code, 0xFFFF);
        code.raw({0xB9, 0x00});
        U16(code, start);
        U16(code, static_cast<int>(vertices.size()) - start);
        U16(code, static_cast<int>(indices.size()));
        for (const int index : indices)
            U16(code, index);
    };
    draw(0, 0, fuselage);
    draw(1, wing, {0, 1, 2, 0, 2, 3});
    code.raw({0xBD, 0x00});

    MaterialBytes file;
    file.raw({'R', 'I', 'F', 'F'});
    U32(file, static_cast<std::uint32_t>(4 + 8 + code.size()));
    file.raw({'M', 'D', 'L', '8', 'B', 'G', 'L', ' '});
    U32(file, static_cast<std::uint32_t>(code.size()));
    for (const unsigned char byte : code.bytes())
        file.raw({byte});
    return file;
}

// A pixel inside the part of `material`, away from its edges; (-1, -1) when none.
QPoint Inside(ModelViewCanvas& canvas, int material) {
    const QImage& picture = canvas.Picture();
    ModelRenderer& renderer = canvas.Renderer();
    for (int y = 2; y < picture.height() - 2; ++y)
        for (int x = 2; x < picture.width() - 2; ++x)
            if (renderer.MaterialAt({x, y}) == material &&
                renderer.MaterialAt({x - 2, y}) == material &&
                renderer.MaterialAt({x + 2, y}) == material &&
                renderer.MaterialAt({x, y - 2}) == material &&
                renderer.MaterialAt({x, y + 2}) == material)
                return {x, y};
    return {-1, -1};
}

std::unique_ptr<FormFixture> f;
ProbeForm* form = nullptr;

ModelViewWindow* OpenView() {
    QTest::keyClick(form, Qt::Key_F3);
    ModelViewWindow* view = form->ModelView();
    if (view)
        (void)QTest::qWaitForWindowExposed(view);
    return view;
}

} // namespace

void MainWindowModelViewTest::init() {
    f = std::make_unique<FormFixture>();
    PlaneFile().writeTo(FsPath(f->path("plane.mdl")));
    f->settings()->setValue(QStringLiteral("ModelView"), QStringLiteral("30,40,500,400"));
    form = &f->create();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    f->chooseFile(f->path("plane.mdl"));
    QCOMPARE(f->lines().size(), 3);
}

void MainWindowModelViewTest::cleanup() {
    f.reset();
    form = nullptr;
}

// F3 opens the view where the setting put it, named after the file, showing both parts;
// the close keeps its place.
void MainWindowModelViewTest::f3OpensTheViewOfTheChosenFile() {
    ModelViewWindow* view = OpenView();
    QVERIFY(view && view->isVisible());
    QCOMPARE(view->windowTitle(), QStringLiteral("Model View - plane.mdl"));
    QCOMPARE(view->size(), QSize(500, 400));
    QVERIFY(view->Canvas()->Message().isEmpty());
    QVERIFY(Inside(*view->Canvas(), 0).x() >= 0);
    QVERIFY(Inside(*view->Canvas(), 1).x() >= 0);
    view->resize(520, 410);
    form->close();
    QCOMPARE(f->settings()->value(QStringLiteral("ModelView")).toString().section(',', 2),
             QStringLiteral("520,410"));
}

// A click selects the part's line and shows it in the panel; Ctrl+click adds a line; a
// click on the background changes nothing. Selected materials are outlined.
void MainWindowModelViewTest::clicksOnPartsSelectTheirLines() {
    ModelViewWindow* view = OpenView();
    QVERIFY(view);
    ModelViewCanvas* canvas = view->Canvas();
    const QPoint wing = Inside(*canvas, 1);
    const QPoint fuselage = Inside(*canvas, 0);
    QVERIFY(wing.x() >= 0 && fuselage.x() >= 0);

    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, wing);
    QCOMPARE(f->selectedLines(), QList<int>({1}));
    QCOMPARE(form->texlistClicks, 1);
    QCOMPARE(f->child<TShape>("Shape2")->fillColor(), 51 + 256 * 76 + 65536 * 204); // 0.2, 0.3, 0.8
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, fuselage);
    QCOMPARE(f->selectedLines(), QList<int>({0, 1}));
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    QCOMPARE(f->selectedLines(), QList<int>({0, 1}));
    QCOMPARE(canvas->Picture().pixel(1, 1), qRgb(60, 66, 76)); // the background, no outline
    int outline = 0;
    const QImage& picture = canvas->Picture();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            outline += picture.pixel(x, y) == qRgb(255, 170, 0) ? 1 : 0;
    QVERIFY(outline > 50);
}

void MainWindowModelViewTest::sentBackGreenShowsWhereItsMaterialIsDrawnUntilUndone() {
    ModelViewWindow* view = OpenView();
    QVERIFY(view);
    ModelViewCanvas* canvas = view->Canvas();
    f->clickLine(0);
    const QImage before = canvas->Picture().copy();
    for (const auto& [take, give] : {std::pair{"Button4", "Button13"}, {"Button10", "Button14"}}) {
        f->click(take);
        for (const auto& [edit, value] :
             {std::pair{"NumEdit1", "0"}, {"NumEdit2", "255"}, {"NumEdit3", "0"}})
            f->child<QLineEdit>(edit)->setText(QLatin1String(value));
        f->click(give);
    }
    f->click("Button6");
    const QImage& green = canvas->Picture();
    int greenPixels = 0;
    for (int y = 0; y < green.height(); ++y)
        for (int x = 0; x < green.width(); ++x) {
            const QRgb p = green.pixel(x, y);
            const bool isGreen = qGreen(p) > 2 * std::max(qRed(p), qBlue(p));
            QCOMPARE(isGreen, canvas->Renderer().MaterialAt({x, y}) == 0);
            greenPixels += isGreen ? 1 : 0;
        }
    QVERIFY(greenPixels > 100);

    QVERIFY(QTest::qWaitForWindowActive(view));
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(form->materials()[0].Modified, 0);
    QCOMPARE(canvas->Picture(), before);
}

TINTARA_TEST_MAIN(MainWindowModelViewTest)
#include "tst_mainwindow_modelview.moc"
