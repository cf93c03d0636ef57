#pragma once

#include "EditorSelectionState.h"

#include <QString>
#include <QUndoCommand>

#include <cstdint>

namespace VoEditor {

class EditorUndoHistory;

// One step of the editor's undo stack: the editor's selection before and after it, which undo and
// redo put back so that the user sees what the step touched. A selection-only step makes no edit;
// an edit step changes the graph too. Shares both states with the neighbouring steps; borrows the
// history that replays it.
class EditorUndoStep : public QUndoCommand {
public:
    EditorUndoStep(EditorUndoHistory &history, EditorStatePtr before, EditorStatePtr after,
                   const QString &text);

    virtual bool isSelectionOnly() const = 0;
    // The numbers of the graph's states before and after the step (EditorUndoHistory::
    // getEditState): the same for a selection step.
    void setEditStates(std::uint64_t from, std::uint64_t to) noexcept {
        editsBefore = from;
        editsAfter = to;
    }
    std::uint64_t getEditsBefore() const noexcept { return editsBefore; }
    std::uint64_t getEditsAfter() const noexcept { return editsAfter; }

protected:
    // QUndoStack::push calls redo() on a step whose change is already made: that first call does
    // nothing.
    bool takeFirstRedo() noexcept;

    EditorUndoHistory &history;
    EditorStatePtr before;
    EditorStatePtr after;

private:
    bool pushed = false;
    std::uint64_t editsBefore = 0;
    std::uint64_t editsAfter = 0;
};

} // namespace VoEditor
