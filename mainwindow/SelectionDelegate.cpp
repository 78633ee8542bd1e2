#include "mainwindow/SelectionDelegate.h"

namespace tintara {

void SelectionDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    // The view clears State_Active when it lacks the focus; palette-drawn styles then
    // take the inactive group and themed ones the "selected, not focused" look.
    QStyleOptionViewItem shown(option);
    if (shown.state & QStyle::State_Enabled)
        shown.state |= QStyle::State_Active;
    QStyledItemDelegate::paint(painter, shown, index);
}

} // namespace tintara
