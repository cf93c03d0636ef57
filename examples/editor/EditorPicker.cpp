#include "EditorPicker.h"

#include <QLineF>

#include <algorithm>
#include <array>

namespace VoEditor {

namespace {

QPointF bezierAt(const std::array<QPointF, 4> &span, double t) {
    const double u = 1 - t;
    return u * u * u * span[0] + 3 * u * u * t * span[1] + 3 * u * t * t * span[2] +
           t * t * t * span[3];
}

// The nearest place to at on the segment from `from` to `to`, from 0 to 1.
double nearestAlong(const QPointF &at, const QPointF &from, const QPointF &to) {
    const QPointF along = to - from;
    const double length2 = QPointF::dotProduct(along, along);
    return length2 <= 0 ? 0 : std::clamp(QPointF::dotProduct(at - from, along) / length2, 0.0, 1.0);
}

// The span, flattened into pieces a few pixels long: the parameter of its place nearest to at,
// and how far that place is.
std::pair<double, double> nearestOnSpan(const std::array<QPointF, 4> &span, const QPointF &at) {
    const double length = QLineF(span[0], span[1]).length() + QLineF(span[1], span[2]).length() +
                          QLineF(span[2], span[3]).length();
    // Compared as a double: points far apart make a length no int holds, or an infinite one.
    const int pieces = length < 128 ? std::max(static_cast<int>(length / 4), 1) : 32;
    std::pair<double, double> best{0, QLineF(at, span[0]).length()};
    QPointF from = span[0];
    for (int piece = 1; piece <= pieces; ++piece) {
        const QPointF to = bezierAt(span, static_cast<double>(piece) / pieces);
        const double t = nearestAlong(at, from, to);
        const double distance = QLineF(at, from + t * (to - from)).length();
        if (distance < best.second) {
            best = {(piece - 1 + t) / pieces, distance};
        }
        from = to;
    }
    return best;
}

} // namespace

EditorPicker::EditorPicker(const EditorShapeTable &shapes, const EditorGeometry &positions,
                           const EditorSpatialIndex &points, const EditorViewTransform &transform)
    : table(shapes), geometry(positions), index(points), view(transform) {}

bool EditorPicker::findPoint(const QPointF &at, bool primaryOnly, int &slot, int &found) const {
    const int only = primaryOnly ? table.getPrimarySlot() : -1;
    EditorSpatialIndex::Entry entry{};
    if ((primaryOnly && only < 0) ||
        !index.findNearest(view.toScene(at), reach / view.getScale(), only, entry)) {
        return false;
    }
    slot = entry.slot;
    found = entry.index;
    return true;
}

std::vector<int> EditorPicker::findPrimaryPointsIn(const QRectF &dragged) const {
    const int primary = table.getPrimarySlot();
    std::vector<int> inside;
    if (primary < 0) {
        return inside;
    }
    const std::vector<EditorSpatialIndex::Entry> entries =
        index.findIn(view.toScene(dragged), primary);
    inside.reserve(entries.size());
    for (const EditorSpatialIndex::Entry &entry : entries) {
        inside.push_back(entry.index);
    }
    std::sort(inside.begin(), inside.end());
    return inside;
}

std::vector<int> EditorPicker::findPrimaryPointsIn(const QPolygonF &outline) const {
    std::vector<int> inside;
    const int primary = table.getPrimarySlot();
    const EditorLayout drawn = layout();
    for (const int point : findPrimaryPointsIn(outline.boundingRect())) {
        if (outline.containsPoint(drawn.getPoint(primary, point, 0), Qt::OddEvenFill)) {
            inside.push_back(point);
        }
    }
    return inside;
}

EditorPicker::Hit EditorPicker::findHandle(const QPointF &at, bool primaryOnly) const {
    const EditorLayout drawn = layout();
    Hit hit;
    double best = reach;
    const int primary = table.getPrimarySlot();
    for (int slot = primaryOnly ? primary : 0;
         slot >= 0 && slot < table.getNbSlots() && (!primaryOnly || slot == primary); ++slot) {
        const EditorShapeView &shape = table.getView(slot);
        const QRectF line = drawn.getHandleArea(slot).adjusted(-reach, -reach, reach, reach);
        if (shape.shape == nullptr || shape.nbHandles == 0 || !line.contains(at)) {
            continue;
        }
        for (int handle = 0; handle < shape.nbHandles; ++handle) {
            const double distance =
                QLineF(at, drawn.getHandle(slot, handle, shape.nbHandles)).length();
            if (distance <= best) {
                best = distance;
                hit = {Hit::Handle, shape.shape, slot, handle, shape.nbHandles};
            }
        }
    }
    return hit;
}

// A segment within reach of at has both ends within its length and the reach of it.
std::vector<int> EditorPicker::spansNear(int slot, const QPointF &at) const {
    const EditorGeometry::Shape &shape = geometry.getShape(slot);
    const int count = static_cast<int>(shape.points.size());
    const double radius = shape.longestSegment + reach / view.getScale();
    const QPointF centre = view.toScene(at);
    std::vector<int> spans;
    for (const EditorSpatialIndex::Entry &entry : index.findIn(
             QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), slot)) {
        for (const int first : {entry.index - 1, entry.index}) {
            if (first >= 0 && (first + 1 < count || count == 1)) {
                spans.push_back(first);
            }
        }
    }
    std::sort(spans.begin(), spans.end());
    spans.erase(std::unique(spans.begin(), spans.end()), spans.end());
    return spans;
}

