#include "EditorLayout.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace VoEditor {

namespace {

const double pi = 3.14159265358979323846;
// Cells smaller than this in height show no name.
const double minTitledHeight = 60;
const double titleHeight = 16;

// The wave: evenly spaced points from the first to the last take these angles, so that a crest
// and a trough lie between them and no three of a short curve fall on one line.
const double firstAngle = pi / 8;
const double angleRange = 1.5 * pi;

double waveAngle(double along) { return firstAngle + angleRange * along; }

double distanceToSegment(const QPointF &at, const QPointF &from, const QPointF &to) {
    const QPointF along = to - from;
    const double length2 = QPointF::dotProduct(along, along);
    const double t =
        length2 <= 0 ? 0 : std::clamp(QPointF::dotProduct(at - from, along) / length2, 0.0, 1.0);
    return QLineF(at, from + t * along).length();
}

} // namespace

EditorLayout::EditorLayout(const QSizeF &size, int count)
    : area(size), nbSlots(std::max(count, 1)), columns(nbColumns()),
      cellWidth(area.width() / columns), cellHeight(area.height() / nbRows()) {}

int EditorLayout::nbColumns() const {
    // As square a grid as the canvas's proportions allow.
    const double aspect = area.height() > 0 ? area.width() / area.height() : 1;
    const int wanted = static_cast<int>(std::ceil(std::sqrt(nbSlots * aspect / 1.5)));
    return std::clamp(wanted, 1, nbSlots);
}

QRectF EditorLayout::getCell(int slot) const {
    return QRectF((slot % columns) * cellWidth, (slot / columns) * cellHeight, cellWidth,
                  cellHeight);
}

QRectF EditorLayout::getTitleArea(int slot) const {
    const QRectF cell = getCell(slot);
    if (cell.height() < minTitledHeight) {
        return QRectF(cell.topLeft(), QSizeF(cell.width(), 0));
    }
    const double margin = std::min(8.0, cell.width() * 0.05);
    return QRectF(cell.left() + margin, cell.top() + 2, cell.width() - 2 * margin, titleHeight);
}

// Below the title: the curve on 70% of the height left, a gap, the handle line on 15%.
QRectF EditorLayout::getCurveArea(int slot) const {
    const QRectF cell = getCell(slot);
    const QRectF title = getTitleArea(slot);
    const double margin = std::min(10.0, std::min(cell.width(), cell.height()) * 0.1);
    const double top = std::max(title.bottom(), cell.top()) + margin;
    const double rest = cell.bottom() - margin - top;
    return QRectF(cell.left() + margin, top, cell.width() - 2 * margin, rest * 0.7);
}

QRectF EditorLayout::getHandleArea(int slot) const {
    const QRectF curve = getCurveArea(slot);
    const double rest = curve.height() / 0.7;
    return QRectF(curve.left(), curve.top() + rest * 0.85, curve.width(), rest * 0.15);
}

int EditorLayout::findSlot(const QPointF &at) const {
    if (at.x() < 0 || at.y() < 0 || at.x() >= area.width() || at.y() >= area.height()) {
        return -1;
    }
    const int column = std::min(columns - 1, static_cast<int>(at.x() / cellWidth));
    const int slot = static_cast<int>(at.y() / cellHeight) * columns + column;
    return slot < nbSlots ? slot : -1;
}

std::vector<int> EditorLayout::findSlotsIn(const QRectF &rect) const {
    const auto first = [](double from, double size) {
        return std::max(0, static_cast<int>(std::floor(from / size)));
    };
    const auto last = [](double to, double size, int count) {
        return std::min(count - 1, static_cast<int>(std::ceil(to / size)) - 1);
    };
    std::vector<int> met;
    if (rect.isEmpty()) {
        return met;
    }
    const int lastColumn = last(rect.right(), cellWidth, columns);
    const int lastRow = last(rect.bottom(), cellHeight, nbRows());
    for (int row = first(rect.top(), cellHeight); row <= lastRow; ++row) {
        for (int column = first(rect.left(), cellWidth); column <= lastColumn; ++column) {
            const int slot = row * columns + column;
            if (slot < nbSlots) {
                met.push_back(slot);
            }
        }
    }
    return met;
}

