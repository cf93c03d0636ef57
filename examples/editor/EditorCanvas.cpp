#include "EditorCanvas.h"

#include "EditorPainter.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QResizeEvent>
#include <QStringList>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace VoEditor {

namespace {

// A drag shorter than this is a click: on empty canvas it selects nothing, on a point or shape it
// moves nothing.
const double minBand = 3;
// More changed shapes than this repaint the whole canvas: a region of many rectangles costs
// more to build than the few shapes it would spare.
const std::size_t maxDamaged = 64;
// The band's dashed outline reaches this far past its rectangle.
const double bandPen = 2;
// The width of the frame drawn along the canvas's edges while it has the keyboard focus.
const double focusFrame = 2;
// Room kept round the scene when the view fits it: names above, handles below.
const double fitMargin = 30;
// An arrow key moves by this many scene units; with Shift, ten times as far.
const double nudgeStep = 1;
// A wheel notch (120 units) zooms by this factor.
const double notchZoom = 1.25;
// A move's offset on screen this close to whole pixels is taken as whole: scene units times the
// scale give back the pointer's pixels only to the doubles' rounding.
const double wholePixel = 1e-6;

EditorGestures::Click clickOf(Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ControlModifier) {
        return EditorGestures::Click::Remove;
    }
    return (modifiers & Qt::ShiftModifier) ? EditorGestures::Click::Add
                                           : EditorGestures::Click::Alone;
}

EditorGestures::Marquee marqueeOf(Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) {
        return EditorGestures::Marquee::Remove;
    }
    return (modifiers & Qt::ShiftModifier) ? EditorGestures::Marquee::Add
                                           : EditorGestures::Marquee::Replace;
}

bool plain(Qt::KeyboardModifiers modifiers) {
    return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier)) == 0;
}

bool readPoint(const VoExample::AppShapeInterface &shape, int index, QPointF &at) {
    double x = 0;
    double y = 0;
    if (!shape.getPoint(index, x, y)) {
        return false;
    }
    at = QPointF(x, y);
    return true;
}

QPointF arrowOf(int key) {
    switch (key) {
    case Qt::Key_Left:
        return QPointF(-1, 0);
    case Qt::Key_Right:
        return QPointF(1, 0);
    case Qt::Key_Up:
        return QPointF(0, -1);
    case Qt::Key_Down:
        return QPointF(0, 1);
    default:
        return QPointF();
    }
}

} // namespace

EditorCanvas::EditorCanvas(EditorDocument &editorDocument, QWidget *parent)
    : QWidget(parent), document(editorDocument), gestures(editorDocument), table(editorDocument) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    rebuild();
    // The library's callbacks say when the selection changed; gestures and commands may also
    // have changed the graph, which no callback reports.
    // A shape deleted leaves the selection first: its view may empty before the graph's edit.
    connect(&document, &EditorDocument::editorSelectionChanged, this, [this] {
        const EditorShapeTable::Damage damage = table.followSelection();
        followCounts(damage);
        updateDamage(damage);
        pivotMoved = false; // other points: the pivot goes to their centre
    });
    connect(&document, &EditorDocument::edited, this, [this] {
        const EditorShapeTable::Damage damage = table.followGraph();
        followCounts(damage);
        updateDamage(damage);
        surroundSelection();
    });
    connect(&document, &EditorDocument::sceneReplaced, this, [this] {
        table.reset();
        images.clear(); // another scene's shapes
        rebuild();
        fitView();
    });
    // Every layer is drawn, in its cells, and the view fits all of them: switching moves nothing.
    connect(&document, &EditorDocument::layerActivated, this, [this] {
        table.reset();
        rebuild();
        update();
    });
    connect(&document, &EditorDocument::geometryChanged, this, &EditorCanvas::followMove);
}

void EditorCanvas::rebuild() {
    dimmed.assign(static_cast<std::size_t>(table.getNbSlots()), EditorShapeView());
    for (EditorShapeView &other : document.describeOtherLayers()) {
        dimmed.at(static_cast<std::size_t>(other.slot)) = std::move(other);
    }
    // Read into the same geometry: a shape read as it was keeps its revision, and its image.
    geometry.resize(table.getNbSlots());
    for (int slot = 0; slot < table.getNbSlots(); ++slot) {
        const VoExample::AppShapeInterface *shape = table.getView(slot).shape;
        geometry.read(slot, document.getPlacementSlots(),
                      shape != nullptr ? shape : dimmed[static_cast<std::size_t>(slot)].shape);
    }
    // Only the active layer's points are picked.
    index.clear(EditorSpatialIndex::suggestCellSize(geometry.getBounds(), geometry.getNbPoints()));
    for (int slot = 0; slot < geometry.getNbSlots(); ++slot) {
        if (table.getView(slot).shape != nullptr) {
            index.setShape(slot, geometry.getShape(slot).points);
        }
    }
}

