#pragma once

#include "EditorEdit.h"

#include "Session.h"

#include <string>

namespace VoEditor {

// A point inserted into one shape at an index, then renumbered in the selection
// (AppEditorController::insertPoint); revert() deletes it again. Keeps the shape's name and the
// index; borrows the session.
class EditorPointInsertion : public EditorEdit {
public:
    EditorPointInsertion(VoSession::Session &session, std::string shape, int index);

    void apply() override;
    void revert() override;

private:
    VoSession::Session &session;
    std::string shape;
    int index;
};

} // namespace VoEditor
