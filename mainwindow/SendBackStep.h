#pragma once
// One send-back as a step of the window's undo history: the table entries it changed,
// as they were and as they became (values, stored bytes, changed fields, Modified), and
// whether "Save Updated MDL" was enabled before and after.

#include "material/MaterialRecord.h"

#include <QUndoCommand>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace tintara {

using TableEntries = std::vector<std::pair<std::size_t, MaterialRecord>>;

class SendBackStep final : public QUndoCommand {
public:
    // Puts entries back into the table and sets the save button; given by the window.
    using Restore = std::function<void(const TableEntries& entries, bool saveEnabled)>;

    SendBackStep(Restore restore, TableEntries before, TableEntries after, bool saveBefore,
                 bool saveAfter);

    void undo() override;
    // The first redo is the send-back itself, already done when the step is recorded.
    void redo() override;

private:
    Restore m_restore;
    TableEntries m_before;
    TableEntries m_after;
    bool m_saveBefore;
    bool m_saveAfter;
    bool m_done = true;
};

} // namespace tintara