void EditorCanvas::followCounts(const EditorShapeTable::Damage &damage) {
    if (damage.all) {
        rebuild();
        return;
    }
    for (const EditorShapeTable::Damage::Shape &shape : damage.shapes) {
        const EditorShapeView &view = table.getView(shape.slot);
        const EditorGeometry::Shape &drawn = geometry.getShape(shape.slot);
        if (static_cast<int>(drawn.points.size()) != view.nbPoints ||
            static_cast<int>(drawn.handles.size()) != view.nbHandles) {
            // Where it was drawn, while the geometry still says where.
            update(EditorPainter::getReach(getLayout(), view, true).toAlignedRect());
            geometry.read(shape.slot, document.getPlacementSlots(), view.shape);
            index.setShape(shape.slot, geometry.getShape(shape.slot).points);
        }
    }
}

// The positions are read back from the graph, not from the move: an undo writes its positions
// before, a redo or a drag those after, and the canvas draws what the inputs hold either way.
void EditorCanvas::followMove(const EditorMove &moved) {
    EditorShapeTable::Damage damage;
    damage.labelsMoved = true;
    for (const EditorMove::Shape &shape : moved.getShapes()) {
        const EditorShapeView *found = table.find(shape.name);
        if (found != nullptr) {
            damage.shapes.push_back({found->slot, true});
        }
    }
    updateDamage(damage); // where they were
    const bool settled = !moving && !nudging;
    for (const EditorMove::Shape &shape : moved.getShapes()) {
        const EditorShapeView *found = table.find(shape.name);
        if (found != nullptr) {
            readMoved(*found, shape);
            if (settled) {
                geometry.settle(found->slot);
            }
        }
    }
    updateDamage(damage); // where they are
    if (settled) {
        surroundSelection();
    }
}

void EditorCanvas::readMoved(const EditorShapeView &view, const EditorMove::Shape &moved) {
    for (const int point : moved.points) {
        QPointF at;
        if (point < view.nbPoints && readPoint(*view.shape, point, at)) {
            geometry.movePoint(view.slot, point, at);
            index.move(view.slot, point, at);
        }
    }
    for (const int handle : moved.handles) {
        if (handle < view.nbHandles) {
            geometry.moveHandle(view.slot, handle, view.shape->getHandle(handle));
        }
    }
}

QPoint EditorCanvas::getPointPosition(const std::string &shape, int at) const {
    const EditorShapeView *found = table.find(shape);
    return found != nullptr ? getLayout().getPoint(found->slot, at, found->nbPoints).toPoint()
                            : QPoint(-1, -1);
}

QPoint EditorCanvas::getHandlePosition(const std::string &shape, int at) const {
    const EditorShapeView *found = table.find(shape);
    return found != nullptr ? getLayout().getHandle(found->slot, at, found->nbHandles).toPoint()
                            : QPoint(-1, -1);
}

QPoint EditorCanvas::getCurvePosition(const std::string &shape) const {
    const EditorShapeView *found = table.find(shape);
    if (found == nullptr || found->nbPoints == 0) {
        return QPoint(-1, -1);
    }
    // The middle of the first span's Bezier.
    const std::array<QPointF, 4> span = getLayout().getSpan(found->slot, 0);
    return ((span[0] + 3 * span[1] + 3 * span[2] + span[3]) / 8).toPoint();
}

void EditorCanvas::zoom(double factor, const QPointF &at) {
    following = false;
    view.zoom(factor, at);
    update();
}

void EditorCanvas::pan(const QPointF &by) {
    following = false;
    view.pan(by);
    update();
}

void EditorCanvas::fitView() {
    following = true;
    view.fit(geometry.getBounds(), QSizeF(size()), fitMargin);
    update();
}

void EditorCanvas::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (following) {
        fitView();
    }
}

