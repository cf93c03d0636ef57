#pragma once

#include "EditorSelectionState.h"

#include <QString>
#include <QUndoCommand>

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

protected:
    // QUndoStack::push calls redo() on a step whose change is already made: that first call does
    // nothing.
    bool takeFirstRedo() noexcept;

    EditorUndoHistory &history;
    EditorStatePtr before;
    EditorStatePtr after;

private:
    bool pushed = false;
};

} // namespace VoEditor
