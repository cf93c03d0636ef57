#pragma once

#include "EditorViewTransform.h"

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

#include <vector>

namespace VoEditor {

// The box round the points a transform moves, with its grips, as the canvas shows it: eight scale
// grips on its corners and edges, a rotation grip above its top edge, and the pivot the scale and
// the rotation keep in place (the box's centre until the artist moves it). Turns a drag of a grip
// into the transform it makes: a scale away from the pivot along the grip's axes (the same on
// both with proportions kept), or a rotation round the pivot (to a multiple of 15 degrees with
// the angle snapped). The box and the pivot are in scene units; grips are found and drawn in the
// view's pixels. Plain value.
class EditorTransformBox {
public:
    // What lies under a place: a scale grip by its corner or edge (x and y: -1 left or top, 0
    // centre, 1 right or bottom), the rotation grip, the pivot, or none.
    struct Grip {
        enum Kind { None, Scale, Rotate, Pivot } kind = None;
        int x = 0;
        int y = 0;
    };

    // Half the side of a scale grip, the radius of the rotation grip, and how far above the box's
    // top edge it lies, in pixels.
    static constexpr double gripSize = 4;
    static constexpr double rotationGap = 24;
    // Shift rotates by whole multiples of this, in degrees.
    static constexpr double angleStep = 15;

    bool isShown() const noexcept { return shown; }
    // The box round these points, its pivot at its centre; hidden for none.
    void surround(const std::vector<QPointF> &points);
    void hide() noexcept { shown = false; }
    const QRectF &getBox() const noexcept { return box; }
    const QPointF &getPivot() const noexcept { return pivot; }
    void setPivot(const QPointF &at) noexcept { pivot = at; }

    Grip gripAt(const EditorViewTransform &view, const QPointF &at) const;
    // The transform a drag of grip from `from` to `to` (scene units) makes; identity for no grip
    // or the pivot, and for a scale along an axis where the grip lies on the pivot.
    QTransform transformFor(const Grip &grip, const QPointF &from, const QPointF &to,
                            bool constrained) const;
    // A flip across the pivot's vertical (horizontally) or horizontal line.
    QTransform flip(bool horizontally) const;

    // On screen under transform (a drag in progress): the grips' centres (scale grips in the
    // order x, y from -1 to 1, the centre left out), the rotation grip's, and the box.
    std::vector<QPointF> scaleGrips(const EditorViewTransform &view,
                                    const QTransform &transform = QTransform()) const;
    QPointF rotationGrip(const EditorViewTransform &view,
                         const QTransform &transform = QTransform()) const;
    QPolygonF outline(const EditorViewTransform &view, const QTransform &transform) const;
    // Where all of it is drawn, under transform.
    QRectF reach(const EditorViewTransform &view, const QTransform &transform) const;

private:
    // The scene place of the scale grip at x, y.
    QPointF gripPlace(int x, int y) const;
    // Around the pivot: translate there, apply, translate back.
    QTransform aroundPivot(const QTransform &linear) const;

    bool shown = false;
    QRectF box;
    QPointF pivot;
};

} // namespace VoEditor
