#pragma once

#include "Session.h"

#include "AppShapeInterface.h"

#include <QPointF>
#include <QTransform>

#include <string>
#include <vector>

namespace VoEditor {

// One move of points and handles, as one step to undo and redo: for each shape moved, by name, the
// indices of its points moved with their positions before and after, and those of its handles
// with their places along the gradient before and after. A drag, a burst of arrow keys or a
// transform makes one, however many events it took. Holds plain values only, no pointer into the
// scene, so it stays safe to keep after the shapes it names change: apply and revert look each
// shape up by name and skip a shape no longer live and an index no longer in range. Both write
// absolute values, so that applying twice is applying once, and cost the points and handles
// moved, whatever the size of the scene or of the selection. Plain value.
class EditorMove {
public:
    struct Shape {
        std::string name;
        std::vector<int> points;
        std::vector<QPointF> from;
        std::vector<QPointF> to;
        std::vector<int> handles;
        std::vector<double> handlesFrom;
        std::vector<double> handlesTo;
        // Handle places per scene unit across: the handles' line spans the curve's box, so a
        // handle follows the pointer as a point does.
        double handleScale = 0;
    };

    // Adds the shape's points and handles at these indices, where they are now, to those moved;
    // indices the shape does not hold are left out. A shape asked to move points none of which has
    // a position (a single-valued curve has no input per point) is named in getSkipped().
    // boxWidth is the width of the curve's box in scene units, which the handles' line spans.
    void addShape(const VoExample::AppShapeInterface &shape, const std::vector<int> &points,
                  const std::vector<int> &handles = {}, double boxWidth = 0);
    // Every point moved lies at its position before plus offset, in scene units; every handle
    // moves along its gradient by offset's x across the box, kept from 0 to 1.
    void setOffset(const QPointF &offset);
    // Every point moved lies at its position before mapped by transform; handles stay. A
    // transform that would take a point past the doubles' range is refused: false, and the
    // positions after stay as they were.
    bool setTransform(const QTransform &transform);
    const QPointF &getOffset() const noexcept { return offset; }
    // The points' positions before, all shapes together.
    std::vector<QPointF> getPointsBefore() const;
    const std::vector<Shape> &getShapes() const noexcept { return shapes; }
    const std::vector<std::string> &getSkipped() const noexcept { return skipped; }
    bool isEmpty() const noexcept { return shapes.empty(); }
    // Some point or handle is to lie elsewhere than it did.
    bool changes() const;
    std::size_t getNbPoints() const noexcept;
    std::size_t getNbHandles() const noexcept;

    // Writes the positions after (before) into the points' x and y inputs and the handles'
    // position inputs in session's graph.
    void apply(VoSession::Session &session) const;
    void revert(VoSession::Session &session) const;

private:
    static void write(VoSession::Session &session, const Shape &shape,
                      const std::vector<QPointF> &positions, const std::vector<double> &places);

    std::vector<Shape> shapes;
    std::vector<std::string> skipped;
    QPointF offset;
};

} // namespace VoEditor
