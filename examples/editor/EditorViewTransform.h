#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace VoEditor {

// How the canvas shows the scene: a uniform scale and an offset from scene units (what the graph's
// inputs hold, y downwards) to the canvas's pixels. Zooms around a fixed pixel, pans by pixels and
// fits a scene rectangle into the canvas. Plain value.
class EditorViewTransform {
public:
    static constexpr double minScale = 1e-6;
    static constexpr double maxScale = 1e6;

    QPointF toView(const QPointF &scene) const { return scene * scale + offset; }
    QPointF toScene(const QPointF &view) const { return (view - offset) / scale; }
    QRectF toView(const QRectF &scene) const;
    QRectF toScene(const QRectF &view) const;
    double getScale() const noexcept { return scale; }

    // Multiplies the scale by factor (clamped to the bounds above), keeping the scene point under
    // the pixel at where it is.
    void zoom(double factor, const QPointF &at);
    void pan(const QPointF &by) { offset += by; }
    // The largest scale that shows the whole of scene inside area less margin pixels on every
    // side, centred; an empty scene is centred at its place with the scale kept.
    void fit(const QRectF &scene, const QSizeF &area, double margin);

private:
    double scale = 1;
    QPointF offset;
};

} // namespace VoEditor