QPointF EditorLayout::getPoint(int slot, int index, int count) const {
    const QRectF curve = getCurveArea(slot);
    const double along = count > 1 ? static_cast<double>(index) / (count - 1) : 0.5;
    return QPointF(curve.left() + curve.width() * (index + 0.5) / count,
                   curve.center().y() - 0.45 * curve.height() * std::sin(waveAngle(along)));
}

QPointF EditorLayout::getHandle(int slot, int index, int count) const {
    const QRectF line = getHandleArea(slot);
    return QPointF(line.left() + line.width() * (index + 0.5) / count, line.center().y());
}

double EditorLayout::getPointSpacing(int slot, int count) const {
    return count > 0 ? getCurveArea(slot).width() / count : 0;
}

double EditorLayout::getHandleSpacing(int slot, int count) const {
    return count > 0 ? getHandleArea(slot).width() / count : 0;
}

void EditorLayout::indexRange(const QRectF &area, int count, double left, double right, int &first,
                              int &last) {
    // Marker i sits at area.left() + area.width() * (i + 0.5) / count.
    const double scale = count / std::max(area.width(), 1e-9);
    first = std::max(0, static_cast<int>(std::ceil((left - area.left()) * scale - 0.5)));
    last = std::min(count - 1, static_cast<int>(std::floor((right - area.left()) * scale - 0.5)));
}

int EditorLayout::findNearest(const QRectF &area, Position position, int slot, int count,
                              const QPointF &at, double tolerance) const {
    int first = 0;
    int last = -1;
    indexRange(area, count, at.x() - tolerance, at.x() + tolerance, first, last);
    int nearest = -1;
    double best = tolerance;
    for (int index = first; index <= last; ++index) {
        const double distance = QLineF(at, (this->*position)(slot, index, count)).length();
        if (distance <= best) {
            best = distance;
            nearest = index;
        }
    }
    return nearest;
}

int EditorLayout::findPoint(int slot, int count, const QPointF &at, double tolerance) const {
    return findNearest(getCurveArea(slot), &EditorLayout::getPoint, slot, count, at, tolerance);
}

int EditorLayout::findHandle(int slot, int count, const QPointF &at, double tolerance) const {
    return findNearest(getHandleArea(slot), &EditorLayout::getHandle, slot, count, at, tolerance);
}

bool EditorLayout::isNearCurve(int slot, int count, const QPointF &at, double tolerance) const {
    if (count <= 0) {
        return false;
    }
    int first = 0;
    int last = -1;
    indexRange(getCurveArea(slot), count, at.x() - tolerance, at.x() + tolerance, first, last);
    // The segments that end at the points in reach, and the one that spans at when none is.
    first = std::max(0, std::min(first, last) - 1);
    last = std::min(count - 1, std::max(first, last) + 1);
    for (int index = first; index < last; ++index) {
        if (distanceToSegment(at, getPoint(slot, index, count), getPoint(slot, index + 1, count)) <=
            tolerance) {
            return true;
        }
    }
    return QLineF(at, getPoint(slot, first, count)).length() <= tolerance;
}

std::vector<int> EditorLayout::findPointsIn(int slot, int count, const QRectF &band) const {
    int first = 0;
    int last = -1;
    indexRange(getCurveArea(slot), count, band.left(), band.right(), first, last);
    std::vector<int> inside;
    for (int index = first; index <= last; ++index) {
        if (band.contains(getPoint(slot, index, count))) {
            inside.push_back(index);
        }
    }
    return inside;
}

QRectF EditorLayout::getCurveBounds(int slot, int count) const {
    if (count <= 0) {
        return QRectF();
    }
    // The ends and the points nearest to the wave's two crests bound all the others.
    const int crest =
        static_cast<int>(std::lround((count - 1) * (pi / 2 - firstAngle) / angleRange));
    const int trough =
        static_cast<int>(std::lround((count - 1) * (1.5 * pi - firstAngle) / angleRange));
    const QPointF start = getPoint(slot, 0, count);
    QPointF low = start;
    QPointF high = start;
    for (const int index :
         {count - 1, crest - 1, crest, crest + 1, trough - 1, trough, trough + 1}) {
        const QPointF point = getPoint(slot, std::clamp(index, 0, count - 1), count);
        low = QPointF(std::min(low.x(), point.x()), std::min(low.y(), point.y()));
        high = QPointF(std::max(high.x(), point.x()), std::max(high.y(), point.y()));
    }
    return QRectF(low, high);
}

} // namespace VoEditor
