#pragma once

#include "EditorDocument.h"
#include "EditorGeometry.h"
#include "EditorGestures.h"
#include "EditorLayout.h"
#include "EditorMove.h"
#include "EditorPainter.h"
#include "EditorPicker.h"
#include "EditorShapeImages.h"
#include "EditorShapeTable.h"
#include "EditorShapeView.h"
#include "EditorSnapper.h"
#include "EditorSpatialIndex.h"
#include "EditorTransformBox.h"
#include "EditorViewTransform.h"

#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <QTransform>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace VoEditor {

// The editor's canvas: draws the open scene as the selector holds it, at the positions the graph
// holds, through a view the user zooms (wheel, around the pointer), pans (middle button, or Space
// and the left button) and fits (F); turns mouse and keys into gestures, one library call each,
// and drags and arrow keys into moves of the selected points or shapes, each burst one
// EditorMove handed to the document; draws a focus frame while it has the keyboard focus. When the
// library's callbacks say the editor's selection changed, after each gesture or command, and as
// points move, it repaints only where the shapes and markers that changed are drawn. Picks through
// a spatial index of every point. Owns its copy of what it draws, the index and the view; borrows
// the document.
class EditorCanvas : public QWidget {
    Q_OBJECT
public:
    explicit EditorCanvas(EditorDocument &document, QWidget *parent = nullptr);

    EditorLayout getLayout() const { return EditorLayout(geometry, view); }
    EditorGestures &getGestures() noexcept { return gestures; }
    const EditorShapeTable &getTable() const noexcept { return table; }
    const EditorGeometry &getGeometry() const noexcept { return geometry; }
    const EditorSpatialIndex &getIndex() const noexcept { return index; }
    const EditorViewTransform &getView() const noexcept { return view; }
    // Where the named live shape's point (handle) is drawn now, and a place on its curve between
    // its first two points (its only point, when it has one); (-1, -1) for no such shape.
    QPoint getPointPosition(const std::string &shape, int index) const;
    QPoint getHandlePosition(const std::string &shape, int index) const;
    QPoint getCurvePosition(const std::string &shape) const;

    // The view changes the wheel, a pan and F make; the view then no longer follows resizes,
    // except after fitView.
    // With transforming on, a box with grips surrounds the points a drag would move (the primary
    // shape's selected points, or the selected shapes'): its scale and rotation grips transform
    // them around its pivot, which the artist drags elsewhere, as one undo step each.
    void setTransforming(bool on);
    const EditorTransformBox &getTransformBox() const noexcept { return box; }
    // The points a drag would move, mirrored across the pivot (the centre of their box when none
    // is shown): one undo step.
    void flip(bool horizontally);

    // With the lasso on, a drag on empty canvas draws a freehand outline instead of a rectangle:
    // the shapes whose points are all inside it, or else the primary shape's points inside it,
    // are selected as a rectangle's are.
    void setLasso(bool on);
    // Snapping of dragged points to a grid, and to points and curves, with a guide drawn where
    // it acts (EditorSnapper); the grid is drawn while grid snapping is on.
    void setSnapping(bool grid, bool points);
    const EditorSnapper &getSnapper() const noexcept { return snapper; }
    const EditorSnapper::Snap &getShownSnap() const noexcept { return shownSnap; }

    void zoom(double factor, const QPointF &at);
    void pan(const QPointF &by);
    void fitView();
    // What lies under places of the canvas, as drawn now.
    EditorPicker getPicker() const { return EditorPicker(table, geometry, index, view); }

    QSize sizeHint() const override { return QSize(900, 600); }

Q_SIGNALS:
    // What lies under the pointer, for the status bar.
    void pickingChanged(const QString &message);
    // What a gesture could not do, and why (also in the log), for the status bar.
    void notice(const QString &message);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    // The focus frame comes and goes; a nudge ends with the focus.
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // What the left button does while it is held.
    enum class Drag { None, Band, Pan, Parts, Shapes, Transform, Pivot };

