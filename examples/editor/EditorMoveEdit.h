#pragma once

#include "EditorEdit.h"
#include "EditorMove.h"

namespace VoEditor {

class EditorDocument;

// A drag or a burst of arrow keys (EditorMove) as an edit of the undo stack: apply writes the
// positions after, revert those before, through the document, so that the canvas and its index
// follow. Owns the move; borrows the document.
class EditorMoveEdit : public EditorEdit {
public:
    EditorMoveEdit(EditorDocument &document, EditorMove move)
        : document(document), move(std::move(move)) {}

    void apply() override;
    void revert() override;

private:
    EditorDocument &document;
    EditorMove move;
};

} // namespace VoEditor
