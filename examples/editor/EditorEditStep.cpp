#include "EditorEditStep.h"

#include "EditorUndoHistory.h"

#include <utility>

namespace VoEditor {

EditorEditStep::EditorEditStep(EditorUndoHistory &undoHistory, EditorStatePtr from,
                               EditorStatePtr to, const QString &text,
                               std::unique_ptr<EditorEdit> made)
    : EditorUndoStep(undoHistory, std::move(from), std::move(to), text), edit(std::move(made)) {}

// The layer first: the edit works on the active layer's shapes.
void EditorEditStep::undo() {
    history.replayEdit(QStringLiteral("undo ") + text(), *before, [this] { edit->revert(); });
}

void EditorEditStep::redo() {
    if (!takeFirstRedo()) {
        history.replayEdit(QStringLiteral("redo ") + text(), *after, [this] { edit->apply(); });
    }
}

} // namespace VoEditor
