#include "EditorMove.h"

#include <algorithm>
#include <cmath>

namespace VoEditor {

void EditorMove::addShape(const VoExample::AppShapeInterface &shape, const std::vector<int> &points,
                          const std::vector<int> &handles, double boxWidth) {
    Shape moved;
    moved.name = shape.getName();
    for (const int index : points) {
        double x = 0;
        double y = 0;
        if (shape.getPoint(index, x, y)) {
            moved.points.push_back(index);
            moved.from.emplace_back(x, y);
        }
    }
    if (!points.empty() && moved.points.empty() && shape.hasSingleValuedPoints()) {
        skipped.push_back(moved.name);
    }
    for (const int index : handles) {
        if (index >= 0 && index < shape.getNbHandles()) {
            moved.handles.push_back(index);
            moved.handlesFrom.push_back(shape.getHandle(index));
        }
    }
    moved.handleScale = boxWidth > 0 ? 1 / boxWidth : 0;
    if (!moved.points.empty() || !moved.handles.empty()) {
        moved.to = moved.from;
        moved.handlesTo = moved.handlesFrom;
        shapes.push_back(std::move(moved));
    }
}

void EditorMove::setOffset(const QPointF &by) {
    offset = by;
    for (Shape &shape : shapes) {
        for (std::size_t at = 0; at < shape.from.size(); ++at) {
            shape.to[at] = shape.from[at] + by;
        }
        for (std::size_t at = 0; at < shape.handlesFrom.size(); ++at) {
            shape.handlesTo[at] =
                std::clamp(shape.handlesFrom[at] + by.x() * shape.handleScale, 0.0, 1.0);
        }
    }
}

bool EditorMove::setTransform(const QTransform &transform) {
    std::vector<std::vector<QPointF>> mapped;
    mapped.reserve(shapes.size());
    for (const Shape &shape : shapes) {
        mapped.emplace_back();
        for (const QPointF &from : shape.from) {
            const QPointF to = transform.map(from);
            if (!std::isfinite(to.x()) || !std::isfinite(to.y())) {
                return false;
            }
            mapped.back().push_back(to);
        }
    }
    for (std::size_t at = 0; at < shapes.size(); ++at) {
        shapes[at].to = std::move(mapped[at]);
    }
    offset = QPointF(transform.dx(), transform.dy());
    return true;
}

std::vector<QPointF> EditorMove::getPointsBefore() const {
    std::vector<QPointF> points;
    for (const Shape &shape : shapes) {
        points.insert(points.end(), shape.from.begin(), shape.from.end());
    }
    return points;
}

bool EditorMove::changes() const {
    return std::any_of(shapes.begin(), shapes.end(), [](const Shape &shape) {
        return shape.to != shape.from || shape.handlesTo != shape.handlesFrom;
    });
}

std::size_t EditorMove::getNbPoints() const noexcept {
    std::size_t count = 0;
    for (const Shape &shape : shapes) {
        count += shape.points.size();
    }
    return count;
}

std::size_t EditorMove::getNbHandles() const noexcept {
    std::size_t count = 0;
    for (const Shape &shape : shapes) {
        count += shape.handles.size();
    }
    return count;
}

void EditorMove::write(VoSession::Session &session, const Shape &shape,
                       const std::vector<QPointF> &positions, const std::vector<double> &places) {
    VoExample::AppShapeInterface *live = session.findShape(shape.name);
    if (live == nullptr) {
        return;
    }
    for (std::size_t at = 0; at < shape.points.size(); ++at) {
        live->setPoint(shape.points[at], positions[at].x(), positions[at].y());
    }
    for (std::size_t at = 0; at < shape.handles.size(); ++at) {
        live->setHandle(shape.handles[at], places[at]);
    }
}

void EditorMove::apply(VoSession::Session &session) const {
    for (const Shape &shape : shapes) {
        write(session, shape, shape.to, shape.handlesTo);
    }
}

void EditorMove::revert(VoSession::Session &session) const {
    for (const Shape &shape : shapes) {
        write(session, shape, shape.from, shape.handlesFrom);
    }
}

} // namespace VoEditor
