#include "EditorMove.h"

namespace VoEditor {

void EditorMove::addShape(const VoExample::AppShapeInterface &shape,
                          const std::vector<int> &points) {
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
    if (!moved.points.empty()) {
        moved.to = moved.from;
        shapes.push_back(std::move(moved));
    }
}

void EditorMove::setOffset(const QPointF &by) {
    offset = by;
    for (Shape &shape : shapes) {
        for (std::size_t at = 0; at < shape.from.size(); ++at) {
            shape.to[at] = shape.from[at] + by;
        }
    }
}

std::size_t EditorMove::getNbPoints() const noexcept {
    std::size_t count = 0;
    for (const Shape &shape : shapes) {
        count += shape.points.size();
    }
    return count;
}

void EditorMove::write(VoSession::Session &session, const Shape &shape,
                       const std::vector<QPointF> &positions) {
    VoExample::AppShapeInterface *live = session.findShape(shape.name);
    if (live == nullptr) {
        return;
    }
    for (std::size_t at = 0; at < shape.points.size(); ++at) {
        live->setPoint(shape.points[at], positions[at].x(), positions[at].y());
    }
}

void EditorMove::apply(VoSession::Session &session) const {
    for (const Shape &shape : shapes) {
        write(session, shape, shape.to);
    }
}

void EditorMove::revert(VoSession::Session &session) const {
    for (const Shape &shape : shapes) {
        write(session, shape, shape.from);
    }
}

} // namespace VoEditor