EditorPicker::CurvePlace EditorPicker::findCurvePlace(int slot, const QPointF &at) const {
    const EditorLayout drawn = layout();
    CurvePlace place;
    double best = reach;
    for (const int first : spansNear(slot, at)) {
        const std::array<QPointF, 4> span = drawn.getSpan(slot, first);
        const auto [along, distance] = nearestOnSpan(span, at);
        if (distance <= best) {
            best = distance;
            place = {first, along, view.toScene(bezierAt(span, along))};
        }
    }
    return place;
}

std::vector<VoExample::AppShapeInterface *> EditorPicker::findShapesIn(const QRectF &band) const {
    const EditorLayout drawn = layout();
    std::vector<VoExample::AppShapeInterface *> inside;
    for (int slot = 0; slot < table.getNbSlots(); ++slot) {
        const EditorShapeView &shape = table.getView(slot);
        if (shape.shape != nullptr && shape.nbPoints > 0 &&
            band.contains(drawn.getCurveArea(slot))) {
            inside.push_back(shape.shape);
        }
    }
    return inside;
}

std::vector<VoExample::AppShapeInterface *>
EditorPicker::findShapesIn(const QPolygonF &outline) const {
    const EditorLayout drawn = layout();
    const QRectF bounds = outline.boundingRect();
    std::vector<VoExample::AppShapeInterface *> inside;
    for (int slot = 0; slot < table.getNbSlots(); ++slot) {
        const EditorShapeView &shape = table.getView(slot);
        bool all = shape.shape != nullptr && shape.nbPoints > 0 &&
                   bounds.contains(drawn.getCurveArea(slot));
        for (int point = 0; all && point < shape.nbPoints; ++point) {
            all =
                outline.containsPoint(drawn.getPoint(slot, point, shape.nbPoints), Qt::OddEvenFill);
        }
        if (all) {
            inside.push_back(shape.shape);
        }
    }
    return inside;
}

std::vector<int> EditorPicker::findCurvesNear(const QPointF &at) const {
    const EditorLayout drawn = layout();
    std::vector<int> near;
    for (int slot = 0; slot < table.getNbSlots(); ++slot) {
        if (table.getView(slot).shape != nullptr &&
            drawn.getCurveArea(slot).adjusted(-reach, -reach, reach, reach).contains(at)) {
            near.push_back(slot);
        }
    }
    return near;
}

// The shape drawn last lies on top: the primary one, then the selected ones, then the others,
// each in descending slot order.
EditorPicker::Hit EditorPicker::findCurve(const QPointF &at) const {
    const EditorLayout drawn = layout();
    for (const int rank : {2, 1, 0}) {
        for (int slot = table.getNbSlots() - 1; slot >= 0; --slot) {
            const EditorShapeView &shape = table.getView(slot);
            const int drawnRank = shape.primary ? 2 : (shape.selected ? 1 : 0);
            if (shape.shape != nullptr && drawnRank == rank &&
                drawn.getCurveArea(slot).adjusted(-reach, -reach, reach, reach).contains(at) &&
                findCurvePlace(slot, at).index >= 0) {
                return {Hit::Shape, shape.shape, slot, -1, shape.nbPoints};
            }
        }
    }
    return Hit();
}

EditorPicker::Hit EditorPicker::hitTest(const QPointF &at, bool partsOfPrimaryOnly) const {
    int slot = -1;
    int found = -1;
    if (findPoint(at, partsOfPrimaryOnly, slot, found)) {
        const EditorShapeView &shape = table.getView(slot);
        return {Hit::Point, shape.shape, slot, found, shape.nbPoints};
    }
    const Hit handle = findHandle(at, partsOfPrimaryOnly);
    return handle.kind != Hit::Nothing ? handle : findCurve(at);
}

} // namespace VoEditor
