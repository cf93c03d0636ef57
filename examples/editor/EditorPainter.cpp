#include "EditorPainter.h"

#include "EditorTransformBox.h"

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>
#include <QPolygonF>
#include <QString>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace VoEditor {

namespace {

const double minRadius = 1.5;
const double maxRadius = 4.5;
// Unselected markers are drawn only when neighbours are at least this far apart.
const double minHollowSpacing = 7;
// Points at least this far apart on screen are joined by a smooth curve; closer ones by lines.
const double minSmoothSpacing = 3;
// Spans (segments) stroked at once.
const int spansPerStroke = 32;

double markerRadius(double spacing) { return std::clamp(spacing * 0.3, minRadius, maxRadius); }

QFont labelFont() {
    QFont font;
    font.setPixelSize(10);
    return font;
}

int digitsOf(std::size_t rank) {
    return static_cast<int>(std::log10(static_cast<double>(rank))) + 1;
}

// Above and right of the marker of radius at at: where the label of rank goes.
QRectF labelBox(const QFontMetricsF &metrics, double digitWidth, const QPointF &at, double radius,
                std::size_t rank) {
    return QRectF(at.x() + radius, at.y() - radius - metrics.height(),
                  digitsOf(rank) * digitWidth + 2, metrics.height());
}

double digitWidthOf(const QFontMetricsF &metrics) {
    return metrics.horizontalAdvance(QLatin1Char('0'));
}

// A rank with as many digits as any: indices are ints, and a rank counts distinct indices.
const auto longestRank = static_cast<std::size_t>(std::numeric_limits<int>::max());

// Antialiasing and pens reach a little past the boxes drawn.
const double blur = 2;

// The hover ring lies this far outside a marker; the halo is this wide along a curve.
const double hoverRing = 3;
const double hoverHalo = 7;

} // namespace

const QColor EditorPainter::background(0xf0, 0xef, 0xea);
const QColor EditorPainter::mutedCurve(0xb0, 0xb4, 0xba);
const QColor EditorPainter::dimmedCurve(0xd8, 0xd9, 0xd6);
const QColor EditorPainter::selectedCurve(0x2b, 0x6c, 0xb0);
const QColor EditorPainter::primaryCurve(0xd9, 0x48, 0x0f);
const QColor EditorPainter::selectedPoint(0xc2, 0x18, 0x5b);
const QColor EditorPainter::selectedHandle(0x2f, 0x9e, 0x44);
const QColor EditorPainter::hollowMarker(0xff, 0xff, 0xff);
const QColor EditorPainter::hover(0x1e, 0x88, 0xe5);
const QColor EditorPainter::transformBox(0x37, 0x47, 0x4f);
const QColor EditorPainter::grid(0xe2, 0xe1, 0xdb);
const QColor EditorPainter::snapGuide(0x00, 0x96, 0x88);

EditorPainter::LabelSpace::LabelSpace(const QRectF &area)
    : columns(static_cast<int>(std::ceil(area.width() / cellSize)) + 1),
      rows(static_cast<int>(std::ceil(area.height() / cellSize)) + 1),
      taken(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), false) {}

// Kept within the cells in double before it becomes an int: a box far off the canvas takes none.
int EditorPainter::LabelSpace::cellOf(double coordinate, int count) {
    return static_cast<int>(std::clamp(std::floor(coordinate / cellSize), -1.0, double(count)));
}

bool EditorPainter::LabelSpace::take(const QRectF &rect) {
    const int left = std::max(0, cellOf(rect.left(), columns));
    const int right = std::min(columns - 1, cellOf(rect.right(), columns));
    const int top = std::max(0, cellOf(rect.top(), rows));
    const int bottom = std::min(rows - 1, cellOf(rect.bottom(), rows));
    if (left > right || top > bottom) {
        return false;
    }
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            if (taken[static_cast<std::size_t>(row * columns + column)]) {
                return false;
            }
        }
    }
    for (int row = top; row <= bottom; ++row) {
        std::fill_n(taken.begin() + row * columns + left, right - left + 1, true);
    }
    return true;
}

