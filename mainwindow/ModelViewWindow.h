#pragma once
// The model view: a window of its own showing the walked triangles of one level of
// detail (a chooser at the top, the most detailed first) in the table's current
// colours, the selected materials outlined; Home frames the model again. The owner
// keeps it in step with the table, the walk and the list's selection, and acts on
// materialClicked as on a line click.

#include "material/ModelWalk.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QComboBox;

namespace tintara {

class ModelViewCanvas;

class ModelViewWindow final : public QWidget {
    Q_OBJECT
public:
    static const QString& NoGeometryText();

    explicit ModelViewWindow(QWidget* owner);

    // A new walk: its triangles and its problem. The camera and the level stay when the
    // triangles are those shown already.
    void SetModel(const ModelWalk& walk, const MaterialTable& table);
    // The table's colours changed; only the shading is redone.
    void SetColours(const MaterialTable& table);
    // Selected materials, by table index.
    void SetSelection(std::vector<bool> selected);
    // For the tool tip: the list line of a material.
    void SetLineText(std::function<QString(int material)> text) { m_lineText = std::move(text); }

    ModelViewCanvas* Canvas() const { return m_canvas; }
    QComboBox* DetailChooser() const { return m_detail; }

signals:
    void materialClicked(int material, bool toggle);

private:
    void ShowLevel();
    QString ToolTipText(int material) const;

    ModelViewCanvas* m_canvas = nullptr;
    QComboBox* m_detail = nullptr;
    ModelTriangles m_triangles; // of every level
    std::vector<MaterialUse> m_uses;
    std::function<QString(int)> m_lineText;
};

} // namespace tintara
