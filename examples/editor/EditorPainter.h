#pragma once

#include "EditorLayout.h"
#include "EditorShapeImages.h"
#include "EditorShapeView.h"
#include "EditorSnapper.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPoint>
#include <QPolygonF>
#include <QRectF>

#include <cstdint>
#include <functional>
#include <vector>

namespace VoEditor {

// Draws a scene's shapes where the layout puts them: a smooth curve through each shape's points
// (straight lines where they lie too close on screen to bend), unselected shapes muted, selected
// ones in colour, the primary one emphasised; selected points and handles filled and labelled with
// their rank. Stays legible from one point to 10^4 per shape: unselected markers are left out where
// they would touch, and a rank label is drawn only where it overlaps no label drawn before it
// (lower ranks first). Linear in the shapes, points and selected indices drawn. Says where each
// shape and each selected marker may draw, so that a view repaints only what changed. Borrows the
// painter and the layout.
class EditorPainter {
public:
    static const QColor background;
    static const QColor mutedCurve;
    // The other layers' shapes: a little darker than the background.
    static const QColor dimmedCurve;
    static const QColor selectedCurve;
    static const QColor primaryCurve;
    static const QColor selectedPoint;
    static const QColor selectedHandle;
    static const QColor hollowMarker;
    static const QColor hover;
    static const QColor transformBox;
    static const QColor grid;
    static const QColor snapGuide;

    // How far past its cell the drawing of a shape may go, labels aside: pens, markers and the
    // hover ring round a marker at the cell's edge.
    static constexpr double beyondCell = 10;

    EditorPainter(QPainter &painter, const EditorLayout &layout, const QRectF &area);

    // The shapes in the order given, dimmed ones (other layers) first, then muted ones, and the
    // primary one last. To repaint part
    // of the area, give every shape whose reach meets that part and every shape with selected
    // points or handles: a label is drawn where no label drawn before it lies, whatever the part.
    void paint(const std::vector<const EditorShapeView *> &shapes);
    // The rectangle being dragged out on empty canvas.
    void paintBand(const QRectF &band);
    // The freehand outline being drawn, closed, filled faintly.
    void paintLasso(const QPolygonF &outline);
    // Lines of a grid step scene units apart, faint, under the shapes: before paint.
    void paintGrid(double step);
    // Where a snap acted: lines across the area through a grid crossing, a diamond on a point, a
    // cross on a curve.
    void paintSnapGuide(const EditorSnapper::Snap &snap);
    static QRect getSnapGuideReach(const EditorSnapper::Snap &snap, const EditorViewTransform &view,
                                   const QRectF &area);
    // The transform box: its outline, scale grips, rotation grip (with a stem to the outline's top)
    // and pivot, in pixels.
    void paintTransformBox(const QPolygonF &outline, const std::vector<QPointF> &scaleGrips,
                           const QPointF &rotationGrip, const QPointF &pivot);
    // The curve of the shape in that slot is drawn over a halo, as what the pointer is over; -1
    // for none. Before paint.
    void setHoveredCurve(int slot) noexcept { hoveredCurve = slot; }
    // The slots, ascending, of the shapes whose points a drag or a nudge is moving: their curves
    // are drawn through their points with straight lines until the move ends. Before paint.
    void setMoving(std::vector<int> movingSlots) { moving = std::move(movingSlots); }
    // A shape all of whose points a drag or a nudge moves by whole pixels (by), none of its
    // handles: drawn as its kept image of the geometry's revision before the move, moved by by.
    struct Translated {
        int slot = 0;
        std::uint64_t revision = 0;
        QPoint by;
    };
    // The shapes moved whole, among the moving ones, by ascending slot. Before paint.
    void setTranslated(std::vector<Translated> shapes) { translated = std::move(shapes); }
    // Where each shape's curve, handle line and unselected markers are kept drawn between
    // repaints: a shape whose geometry, look and view are those of its kept image is copied from
    // it, any other drawn into it first; a moving shape is drawn directly. None (the default)
    // draws every shape directly. Before paint.
    void setImages(EditorShapeImages *kept) noexcept { images = kept; }
    // A ring round the shape's point (handle) at index, what the pointer is over; after paint.
    void paintHover(const EditorShapeView &shape, bool point, int index);