EditorPainter::EditorPainter(QPainter &target, const EditorLayout &shapes, const QRectF &area)
    : painter(target), layout(shapes), metrics(labelFont()), digitWidth(digitWidthOf(metrics)),
      labels(area), area(area) {
    painter.fillRect(area, background);
    painter.setFont(labelFont());
}

EditorPainter::EditorPainter(QPainter &target, const EditorLayout &shapes, const QRectF &area,
                             Transparent)
    : painter(target), layout(shapes), metrics(labelFont()), digitWidth(digitWidthOf(metrics)),
      labels(QRectF()), area(area) {}

void EditorPainter::paint(const std::vector<const EditorShapeView *> &shapes) {
    // The other layers' shapes under the active one's, then muted shapes, so that the selected
    // ones and their labels lie on top.
    for (const EditorShapeView *shape : shapes) {
        if (shape->dimmed) {
            paintDimmed(*shape);
        }
    }
    for (const EditorShapeView *shape : shapes) {
        if (!shape->selected && !shape->dimmed) {
            paintShape(*shape);
        }
    }
    for (const EditorShapeView *shape : shapes) {
        if (shape->selected && !shape->primary) {
            paintShape(*shape);
        }
    }
    for (const EditorShapeView *shape : shapes) {
        if (shape->primary) {
            paintShape(*shape);
        }
    }
}

QRectF EditorPainter::getReach(const EditorLayout &layout, const EditorShapeView &shape,
                               bool labels) {
    QRectF reach =
        layout.getCell(shape.slot).adjusted(-beyondCell, -beyondCell, beyondCell, beyondCell);
    if (labels) {
        // A marker lies inside the cell; its label goes up and right of it, as wide as the
        // longest rank an index vector can hold.
        const QFontMetricsF metrics(labelFont());
        const QRectF label =
            labelBox(metrics, digitWidthOf(metrics), QPointF(), maxRadius, longestRank);
        reach.adjust(0, label.top() - blur, label.right() + blur, 0);
    }
    return reach;
}

QRectF EditorPainter::getMarkerReach(const EditorLayout &layout, const EditorShapeView &shape,
                                     bool point, int index, int rank) {
    const QPointF at = point ? layout.getPoint(shape.slot, index, shape.nbPoints)
                             : layout.getHandle(shape.slot, index, shape.nbHandles);
    const double radius =
        markerRadius(point ? layout.getPointSpacing(shape.slot, shape.nbPoints)
                           : layout.getHandleSpacing(shape.slot, shape.nbHandles));
    const QFontMetricsF metrics(labelFont());
    const QRectF marker(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius);
    return marker
        .united(
            labelBox(metrics, digitWidthOf(metrics), at, radius, static_cast<std::size_t>(rank)))
        .adjusted(-blur, -blur, blur, blur);
}

void EditorPainter::paintTitle(const EditorShapeView &shape, const QColor &colour, bool bold) {
    const QRectF title = layout.getTitleArea(shape.slot);
    if (title.height() <= 0) {
        return;
    }
    painter.setPen(colour);
    QFont font = painter.font();
    font.setBold(bold);
    painter.setFont(font);
    // Cut to its band, so that a long name stays within the shape's reach.
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(font).elidedText(QString::fromStdString(shape.name),
                                                    Qt::ElideRight, title.width()));
    painter.setFont(labelFont());
}

void EditorPainter::paintShape(const EditorShapeView &shape) {
    if (shape.slot == hoveredCurve) {
        QColor halo = hover;
        halo.setAlpha(60);
        paintCurve(shape, halo, hoverHalo); // under the curve and its markers
    }
    const QColor colour =
        shape.primary ? primaryCurve : (shape.selected ? selectedCurve : mutedCurve);
    paintTitle(shape, shape.selected ? colour : mutedCurve.darker(130), shape.primary);
    paintBody(shape,
              shape.primary ? Look::Primary : (shape.selected ? Look::Selected : Look::Muted));
    paintSelected(shape);
}

void EditorPainter::paintDimmed(const EditorShapeView &shape) {
    paintTitle(shape, dimmedCurve, false);
    paintBody(shape, Look::Dimmed);
}

