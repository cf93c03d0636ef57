#pragma once

#include "EditorUndoStep.h"

namespace VoEditor {

// A change of the editor's selection alone, whatever made it (a gesture, the application's
// dock, a command): undo and redo put the state before (after) back. Consecutive changes of the
// points and handles of the same selected shapes merge into one step, as clicking or stepping
// through the points of one shape is one thing the user did; a change of which shapes are
// selected starts a new step.
class EditorSelectionStep : public EditorUndoStep {
public:
    EditorSelectionStep(EditorUndoHistory &history, EditorStatePtr before, EditorStatePtr after);

    bool isSelectionOnly() const override { return true; }
    void undo() override;
    void redo() override;
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    // Only the parts of the same shapes changed.
    bool changesPartsOnly() const { return before->hasSameShapes(*after); }
};

} // namespace VoEditor