    // Where the shape's drawing may go: its cell and what pens and markers reach past it; with
    // labels, also where the labels of any selected points and handles it may have go.
    static QRectF getReach(const EditorLayout &layout, const EditorShapeView &shape, bool labels);
    // Where paintHover draws.
    static QRectF getHoverReach(const EditorLayout &layout, const EditorShapeView &shape,
                                bool point, int index);
    // Where the marker of the shape's point (handle) at index and its label for rank may go.
    static QRectF getMarkerReach(const EditorLayout &layout, const EditorShapeView &shape,
                                 bool point, int index, int rank);

private:
    // The colours and widths a shape's curve, handle line and markers are drawn in.
    enum class Look { Dimmed, Muted, Selected, Primary };

    // Draws into an image of transparent pixels: no background, no labels.
    struct Transparent {};
    EditorPainter(QPainter &painter, const EditorLayout &layout, const QRectF &area, Transparent);

    // Cells of the canvas taken by labels, so that a label never covers another.
    class LabelSpace {
    public:
        explicit LabelSpace(const QRectF &area);
        // Takes the cells under rect and gives true when none was taken before.
        bool take(const QRectF &rect);

    private:
        static int cellOf(double coordinate, int count);

        static constexpr double cellSize = 6;
        int columns;
        int rows;
        std::vector<bool> taken;
    };

    void paintShape(const EditorShapeView &shape);
    // A shape of another layer: its name, curve and handle line, pale and thin, no markers.
    void paintDimmed(const EditorShapeView &shape);
    void paintTitle(const EditorShapeView &shape, const QColor &colour, bool bold);
    // The curve, handle line and unselected markers, from the kept image when there may be one.
    void paintBody(const EditorShapeView &shape, Look look);
    void drawBody(const EditorShapeView &shape, Look look);
    // The moving shape as its kept image before the move, moved; false when there is none.
    bool paintTranslated(const EditorShapeView &shape, Look look, double ratio);
    EditorShapeImages::Key keyOf(const EditorShapeView &shape, Look look,
                                 std::uint64_t revision, double ratio) const;
    EditorShapeImages::Image drawBodyImage(const EditorShapeView &shape, Look look,
                                           const QRect &reach, double ratio) const;
    // The image of the shape in look, from its kept image in the other look of the same width
    // when that one is drawn in its colour alone; a null image when there is none.
    EditorShapeImages::Image recolourBody(const EditorShapeView &shape, Look look,
                                          std::uint64_t revision, double ratio) const;
    // The shape's unselected markers are drawn: white, beside the look's colour.
    bool hasHollowMarkers(const EditorShapeView &shape) const;
    static const QColor &colourOf(Look look);
    void paintCurve(const EditorShapeView &shape, const QColor &colour, double width);
    // The curve through its points with straight lines (every few of them where they lie closer
    // than half a pixel on screen).
    void strokeLines(const EditorShapeView &shape, double spacing, const QColor &colour,
                     double width);
    // The smooth curve through the points first to last, given by index; point clamps indices
    // to the shape's.
    static QPainterPath smoothPath(int first, int last, const std::function<QPointF(int)> &point);
    void paintHandleLine(const EditorShapeView &shape, const QColor &colour);
    void paintHollowMarkers(const EditorShapeView &shape, const QColor &colour);
    void paintSelected(const EditorShapeView &shape);
    // The selected indices below count, at their positions; labels by rank, in rank order.
    void paintMarkers(const std::vector<int> &indices, int count,
                      const std::function<QPointF(int)> &position, double radius,
                      const QColor &fill, bool square);
    // The marker drawn once into a pixmap, then copied to each place: a copy costs a fraction of
    // rasterising an antialiased outline each time.
    void stampMarkers(const std::vector<QPointF> &places, double radius, const QPen &pen,
                      const QColor &fill, bool square);
    // Whether a label's box covers the marker of the first or last of count indices other than
    // its own.
    static bool coversEnd(const QRectF &box, int index, int count,
                          const std::function<QPointF(int)> &position, double radius);
    void paintLabels(const std::vector<int> &indices, int count,
                     const std::function<QPointF(int)> &position, double radius);

    QPainter &painter;
    const EditorLayout &layout;
    QFontMetricsF metrics;
    // Digits have one width in the label font; a label's width follows from its digits.
    double digitWidth;
    LabelSpace labels;
    QRectF area;
    int hoveredCurve = -1;
    std::vector<int> moving;
    std::vector<Translated> translated;
    EditorShapeImages *images = nullptr;
};

} // namespace VoEditor