// Kept images are copied at whole device pixels only: at a fractional pixel ratio, an image placed
// at a whole canvas pixel would fall between device pixels and be resampled. A moving shape
// changes at every frame: it is drawn directly, unless it moves whole.
void EditorPainter::paintBody(const EditorShapeView &shape, Look look) {
    const double ratio = painter.device()->devicePixelRatioF();
    if (images == nullptr || ratio != std::round(ratio) ||
        shape.slot >= layout.getGeometry().getNbSlots()) {
        drawBody(shape, look);
        return;
    }
    if (std::binary_search(moving.begin(), moving.end(), shape.slot)) {
        if (!paintTranslated(shape, look, ratio)) {
            drawBody(shape, look);
        }
        return;
    }
    const QRect whole = getReach(layout, shape, false).toAlignedRect();
    const QRect reach = whole.intersected(area.toAlignedRect());
    if (reach.isEmpty()) {
        return;
    }
    const std::uint64_t revision = layout.getGeometry().getShape(shape.slot).revision;
    const EditorShapeImages::Image &kept =
        images->get(shape.slot, keyOf(shape, look, revision, ratio), [&] {
            EditorShapeImages::Image drawn = recolourBody(shape, look, revision, ratio);
            if (drawn.image.isNull()) {
                drawn = drawBodyImage(shape, look, reach, ratio);
                drawn.cut = reach != whole;
                drawn.plain = !hasHollowMarkers(shape);
            }
            return drawn;
        });
    painter.drawImage(kept.at, kept.image);
}

// Moved by whole pixels, the curve covers the pixels it covered, moved: its image before the move
// is its drawing now, the smooth curve through the points where they are. An image cut at the
// canvas's edge would bring the cut edge into sight.
bool EditorPainter::paintTranslated(const EditorShapeView &shape, Look look, double ratio) {
    const auto found = std::lower_bound(
        translated.begin(), translated.end(), shape.slot,
        [](const Translated &moved, int slot) { return moved.slot < slot; });
    if (found == translated.end() || found->slot != shape.slot) {
        return false;
    }
    const EditorShapeImages::Image *kept =
        images->find(shape.slot, keyOf(shape, look, found->revision, ratio));
    if (kept == nullptr || kept->cut) {
        return false;
    }
    painter.drawImage(kept->at + found->by, kept->image);
    return true;
}

EditorShapeImages::Key EditorPainter::keyOf(const EditorShapeView &shape, Look look,
                                            std::uint64_t revision, double ratio) const {
    const EditorViewTransform &view = layout.getView();
    return EditorShapeImages::Key{revision,
                                  view.getScale(),
                                  view.getOffset(),
                                  static_cast<int>(look),
                                  shape.nbPoints,
                                  shape.nbHandles,
                                  ratio,
                                  area.toAlignedRect().size()};
}

// Muted and selected curves have one width: Select All and Escape change only their colour.
// Where the kept image is in one colour, each pixel's alpha is what the curve and its handle line
// cover of it (the line's own paleness included), and that coverage in the other colour is the
// other look, to Qt's rounding of a colour times a coverage (one level of 255).
EditorShapeImages::Image EditorPainter::recolourBody(const EditorShapeView &shape, Look look,
                                                     std::uint64_t revision,
                                                     double ratio) const {
    if (look != Look::Muted && look != Look::Selected) {
        return {};
    }
    const Look other = look == Look::Muted ? Look::Selected : Look::Muted;
    const EditorShapeImages::Image *kept =
        images->find(shape.slot, keyOf(shape, other, revision, ratio));
    if (kept == nullptr || !kept->plain) {
        return {};
    }
    // Read once: QColor's accessors are calls, and most pixels are transparent.
    const QRgb colour = colourOf(look).rgb();
    QImage image(kept->image.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    for (int y = 0; y < image.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(kept->image.constScanLine(y));
        auto *to = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(from[x]);
            to[x] = alpha == 0 ? 0
                               : qPremultiply(qRgba(qRed(colour), qGreen(colour), qBlue(colour),
                                                    alpha));
        }
    }
    return EditorShapeImages::Image{image, kept->at, kept->cut, true};
}

