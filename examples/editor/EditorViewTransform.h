#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace VoEditor {

// How the canvas shows the scene: a uniform scale and an offset from scene units (what the graph's
// inputs hold, y downwards) to the canvas's pixels. Zooms around a fixed pixel, pans by pixels and
// fits a scene rectangle into the canvas. Gives finite pixels within maxPixel whatever the scene
// holds. Plain value.
class EditorViewTransform {
public:
    static constexpr double minScale = 1e-6;
    static constexpr double maxScale = 1e6;

    // The farthest a pixel given by toView lies from the view's origin, on either axis: far off
    // any screen, yet small enough that every painter, region and int conversion takes it.
    static constexpr double maxPixel = 1e8;

    // A point farther than maxPixel (however far, non-finite included) is brought in along the
    // line from the view's origin to it, so that what is drawn towards it keeps its direction.
    QPointF toView(const QPointF &scene) const;
    QPointF toScene(const QPointF &view) const { return (view - offset) / scale; }
    // A rectangle's edges are each kept within maxPixel: the part of it on screen is unchanged.
    QRectF toView(const QRectF &scene) const;
    QRectF toScene(const QRectF &view) const;
    double getScale() const noexcept { return scale; }
    QPointF getOffset() const noexcept { return offset; }

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
