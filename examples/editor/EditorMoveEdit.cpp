#include "EditorMoveEdit.h"

#include "EditorDocument.h"

namespace VoEditor {

void EditorMoveEdit::apply() { document.applyMove(move); }

void EditorMoveEdit::revert() { document.revertMove(move); }

} // namespace VoEditor
