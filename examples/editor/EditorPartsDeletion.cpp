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
    pointPlaces.clear();
    for (const int index : points) {
        double x = 0;
        double y = 0;
        live.getPoint(index, x, y);
        pointPlaces.push_back(x);
        pointPlaces.push_back(y);
    }
    handlePlaces.clear();
    for (const int index : handles) {
        handlePlaces.push_back(live.getHandle(index));
    }
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
    for (std::size_t at = points.size(); at-- > 0;) {
        check(controller.insertPoint(live, points[at]), "point", shape, points[at]);
        live.setPoint(points[at], pointPlaces[2 * at], pointPlaces[2 * at + 1]);
    }
    for (std::size_t at = handles.size(); at-- > 0;) {
        check(controller.insertHandle(live, handles[at]), "handle", shape, handles[at]);
        live.setHandle(handles[at], handlePlaces[at]);
    }
    batch.commit();
}

} // namespace VoEditor