void EditorCanvas::updateDamage(const EditorShapeTable::Damage &damage) {
    if (damage.isEmpty()) {
        return;
    }
    if (damage.all || damage.shapes.size() + damage.markers.size() > maxDamaged) {
        update();
        return;
    }
    const EditorLayout layout = getLayout();
    QRegion region;
    const auto add = [&region](const QRectF &reach) { region += reach.toAlignedRect(); };
    for (const EditorShapeTable::Damage::Shape &shape : damage.shapes) {
        add(EditorPainter::getReach(layout, table.getView(shape.slot), shape.labelled));
    }
    for (const EditorShapeTable::Damage::Marker &marker : damage.markers) {
        add(EditorPainter::getMarkerReach(layout, table.getView(marker.slot), marker.point,
                                          marker.index, marker.rank));
    }
    if (damage.labelsMoved) {
        for (const int slot : table.getLabelled()) {
            add(EditorPainter::getReach(layout, table.getView(slot), true));
        }
    }
    update(region.intersected(rect()));
}

std::vector<const EditorShapeView *> EditorCanvas::shapesToPaint(const EditorLayout &layout,
                                                                 const QRegion &region) const {
    // Labels go where no label drawn before lies, wherever the region is: every labelled shape
    // takes its place in the order, drawn or clipped.
    std::vector<int> drawn = table.getLabelled();
    const double beyond = EditorPainter::beyondCell;
    const std::vector<int> met = layout.findSlotsIn(
        QRectF(region.boundingRect()).adjusted(-beyond, -beyond, beyond, beyond));
    drawn.insert(drawn.end(), met.begin(), met.end());
    std::sort(drawn.begin(), drawn.end());
    drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
    std::vector<const EditorShapeView *> shapes;
    shapes.reserve(drawn.size());
    for (const int slot : drawn) {
        const EditorShapeView &other = dimmed[static_cast<std::size_t>(slot)];
        if (table.getView(slot).shape != nullptr) {
            shapes.push_back(&table.getView(slot));
        } else if (other.shape != nullptr) {
            shapes.push_back(&other);
        }
    }
    return shapes;
}

void EditorCanvas::paintEvent(QPaintEvent *event) {
    QPainter target(this);
    const EditorLayout layout = getLayout();
    EditorPainter painter(target, layout, QRectF(rect()));
    if (snapper.isGrid()) {
        painter.paintGrid(EditorSnapper::gridStep(view));
    }
    if (hovered.kind == EditorPicker::Hit::Shape) {
        painter.setHoveredCurve(hovered.slot);
    }
    painter.setMoving(movingSlots());
    painter.setTranslated(translatedShapes());
    painter.setImages(&images);
    painter.paint(shapesToPaint(layout, event->region()));
    if (hovered.kind != EditorPicker::Hit::Nothing &&
        table.getView(hovered.slot).shape != nullptr) {
        painter.paintHover(table.getView(hovered.slot), hovered.kind == EditorPicker::Hit::Point,
                           hovered.index);
    }
    if (drag == Drag::Band && !band.isEmpty()) {
        painter.paintBand(band);
    }
    if (drag == Drag::Band && !lasso.isEmpty()) {
        painter.paintLasso(lasso);
    }
    if (shownSnap.kind != EditorSnapper::Snap::None) {
        painter.paintSnapGuide(shownSnap);
    }
    if (box.isShown()) {
        painter.paintTransformBox(
            box.outline(view, shownTransform), box.scaleGrips(view, shownTransform),
            box.rotationGrip(view, shownTransform), view.toView(box.getPivot()));
    }
    if (hasFocus()) {
        // Crisp whatever the painter drew last: the band leaves antialiasing off, a curve on, and
        // a repaint of part of the canvas must draw the frame's pixels as a full one does.
        target.setRenderHint(QPainter::Antialiasing, false);
        target.setPen(QPen(palette().color(QPalette::Highlight), focusFrame));
        target.setBrush(Qt::NoBrush);
        target.drawRect(QRectF(rect()).adjusted(focusFrame / 2, focusFrame / 2, -focusFrame / 2,
                                                -focusFrame / 2));
    }
}

std::vector<int> EditorCanvas::movingSlots() const {
    std::vector<int> moved;
    if (moving || nudging) {
        for (const EditorMove::Shape &shape : move.getShapes()) {
            if (const EditorShapeView *found = table.find(shape.name)) {
                moved.push_back(found->slot);
            }
        }
        std::sort(moved.begin(), moved.end());
    }
    return moved;
}

