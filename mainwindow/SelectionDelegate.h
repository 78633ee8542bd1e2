#pragma once
// Draws a list's selected lines as the focused list draws them, whether the list has
// the focus or not. Item views draw without focus in the inactive colours, which the
// Windows styles make a grey barely darker than the page (or, themed, a pale grey), so
// while the user edits in the panel nobody could see which lines a send-back writes to.

#include <QStyledItemDelegate>

namespace tintara {

class SelectionDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace tintara