bool EditorPainter::hasHollowMarkers(const EditorShapeView &shape) const {
    return layout.getPointSpacing(shape.slot, shape.nbPoints) >= minHollowSpacing ||
           layout.getHandleSpacing(shape.slot, shape.nbHandles) >= minHollowSpacing;
}

const QColor &EditorPainter::colourOf(Look look) {
    switch (look) {
    case Look::Dimmed:
        return dimmedCurve;
    case Look::Muted:
        return mutedCurve;
    case Look::Selected:
        return selectedCurve;
    case Look::Primary:
        break;
    }
    return primaryCurve;
}

void EditorPainter::drawBody(const EditorShapeView &shape, Look look) {
    const QColor &colour = colourOf(look);
    if (look == Look::Dimmed) {
        paintCurve(shape, colour, 1.5);
        paintHandleLine(shape, colour);
        return;
    }
    paintCurve(shape, colour, look == Look::Primary ? 3.0 : 2.0);
    paintHandleLine(shape, colour);
    paintHollowMarkers(shape, colour);
}

// Drawn at a whole pixel's offset, the curve covers the same pixels as drawn on the canvas; only
// its blending differs, onto transparent pixels here and onto the canvas when the image is copied.
EditorShapeImages::Image EditorPainter::drawBodyImage(const EditorShapeView &shape, Look look,
                                                      const QRect &reach, double ratio) const {
    QImage image(reach.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter target(&image);
        target.translate(-QPointF(reach.topLeft()));
        EditorPainter(target, layout, area, Transparent{}).drawBody(shape, look);
    }
    return EditorShapeImages::Image{image, reach.topLeft()};
}

// A long curve is stroked in pieces of a few dozen spans: the rasteriser's cost grows faster than
// the edges of one stroke, and a spiral's turns give one long stroke many crossings. Round caps
// close the seams between pieces. A curve whose points lie close, or are being moved, is drawn with
// straight lines between its points.
void EditorPainter::paintCurve(const EditorShapeView &shape, const QColor &colour, double width) {
    const double spacing = layout.getPointSpacing(shape.slot, shape.nbPoints);
    const auto point = [&](int index) {
        return layout.getPoint(shape.slot, std::clamp(index, 0, shape.nbPoints - 1),
                               shape.nbPoints);
    };
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    if (spacing < minSmoothSpacing ||
        std::binary_search(moving.begin(), moving.end(), shape.slot)) {
        strokeLines(shape, spacing, colour, width);
        return;
    }
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int first = 0; first + 1 < shape.nbPoints || first == 0; first += spansPerStroke) {
        painter.drawPath(
            smoothPath(first, std::min(first + spansPerStroke, shape.nbPoints - 1), point));
    }
}

// Where points lie closer than half a pixel, every few of them draw the same line: stroking costs
// per vertex, and a curve that dense shows no bend between its points. Square caps and bevel joins
// differ from round ones by less than a pixel at these sizes, and spare the stroker an arc at every
// vertex (most of Select All's repaint of 10^4 small shapes). While a drag or a nudge moves a
// curve's points, straight lines between them spare each frame the flattening of every span into
// short segments (most of a drag frame of 10^4 points); the smooth curve comes back with the
// repaint that ends the move.
void EditorPainter::strokeLines(const EditorShapeView &shape, double spacing, const QColor &colour,
                                double width) {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    // No wider than the curve: points closer than 1e-9 pixels would overflow an int.
    const int stride =
        spacing > 0 ? static_cast<int>(std::clamp(0.5 / spacing, 1.0, double(shape.nbPoints))) : 1;
    QPolygonF curve;
    curve.reserve(spansPerStroke + 1);
    for (int index = 0; index < shape.nbPoints; index += stride) {
        curve << layout.getPoint(shape.slot, index, shape.nbPoints);
        if (curve.size() > spansPerStroke) {
            painter.drawPolyline(curve);
            curve = QPolygonF{curve.back()};
        }
    }
    if (shape.nbPoints > 0 && (shape.nbPoints - 1) % stride != 0) {
        curve << layout.getPoint(shape.slot, shape.nbPoints - 1, shape.nbPoints);
    }
    painter.drawPolyline(curve);
}

