#pragma once
// The material list as a model over the material table: one line per entry, formatted
// only when the view asks for it, so a list of a million materials costs no more than
// its visible lines. A line's tool tip tells what the model's drawing code does with
// its material.

#include "material/MaterialLines.h"
#include "material/MaterialTable.h"
#include "material/ModelWalk.h"

#include <QAbstractListModel>
#include <QFont>

#include <optional>
#include <string>

namespace tintara {

class MaterialListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    // Height of one line in pixels.
    static constexpr int LineHeight = 13;

    MaterialListModel(const MaterialTable& table, const ModelWalk& walk, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The list's fixed-pitch font and the margins, in pixels, the view draws around a
    // line's text: lines then ask for the width of the longest line, and the view scrolls
    // sideways when that is wider than the list.
    void SetLineMetrics(const QFont& font, int margins);

    // Shows no lines (before the table is refilled).
    void Clear();

    // Shows the table with the given block prefix and property: as many lines as can be
    // built, all of them unless a shown channel fails to convert (then the check's error).
    LineCheck Rebuild(std::string_view prefix, int property);

    int property() const { return m_property; }

private:
    const MaterialTable& m_table;
    const ModelWalk& m_walk;
    std::string m_prefix;
    int m_property = 0;
    int m_rows = 0;
    std::optional<QFont> m_font;
    int m_margins = 0;
    int m_lineWidth = 0; // of the longest line, in pixels
};

} // namespace tintara
