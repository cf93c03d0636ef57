#include "EditorPartsDeletion.h"

#include "SeSelectionBatch.h"

#include "foundation/Vector.h"

#include <algorithm>
#include <functional>

namespace VoEditor {

namespace {

// The indices in [0, count), highest first, each once.
std::vector<int> existing(std::vector<int> indices, int count) {
    indices.erase(std::remove_if(indices.begin(), indices.end(),
                                 [count](int index) { return index < 0 || index >= count; }),
                  indices.end());
    std::sort(indices.begin(), indices.end(), std::greater<int>());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

} // namespace

EditorPartsDeletion::EditorPartsDeletion(VoSession::Session &editorSession,
                                         const std::string &shapeName,
                                         const std::vector<int> &selectedPoints,
                                         const std::vector<int> &selectedHandles)
    : session(editorSession), shape(shapeName) {
    const VoExample::AppShapeInterface &live = liveShape(session, shape);
    points = existing(selectedPoints, live.getNbPoints());
    handles = existing(selectedHandles, live.getNbHandles());
    emptyPointsFirst = !selectedPoints.empty() && points.size() == selectedPoints.size();
}

void EditorPartsDeletion::apply() {
    VoExample::AppShapeInterface &live = liveShape(session, shape);
    VoExample::AppEditorController &controller = session.getController();
    Vo::SeSelectionBatch batch(controller.getShapeSelector());
    if (emptyPointsFirst) {
        controller.getShapeSelector()->selectPoints(Vo::Vector<int>());
    }
    for (const int index : points) {
        check(controller.deletePoint(live, index), "point", shape, index);
    }
    for (const int index : handles) {
        check(controller.deleteHandle(live, index), "handle", shape, index);
    }
    batch.commit();
}

void EditorPartsDeletion::revert() {
    VoExample::AppShapeInterface &live = liveShape(session, shape);
    VoExample::AppEditorController &controller = session.getController();
    Vo::SeSelectionBatch batch(controller.getShapeSelector());
    for (auto index = points.rbegin(); index != points.rend(); ++index) {
        check(controller.insertPoint(live, *index), "point", shape, *index);
    }
    for (auto index = handles.rbegin(); index != handles.rend(); ++index) {
        check(controller.insertHandle(live, *index), "handle", shape, *index);
    }
    batch.commit();
}

} // namespace VoEditor
