#include "EditorSnapper.h"

#include <QLineF>

#include <cmath>

namespace VoEditor {

double EditorSnapper::gridStep(const EditorViewTransform &view) {
    const double least = minGridPixels / view.getScale();
    const double decade = std::pow(10.0, std::floor(std::log10(least)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * decade >= least) {
            return factor * decade;
        }
    }
    return 10 * decade;
}

void EditorSnapper::startDrag(const EditorMove &move, const EditorShapeTable &table) {
    moving.clear();
    movingSlots.clear();
    for (const EditorMove::Shape &shape : move.getShapes()) {
        const EditorShapeView *view = table.find(shape.name);
        if (view == nullptr) {
            continue;
        }
        movingSlots.insert(view->slot);
        for (const int point : shape.points) {
            moving.insert(keyOf(view->slot, point));
        }
    }
}

bool EditorSnapper::snapToPoint(const QPointF &scene, const EditorSpatialIndex &index,
                                const EditorViewTransform &view, Snap &found) const {
    const double radius = reach / view.getScale();
    double best = radius;
    for (const EditorSpatialIndex::Entry &entry :
         index.findIn(QRectF(scene.x() - radius, scene.y() - radius, 2 * radius, 2 * radius), -1)) {
        const double distance = QLineF(scene, entry.at).length();
        if (distance <= best && moving.count(keyOf(entry.slot, entry.index)) == 0) {
            best = distance;
            found = {Snap::Point, entry.at};
        }
    }
    return found.kind == Snap::Point;
}

bool EditorSnapper::snapToCurve(const QPointF &scene, const EditorPicker &picker,
                                const EditorViewTransform &view, Snap &found) const {
    const QPointF at = view.toView(scene);
    double best = EditorPicker::reach;
    for (const int slot : picker.findCurvesNear(at)) {
        if (movingSlots.count(slot) != 0) {
            continue;
        }
        const EditorPicker::CurvePlace place = picker.findCurvePlace(slot, at);
        const double distance = QLineF(at, view.toView(place.at)).length();
        if (place.index >= 0 && distance <= best) {
            best = distance;
            found = {Snap::Curve, place.at};
        }
    }
    return found.kind == Snap::Curve;
}

EditorSnapper::Snap EditorSnapper::snap(const QPointF &scene, const EditorPicker &picker,
                                        const EditorSpatialIndex &index,
                                        const EditorViewTransform &view) const {
    Snap found;
    if (points &&
        (snapToPoint(scene, index, view, found) || snapToCurve(scene, picker, view, found))) {
        return found;
    }
    if (grid) {
        const double step = gridStep(view);
        found = {Snap::Grid,
                 QPointF(std::round(scene.x() / step) * step, std::round(scene.y() / step) * step)};
    }
    return found;
}

} // namespace VoEditor
