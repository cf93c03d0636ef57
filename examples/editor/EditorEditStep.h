#pragma once

#include "EditorEdit.h"
#include "EditorUndoStep.h"

#include <memory>

namespace VoEditor {

// An edit of the scene as one undo step: undo reverts the edit and selects what the step touched
// as it was before (undoing a deletion selects the restored points or shapes), redo applies it
// again and puts back the selection it left. Owns the edit.
class EditorEditStep : public EditorUndoStep {
public:
    EditorEditStep(EditorUndoHistory &history, EditorStatePtr before, EditorStatePtr after,
                   const QString &text, std::unique_ptr<EditorEdit> edit);

    bool isSelectionOnly() const override { return false; }
    void undo() override;
    void redo() override;

private:
    std::unique_ptr<EditorEdit> edit;
};

} // namespace VoEditor
