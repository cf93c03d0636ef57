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
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace VoEditor {

namespace {

// How far from a marker or the curve, in pixels, the pointer still falls on it.
const double reach = 6;
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

double distanceToSegment(const QPointF &at, const QPointF &from, const QPointF &to) {
    const QPointF along = to - from;
    const double length2 = QPointF::dotProduct(along, along);
    const double t =
        length2 <= 0 ? 0 : std::clamp(QPointF::dotProduct(at - from, along) / length2, 0.0, 1.0);
    return QLineF(at, from + t * along).length();
}

QPointF bezierAt(const std::array<QPointF, 4> &span, double t) {
    const double u = 1 - t;
    return u * u * u * span[0] + 3 * u * u * t * span[1] + 3 * u * t * t * span[2] +
           t * t * t * span[3];
}

// The span, flattened into pieces a few pixels long, passes within reach of at.
bool isNearSpan(const std::array<QPointF, 4> &span, const QPointF &at) {
    const double length = QLineF(span[0], span[1]).length() + QLineF(span[1], span[2]).length() +
                          QLineF(span[2], span[3]).length();
    // Compared as a double: points far apart make a length no int holds, or an infinite one.
    const int pieces = length < 128 ? std::max(static_cast<int>(length / 4), 1) : 32;
    QPointF from = span[0];
    for (int piece = 1; piece <= pieces; ++piece) {
        const QPointF to = bezierAt(span, static_cast<double>(piece) / pieces);
        if (distanceToSegment(at, from, to) <= reach) {
            return true;
        }
        from = to;
    }
    return false;
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
    });
    connect(&document, &EditorDocument::edited, this, [this] {
        const EditorShapeTable::Damage damage = table.followGraph();
        followCounts(damage);
        updateDamage(damage);
    });
    for (const auto replaced : {&EditorDocument::sceneReplaced, &EditorDocument::layerActivated}) {
        connect(&document, replaced, this, [this] {
            table.reset();
            rebuild();
            fitView();
        });
    }
    connect(&document, &EditorDocument::geometryChanged, this, &EditorCanvas::followMove);
}

void EditorCanvas::rebuild() {
    geometry = EditorGeometry();
    geometry.resize(table.getNbSlots());
    for (int slot = 0; slot < table.getNbSlots(); ++slot) {
        geometry.read(slot, document.getSession().getPlacementSlots(), table.getView(slot).shape);
    }
    index.clear(EditorSpatialIndex::suggestCellSize(geometry.getBounds(), geometry.getNbPoints()));
    for (int slot = 0; slot < geometry.getNbSlots(); ++slot) {
        index.setShape(slot, geometry.getShape(slot).points);
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
            geometry.read(shape.slot, document.getSession().getPlacementSlots(), view.shape);
            index.setShape(shape.slot, geometry.getShape(shape.slot).points);
        }
    }
}

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
        const int count = found == nullptr ? 0 : found->nbPoints;
        for (std::size_t at = 0; found != nullptr && at < shape.points.size(); ++at) {
            if (shape.points[at] < count) {
                geometry.movePoint(found->slot, shape.points[at], shape.to[at]);
                index.move(found->slot, shape.points[at], shape.to[at]);
            }
        }
        if (found != nullptr && settled) {
            geometry.settle(found->slot);
        }
    }
    updateDamage(damage); // where they are
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

bool EditorCanvas::findPoint(const QPointF &at, bool primaryOnly, int &slot, int &found) const {
    const int only = primaryOnly ? table.getPrimarySlot() : -1;
    EditorSpatialIndex::Entry entry{};
    if ((primaryOnly && only < 0) ||
        !index.findNearest(view.toScene(at), reach / view.getScale(), only, entry)) {
        return false;
    }
    slot = entry.slot;
    found = entry.index;
    return true;
}

std::vector<int> EditorCanvas::findPrimaryPointsIn(const QRectF &dragged) const {
    const int primary = table.getPrimarySlot();
    std::vector<int> inside;
    if (primary < 0) {
        return inside;
    }
    const std::vector<EditorSpatialIndex::Entry> entries =
        index.findIn(view.toScene(dragged), primary);
    inside.reserve(entries.size());
    for (const EditorSpatialIndex::Entry &entry : entries) {
        inside.push_back(entry.index);
    }
    std::sort(inside.begin(), inside.end());
    return inside;
}