void EditorCanvas::noteMovedWhole() {
    movedWhole.clear();
    for (const EditorMove::Shape &shape : move.getShapes()) {
        const EditorShapeView *found = table.find(shape.name);
        if (found != nullptr && shape.handles.empty() &&
            shape.points.size() == static_cast<std::size_t>(found->nbPoints)) {
            movedWhole.push_back({found->slot, geometry.getShape(found->slot).revision, QPoint()});
        }
    }
    std::sort(movedWhole.begin(), movedWhole.end(),
              [](const EditorPainter::Translated &one, const EditorPainter::Translated &other) {
                  return one.slot < other.slot;
              });
}

// A transform moves no shape whole: its points turn or scale about the pivot.
std::vector<EditorPainter::Translated> EditorCanvas::translatedShapes() const {
    const QPointF by = move.getOffset() * view.getScale();
    const QPoint whole = by.toPoint();
    if ((!moving && !nudging) || drag == Drag::Transform ||
        std::abs(by.x() - whole.x()) > wholePixel || std::abs(by.y() - whole.y()) > wholePixel) {
        return {};
    }
    std::vector<EditorPainter::Translated> shapes = movedWhole;
    for (EditorPainter::Translated &shape : shapes) {
        shape.by = whole;
    }
    return shapes;
}

void EditorCanvas::focusInEvent(QFocusEvent *event) {
    QWidget::focusInEvent(event);
    update(); // the focus frame comes
}

void EditorCanvas::moveBand(const QRectF &to) {
    const double pen = bandPen;
    update(band.adjusted(-pen, -pen, pen, pen).toAlignedRect());
    band = to;
    update(band.adjusted(-pen, -pen, pen, pen).toAlignedRect());
}

void EditorCanvas::mousePressEvent(QMouseEvent *event) {
    finishNudge();
    pressedAt = lastAt = event->position();
    moving = false;
    pendingClick = nullptr;
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld)) {
        drag = Drag::Pan;
    } else if (event->button() == Qt::LeftButton) {
        press(event->position(), event->modifiers());
    }
}

void EditorCanvas::press(const QPointF &at, Qt::KeyboardModifiers modifiers) {
    grip = box.gripAt(view, at);
    if (grip.kind != EditorTransformBox::Grip::None) {
        drag = grip.kind == EditorTransformBox::Grip::Pivot ? Drag::Pivot : Drag::Transform;
        return;
    }
    const EditorPicker::Hit hit = getPicker().hitTest(at, true);
    switch (hit.kind) {
    case EditorPicker::Hit::Point:
    case EditorPicker::Hit::Handle:
        pressPart(hit, modifiers);
        break;
    case EditorPicker::Hit::Shape:
        pressShape(hit, modifiers);
        break;
    case EditorPicker::Hit::Nothing:
        drag = Drag::Band;
        // One left from a press whose release never came (a double click ends without one) is
        // wiped, not only forgotten.
        moveBand(QRectF());
        extendLasso(QPolygonF());
        bandModifiers = modifiers;
        break;
    }
}

// A plain press on a selected point or handle may start a drag of all the selected points and
// handles: it selects the one pressed alone only once released without a drag.
void EditorCanvas::pressPart(const EditorPicker::Hit &hit, Qt::KeyboardModifiers modifiers) {
    // The hit is a part of the primary shape, whose ranks the selector keeps: no walk of the
    // selected parts.
    const bool point = hit.kind == EditorPicker::Hit::Point;
    const int index = hit.index;
    const Vo::SeShapeSelector &selector = document.getSelector();
    const bool wasSelected = (point ? selector.getPointSelectionRank(index)
                                    : selector.getHandleSelectionRank(index)) > 0;
    const auto click = [this, point, index](EditorGestures::Click how) {
        if (point) {
            gestures.clickPoint(index, how);
        } else {
            gestures.clickHandle(index, how);
        }
    };
    if (wasSelected && plain(modifiers)) {
        pendingClick = [click] { click(EditorGestures::Click::Alone); };
    } else {
        click(clickOf(modifiers));
    }
    drag = plain(modifiers) ? Drag::Parts : Drag::None;
}

