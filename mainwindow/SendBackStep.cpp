#include "mainwindow/SendBackStep.h"

namespace tintara {

SendBackStep::SendBackStep(Restore restore, TableEntries before, TableEntries after,
                           bool saveBefore, bool saveAfter)
    : m_restore(std::move(restore)), m_before(std::move(before)), m_after(std::move(after)),
      m_saveBefore(saveBefore), m_saveAfter(saveAfter) {
    setText(QStringLiteral("Send modified Material back"));
}

void SendBackStep::undo() {
    m_restore(m_before, m_saveBefore);
}

void SendBackStep::redo() {
    if (m_done) {
        m_done = false;
        return;
    }
    m_restore(m_after, m_saveAfter);
}

} // namespace tintara
