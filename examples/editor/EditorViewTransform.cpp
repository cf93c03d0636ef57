#include "EditorViewTransform.h"

#include <algorithm>

namespace VoEditor {

QRectF EditorViewTransform::toView(const QRectF &scene) const {
    return QRectF(toView(scene.topLeft()), scene.size() * scale);
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