QPainterPath EditorPainter::smoothPath(int first, int last,
                                       const std::function<QPointF(int)> &point) {
    QPainterPath path;
    path.moveTo(point(first));
    // Catmull-Rom through the points, each span one cubic Bezier; the ends repeat their point.
    for (int index = first; index < last; ++index) {
        const std::array<QPointF, 4> span = EditorLayout::getSpan(
            point(index - 1), point(index), point(index + 1), point(index + 2));
        path.cubicTo(span[1], span[2], span[3]);
    }
    return path;
}

void EditorPainter::paintHandleLine(const EditorShapeView &shape, const QColor &colour) {
    if (shape.nbHandles == 0) {
        return;
    }
    const QRectF line = layout.getHandleArea(shape.slot);
    // A paler line than the curve's: the handles' own line, not a second curve.
    QColor pale = colour;
    pale.setAlpha(110);
    // The one-pixel stroke of a horizontal line with square caps, filled as the rectangle it is:
    // the stroker's set-up cost most of the line at 10^4 shapes.
    painter.fillRect(QRectF(line.left() - 0.5, line.center().y() - 0.5, line.width() + 1, 1), pale);
}

void EditorPainter::paintHollowMarkers(const EditorShapeView &shape, const QColor &colour) {
    const QPen pen(colour, 1);
    const double pointSpacing = layout.getPointSpacing(shape.slot, shape.nbPoints);
    std::vector<QPointF> places;
    if (pointSpacing >= minHollowSpacing) {
        places.reserve(static_cast<std::size_t>(shape.nbPoints));
        for (int index = 0; index < shape.nbPoints; ++index) {
            places.push_back(layout.getPoint(shape.slot, index, shape.nbPoints));
        }
        stampMarkers(places, markerRadius(pointSpacing), pen, hollowMarker, false);
    }
    const double handleSpacing = layout.getHandleSpacing(shape.slot, shape.nbHandles);
    if (handleSpacing >= minHollowSpacing) {
        places.clear();
        for (int index = 0; index < shape.nbHandles; ++index) {
            places.push_back(layout.getHandle(shape.slot, index, shape.nbHandles));
        }
        stampMarkers(places, markerRadius(handleSpacing), pen, hollowMarker, true);
    }
}

void EditorPainter::stampMarkers(const std::vector<QPointF> &places, double radius, const QPen &pen,
                                 const QColor &fill, bool square) {
    if (places.empty()) {
        return;
    }
    const qreal ratio = painter.device()->devicePixelRatioF();
    const int side = static_cast<int>(std::ceil(2 * radius + 2 * pen.widthF()));
    QPixmap stamp(QSize(side, side) * ratio);
    stamp.setDevicePixelRatio(ratio);
    stamp.fill(Qt::transparent);
    QPainter marker(&stamp);
    marker.setRenderHint(QPainter::Antialiasing, true);
    marker.setPen(pen);
    marker.setBrush(fill);
    const QRectF box(side / 2.0 - radius, side / 2.0 - radius, 2 * radius, 2 * radius);
    if (square) {
        marker.drawRect(box);
    } else {
        marker.drawEllipse(box);
    }
    marker.end();
    // At whole pixels: a pixmap at a fraction of one is placed by rounding that differs between
    // a whole repaint and one clipped to a region, which then left a marker's edge behind.
    const QPointF centre(side / 2.0, side / 2.0);
    for (const QPointF &at : places) {
        painter.drawPixmap((at - centre).toPoint(), stamp);
    }
}

void EditorPainter::paintSelected(const EditorShapeView &shape) {
    if (shape.points.empty() && shape.handles.empty()) {
        return; // most shapes of a large scene: no painter state to set for them
    }
    const double pointRadius = markerRadius(layout.getPointSpacing(shape.slot, shape.nbPoints));
    const double handleRadius = markerRadius(layout.getHandleSpacing(shape.slot, shape.nbHandles));
    const auto point = [&](int index) {
        return layout.getPoint(shape.slot, index, shape.nbPoints);
    };
    const auto handle = [&](int index) {
        return layout.getHandle(shape.slot, index, shape.nbHandles);
    };
    // Markers first, labels after, so that no marker covers a label.
    paintMarkers(shape.points, shape.nbPoints, point, pointRadius, selectedPoint, false);
    paintMarkers(shape.handles, shape.nbHandles, handle, handleRadius, selectedHandle, true);
    painter.setPen(Qt::black);
    paintLabels(shape.points, shape.nbPoints, point, pointRadius);
    paintLabels(shape.handles, shape.nbHandles, handle, handleRadius);
}