void EditorCanvas::pressShape(const EditorPicker::Hit &hit, Qt::KeyboardModifiers modifiers) {
    VoExample::AppShapeInterface *shape = hit.shape;
    if (table.getView(hit.slot).selected && plain(modifiers)) {
        pendingClick = [this, shape] { gestures.clickShape(*shape, false); };
    } else {
        gestures.clickShape(*shape, !plain(modifiers));
    }
    drag = plain(modifiers) ? Drag::Shapes : Drag::None;
}

EditorMove EditorCanvas::selectionMove(bool shapes) const {
    EditorMove made;
    const int primary = table.getPrimarySlot();
    if (!shapes && primary >= 0) {
        const EditorShapeView &view = table.getView(primary);
        if (!view.points.empty() || !view.handles.empty()) {
            made.addShape(*view.shape, view.points, view.handles,
                          geometry.getShape(primary).curveBounds.width());
            return made;
        }
    }
    for (int slot = 0; slot < table.getNbSlots(); ++slot) {
        const EditorShapeView &view = table.getView(slot);
        if (view.shape != nullptr && view.selected) {
            std::vector<int> all(static_cast<std::size_t>(view.nbPoints));
            std::iota(all.begin(), all.end(), 0);
            made.addShape(*view.shape, all);
        }
    }
    return made;
}

void EditorCanvas::tellSkipped(const EditorMove &made) {
    if (made.getSkipped().empty()) {
        return;
    }
    QStringList names;
    for (const std::string &name : made.getSkipped()) {
        names << QString::fromStdString(name);
    }
    const QString message =
        tr("Not moved: %1 (a single-valued curve holds its points in one input, with no "
           "position per point to move)")
            .arg(names.join(QStringLiteral(", ")));
    document.note(QStringLiteral("  ") + message);
    Q_EMIT notice(message);
}

void EditorCanvas::startDrag() {
    pendingClick = nullptr;
    move = selectionMove(drag == Drag::Shapes);
    noteMovedWhole();
    tellSkipped(move);
    moving = true;
    snapper.startDrag(move, table);
    // The moved point nearest to the press is the one that snaps; the others keep their places
    // from it.
    const QPointF pressed = view.toScene(pressedAt);
    anchored = false;
    for (const QPointF &point : move.getPointsBefore()) {
        if (!anchored || QLineF(pressed, point).length() < QLineF(pressed, anchor).length()) {
            anchor = point;
            anchored = true;
        }
    }
}

QPointF EditorCanvas::dragOffset(const QPointF &at) {
    const QPointF offset = (at - pressedAt) / view.getScale();
    const EditorSnapper::Snap snap = anchored && snapper.isOn()
                                         ? snapper.snap(anchor + offset, getPicker(), index, view)
                                         : EditorSnapper::Snap();
    showSnap(snap);
    return snap.kind == EditorSnapper::Snap::None ? offset : snap.at - anchor;
}

void EditorCanvas::showSnap(const EditorSnapper::Snap &snap) {
    if (snap.kind == shownSnap.kind && snap.at == shownSnap.at) {
        return;
    }
    const QRectF area(rect());
    update(EditorPainter::getSnapGuideReach(shownSnap, view, area)); // where it was
    shownSnap = snap;
    update(EditorPainter::getSnapGuideReach(shownSnap, view, area));
}

void EditorCanvas::setSnapping(bool grid, bool points) {
    snapper.setGrid(grid);
    snapper.setPoints(points);
    update(); // the grid comes or goes
}

void EditorCanvas::mouseMoveEvent(QMouseEvent *event) {
    const QPointF at = event->position();
    if (drag != Drag::None && event->buttons() == Qt::NoButton) {
        // The release never came (a popup took it, or a double click ended without one): the
        // drag ends where the pointer was last, and the pointer only hovers.
        endDrag(lastAt, true);
    }
    switch (drag) {
    case Drag::None:
        hover(at);
        break;
    case Drag::Band:
        if (!lassoing) {
            moveBand(QRectF(pressedAt, at).normalized());
        } else if (QLineF(lasso.isEmpty() ? pressedAt : lasso.last(), at).length() >= 2) {
            extendLasso(QPolygonF(lasso.isEmpty() ? QPolygonF{pressedAt} : lasso) << at);
        }
        break;
    case Drag::Pan:
        pan(at - lastAt);
        break;
    case Drag::Pivot:
        reshapeBox([this, at] {
            box.setPivot(view.toScene(at));
            pivotMoved = true;
        });
        break;
    case Drag::Transform:
        transformTo(at, event->modifiers() & Qt::ShiftModifier);
        break;
    case Drag::Parts:
    case Drag::Shapes:
        if (!moving && QLineF(pressedAt, at).length() >= minBand) {
            startDrag();
        }
        if (moving && !move.isEmpty()) {
            move.setOffset(dragOffset(at));
            document.previewMove(move);
        }
        break;
    }
    lastAt = at;
}

