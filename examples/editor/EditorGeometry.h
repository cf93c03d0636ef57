#pragma once

#include "AppShapeInterface.h"

#include <QPointF>
#include <QRectF>

#include <cstdint>
#include <vector>

namespace VoEditor {

// Where each slot's shape lies in the scene: its points' positions, read from their x and y
// inputs (a single-valued curve, with no input per point, where SessionPlacement puts it), its
// handles' places along its gradient, and the box its curve stays in. The canvas's copy of the
// graph's values, read again for a shape whose counts changed and kept in step with moves point
// by point. Owns the copy; the shapes are read only.
class EditorGeometry {
public:
    struct Shape {
        std::vector<QPointF> points;
        std::vector<double> handles;
        // The box the smooth curve through the points stays in: its spans' ends and control
        // points. Grows, loose, as points move, until settle measures it again.
        QRectF curveBounds;
        // The longest distance between neighbouring points; picking the curve looks that far.
        double longestSegment = 0;
        // The curve's length through its points, over their number: how far apart they lie.
        double meanSpacing = 0;
        // Changes with every change of the shape's geometry, never back to an earlier value (in
        // this process, across geometries): what a drawing of it may be kept under.
        std::uint64_t revision = 0;
    };

    // Reads the shape of slot out of nbSlots (an empty slot for null).
    void read(int slot, int nbSlots, const VoExample::AppShapeInterface *shape);
    void resize(int nbSlots);
    int getNbSlots() const noexcept { return static_cast<int>(shapes.size()); }
    const Shape &getShape(int slot) const { return shapes[static_cast<std::size_t>(slot)]; }
    // Moves a point; the box and segment lengths only grow until settle.
    void movePoint(int slot, int index, const QPointF &to);
    // A handle takes another place along the gradient.
    void moveHandle(int slot, int index, double place);
    // Measures the slot's box and segments again.
    void settle(int slot);
    // The union of every shape's box.
    QRectF getBounds() const;
    std::size_t getNbPoints() const noexcept;
    // Sets a shape's geometry directly, for views of shapes that are not in a graph.
    void setShape(int slot, Shape shape);

private:
    std::vector<Shape> shapes;
};

} // namespace VoEditor
