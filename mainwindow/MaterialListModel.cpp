#include "mainwindow/MaterialListModel.h"

#include "material/Conversions.h"

#include <QSize>

#include <algorithm>
#include <climits>

namespace tintara {

MaterialListModel::MaterialListModel(const MaterialTable& table, QObject* parent)
    : QAbstractListModel(parent), m_table(table) {}

int MaterialListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

QVariant MaterialListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows ||
        static_cast<std::size_t>(index.row()) >= m_table.count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        try {
            return QString::fromStdString(FormatMaterialLine(
                m_prefix, m_table, static_cast<std::size_t>(index.row()), m_property));
        } catch (const ConversionError&) {
            // Rows are limited to the lines that convert; nothing to show otherwise.
            return {};
        }
    case Qt::SizeHintRole:
        // Width 0: lines take the list's width and it never scrolls sideways.
        return QSize(0, LineHeight);
    default:
        break;
    }
    return {};
}

void MaterialListModel::Clear() {
    beginResetModel();
    m_rows = 0;
    endResetModel();
}

LineCheck MaterialListModel::Rebuild(std::string_view prefix, int property) {
    const LineCheck check = CheckMaterialLines(m_table, property);
    beginResetModel();
    m_prefix = std::string(prefix);
    m_property = property;
    m_rows = static_cast<int>(std::min<std::size_t>(check.lineCount, INT_MAX));
    endResetModel();
    return check;
}

} // namespace tintara