void EditorCanvas::mouseReleaseEvent(QMouseEvent *event) {
    endDrag(event->position(), event->button() == Qt::LeftButton);
}

void EditorCanvas::endDrag(const QPointF &at, bool left) {
    const Drag was = drag;
    drag = Drag::None;
    if (was == Drag::Band && left) {
        band = QRectF(pressedAt, at).normalized();
        finishBand();
    } else if (moving) {
        moving = false;
        showSnap(EditorSnapper::Snap());
        reshapeBox([this] { shownTransform = QTransform(); });
        if (!move.isEmpty()) {
            document.finishMove(move, was != Drag::Transform
                                          ? QStringLiteral("Move")
                                          : (grip.kind == EditorTransformBox::Grip::Rotate
                                                 ? QStringLiteral("Rotate")
                                                 : QStringLiteral("Scale")));
        }
        surroundSelection();
    } else if (pendingClick) {
        const std::function<void()> click = std::move(pendingClick);
        pendingClick = nullptr;
        click();
    }
}

// The selection's points move with the grip: the transform is taken from where the drag began,
// so that it is one transform of the points as they were, not a sum of small ones.
void EditorCanvas::transformTo(const QPointF &at, bool constrained) {
    if (!moving && QLineF(pressedAt, at).length() >= minBand) {
        move = selectionMove(false);
        tellSkipped(move);
        moving = true;
    }
    if (!moving || move.isEmpty()) {
        return;
    }
    const QTransform transform =
        box.transformFor(grip, view.toScene(pressedAt), view.toScene(at), constrained);
    if (move.setTransform(transform)) {
        reshapeBox([this, &transform] { shownTransform = transform; });
        document.previewMove(move);
    }
}

void EditorCanvas::setTransforming(bool on) {
    transforming = on;
    surroundSelection();
}

void EditorCanvas::surroundSelection() {
    if (moving) {
        return; // the box follows the drag; it surrounds the points once it is over
    }
    reshapeBox([this] {
        const QPointF pivot = box.getPivot();
        if (!transforming) {
            box.hide();
            return;
        }
        box.surround(selectionMove(false).getPointsBefore());
        if (pivotMoved) {
            box.setPivot(pivot);
        }
    });
}

void EditorCanvas::reshapeBox(const std::function<void()> &change) {
    if (box.isShown()) {
        update(box.reach(view, shownTransform).toAlignedRect()); // where it was
    }
    change();
    if (box.isShown()) {
        update(box.reach(view, shownTransform).toAlignedRect());
    }
}

void EditorCanvas::flip(bool horizontally) {
    finishNudge();
    EditorMove flipped = selectionMove(false);
    tellSkipped(flipped);
    EditorTransformBox around = box;
    if (!around.isShown()) {
        around.surround(flipped.getPointsBefore());
    }
    if (!flipped.isEmpty() && flipped.setTransform(around.flip(horizontally))) {
        document.previewMove(flipped);
        document.finishMove(flipped, QStringLiteral("Flip"));
        surroundSelection();
    }
}

// A double click on the primary shape's curve, off its points, inserts a point there; elsewhere
// it is a second press.
void EditorCanvas::mouseDoubleClickEvent(QMouseEvent *event) {
    const int primary = table.getPrimarySlot();
    const EditorPicker picker = getPicker();
    const EditorPicker::Hit hit = picker.hitTest(event->position(), true);
    if (event->button() != Qt::LeftButton || primary < 0 || hit.kind != EditorPicker::Hit::Shape ||
        hit.slot != primary) {
        mousePressEvent(event);
        return;
    }
    const EditorPicker::CurvePlace place = picker.findCurvePlace(primary, event->position());
    if (place.index >= 0) {
        gestures.insertPointAt(place.index + 1, place.at);
    }
}