EditorCanvas::Hit EditorCanvas::findHandle(const QPointF &at, bool primaryOnly) const {
    const EditorLayout layout = getLayout();
    Hit hit;
    double best = reach;
    const int primary = table.getPrimarySlot();
    for (int slot = primaryOnly ? primary : 0;
         slot >= 0 && slot < table.getNbSlots() && (!primaryOnly || slot == primary); ++slot) {
        const EditorShapeView &shape = table.getView(slot);
        const QRectF line = layout.getHandleArea(slot).adjusted(-reach, -reach, reach, reach);
        if (shape.shape == nullptr || shape.nbHandles == 0 || !line.contains(at)) {
            continue;
        }
        for (int handle = 0; handle < shape.nbHandles; ++handle) {
            const double distance =
                QLineF(at, layout.getHandle(slot, handle, shape.nbHandles)).length();
            if (distance <= best) {
                best = distance;
                hit = {Hit::Handle, shape.shape, slot, handle, shape.nbHandles};
            }
        }
    }
    return hit;
}

bool EditorCanvas::isNearCurve(int slot, const QPointF &at) const {
    const EditorLayout layout = getLayout();
    const EditorGeometry::Shape &shape = geometry.getShape(slot);
    const int count = static_cast<int>(shape.points.size());
    // A segment within reach of at has both ends within its length and the reach of it.
    const double radius = shape.longestSegment + reach / view.getScale();
    const QPointF centre = view.toScene(at);
    for (const EditorSpatialIndex::Entry &entry : index.findIn(
             QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), slot)) {
        for (const int first : {entry.index - 1, entry.index}) {
            if (first >= 0 && (first + 1 < count || count == 1) &&
                isNearSpan(layout.getSpan(slot, first), at)) {
                return true;
            }
        }
    }
    return false;
}

// The shape drawn last lies on top: the primary one, then the selected ones, then the others,
// each in descending slot order.
EditorCanvas::Hit EditorCanvas::findCurve(const QPointF &at) const {
    const EditorLayout layout = getLayout();
    for (const int rank : {2, 1, 0}) {
        for (int slot = table.getNbSlots() - 1; slot >= 0; --slot) {
            const EditorShapeView &shape = table.getView(slot);
            const int drawnRank = shape.primary ? 2 : (shape.selected ? 1 : 0);
            if (shape.shape != nullptr && drawnRank == rank &&
                layout.getCurveArea(slot).adjusted(-reach, -reach, reach, reach).contains(at) &&
                isNearCurve(slot, at)) {
                return {Hit::Shape, shape.shape, slot, -1, shape.nbPoints};
            }
        }
    }
    return Hit();
}

EditorCanvas::Hit EditorCanvas::hitTest(const QPointF &at, bool partsOfPrimaryOnly) const {
    int slot = -1;
    int found = -1;
    if (findPoint(at, partsOfPrimaryOnly, slot, found)) {
        const EditorShapeView &shape = table.getView(slot);
        return {Hit::Point, shape.shape, slot, found, shape.nbPoints};
    }
    const Hit handle = findHandle(at, partsOfPrimaryOnly);
    return handle.kind != Hit::Nothing ? handle : findCurve(at);
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
        if (table.getView(slot).shape != nullptr) {
            shapes.push_back(&table.getView(slot));
        }
    }
    return shapes;
}

void EditorCanvas::paintEvent(QPaintEvent *event) {
    QPainter target(this);
    const EditorLayout layout = getLayout();
    EditorPainter painter(target, layout, QRectF(rect()));
    painter.paint(shapesToPaint(layout, event->region()));
    if (drag == Drag::Band && !band.isEmpty()) {
        painter.paintBand(band);
    }
    if (hasFocus()) {
        target.setPen(QPen(palette().color(QPalette::Highlight), focusFrame));
        target.setBrush(Qt::NoBrush);
        target.drawRect(QRectF(rect()).adjusted(focusFrame / 2, focusFrame / 2, -focusFrame / 2,
                                                -focusFrame / 2));
    }
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
    const Hit hit = hitTest(at, true);
    switch (hit.kind) {
    case Hit::Point:
        pressPoint(hit, modifiers);
        break;
    case Hit::Handle:
        gestures.clickHandle(hit.index, clickOf(modifiers));
        break;
    case Hit::Shape:
        pressShape(hit, modifiers);
        break;
    case Hit::Nothing:
        drag = Drag::Band;
        band = QRectF();
        bandModifiers = modifiers;
        break;
    }
}

