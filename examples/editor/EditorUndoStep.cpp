#include "EditorUndoStep.h"

#include <utility>

namespace VoEditor {

EditorUndoStep::EditorUndoStep(EditorUndoHistory &undoHistory, EditorStatePtr from,
                               EditorStatePtr to, const QString &text)
    : history(undoHistory), before(std::move(from)), after(std::move(to)) {
    setText(text);
}

bool EditorUndoStep::takeFirstRedo() noexcept {
    const bool first = !pushed;
    pushed = true;
    return first;
}

} // namespace VoEditor
