#include "EditorPainter.h"

#include <QFont>
#include <QPen>
#include <QPolygonF>
#include <QString>

#include <algorithm>
#include <cmath>

namespace VoEditor {

namespace {

const double minRadius = 1.5;
const double maxRadius = 4.5;
// Unselected markers are drawn only when neighbours are at least this far apart.
const double minHollowSpacing = 7;

double markerRadius(double spacing) { return std::clamp(spacing * 0.3, minRadius, maxRadius); }

QFont labelFont() {
    QFont font;
    font.setPixelSize(10);
    return font;
}

} // namespace

const QColor EditorPainter::background(0xf0, 0xef, 0xea);
const QColor EditorPainter::mutedCurve(0xb0, 0xb4, 0xba);
const QColor EditorPainter::selectedCurve(0x2b, 0x6c, 0xb0);
const QColor EditorPainter::primaryCurve(0xd9, 0x48, 0x0f);
const QColor EditorPainter::selectedPoint(0xc2, 0x18, 0x5b);
const QColor EditorPainter::selectedHandle(0x2f, 0x9e, 0x44);
const QColor EditorPainter::hollowMarker(0xff, 0xff, 0xff);

EditorPainter::LabelSpace::LabelSpace(const QRectF &area)
    : columns(static_cast<int>(std::ceil(area.width() / cellSize)) + 1),
      rows(static_cast<int>(std::ceil(area.height() / cellSize)) + 1),
      taken(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), false) {}

bool EditorPainter::LabelSpace::take(const QRectF &rect) {
    const int left = std::max(0, static_cast<int>(rect.left() / cellSize));
    const int right = std::min(columns - 1, static_cast<int>(rect.right() / cellSize));
    const int top = std::max(0, static_cast<int>(rect.top() / cellSize));
    const int bottom = std::min(rows - 1, static_cast<int>(rect.bottom() / cellSize));
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
    : painter(target), layout(shapes), metrics(labelFont()), labels(area) {
    painter.fillRect(area, background);
    painter.setFont(labelFont());
}

void EditorPainter::paint(const std::vector<EditorShapeView> &shapes) {
    // Muted shapes first, so that the selected ones and their labels lie on top.
    for (const EditorShapeView &shape : shapes) {
        if (!shape.selected) {
            paintShape(shape);
        }
    }
    for (const EditorShapeView &shape : shapes) {
        if (shape.selected && !shape.primary) {
            paintShape(shape);
        }
    }
    for (const EditorShapeView &shape : shapes) {
        if (shape.primary) {
            paintShape(shape);
        }
    }
}

void EditorPainter::paintShape(const EditorShapeView &shape) {
    const QColor colour =
        shape.primary ? primaryCurve : (shape.selected ? selectedCurve : mutedCurve);
    const QRectF title = layout.getTitleArea(shape.slot);
    if (title.height() > 0) {
        painter.setPen(shape.selected ? colour : mutedCurve.darker(130));
        QFont font = painter.font();
        font.setBold(shape.primary);
        painter.setFont(font);
        painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(shape.name));
        painter.setFont(labelFont());
    }
    paintCurve(shape, colour, shape.primary ? 3.0 : 2.0);
    paintHandleLine(shape, colour);
    paintHollowMarkers(shape, colour);
    paintSelected(shape);
}

void EditorPainter::paintCurve(const EditorShapeView &shape, const QColor &colour, double width) {
    QPolygonF curve;
    curve.reserve(shape.nbPoints);
    for (int index = 0; index < shape.nbPoints; ++index) {
        curve << layout.getPoint(shape.slot, index, shape.nbPoints);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(curve);
}

void EditorPainter::paintHandleLine(const EditorShapeView &shape, const QColor &colour) {
    if (shape.nbHandles == 0) {
        return;
    }
    const QRectF line = layout.getHandleArea(shape.slot);
    painter.setPen(QPen(colour, 1, Qt::DashLine));
    painter.drawLine(QPointF(line.left(), line.center().y()),
                     QPointF(line.right(), line.center().y()));
}

void EditorPainter::paintHollowMarkers(const EditorShapeView &shape, const QColor &colour) {
    painter.setPen(QPen(colour, 1));
    painter.setBrush(hollowMarker);
    const double pointSpacing = layout.getPointSpacing(shape.slot, shape.nbPoints);
    if (pointSpacing >= minHollowSpacing) {
        const double radius = markerRadius(pointSpacing);
        for (int index = 0; index < shape.nbPoints; ++index) {
            painter.drawEllipse(layout.getPoint(shape.slot, index, shape.nbPoints), radius, radius);
        }
    }
    const double handleSpacing = layout.getHandleSpacing(shape.slot, shape.nbHandles);
    if (handleSpacing >= minHollowSpacing) {
        const double radius = markerRadius(handleSpacing);
        for (int index = 0; index < shape.nbHandles; ++index) {
            const QPointF at = layout.getHandle(shape.slot, index, shape.nbHandles);
            painter.drawRect(QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius));
        }
    }
}

void EditorPainter::paintSelected(const EditorShapeView &shape) {
    const double pointRadius = markerRadius(layout.getPointSpacing(shape.slot, shape.nbPoints));
    const double handleRadius = markerRadius(layout.getHandleSpacing(shape.slot, shape.nbHandles));
    // Markers first, labels after, so that no marker covers a label.
    for (const int index : shape.points) {
        if (index >= 0 && index < shape.nbPoints) {
            paintMarker(layout.getPoint(shape.slot, index, shape.nbPoints), pointRadius,
                        selectedPoint, false);
        }
    }
    for (const int index : shape.handles) {
        if (index >= 0 && index < shape.nbHandles) {
            paintMarker(layout.getHandle(shape.slot, index, shape.nbHandles), handleRadius,
                        selectedHandle, true);
        }
    }
    painter.setPen(Qt::black);
    for (std::size_t rank = 0; rank < shape.points.size(); ++rank) {
        const int index = shape.points[rank];
        if (index >= 0 && index < shape.nbPoints) {
            paintLabel(layout.getPoint(shape.slot, index, shape.nbPoints), pointRadius,
                       static_cast<int>(rank) + 1);
        }
    }
    for (std::size_t rank = 0; rank < shape.handles.size(); ++rank) {
        const int index = shape.handles[rank];
        if (index >= 0 && index < shape.nbHandles) {
            paintLabel(layout.getHandle(shape.slot, index, shape.nbHandles), handleRadius,
                       static_cast<int>(rank) + 1);
        }
    }
}

void EditorPainter::paintMarker(const QPointF &at, double radius, const QColor &fill, bool square) {
    if (radius < 2.5) {
        // Small and many: a plain square is as legible and much cheaper than an ellipse.
        const double side = std::max(2.0, 2 * radius);
        painter.fillRect(QRectF(at.x() - side / 2, at.y() - side / 2, side, side), fill);
        return;
    }
    painter.setPen(QPen(fill.darker(140), 1));
    painter.setBrush(fill);
    const QRectF box(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius);
    if (square) {
        painter.drawRect(box);
    } else {
        painter.drawEllipse(box);
    }
}

void EditorPainter::paintLabel(const QPointF &at, double radius, int rank) {
    const QString text = QString::number(rank);
    const QRectF box(at.x() + radius, at.y() - radius - metrics.height(),
                     metrics.horizontalAdvance(text) + 2, metrics.height());
    if (labels.take(box)) {
        painter.drawText(box, Qt::AlignLeft | Qt::AlignBottom, text);
    }
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
