#pragma once

#include "EditorMove.h"
#include "EditorPicker.h"
#include "EditorShapeTable.h"
#include "EditorSpatialIndex.h"
#include "EditorViewTransform.h"

#include <QPointF>

#include <cstdint>
#include <unordered_set>

namespace VoEditor {

// Where a point dragged with the pointer comes to rest when snapping is on: on a point of the
// active layer that is not moving, or else on the nearest place of a curve that is not moving,
// when one is drawn within reach of it; else on the nearest crossing of a grid whose step suits
// the view (1, 2 or 5 times a power of ten, at least minGridPixels apart on screen). Keeps what
// the drag moves, so that nothing snaps to itself. Owns that set; borrows nothing.
class EditorSnapper {
public:
    // What a snap found, and where, in scene units.
    struct Snap {
        enum Kind { None, Grid, Point, Curve } kind = None;
        QPointF at;
    };

    // How close on screen a point or curve must be drawn to catch a dragged point.
    static constexpr double reach = 8;
    static constexpr double minGridPixels = 20;

    void setGrid(bool on) noexcept { grid = on; }
    void setPoints(bool on) noexcept { points = on; }
    bool isGrid() const noexcept { return grid; }
    bool isPoints() const noexcept { return points; }
    bool isOn() const noexcept { return grid || points; }
    // The grid's step for the view.
    static double gridStep(const EditorViewTransform &view);

    // What the drag moves from now on: its points, and the slots of its shapes, by name in table.
    void startDrag(const EditorMove &move, const EditorShapeTable &table);
    // The place for a dragged point now at scene (scene units): None when nothing is on, or
    // nothing lies within reach and the grid is off.
    Snap snap(const QPointF &scene, const EditorPicker &picker, const EditorSpatialIndex &index,
              const EditorViewTransform &view) const;

private:
    static std::int64_t keyOf(int slot, int index) noexcept {
        return (static_cast<std::int64_t>(slot) << 32) | static_cast<std::uint32_t>(index);
    }
    bool snapToPoint(const QPointF &scene, const EditorSpatialIndex &index,
                     const EditorViewTransform &view, Snap &found) const;
    bool snapToCurve(const QPointF &scene, const EditorPicker &picker,
                     const EditorViewTransform &view, Snap &found) const;

    bool grid = false;
    bool points = false;
    std::unordered_set<std::int64_t> moving;
    std::unordered_set<int> movingSlots;
};

} // namespace VoEditor
