#pragma once

#include "EditorEdit.h"

#include "Session.h"

#include <string>
#include <vector>

namespace VoEditor {

// Points and handles leaving one shape: each removed from the graph, highest index first, then
// renumbered in the selection (AppEditorController::deletePoint, deleteHandle), all in one batch:
// one change of the selection. revert() inserts them again at their indices, lowest first, in one
// batch. Keeps the shape's name and the indices that exist; borrows the session.
class EditorPartsDeletion : public EditorEdit {
public:
    // points and handles as selected; indices the shape does not have are left out.
    EditorPartsDeletion(VoSession::Session &session, const std::string &shape,
                        const std::vector<int> &points, const std::vector<int> &handles);

    void apply() override;
    void revert() override;
    // Those that go, highest first.
    const std::vector<int> &getPoints() const noexcept { return points; }
    const std::vector<int> &getHandles() const noexcept { return handles; }

private:
    VoSession::Session &session;
    std::string shape;
    std::vector<int> points;
    std::vector<int> handles;
    // Where the points (x, y in turn) and handles that go stood, read as they go, in the order of
    // the indices above: what revert puts back.
    std::vector<double> pointPlaces;
    std::vector<double> handlePlaces;
    // Every selected point exists: they leave the selection first, in the same batch, so that no
    // renumbering has selected points to copy; the selection ends the same.
    bool emptyPointsFirst;
};

} // namespace VoEditor