// A plain press on a selected point may start a drag of all the selected points: it selects the
// point alone only once released without a drag.
void EditorCanvas::pressPoint(const Hit &hit, Qt::KeyboardModifiers modifiers) {
    // The hit is a point of the primary shape, whose rank the selector keeps: no walk of the
    // selected points.
    const bool wasSelected = document.getSelector().getPointSelectionRank(hit.index) > 0;
    if (wasSelected && plain(modifiers)) {
        const int point = hit.index;
        pendingClick = [this, point] { gestures.clickPoint(point, EditorGestures::Click::Alone); };
    } else {
        gestures.clickPoint(hit.index, clickOf(modifiers));
    }
    drag = plain(modifiers) ? Drag::Points : Drag::None;
}

void EditorCanvas::pressShape(const Hit &hit, Qt::KeyboardModifiers modifiers) {
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
    if (!shapes && primary >= 0 && !table.getView(primary).points.empty()) {
        const EditorShapeView &view = table.getView(primary);
        made.addShape(*view.shape, view.points);
        return made;
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

void EditorCanvas::startDrag() {
    pendingClick = nullptr;
    move = selectionMove(drag == Drag::Shapes);
    moving = true;
}

void EditorCanvas::mouseMoveEvent(QMouseEvent *event) {
    const QPointF at = event->position();
    switch (drag) {
    case Drag::None:
        hover(at);
        break;
    case Drag::Band:
        moveBand(QRectF(pressedAt, at).normalized());
        break;
    case Drag::Pan:
        pan(at - lastAt);
        break;
    case Drag::Points:
    case Drag::Shapes:
        if (!moving && QLineF(pressedAt, at).length() >= minBand) {
            startDrag();
        }
        if (moving && !move.isEmpty()) {
            move.setOffset((at - pressedAt) / view.getScale());
            document.previewMove(move);
        }
        break;
    }
    lastAt = at;
}

void EditorCanvas::mouseReleaseEvent(QMouseEvent *event) {
    const Drag was = drag;
    drag = Drag::None;
    if (was == Drag::Band && event->button() == Qt::LeftButton) {
        band = QRectF(pressedAt, event->position()).normalized();
        finishBand();
    } else if (moving) {
        moving = false;
        if (!move.isEmpty()) {
            document.finishMove(move);
        }
    } else if (pendingClick) {
        const std::function<void()> click = std::move(pendingClick);
        pendingClick = nullptr;
        click();
    }
}

void EditorCanvas::wheelEvent(QWheelEvent *event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0) {
        zoom(std::pow(notchZoom, notches), event->position());
    }
}

void EditorCanvas::nudge(const QPointF &step) {
    if (!nudging) {
        move = selectionMove(false);
        if (move.isEmpty()) {
            return;
        }
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

void EditorCanvas::leaveEvent(QEvent *) { pickNothing(); }

void EditorCanvas::pickNothing() {
    if (gestures.pick(EditorGestures::PickingNothing, -1, -1)) {
        Q_EMIT pickingChanged(tr("Nothing under the pointer"));
    }
}

void EditorCanvas::hover(const QPointF &at) {
    const Hit hit = hitTest(at, false);
    if (hit.kind != Hit::Point && hit.kind != Hit::Handle) {
        pickNothing();
        return;
    }
    const bool point = hit.kind == Hit::Point;
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

void EditorCanvas::finishBand() {
    const QRectF dragged = band;
    moveBand(QRectF());
    const EditorGestures::Marquee marquee = marqueeOf(bandModifiers);
    if (dragged.width() < minBand && dragged.height() < minBand) {
        // A plain click on empty canvas lets go of everything; with a modifier it keeps all.
        if (marquee == EditorGestures::Marquee::Replace &&
            document.getSelector().getSelection()->getNbItems() > 0) {
            gestures.selectNothing();
        }
        return;
    }
    // The shapes wholly inside, when there are any; else the primary shape's points it catches.
    const EditorLayout layout = getLayout();
    std::vector<VoExample::AppShapeInterface *> inside;
    for (int slot = 0; slot < table.getNbSlots(); ++slot) {
        const EditorShapeView &shape = table.getView(slot);
        if (shape.shape != nullptr && shape.nbPoints > 0 &&
            dragged.contains(layout.getCurveArea(slot))) {
            inside.push_back(shape.shape);
        }
    }
    if (!inside.empty()) {
        gestures.selectShapes(inside, marquee);
        return;
    }
    gestures.selectPoints(
        table.getPrimarySlot() >= 0 ? findPrimaryPointsIn(dragged) : std::vector<int>(), marquee);
}

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
        nudge(arrow * nudgeStep * ((event->modifiers() & Qt::ShiftModifier) ? 10 : 1));
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
