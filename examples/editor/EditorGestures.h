#pragma once

#include "EditorDocument.h"
#include "EditorShapeView.h"

#include "AppShapeInterface.h"

#include "SeSelectionBatch.h"

#include "foundation/RCShdPtr.h"

#include <QPointF>

#include <vector>

namespace VoEditor {

// The editor's gestures on its selection, each one call of the library, or for a deletion or an
// insertion the application's graph edits each followed by the library call that renumbers the
// selection. Each runs through the document, which logs it. Borrows the document.
class EditorGestures {
public:
    // What a click does to the clicked point or handle: select it alone, add it after the others
    // (its rank follows theirs), or take it out.
    enum class Click { Alone, Add, Remove };
    // The picking tool's kinds, as this editor sets them on the selector; the library stores them.
    enum Picking { PickingNothing = 0, PickingPoint = 1, PickingHandle = 2 };

    explicit EditorGestures(EditorDocument &document);

    // The shape alone and primary; with toggle, added to the selection or taken out of it.
    void clickShape(VoExample::AppShapeInterface &shape, bool toggle);
    // A point (handle) of the primary shape.
    void clickPoint(int index, Click click);
    void clickHandle(int index, Click click);
    // What a rectangle dragged on empty canvas does to what it caught: select it alone, add it
    // (after what is selected, in its order), or take it out.
    enum class Marquee { Replace, Add, Remove };
    // A rectangle's (with freehand, a lasso's outline's) points of the primary shape, or its
    // shapes; one change each. Nothing happens for an empty list. Linear in the caught and the
    // selected points (shapes).
    void selectPoints(const std::vector<int> &points, Marquee marquee = Marquee::Replace,
                      bool freehand = false);
    void selectShapes(const std::vector<VoExample::AppShapeInterface *> &shapes,
                      Marquee marquee = Marquee::Replace, bool freehand = false);
    // When the primary shape has points or handles selected, its other points instead (its
    // handles leave); otherwise the active layer's shapes that are not selected, as wholes.
    void invertSelection();
    // All points of the primary shape, or all shapes when none is primary.
    void selectAll();
    // The primary shape's selected points grown by their neighbours along the curve (which
    // follow them in the selection's order), or shrunk by those next to a point not selected
    // (the curve's ends count as such): one change. Nothing happens without selected points.
    void growPoints(bool grow);
    // The point after (before) the rank-1 one, alone.
    void step(bool forward);
    void selectNothing();
    // The selected points and handles leave the primary shape, last index first; with none
    // selected, the selected shapes are deleted. Either way in one batch: one change of the
    // selection, one run of the callbacks, one step of the undo stack.
    void deleteSelection();
    // A point after the rank-1 point of the primary shape; one step of the undo stack.
    void insertPoint();
    // A point of the primary shape inserted at index, placed at (x, y) (where the artist clicked
    // on its curve); one step of the undo stack.
    void insertPointAt(int index, const QPointF &at);
    // The undo stack's undo and redo (EditorUndoHistory).
    void undo();
    void redo();
    // Sets the picking state; gives true when it changed. Not a change of the selection: no
    // callback runs and nothing is logged.
    bool pick(Picking type, int index, int extremity);

private:
    VoExample::AppShapeInterface *primaryShape() const;
    // The items of the selection that name the shape; linear in the selection, reading only.
    int nbItemsOf(const VoExample::AppShapeInterface &shape) const;
    void takeOutEveryItem(const VoExample::AppShapeInterface &shape);
    void deleteParts(VoExample::AppShapeInterface &shape, const std::vector<int> &points,
                     const std::vector<int> &handles);
    void deleteShapes();

    EditorDocument &document;
};

} // namespace VoEditor