void EditorCanvas::wheelEvent(QWheelEvent *event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0) {
        zoom(std::pow(notchZoom, notches), event->position());
    }
}

void EditorCanvas::nudge(const QPointF &step, bool repeated) {
    if (!nudging) {
        move = selectionMove(false);
        if (!repeated) {
            tellSkipped(move);
        }
        if (move.isEmpty()) {
            return;
        }
        noteMovedWhole();
        nudging = true;
    }
    move.setOffset(move.getOffset() + step);
    document.previewMove(move);
}

void EditorCanvas::finishNudge() {
    if (nudging) {
        nudging = false;
        document.finishMove(move);
    }
}

void EditorCanvas::focusOutEvent(QFocusEvent *event) {
    finishNudge();
    spaceHeld = false;
    QWidget::focusOutEvent(event);
    update(); // the focus frame goes
}

void EditorCanvas::leaveEvent(QEvent *) {
    highlight(EditorPicker::Hit());
    pickNothing();
}

void EditorCanvas::highlight(const EditorPicker::Hit &hit) {
    if (hit.kind == hovered.kind && hit.slot == hovered.slot && hit.index == hovered.index) {
        return;
    }
    update(hoverReach()); // where it was
    hovered = hit;
    update(hoverReach());
}

QRect EditorCanvas::hoverReach() const {
    if (hovered.kind == EditorPicker::Hit::Nothing ||
        table.getView(hovered.slot).shape == nullptr) {
        return QRect();
    }
    return EditorPainter::getHoverReach(getLayout(), table.getView(hovered.slot),
                                        hovered.kind == EditorPicker::Hit::Point, hovered.index)
        .toAlignedRect();
}

void EditorCanvas::pickNothing() {
    if (gestures.pick(EditorGestures::PickingNothing, -1, -1)) {
        Q_EMIT pickingChanged(tr("Nothing under the pointer"));
    }
}

void EditorCanvas::hover(const QPointF &at) {
    const EditorPicker::Hit hit = getPicker().hitTest(at, false);
    highlight(hit);
    if (hit.kind != EditorPicker::Hit::Point && hit.kind != EditorPicker::Hit::Handle) {
        pickNothing();
        return;
    }
    const bool point = hit.kind == EditorPicker::Hit::Point;
    // The curve's ends: 0 for the first point, 1 for the last, -1 between them and for handles.
    int extremity = -1;
    if (point && hit.index == 0) {
        extremity = 0;
    } else if (point && hit.index == hit.count - 1) {
        extremity = 1;
    }
    const EditorGestures::Picking type =
        point ? EditorGestures::PickingPoint : EditorGestures::PickingHandle;
    if (gestures.pick(type, hit.index, extremity)) {
        Q_EMIT pickingChanged(tr("%1 %2 of %3 (picking type %4, index %2, extremity %5)")
                                  .arg(point ? tr("Point") : tr("Handle"))
                                  .arg(hit.index)
                                  .arg(QString::fromStdString(hit.shape->getName()))
                                  .arg(static_cast<int>(type))
                                  .arg(extremity));
    }
}

// The rectangle's (or the outline's) shapes wholly inside, when there are any; else the primary
// shape's points it catches. One as short as a click selects nothing.
void EditorCanvas::finishBand() {
    const QRectF dragged = band;
    const QPolygonF outline = lasso;
    moveBand(QRectF());
    extendLasso(QPolygonF());
    const EditorGestures::Marquee marquee = marqueeOf(bandModifiers);
    const QRectF extent = lassoing ? outline.boundingRect() : dragged;
    if (extent.width() < minBand && extent.height() < minBand) {
        // A plain click on empty canvas lets go of everything; with a modifier it keeps all.
        if (marquee == EditorGestures::Marquee::Replace &&
            document.getSelector().getSelection()->getNbItems() > 0) {
            gestures.selectNothing();
        }
        return;
    }
    const EditorPicker picker = getPicker();
    const std::vector<VoExample::AppShapeInterface *> inside =
        lassoing ? picker.findShapesIn(outline) : picker.findShapesIn(dragged);
    if (!inside.empty()) {
        gestures.selectShapes(inside, marquee, lassoing);
        return;
    }
    gestures.selectPoints(table.getPrimarySlot() < 0
                              ? std::vector<int>()
                              : (lassoing ? picker.findPrimaryPointsIn(outline)
                                          : picker.findPrimaryPointsIn(dragged)),
                          marquee, lassoing);
}

