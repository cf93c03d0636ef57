#include "EditorUndoStep.h"

namespace VoEditor {

EditorUndoStep::EditorUndoStep(EditorUndoHistory &undoHistory, const EditorSelectionState &from,
                               const EditorSelectionState &to, const QString &text)
    : history(undoHistory), before(from), after(to) {
    setText(text);
}

bool EditorUndoStep::takeFirstRedo() noexcept {
    const bool first = !pushed;
    pushed = true;
    return first;
}

} // namespace VoEditor