void EditorPainter::paintMarkers(const std::vector<int> &indices, int count,
                                 const std::function<QPointF(int)> &position, double radius,
                                 const QColor &fill, bool square) {
    if (radius < 2.5) {
        // Small and many: plain squares in one call are as legible and much cheaper.
        const double side = std::max(2.0, 2 * radius);
        QVector<QRectF> squares;
        squares.reserve(static_cast<int>(indices.size()));
        for (const int index : indices) {
            if (index >= 0 && index < count) {
                const QPointF at = position(index);
                squares << QRectF(at.x() - side / 2, at.y() - side / 2, side, side);
            }
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRects(squares);
        painter.setRenderHint(QPainter::Antialiasing, true);
        return;
    }
    std::vector<QPointF> places;
    places.reserve(indices.size());
    for (const int index : indices) {
        if (index >= 0 && index < count) {
            places.push_back(position(index));
        }
    }
    stampMarkers(places, radius, QPen(fill.darker(140), 1), fill, square);
}

bool EditorPainter::coversEnd(const QRectF &box, int index, int count,
                              const std::function<QPointF(int)> &position, double radius) {
    for (const int end : {0, count - 1}) {
        const QPointF at = position(end);
        if (end != index &&
            box.intersects(QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius))) {
            return true;
        }
    }
    return false;
}

void EditorPainter::paintLabels(const std::vector<int> &indices, int count,
                                const std::function<QPointF(int)> &position, double radius) {
    for (std::size_t rank = 1; rank <= indices.size(); ++rank) {
        const int index = indices[rank - 1];
        if (index < 0 || index >= count) {
            continue;
        }
        // The room is looked for before the text is made: most labels of a dense selection
        // find none. The curve's two ends stay in sight: no other point's label covers them, but
        // for the first rank's, which tells where the order starts.
        const QRectF box = labelBox(metrics, digitWidth, position(index), radius, rank);
        if ((rank == 1 || !coversEnd(box, index, count, position, radius)) && labels.take(box)) {
            painter.drawText(box, Qt::AlignLeft | Qt::AlignBottom, QString::number(rank));
        }
    }
}

QRectF EditorPainter::getHoverReach(const EditorLayout &layout, const EditorShapeView &shape,
                                    bool point, int index) {
    if (index < 0) {
        return getReach(layout, shape, false);
    }
    const QPointF at = point ? layout.getPoint(shape.slot, index, shape.nbPoints)
                             : layout.getHandle(shape.slot, index, shape.nbHandles);
    const double radius = maxRadius + hoverRing + blur;
    return QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius);
}

void EditorPainter::paintHover(const EditorShapeView &shape, bool point, int index) {
    if (index < 0 || index >= (point ? shape.nbPoints : shape.nbHandles)) {
        return;
    }
    const QPointF at = point ? layout.getPoint(shape.slot, index, shape.nbPoints)
                             : layout.getHandle(shape.slot, index, shape.nbHandles);
    const double radius =
        markerRadius(point ? layout.getPointSpacing(shape.slot, shape.nbPoints)
                           : layout.getHandleSpacing(shape.slot, shape.nbHandles)) +
        hoverRing;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(hover, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, radius, radius);
}

