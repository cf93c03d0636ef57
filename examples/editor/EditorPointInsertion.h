#pragma once

#include "EditorEdit.h"

#include "Session.h"

#include <QPointF>

#include <string>

namespace VoEditor {

// A point inserted into one shape at an index, then renumbered in the selection
// (AppEditorController::insertPoint), midway between its neighbours or at a place given; revert()
// deletes it again. Keeps the shape's name, the index and the place; borrows the session.
class EditorPointInsertion : public EditorEdit {
public:
    // at: where the point goes, in scene units; null for midway (a single-valued curve has no
    // place for it either way).
    EditorPointInsertion(VoSession::Session &session, std::string shape, int index,
                         const QPointF *at = nullptr);

    void apply() override;
    void revert() override;

private:
    VoSession::Session &session;
    std::string shape;
    int index;
    bool placed;
    QPointF place;
};

} // namespace VoEditor