void EditorCanvas::extendLasso(const QPolygonF &to) {
    const double pen = bandPen;
    if (to.size() == lasso.size() + 1) {
        // The fill changes only in the triangle of the first point, the last and the new one (a
        // first point alone is all three).
        const QPolygonF changed{to.first(), to.value(to.size() - 2, to.last()), to.last()};
        update(changed.boundingRect().adjusted(-pen, -pen, pen, pen).toAlignedRect());
    } else {
        update(lasso.boundingRect().adjusted(-pen, -pen, pen, pen).toAlignedRect());
        update(to.boundingRect().adjusted(-pen, -pen, pen, pen).toAlignedRect());
    }
    lasso = to;
}

void EditorCanvas::setLasso(bool on) { lassoing = on; }

bool EditorCanvas::isCanvasKey(const QKeyEvent &event) const {
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Only with points to step through; otherwise Tab moves the focus on, as elsewhere.
        return event.modifiers() == Qt::NoModifier || event.modifiers() == Qt::ShiftModifier
                   ? canStep()
                   : false;
    case Qt::Key_Escape:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Insert:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Space:
        return true;
    case Qt::Key_F:
        return event.modifiers() == Qt::NoModifier;
    default:
        return event.matches(QKeySequence::SelectAll) || isUndo(event) || isRedo(event);
    }
}

bool EditorCanvas::isFocusStep(const QKeyEvent &event) {
    return (event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab) &&
           (event.modifiers() & ~Qt::ShiftModifier) == Qt::ControlModifier;
}

bool EditorCanvas::canStep() const {
    const VoExample::AppShapeInterface *primary = document.getSession().getPrimaryShape();
    return primary != nullptr && primary->getNbPoints() > 0;
}

bool EditorCanvas::isUndo(const QKeyEvent &event) { return event.matches(QKeySequence::Undo); }

bool EditorCanvas::isRedo(const QKeyEvent &event) {
    const QKeyCombination combination = event.keyCombination();
    return event.matches(QKeySequence::Redo) ||
           combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
           combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
}

bool EditorCanvas::event(QEvent *event) {
    if (event->type() == QEvent::ShortcutOverride &&
        isCanvasKey(*static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    // Tab and Shift+Tab step through the points instead of moving the focus.
    if (event->type() == QEvent::KeyPress && isCanvasKey(*static_cast<QKeyEvent *>(event))) {
        keyPressEvent(static_cast<QKeyEvent *>(event));
        return true;
    }
    // Ctrl+Tab always moves the focus on, as it does out of the window's text fields.
    if (event->type() == QEvent::KeyPress && isFocusStep(*static_cast<QKeyEvent *>(event))) {
        focusNextPrevChild(static_cast<QKeyEvent *>(event)->key() == Qt::Key_Tab);
        return true;
    }
    return QWidget::event(event);
}

void EditorCanvas::keyReleaseEvent(QKeyEvent *event) {
    if (event->isAutoRepeat()) {
        return;
    }
    if (event->key() == Qt::Key_Space) {
        spaceHeld = false;
    } else if (!arrowOf(event->key()).isNull()) {
        finishNudge(); // one burst from the first press to the key's release
    } else {
        QWidget::keyReleaseEvent(event);
    }
}

void EditorCanvas::keyPressEvent(QKeyEvent *event) {
    const QPointF arrow = arrowOf(event->key());
    if (!arrow.isNull()) {
        nudge(arrow * nudgeStep * ((event->modifiers() & Qt::ShiftModifier) ? 10 : 1),
              event->isAutoRepeat());
        return;
    }
    finishNudge();
    if (event->matches(QKeySequence::SelectAll)) {
        gestures.selectAll();
        return;
    }
    if (isUndo(*event)) {
        gestures.undo();
        return;
    }
    if (isRedo(*event)) {
        gestures.redo();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Tab:
        gestures.step(true);
        break;
    case Qt::Key_Backtab:
        gestures.step(false);
        break;
    case Qt::Key_Escape:
        gestures.selectNothing();
        break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        gestures.deleteSelection();
        break;
    case Qt::Key_Insert:
        gestures.insertPoint();
        break;
    case Qt::Key_Space:
        spaceHeld = true;
        break;
    case Qt::Key_F:
        fitView();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace VoEditor