void EditorPainter::paintGrid(double step) {
    const EditorViewTransform &view = layout.getView();
    const QRectF seen = view.toScene(area);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(grid, 1));
    // Counted, not stepped: far from the origin, adding a step may not move a double at all.
    const double first[] = {std::ceil(seen.left() / step) * step,
                            std::ceil(seen.top() / step) * step};
    const int lines[] = {static_cast<int>(std::min(seen.width() / step, area.width())) + 1,
                         static_cast<int>(std::min(seen.height() / step, area.height())) + 1};
    for (int line = 0; line < lines[0]; ++line) {
        const double at = view.toView(QPointF(first[0] + line * step, 0)).x();
        painter.drawLine(QPointF(at, area.top()), QPointF(at, area.bottom()));
    }
    for (int line = 0; line < lines[1]; ++line) {
        const double at = view.toView(QPointF(0, first[1] + line * step)).y();
        painter.drawLine(QPointF(area.left(), at), QPointF(area.right(), at));
    }
}

namespace {

// The diamond and the cross of a snap guide reach this far from their place.
const double guideSize = 7;

} // namespace

QRect EditorPainter::getSnapGuideReach(const EditorSnapper::Snap &snap,
                                       const EditorViewTransform &view, const QRectF &area) {
    if (snap.kind == EditorSnapper::Snap::None) {
        return QRect();
    }
    if (snap.kind == EditorSnapper::Snap::Grid) {
        return area.toAlignedRect(); // its two lines cross the whole canvas: one box holds both
    }
    const QPointF at = view.toView(snap.at);
    const double size = guideSize + blur;
    const QRectF reach(at.x() - size, at.y() - size, 2 * size, 2 * size);
    return reach.toAlignedRect().intersected(area.toAlignedRect());
}

void EditorPainter::paintSnapGuide(const EditorSnapper::Snap &snap) {
    const QPointF at = layout.getView().toView(snap.at);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(snapGuide, 1));
    if (snap.kind == EditorSnapper::Snap::Grid) {
        painter.drawLine(QPointF(area.left(), at.y()), QPointF(area.right(), at.y()));
        painter.drawLine(QPointF(at.x(), area.top()), QPointF(at.x(), area.bottom()));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(snapGuide, 2));
    if (snap.kind == EditorSnapper::Snap::Curve) {
        painter.drawLine(at + QPointF(-guideSize, -guideSize), at + QPointF(guideSize, guideSize));
        painter.drawLine(at + QPointF(-guideSize, guideSize), at + QPointF(guideSize, -guideSize));
    } else {
        painter.drawPolygon(QPolygonF{at + QPointF(0, -guideSize), at + QPointF(guideSize, 0),
                                      at + QPointF(0, guideSize), at + QPointF(-guideSize, 0)});
    }
}

void EditorPainter::paintTransformBox(const QPolygonF &outline,
                                      const std::vector<QPointF> &scaleGrips,
                                      const QPointF &rotationGrip, const QPointF &pivot) {
    const double grip = EditorTransformBox::gripSize;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    // Solid: a dash pattern's phase follows the device's origin, which a full render into an
    // image and a repaint into the window's store do not share.
    painter.setPen(QPen(transformBox, 1));
    painter.drawPolyline(outline);
    const QPointF top = (outline.value(0) + outline.value(1)) / 2;
    painter.drawLine(top, rotationGrip);
    painter.setBrush(hollowMarker);
    for (const QPointF &at : scaleGrips) {
        painter.drawRect(QRectF(at.x() - grip, at.y() - grip, 2 * grip, 2 * grip));
    }
    painter.drawEllipse(rotationGrip, grip + 1, grip + 1);
    // The pivot: a ring with a cross through it.
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(pivot, grip, grip);
    painter.drawLine(pivot - QPointF(2 * grip, 0), pivot + QPointF(2 * grip, 0));
    painter.drawLine(pivot - QPointF(0, 2 * grip), pivot + QPointF(0, 2 * grip));
}

void EditorPainter::paintLasso(const QPolygonF &outline) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(selectedCurve, 1));
    QColor fill = selectedCurve;
    fill.setAlpha(40);
    painter.setBrush(fill);
    painter.drawPolygon(outline, Qt::OddEvenFill);
}

void EditorPainter::paintBand(const QRectF &band) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(selectedCurve, 1, Qt::DashLine));
    QColor fill = selectedCurve;
    fill.setAlpha(40);
    painter.setBrush(fill);
    painter.drawRect(band);
}

} // namespace VoEditor
