#include "EditorSelectionStep.h"

#include "EditorUndoHistory.h"

#include <utility>

namespace VoEditor {

namespace {

QString textOf(const EditorSelectionState &after) {
    return QStringLiteral("Select ") + after.describe();
}

} // namespace

EditorSelectionStep::EditorSelectionStep(EditorUndoHistory &undoHistory, EditorStatePtr from,
                                         EditorStatePtr to)
    : EditorUndoStep(undoHistory, std::move(from), to, textOf(*to)) {}

void EditorSelectionStep::undo() {
    history.replaySelection(QStringLiteral("undo ") + text(), *before);
}

void EditorSelectionStep::redo() {
    if (!takeFirstRedo()) {
        history.replaySelection(QStringLiteral("redo ") + text(), *after);
    }
}

bool EditorSelectionStep::mergeWith(const QUndoCommand *other) {
    const auto *next = dynamic_cast<const EditorSelectionStep *>(other);
    if (next == nullptr || !changesPartsOnly() || !next->changesPartsOnly() ||
        !after->hasSameShapes(*next->before)) {
        return false;
    }
    after = next->after;
    setText(textOf(*after));
    setObsolete(before->isSameSelection(*after));
    return true;
}

} // namespace VoEditor
