#pragma once

#include "EditorGeometry.h"
#include "EditorViewTransform.h"

#include <QPointF>
#include <QRectF>

#include <array>
#include <vector>

namespace VoEditor {

// Where the canvas draws each shape, in the canvas's pixels: its points where the geometry puts
// them through the view's transform, its name in a band above its curve's box (when that box is
// large enough on screen), and its handles on a line of their own below the box, at their places
// along it. Its cell is all of that together. Borrows the geometry and the transform; cheap to
// make, for one event or one repaint.
class EditorLayout {
public:
    EditorLayout(const EditorGeometry &geometry, const EditorViewTransform &view);

    QRectF getCell(int slot) const;
    // The band above the curve for the shape's name; empty when the shape is too small for text.
    QRectF getTitleArea(int slot) const;
    QRectF getCurveArea(int slot) const;
    QRectF getHandleArea(int slot) const;
    // The slots whose cells meet rect, in ascending order; linear in the slots.
    std::vector<int> findSlotsIn(const QRectF &rect) const;

    // count is the number of points (handles) the caller knows of: an index the geometry does not
    // hold (yet) is drawn at the curve's centre.
    QPointF getPoint(int slot, int index, int count) const;
    QPointF getHandle(int slot, int index, int count) const;
    // How far apart neighbouring points (handles) of the shape lie on screen.
    double getPointSpacing(int slot, int count) const;
    double getHandleSpacing(int slot, int count) const;
    // The cubic Bezier that the smooth curve draws from `from` to `to`, between their neighbours
    // before and after (Catmull-Rom): start, two control points, end.
    static std::array<QPointF, 4> getSpan(const QPointF &before, const QPointF &from,
                                          const QPointF &to, const QPointF &after);
    // The spans of the slot's curve, on screen, from point index to index + 1.
    std::array<QPointF, 4> getSpan(int slot, int index) const;
    const EditorViewTransform &getView() const noexcept { return view; }
    const EditorGeometry &getGeometry() const noexcept { return geometry; }

private:
    bool holds(int slot) const;

    const EditorGeometry &geometry;
    const EditorViewTransform &view;
};

} // namespace VoEditor
