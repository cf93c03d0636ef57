#pragma once

#include "Session.h"

#include "AppShapeInterface.h"

#include <QPointF>

#include <string>
#include <vector>

namespace VoEditor {

// One move of points, as one step to undo and redo: for each shape moved, by name, the indices of
// its points moved with their positions before and after. A drag or a burst of arrow keys makes
// one, however many events it took. Holds plain values only, no pointer into the scene, so it
// stays safe to keep after the shapes it names change: apply and revert look each shape up by
// name and skip a shape no longer live and an index no longer in range. Both write absolute
// values, so that applying twice is applying once, and cost the points moved, whatever the size
// of the scene or of the selection. Plain value.
class EditorMove {
public:
    struct Shape {
        std::string name;
        std::vector<int> points;
        std::vector<QPointF> from;
        std::vector<QPointF> to;
    };

    // Adds the shape's points at these indices, where they are now, to the points moved; indices
    // the shape does not hold (a single-valued curve holds none) are left out.
    void addShape(const VoExample::AppShapeInterface &shape, const std::vector<int> &points);
    // Every point moved lies at its position before plus offset, in scene units.
    void setOffset(const QPointF &offset);
    const QPointF &getOffset() const noexcept { return offset; }
    const std::vector<Shape> &getShapes() const noexcept { return shapes; }
    bool isEmpty() const noexcept { return shapes.empty(); }
    std::size_t getNbPoints() const noexcept;

    // Writes the positions after (before) into the points' x and y inputs in session's graph.
    void apply(VoSession::Session &session) const;
    void revert(VoSession::Session &session) const;

private:
    static void write(VoSession::Session &session, const Shape &shape,
                      const std::vector<QPointF> &positions);

    std::vector<Shape> shapes;
    QPointF offset;
};

} // namespace VoEditor
