#include "mainwindow/MaterialListModel.h"

#include "material/Conversions.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QSize>

#include <algorithm>
#include <climits>
#include <cmath>

namespace tintara {

MaterialListModel::MaterialListModel(const MaterialTable& table, const ModelWalk& walk,
                                     QObject* parent)
    : QAbstractListModel(parent), m_table(table), m_walk(walk) {}

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
    case Qt::ToolTipRole: {
        const std::string tip = MaterialUseText(m_walk, static_cast<std::size_t>(index.row()));
        return tip.empty() ? QVariant() : QVariant(QString::fromStdString(tip));
    }
    case Qt::SizeHintRole:
        // Every line asks for the longest line's width: the list is a column of equal lines.
        return QSize(m_lineWidth, LineHeight);
    default:
        break;
    }
    return {};
}

void MaterialListModel::SetLineMetrics(const QFont& font, int margins) {
    m_font = font;
    m_margins = margins;
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
    m_lineWidth = 0;
    if (m_font && m_rows > 0) {
        // Pixels as whole glyphs and as fractions may round apart: the wider one.
        const QString widest(static_cast<qsizetype>(check.widestLine + prefix.size()),
                             QLatin1Char('0'));
        m_lineWidth =
            m_margins +
            std::max(QFontMetrics(*m_font).horizontalAdvance(widest),
                     static_cast<int>(std::ceil(QFontMetricsF(*m_font).horizontalAdvance(widest))));
    }
    endResetModel();
    return check;
}

} // namespace tintara
