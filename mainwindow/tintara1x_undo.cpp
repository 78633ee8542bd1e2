// TForm1: undo and redo of send-backs with the keys a desktop user expects.

#include "mainwindow/tintara1x.h"

#include <QShortcut>

namespace tintara {

void TForm1::SetUpUndo() {
    // Window-wide; a text field with the focus keeps these keys for its own typing.
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this, [this] { m_history.undo(); });
    for (const QKeySequence& redo :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        new QShortcut(redo, this, [this] { m_history.redo(); });
}

} // namespace tintara
