#include "EditorGeometry.h"

#include "SessionPlacement.h"

#include <QLineF>

#include <algorithm>
#include <atomic>
#include <initializer_list>
#include <utility>

namespace VoEditor {

namespace {

// The last revision given to a shape; shared by every geometry, so that a geometry made afresh
// never gives a shape a revision an earlier one had.
std::atomic<std::uint64_t> lastRevision{0};

std::uint64_t nextRevision() { return ++lastRevision; }

// A box for a lone point: never empty, so that unions keep it.
const double minGrowth = 0.5;

// The box of the span from point index to index + 1 as the smooth curve draws it: its ends and
// its two control points, between which the curve stays (EditorLayout::getSpan).
QRectF spanBox(const std::vector<QPointF> &points, std::size_t index) {
    const std::size_t last = points.size() - 1;
    const auto at = [&](std::size_t wanted, int offset) {
        const auto clamped = static_cast<std::size_t>(std::clamp<long long>(
            static_cast<long long>(wanted) + offset, 0, static_cast<long long>(last)));
        return points[clamped];
    };
    const QPointF from = at(index, 0);
    const QPointF to = at(index, 1);
    const QPointF first = from + (to - at(index, -1)) / 6;
    const QPointF second = to - (at(index, 2) - from) / 6;
    const double left = std::min({from.x(), to.x(), first.x(), second.x()});
    const double right = std::max({from.x(), to.x(), first.x(), second.x()});
    const double top = std::min({from.y(), to.y(), first.y(), second.y()});
    const double bottom = std::max({from.y(), to.y(), first.y(), second.y()});
    return QRectF(QPointF(left, top), QPointF(right, bottom))
        .adjusted(-minGrowth, -minGrowth, minGrowth, minGrowth);
}

} // namespace

void EditorGeometry::resize(int nbSlots) { shapes.resize(static_cast<std::size_t>(nbSlots)); }

void EditorGeometry::read(int slot, int nbSlots, const VoExample::AppShapeInterface *shape) {
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

// A shape read again as it was keeps its revision: what was drawn of it still holds.
void EditorGeometry::setShape(int slot, Shape shape) {
    if (getNbSlots() <= slot) {
        resize(slot + 1);
    }
    Shape &kept = shapes[static_cast<std::size_t>(slot)];
    const Shape before = std::exchange(kept, std::move(shape));
    settle(slot);
    if (kept.points == before.points && kept.handles == before.handles &&
        kept.curveBounds == before.curveBounds && kept.longestSegment == before.longestSegment &&
        kept.meanSpacing == before.meanSpacing) {
        kept.revision = before.revision;
    }
}

void EditorGeometry::settle(int slot) {
    Shape &shape = shapes[static_cast<std::size_t>(slot)];
    shape.revision = nextRevision();
    shape.curveBounds = QRectF();
    shape.longestSegment = shape.meanSpacing = 0;
    if (shape.points.empty()) {
        return;
    }
    double left = shape.points.front().x();
    double right = left;
    double top = shape.points.front().y();
    double bottom = top;
    double length = 0;
    QPointF previous = shape.points.front(); // the first point's segment is empty
    for (std::size_t index = 0; index < shape.points.size(); ++index) {
        const QRectF span = spanBox(shape.points, index);
        left = std::min(left, span.left());
        right = std::max(right, span.right());
        top = std::min(top, span.top());
        bottom = std::max(bottom, span.bottom());
        const double segment = QLineF(previous, shape.points[index]).length();
        shape.longestSegment = std::max(shape.longestSegment, segment);
        length += segment;
        previous = shape.points[index];
    }
    shape.curveBounds = QRectF(QPointF(left, top), QPointF(right, bottom));
    shape.meanSpacing = length / static_cast<double>(shape.points.size());
}

// The spans that end within two points of the moved one change their control points.
void EditorGeometry::movePoint(int slot, int index, const QPointF &to) {
    Shape &shape = shapes[static_cast<std::size_t>(slot)];
    const auto at = static_cast<std::size_t>(index);
    shape.points[at] = to;
    shape.revision = nextRevision();
    for (const std::size_t neighbour : {at - 1, at + 1}) {
        if (neighbour < shape.points.size()) { // at - 1 wraps past the end for the first
            shape.longestSegment =
                std::max(shape.longestSegment, QLineF(shape.points[neighbour], to).length());
        }
    }
    for (std::size_t span = at < 2 ? 0 : at - 2; span <= at + 1 && span < shape.points.size();
         ++span) {
        shape.curveBounds = shape.curveBounds.united(spanBox(shape.points, span));
    }
}

void EditorGeometry::moveHandle(int slot, int index, double place) {
    Shape &shape = shapes[static_cast<std::size_t>(slot)];
    shape.handles[static_cast<std::size_t>(index)] = place;
    shape.revision = nextRevision();
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
