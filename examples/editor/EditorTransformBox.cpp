#include "EditorTransformBox.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace VoEditor {

namespace {

// A point in the pivot's place on an axis: a scale along it is left alone.
const double minArm = 1e-12;

double ratio(double now, double was) { return std::abs(was) < minArm ? 1 : now / was; }

// The smallest rectangle holding the points, however flat; points must not be empty.
template <class Points> QRectF boundsOf(const Points &points) {
    double left = points.front().x();
    double right = left;
    double top = points.front().y();
    double bottom = top;
    for (const QPointF &point : points) {
        left = std::min(left, point.x());
        right = std::max(right, point.x());
        top = std::min(top, point.y());
        bottom = std::max(bottom, point.y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

} // namespace

void EditorTransformBox::surround(const std::vector<QPointF> &points) {
    shown = !points.empty();
    if (shown) {
        box = boundsOf(points);
        pivot = box.center();
    }
}

QPointF EditorTransformBox::gripPlace(int x, int y) const {
    const QPointF centre = box.center();
    return QPointF(centre.x() + x * box.width() / 2, centre.y() + y * box.height() / 2);
}

std::vector<QPointF> EditorTransformBox::scaleGrips(const EditorViewTransform &view,
                                                    const QTransform &transform) const {
    std::vector<QPointF> grips;
    for (int y = -1; y <= 1; ++y) {
        for (int x = -1; x <= 1; ++x) {
            if (x != 0 || y != 0) {
                grips.push_back(view.toView(transform.map(gripPlace(x, y))));
            }
        }
    }
    return grips;
}

// Above the top edge's middle, along the edge's normal as the transform turns it.
QPointF EditorTransformBox::rotationGrip(const EditorViewTransform &view,
                                         const QTransform &transform) const {
    const QPointF top = view.toView(transform.map(gripPlace(0, -1)));
    const QPointF centre = view.toView(transform.map(box.center()));
    const QLineF up(centre, top);
    if (up.length() <= 0) {
        return top - QPointF(0, rotationGap);
    }
    return top + (top - centre) * (rotationGap / up.length());
}

QPolygonF EditorTransformBox::outline(const EditorViewTransform &view,
                                      const QTransform &transform) const {
    QPolygonF corners;
    for (const QPointF &corner :
         {box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft(), box.topLeft()}) {
        corners << view.toView(transform.map(corner));
    }
    return corners;
}

// Every place drawn, taken one by one: a box of no width or height is a null rectangle, which a
// union of rectangles would leave out.
QRectF EditorTransformBox::reach(const EditorViewTransform &view,
                                 const QTransform &transform) const {
    QPolygonF places = outline(view, transform);
    for (const QPointF &grip : scaleGrips(view, transform)) {
        places << grip;
    }
    places << rotationGrip(view, transform) << view.toView(pivot);
    // The grips' and the pivot's cross's half width, and antialiasing.
    const double margin = 2 * gripSize + 2;
    return boundsOf(places).adjusted(-margin, -margin, margin, margin);
}

EditorTransformBox::Grip EditorTransformBox::gripAt(const EditorViewTransform &view,
                                                    const QPointF &at) const {
    if (!shown) {
        return Grip();
    }
    const double reachOf = gripSize + 2;
    if (QLineF(at, view.toView(pivot)).length() <= reachOf) {
        return {Grip::Pivot, 0, 0};
    }
    if (QLineF(at, rotationGrip(view)).length() <= reachOf) {
        return {Grip::Rotate, 0, 0};
    }
    for (int y = -1; y <= 1; ++y) {
        for (int x = -1; x <= 1; ++x) {
            const QPointF grip = view.toView(gripPlace(x, y));
            if ((x != 0 || y != 0) && std::abs(at.x() - grip.x()) <= reachOf &&
                std::abs(at.y() - grip.y()) <= reachOf) {
                return {Grip::Scale, x, y};
            }
        }
    }
    return Grip();
}

QTransform EditorTransformBox::aroundPivot(const QTransform &linear) const {
    return QTransform::fromTranslate(-pivot.x(), -pivot.y()) * linear *
           QTransform::fromTranslate(pivot.x(), pivot.y());
}

QTransform EditorTransformBox::transformFor(const Grip &grip, const QPointF &from,
                                            const QPointF &to, bool constrained) const {
    if (grip.kind == Grip::Rotate) {
        const double before = std::atan2(from.y() - pivot.y(), from.x() - pivot.x());
        double degrees = (std::atan2(to.y() - pivot.y(), to.x() - pivot.x()) - before) * 180 /
                         3.14159265358979323846;
        if (constrained) {
            degrees = std::round(degrees / angleStep) * angleStep;
        }
        return aroundPivot(QTransform().rotate(degrees));
    }
    if (grip.kind != Grip::Scale) {
        return QTransform();
    }
    // The grip's place follows the pointer: the drag moves it by to - from.
    const QPointF place = gripPlace(grip.x, grip.y);
    const QPointF moved = place + (to - from);
    double sx = grip.x != 0 ? ratio(moved.x() - pivot.x(), place.x() - pivot.x()) : 1;
    double sy = grip.y != 0 ? ratio(moved.y() - pivot.y(), place.y() - pivot.y()) : 1;
    if (constrained) {
        // One factor for both axes, the one that moved farther; an edge grip's for a side.
        const double both =
            grip.x == 0 ? sy
                        : (grip.y == 0 ? sx : (std::abs(sx - 1) >= std::abs(sy - 1) ? sx : sy));
        sx = sy = both;
    }
    return aroundPivot(QTransform::fromScale(sx, sy));
}

QTransform EditorTransformBox::flip(bool horizontally) const {
    return aroundPivot(QTransform::fromScale(horizontally ? -1 : 1, horizontally ? 1 : -1));
}

} // namespace VoEditor
