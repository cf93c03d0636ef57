#pragma once

#include "EditorGeometry.h"
#include "EditorLayout.h"
#include "EditorShapeTable.h"
#include "EditorSpatialIndex.h"
#include "EditorViewTransform.h"

#include "AppShapeInterface.h"

#include <QPointF>
#include <QPolygonF>
#include <QRectF>

#include <vector>

namespace VoEditor {

// What lies under a place on the canvas, as it is drawn: the nearest point through the spatial
// index, a handle on its line, a curve's spans (the primary shape's first, then the selected
// ones, then the others, as they are drawn on top), and the primary shape's points inside a
// rectangle or a freehand outline. Only the active layer's shapes are found. Borrows the table,
// geometry, index and view; cheap to make, for one event.
class EditorPicker {
public:
    // How far from a marker or the curve, in pixels, the pointer still falls on it.
    static constexpr double reach = 6;

    struct Hit {
        enum Kind { Nothing, Point, Handle, Shape } kind = Nothing;
        VoExample::AppShapeInterface *shape = nullptr;
        int slot = -1;
        int index = -1;
        int count = 0;
    };
    // A place on a curve: the span from point index to index + 1 (index 0 for a lone point), and
    // where on it, from 0 to 1, in scene units.
    struct CurvePlace {
        int index = -1;
        double along = 0;
        QPointF at;
    };

    EditorPicker(const EditorShapeTable &table, const EditorGeometry &geometry,
                 const EditorSpatialIndex &index, const EditorViewTransform &view);

    // A point, then a handle, then a curve; points and handles of the primary shape only with
    // partsOfPrimaryOnly (what a click selects), of any shape otherwise (what hovering names).
    Hit hitTest(const QPointF &at, bool partsOfPrimaryOnly) const;
    // The point drawn nearest to at within reach, of the primary shape only or of any; false when
    // there is none.
    bool findPoint(const QPointF &at, bool primaryOnly, int &slot, int &index) const;
    Hit findHandle(const QPointF &at, bool primaryOnly) const;
    Hit findCurve(const QPointF &at) const;
    // The active layer's slots, ascending, whose curves' boxes lie within reach of at.
    std::vector<int> findCurvesNear(const QPointF &at) const;
    // The place on the slot's curve nearest to at, when it lies within reach; index -1 otherwise.
    CurvePlace findCurvePlace(int slot, const QPointF &at) const;
    // The active layer's shapes drawn wholly inside band (their curves' boxes), or inside outline
    // (every one of their points), in slot order.
    std::vector<VoExample::AppShapeInterface *> findShapesIn(const QRectF &band) const;
    std::vector<VoExample::AppShapeInterface *> findShapesIn(const QPolygonF &outline) const;
    // The primary shape's points drawn inside band (inside outline), ascending.
    std::vector<int> findPrimaryPointsIn(const QRectF &band) const;
    std::vector<int> findPrimaryPointsIn(const QPolygonF &outline) const;

private:
    EditorLayout layout() const { return EditorLayout(geometry, view); }
    // The spans of the slot that may pass within reach of at, by their first point.
    std::vector<int> spansNear(int slot, const QPointF &at) const;

    const EditorShapeTable &table;
    const EditorGeometry &geometry;
    const EditorSpatialIndex &index;
    const EditorViewTransform &view;
};

} // namespace VoEditor
