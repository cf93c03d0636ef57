#include "EditorViewTransform.h"

#include <algorithm>
#include <cmath>

namespace VoEditor {

namespace {

// A factor that brings any finite scene coordinate times the largest scale back among the doubles.
const double tiny = std::ldexp(1.0, -64);

double bounded(double pixel) {
    return std::isnan(pixel)
               ? -EditorViewTransform::maxPixel
               : std::clamp(pixel, -EditorViewTransform::maxPixel, EditorViewTransform::maxPixel);
}

} // namespace

QPointF EditorViewTransform::toView(const QPointF &scene) const {
    QPointF at = scene * scale + offset;
    if (std::abs(at.x()) <= maxPixel && std::abs(at.y()) <= maxPixel) {
        return at;
    }
    if (!std::isfinite(at.x()) || !std::isfinite(at.y())) {
        at = (scene * tiny) * scale + offset * tiny; // the same direction, overflowing nothing
    }
    const double longest = std::max(std::abs(at.x()), std::abs(at.y()));
    at *= maxPixel / longest;
    return QPointF(bounded(at.x()), bounded(at.y()));
}

QRectF EditorViewTransform::toView(const QRectF &scene) const {
    const auto pixel = [this](double coordinate, double shift) {
        const double at = coordinate * scale + shift;
        return bounded(std::isfinite(at) ? at : (coordinate * tiny) * scale + shift * tiny);
    };
    return QRectF(QPointF(pixel(scene.left(), offset.x()), pixel(scene.top(), offset.y())),
                  QPointF(pixel(scene.right(), offset.x()), pixel(scene.bottom(), offset.y())));
}

QRectF EditorViewTransform::toScene(const QRectF &view) const {
    return QRectF(toScene(view.topLeft()), view.size() / scale);
}

void EditorViewTransform::zoom(double factor, const QPointF &at) {
    const QPointF fixed = toScene(at);
    scale = std::clamp(scale * factor, minScale, maxScale);
    offset = at - fixed * scale;
}

void EditorViewTransform::fit(const QRectF &scene, const QSizeF &area, double margin) {
    const double width = std::max(1.0, area.width() - 2 * margin);
    const double height = std::max(1.0, area.height() - 2 * margin);
    if (scene.width() > 0 || scene.height() > 0) {
        const double wide = scene.width() > 0 ? width / scene.width() : maxScale;
        const double tall = scene.height() > 0 ? height / scene.height() : maxScale;
        scale = std::clamp(std::min(wide, tall), minScale, maxScale);
    }
    offset = QPointF(area.width() / 2, area.height() / 2) - scene.center() * scale;
}

} // namespace VoEditor
