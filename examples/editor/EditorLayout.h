#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <vector>

namespace VoEditor {

// Where the canvas draws each shape. The canvas is cut into a grid of equal cells, one per slot,
// row by row in scene order; in its cell a shape's curve runs left to right through its points,
// evenly spaced, along a wave with one crest and one trough, and its gradient handles sit evenly
// spaced on a line of their own below the curve. Depends only on the canvas size, the number of
// slots and the counts, so a shape is drawn at the same place every time. Lookups by position cost
// the same for one point or 10^4: they look only at the indices whose markers lie within reach.
// Plain value.
class EditorLayout {
public:
    EditorLayout(const QSizeF &area, int nbSlots);

    QRectF getCell(int slot) const;
    // The cell's top band for the shape's name; empty when the cell is too small for text.
    QRectF getTitleArea(int slot) const;
    QRectF getCurveArea(int slot) const;
    QRectF getHandleArea(int slot) const;
    // The slot whose cell holds at; -1 outside the grid.
    int findSlot(const QPointF &at) const;
    // The slots whose cells meet rect, in ascending order; costs the cells it meets.
    std::vector<int> findSlotsIn(const QRectF &rect) const;

    QPointF getPoint(int slot, int index, int count) const;
    QPointF getHandle(int slot, int index, int count) const;
    // Distance between neighbouring points (handles) of a shape with count of them.
    double getPointSpacing(int slot, int count) const;
    double getHandleSpacing(int slot, int count) const;

    // The point (handle) nearest to at within tolerance; -1 when there is none.
    int findPoint(int slot, int count, const QPointF &at, double tolerance) const;
    int findHandle(int slot, int count, const QPointF &at, double tolerance) const;
    // True when at lies within tolerance of the curve drawn through the shape's points.
    bool isNearCurve(int slot, int count, const QPointF &at, double tolerance) const;
    // The points inside band, in ascending order.
    std::vector<int> findPointsIn(int slot, int count, const QRectF &band) const;
    // The rectangle that the curve through count points covers.
    QRectF getCurveBounds(int slot, int count) const;

private:
    using Position = QPointF (EditorLayout::*)(int, int, int) const;

    int nbColumns() const;
    int nbRows() const { return (nbSlots + columns - 1) / columns; }
    // The first and last index, clamped to the shape's, whose marker x lies in [left, right].
    static void indexRange(const QRectF &area, int count, double left, double right, int &first,
                           int &last);
    int findNearest(const QRectF &area, Position position, int slot, int count, const QPointF &at,
                    double tolerance) const;

    QSizeF area;
    int nbSlots;
    int columns;
    double cellWidth;
    double cellHeight;
};

} // namespace VoEditor
