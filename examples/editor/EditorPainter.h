#pragma once

#include "EditorLayout.h"
#include "EditorShapeView.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>

#include <functional>
#include <vector>

namespace VoEditor {

// Draws a scene's shapes where the layout puts them: unselected shapes muted, selected ones in
// colour, the primary one emphasised; selected points and handles filled and labelled with their
// rank. Stays legible from one point to 10^4 per shape: unselected markers are left out where
// they would touch, and a rank label is drawn only where it overlaps no label drawn before it
// (lower ranks first). Linear in the shapes, points and selected indices drawn. Borrows the
// painter and the layout.
class EditorPainter {
public:
    static const QColor background;
    static const QColor mutedCurve;
    static const QColor selectedCurve;
    static const QColor primaryCurve;
    static const QColor selectedPoint;
    static const QColor selectedHandle;
    static const QColor hollowMarker;

    EditorPainter(QPainter &painter, const EditorLayout &layout, const QRectF &area);

    void paint(const std::vector<EditorShapeView> &shapes);
    // The rectangle being dragged out on empty canvas.
    void paintBand(const QRectF &band);

private:
    // Cells of the canvas taken by labels, so that a label never covers another.
    class LabelSpace {
    public:
        explicit LabelSpace(const QRectF &area);
        // Takes the cells under rect and gives true when none was taken before.
        bool take(const QRectF &rect);

    private:
        static constexpr double cellSize = 6;
        int columns;
        int rows;
        std::vector<bool> taken;
    };

    void paintShape(const EditorShapeView &shape);
    void paintCurve(const EditorShapeView &shape, const QColor &colour, double width);
    void paintHandleLine(const EditorShapeView &shape, const QColor &colour);
    void paintHollowMarkers(const EditorShapeView &shape, const QColor &colour);
    void paintSelected(const EditorShapeView &shape);
    // The selected indices below count, at their positions; labels by rank, in rank order.
    void paintMarkers(const std::vector<int> &indices, int count,
                      const std::function<QPointF(int)> &position, double radius,
                      const QColor &fill, bool square);
    void paintLabels(const std::vector<int> &indices, int count,
                     const std::function<QPointF(int)> &position, double radius);

    QPainter &painter;
    const EditorLayout &layout;
    QFontMetricsF metrics;
    // Digits have one width in the label font; a label's width follows from its digits.
    double digitWidth;
    LabelSpace labels;
};

} // namespace VoEditor
