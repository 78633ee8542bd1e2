#include "mainwindow/ModelViewWindow.h"

#include "mainwindow/ModelViewCanvas.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <set>

namespace tintara {
namespace {

bool SameTriangles(const ModelTriangles& a, const ModelTriangles& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](const ModelTriangle& l, const ModelTriangle& r) {
                          return std::memcmp(&l.position, &r.position, sizeof l.position) == 0 &&
                                 std::memcmp(&l.normal, &r.normal, sizeof l.normal) == 0 &&
                                 l.material == r.material && l.texture == r.texture &&
                                 l.detail == r.detail;
                      });
}

std::vector<SphereMaterial> Colours(const MaterialTable& table) {
    std::vector<SphereMaterial> colours(table.count());
    for (std::size_t i = 0; i < table.count(); ++i) {
        const MaterialRecord& r = table[i];
        for (int slot = 0; slot < ColourSlotCount; ++slot)
            colours[i].colours[static_cast<std::size_t>(slot)] = {r.Red[slot], r.Green[slot],
                                                                  r.Blue[slot], r.Alpha[slot]};
        colours[i].power = r.Power;
    }
    return colours;
}

} // namespace

const QString& ModelViewWindow::NoGeometryText() {
    static const QString text =
        QStringLiteral("This file holds no model geometry the editor can show");
    return text;
}

ModelViewWindow::ModelViewWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setWindowTitle(QStringLiteral("Model View"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* bar = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Level of detail:"), this);
    m_detail = new QComboBox(this);
    m_detail->setObjectName(QStringLiteral("DetailLevel"));
    m_detail->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    label->setBuddy(m_detail);
    bar->addWidget(label);
    bar->addWidget(m_detail);
    bar->addStretch();
    layout->addLayout(bar);
    m_canvas = new ModelViewCanvas(this);
    m_canvas->setObjectName(QStringLiteral("ModelCanvas"));
    layout->addWidget(m_canvas, 1);
    m_canvas->SetToolTipText([this](int material) { return ToolTipText(material); });
    connect(m_canvas, &ModelViewCanvas::materialClicked, this, &ModelViewWindow::materialClicked);
    connect(m_detail, &QComboBox::currentIndexChanged, this, [this] { ShowLevel(); });
    // Home anywhere in the window, the level chooser included, frames the model again.
    new QShortcut(QKeySequence(Qt::Key_Home), this, [this] { m_canvas->Reframe(); });
    m_canvas->setFocus();
    resize(800, 640);
    SetModel(ModelWalk{}, MaterialTable{});
}

void ModelViewWindow::SetModel(const ModelWalk& walk, const MaterialTable& table) {
    m_uses = walk.uses;
    QString message;
    if (walk.format == ModelFormat::None)
        message = NoGeometryText();
    else if (!walk.walked)
        message = QString::fromStdString(walk.problem);
    else if (walk.triangles.empty())
        message = NoGeometryText();
    m_canvas->SetMessage(message);
    SetColours(table);
    if (SameTriangles(walk.triangles, m_triangles))
        return;
    m_triangles = walk.triangles;
    std::set<int> levels;
    for (const ModelTriangle& t : m_triangles)
        levels.insert(t.detail);
    const QSignalBlocker quiet(m_detail);
    m_detail->clear();
    for (const int level : levels)
        m_detail->addItem(level == *levels.begin() ? QStringLiteral("%1 (most detailed)").arg(level)
                                                   : QString::number(level),
                          level);
    m_detail->setCurrentIndex(levels.empty() ? -1 : 0);
    m_detail->setEnabled(levels.size() > 1);
    ShowLevel();
}

void ModelViewWindow::ShowLevel() {
    const int level = m_detail->currentData().toInt();
    ModelTriangles shown;
    for (const ModelTriangle& t : m_triangles)
        if (t.detail == level)
            shown.push_back(t);
    m_canvas->Renderer().SetTriangles(std::move(shown));
    m_canvas->update();
}

void ModelViewWindow::SetColours(const MaterialTable& table) {
    m_canvas->Renderer().SetMaterials(Colours(table));
    m_canvas->update();
}

void ModelViewWindow::SetSelection(std::vector<bool> selected) {
    m_canvas->Renderer().SetSelected(std::move(selected));
    m_canvas->update();
}

QString ModelViewWindow::ToolTipText(int material) const {
    QString text = m_lineText ? m_lineText(material) : QString::number(material + 1);
    QStringList names;
    if (static_cast<std::size_t>(material) < m_uses.size())
        for (const std::string& name : m_uses[static_cast<std::size_t>(material)].textures)
            names << QString::fromStdString(name);
    text += QLatin1Char('\n') +
            (names.isEmpty() ? QStringLiteral("No texture") : names.join(QStringLiteral(", ")));
    return text;
}

} // namespace tintara