    // Reads every shape's geometry again and rebuilds the index.
    void rebuild();
    // The shapes whose counts changed are read again, and indexed again.
    void followCounts(const EditorShapeTable::Damage &damage);
    // Points were written: the copy, the index and the screen follow.
    void followMove(const EditorMove &move);
    // The moved points and handles of the view's shape, as the graph holds them now.
    void readMoved(const EditorShapeView &view, const EditorMove::Shape &moved);
    // Schedules the repaint of what the table says changed.
    void updateDamage(const EditorShapeTable::Damage &damage);
    // The rectangle being dragged out changed: the old and new ones are repainted.
    void moveBand(const QRectF &to);
    // The outline being drawn is to now; what changed is repainted.
    void extendLasso(const QPolygonF &to);
    // The slots, ascending, of the shapes a drag or a nudge is moving now; none between moves.
    std::vector<int> movingSlots() const;
    // Notes, as a drag or a nudge begins, the shapes it moves whole and their revisions.
    void noteMovedWhole();
    // The shapes moved whole, when the move is by whole pixels; none otherwise.
    std::vector<EditorPainter::Translated> translatedShapes() const;
    // The shapes to draw for a repaint of region, in slot order.
    std::vector<const EditorShapeView *> shapesToPaint(const EditorLayout &layout,
                                                       const QRegion &region) const;
    void press(const QPointF &at, Qt::KeyboardModifiers modifiers);
    void pressPart(const EditorPicker::Hit &hit, Qt::KeyboardModifiers modifiers);
    void pressShape(const EditorPicker::Hit &hit, Qt::KeyboardModifiers modifiers);
    // The selected points and handles of the primary shape or, when it has none (or with
    // shapes), the selected shapes whole.
    EditorMove selectionMove(bool shapes) const;
    // Names in the log and the status bar the shapes the move leaves where they are.
    void tellSkipped(const EditorMove &move);
    void startDrag();
    // The left (or another) button let go at at: a rectangle or outline selects, a move or a
    // transform is handed to the document, a press without a drag clicks.
    void endDrag(const QPointF &at, bool left);
    // The offset of the drag to the pointer at at, snapped, in scene units.
    QPointF dragOffset(const QPointF &at);
    // The guide of snap is drawn; only where it was and where it is are repainted.
    void showSnap(const EditorSnapper::Snap &snap);
    // A grip of the box dragged to at; constrained keeps proportions or snaps the angle.
    void transformTo(const QPointF &at, bool constrained);
    // The box surrounds the points a drag would move now (hidden when not transforming).
    void surroundSelection();
    // Repaints where the box was and where it is after change.
    void reshapeBox(const std::function<void()> &change);
    // repeated: the key is held down; what it cannot move was told at its press.
    void nudge(const QPointF &step, bool repeated);
    void finishNudge();
    // Picks what lies under the pointer and highlights it.
    void hover(const QPointF &at);
    // The shape, point or handle under the pointer is drawn highlighted; only where it changed is
    // repainted.
    void highlight(const EditorPicker::Hit &hit);
    QRect hoverReach() const;
    void pickNothing();
    void finishBand();
    // True for the keys this canvas handles, which then go to it, not to a menu's shortcut.
    bool isCanvasKey(const QKeyEvent &event) const;
    // The primary shape has points for Tab to step through.
    bool canStep() const;
    // Ctrl+Tab or Ctrl+Shift+Tab: the focus goes on to the next part (or back).
    static bool isFocusStep(const QKeyEvent &event);
    static bool isUndo(const QKeyEvent &event);
    // Ctrl+Shift+Z and Ctrl+Y, whatever the platform's own Redo key.
    static bool isRedo(const QKeyEvent &event);

    EditorDocument &document;
    EditorGestures gestures;
    EditorShapeTable table;
    // By slot, the other layers' shapes, drawn dimmed; an empty view (shape null) elsewhere.
    std::vector<EditorShapeView> dimmed;
    EditorGeometry geometry;
    EditorSpatialIndex index;
    EditorViewTransform view;
    // The shapes' curves as last drawn, copied by the repaints that change only the selection.
    EditorShapeImages images;
    // The view fits the scene at every resize until the user zooms or pans.
    bool following = true;
    Drag drag = Drag::None;
    // A points or shapes drag has passed the threshold and moves.
    bool moving = false;
    bool spaceHeld = false;
    QPointF pressedAt;
    QPointF lastAt;
    Qt::KeyboardModifiers bandModifiers;
    QRectF band;
    bool lassoing = false;
    QPolygonF lasso;
    // The click on a selected point or shape, run at release when the press did not drag.
    std::function<void()> pendingClick;
    EditorMove move;
    // The shapes all of whose points (and none of whose handles) the move moves, by ascending
    // slot, with their geometry's revision before it.
    std::vector<EditorPainter::Translated> movedWhole;
    bool nudging = false;
    EditorSnapper snapper;
    // The moved point that snaps, where it was at the drag's start; none for handles alone.
    QPointF anchor;
    bool anchored = false;
    EditorSnapper::Snap shownSnap;
    bool transforming = false;
    EditorTransformBox box;
    // The grip pressed, and the transform of the drag in progress, which the box is drawn under.
    EditorTransformBox::Grip grip;
    QTransform shownTransform;
    // The artist put the pivot elsewhere than the box's centre: it stays for the same selection.
    bool pivotMoved = false;
    // What the pointer is over; index -1 for a curve.
    EditorPicker::Hit hovered;
};

} // namespace VoEditor
