#include "EditorGeometry.h"

#include "SessionPlacement.h"

#include <QLineF>

#include <algorithm>
#include <utility>

namespace VoEditor {

namespace {

// A Catmull-Rom segment's control points lie a sixth of the neighbours' span from its ends, so
// the curve stays within a third of the longest segment of the points' box.
const double bulge = 1.0 / 3;
// A box for a lone point: never empty, so that unions keep it.
const double minGrowth = 0.5;

QRectF around(const QPointF &point) { return QRectF(point, point); }

} // namespace

void EditorGeometry::resize(int nbSlots) { shapes.resize(static_cast<std::size_t>(nbSlots)); }

void EditorGeometry::read(int slot, int nbSlots, const VoExample::AppShapeInterface *shape) {
    if (getNbSlots() <= slot) {
        resize(slot + 1);
    }
    Shape read;
    if (shape != nullptr) {
        const int count = shape->getNbPoints();
        read.points.reserve(static_cast<std::size_t>(count));
        for (int index = 0; index < count; ++index) {
            double x = 0;
            double y = 0;
            if (!shape->getPoint(index, x, y)) {
                const auto placed =
                    VoSession::SessionPlacement::getPoint(slot, nbSlots, index, count);
                x = placed.x;
                y = placed.y;
            }
            read.points.emplace_back(x, y);
        }
        for (int index = 0; index < shape->getNbHandles(); ++index) {
            read.handles.push_back(shape->getHandle(index));
        }
    }
    setShape(slot, std::move(read));
}

void EditorGeometry::setShape(int slot, Shape shape) {
    if (getNbSlots() <= slot) {
        resize(slot + 1);
    }
    shapes[static_cast<std::size_t>(slot)] = std::move(shape);
    settle(slot);
}

void EditorGeometry::settle(int slot) {
    Shape &shape = shapes[static_cast<std::size_t>(slot)];
    if (shape.points.empty()) {
        shape.curveBounds = QRectF();
        shape.longestSegment = shape.meanSpacing = 0;
        return;
    }
    double left = shape.points.front().x();
    double right = left;
    double top = shape.points.front().y();
    double bottom = top;
    double longest = 0;
    double length = 0;
    for (std::size_t index = 0; index < shape.points.size(); ++index) {
        const QPointF &point = shape.points[index];
        left = std::min(left, point.x());
        right = std::max(right, point.x());
        top = std::min(top, point.y());
        bottom = std::max(bottom, point.y());
        if (index > 0) {
            const double segment = QLineF(shape.points[index - 1], point).length();
            longest = std::max(longest, segment);
            length += segment;
        }
    }
    const double grow = std::max(longest * bulge, minGrowth);
    shape.curveBounds =
        QRectF(QPointF(left, top), QPointF(right, bottom)).adjusted(-grow, -grow, grow, grow);
    shape.longestSegment = longest;
    shape.meanSpacing = length / static_cast<double>(shape.points.size());
}

void EditorGeometry::movePoint(int slot, int index, const QPointF &to) {
    Shape &shape = shapes[static_cast<std::size_t>(slot)];
    const auto at = static_cast<std::size_t>(index);
    shape.points[at] = to;
    for (const std::size_t neighbour : {at - 1, at + 1}) {
        if (neighbour < shape.points.size()) { // at - 1 wraps past the end for the first
            shape.longestSegment =
                std::max(shape.longestSegment, QLineF(shape.points[neighbour], to).length());
        }
    }
    const double grow = std::max(shape.longestSegment * bulge, minGrowth);
    shape.curveBounds = shape.curveBounds.united(around(to).adjusted(-grow, -grow, grow, grow));
}

QRectF EditorGeometry::getBounds() const {
    QRectF bounds;
    for (const Shape &shape : shapes) {
        if (!shape.points.empty()) {
            bounds = bounds.isNull() ? shape.curveBounds : bounds.united(shape.curveBounds);
        }
    }
    return bounds;
}

std::size_t EditorGeometry::getNbPoints() const noexcept {
    std::size_t total = 0;
    for (const Shape &shape : shapes) {
        total += shape.points.size();
    }
    return total;
}

} // namespace VoEditor
