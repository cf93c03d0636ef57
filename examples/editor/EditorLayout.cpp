#include "EditorLayout.h"

#include <algorithm>

namespace VoEditor {

namespace {

// A curve box smaller than this on screen shows no name.
const double minTitledHeight = 24;
const double minTitledWidth = 40;
const double titleHeight = 16;
// The handle line's band, this far below the curve's box.
const double handleGap = 4;
const double handleBand = 10;

} // namespace

EditorLayout::EditorLayout(const EditorGeometry &shapes, const EditorViewTransform &transform)
    : geometry(shapes), view(transform) {}

bool EditorLayout::holds(int slot) const {
    return slot >= 0 && slot < geometry.getNbSlots() && !geometry.getShape(slot).points.empty();
}

QRectF EditorLayout::getCurveArea(int slot) const {
    return holds(slot) ? view.toView(geometry.getShape(slot).curveBounds) : QRectF();
}

QRectF EditorLayout::getTitleArea(int slot) const {
    const QRectF curve = getCurveArea(slot);
    if (curve.height() < minTitledHeight || curve.width() < minTitledWidth) {
        return QRectF(curve.topLeft(), QSizeF(curve.width(), 0));
    }
    return QRectF(curve.left(), curve.top() - titleHeight - 2, curve.width(), titleHeight);
}

QRectF EditorLayout::getHandleArea(int slot) const {
    const QRectF curve = getCurveArea(slot);
    if (!holds(slot) || geometry.getShape(slot).handles.empty()) {
        return QRectF(curve.bottomLeft(), QSizeF(curve.width(), 0));
    }
    return QRectF(curve.left(), curve.bottom() + handleGap, curve.width(), handleBand);
}

QRectF EditorLayout::getCell(int slot) const {
    if (!holds(slot)) {
        return QRectF();
    }
    const QRectF curve = getCurveArea(slot);
    const QRectF title = getTitleArea(slot);
    const QRectF handles = getHandleArea(slot);
    return QRectF(QPointF(curve.left(), std::min(title.top(), curve.top())),
                  QPointF(curve.right(), std::max(handles.bottom(), curve.bottom())));
}

std::vector<int> EditorLayout::findSlotsIn(const QRectF &rect) const {
    std::vector<int> met;
    for (int slot = 0; slot < geometry.getNbSlots(); ++slot) {
        if (holds(slot) && getCell(slot).intersects(rect)) {
            met.push_back(slot);
        }
    }
    return met;
}

QPointF EditorLayout::getPoint(int slot, int index, int) const {
    if (!holds(slot)) {
        return QPointF();
    }
    const std::vector<QPointF> &points = geometry.getShape(slot).points;
    return index >= 0 && index < static_cast<int>(points.size())
               ? view.toView(points[static_cast<std::size_t>(index)])
               : getCurveArea(slot).center();
}

QPointF EditorLayout::getHandle(int slot, int index, int) const {
    const QRectF line = getHandleArea(slot);
    if (!holds(slot)) {
        return line.center();
    }
    const std::vector<double> &handles = geometry.getShape(slot).handles;
    const double place = index >= 0 && index < static_cast<int>(handles.size())
                             ? handles[static_cast<std::size_t>(index)]
                             : 0.5;
    return QPointF(line.left() + line.width() * place, line.center().y());
}

std::array<QPointF, 4> EditorLayout::getSpan(const QPointF &before, const QPointF &from,
                                             const QPointF &to, const QPointF &after) {
    return {from, from + (to - before) / 6, to - (after - from) / 6, to};
}

std::array<QPointF, 4> EditorLayout::getSpan(int slot, int index) const {
    const int last = holds(slot) ? static_cast<int>(geometry.getShape(slot).points.size()) - 1 : 0;
    const auto point = [&](int at) { return getPoint(slot, std::clamp(at, 0, last), last + 1); };
    return getSpan(point(index - 1), point(index), point(index + 1), point(index + 2));
}

double EditorLayout::getPointSpacing(int slot, int) const {
    return holds(slot) ? geometry.getShape(slot).meanSpacing * view.getScale() : 0;
}

double EditorLayout::getHandleSpacing(int slot, int count) const {
    return count > 0 ? getHandleArea(slot).width() / count : 0;
}

} // namespace VoEditor
