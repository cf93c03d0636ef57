#include "EditorCanvas.h"

#include "EditorPainter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace VoEditor {

namespace {

// How far from a marker or the curve, in pixels, the pointer still falls on it.
const double reach = 6;
// A drag shorter than this is a click on empty canvas, which selects nothing.
const double minBand = 3;
// More changed shapes than this repaint the whole canvas: a region of many rectangles costs
// more to build than the few shapes it would spare.
const std::size_t maxDamaged = 64;
// The band's dashed outline reaches this far past its rectangle.
const double bandPen = 2;
// The width of the frame drawn along the canvas's edges while it has the keyboard focus.
const double focusFrame = 2;

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

} // namespace

EditorCanvas::EditorCanvas(EditorDocument &editorDocument, QWidget *parent)
    : QWidget(parent), document(editorDocument), gestures(editorDocument), table(editorDocument) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The library's callbacks say when the selection changed; gestures and commands may also
    // have changed the graph, which no callback reports.
    connect(&document, &EditorDocument::editorSelectionChanged, this,
            [this] { updateDamage(table.followSelection()); });
    connect(&document, &EditorDocument::edited, this,
            [this] { updateDamage(table.followGraph()); });
    for (const auto replaced : {&EditorDocument::sceneReplaced, &EditorDocument::layerActivated}) {
        connect(&document, replaced, this, [this] {
            table.reset();
            update();
        });
    }
}

EditorLayout EditorCanvas::getLayout() const {
    return EditorLayout(QSizeF(size()), document.getNbSlots());
}

QPoint EditorCanvas::getPointPosition(const std::string &shape, int index) const {
    const EditorShapeView *view = table.find(shape);
    return view != nullptr ? getLayout().getPoint(view->slot, index, view->nbPoints).toPoint()
                           : QPoint(-1, -1);
}

QPoint EditorCanvas::getHandlePosition(const std::string &shape, int index) const {
    const EditorShapeView *view = table.find(shape);
    return view != nullptr ? getLayout().getHandle(view->slot, index, view->nbHandles).toPoint()
                           : QPoint(-1, -1);
}

QPoint EditorCanvas::getCurvePosition(const std::string &shape) const {
    const EditorShapeView *view = table.find(shape);
    if (view == nullptr || view->nbPoints == 0) {
        return QPoint(-1, -1);
    }
    const EditorLayout layout = getLayout();
    const QPointF first = layout.getPoint(view->slot, 0, view->nbPoints);
    const QPointF second =
        layout.getPoint(view->slot, std::min(1, view->nbPoints - 1), view->nbPoints);
    return ((first + second) / 2).toPoint();
}

EditorCanvas::Hit EditorCanvas::hitTest(const QPointF &at, bool partsOfPrimaryOnly) const {
    const EditorLayout layout = getLayout();
    const int slot = layout.findSlot(at);
    Hit hit;
    if (slot < 0 || table.getView(slot).shape == nullptr) {
        return hit;
    }
    const EditorShapeView &view = table.getView(slot);
    hit.shape = view.shape;
    if (view.primary || !partsOfPrimaryOnly) {
        hit.index = layout.findPoint(slot, view.nbPoints, at, reach);
        hit.kind = Hit::Point;
        hit.count = view.nbPoints;
        if (hit.index < 0) {
            hit.index = layout.findHandle(slot, view.nbHandles, at, reach);
            hit.kind = Hit::Handle;
            hit.count = view.nbHandles;
        }
        if (hit.index >= 0) {
            return hit;
        }
    }
    hit.kind = layout.isNearCurve(slot, view.nbPoints, at, reach) ? Hit::Shape : Hit::Nothing;
    return hit;
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
    update(region);
}

std::vector<const EditorShapeView *> EditorCanvas::shapesToPaint(const EditorLayout &layout,
                                                                 const QRegion &region) const {
    // Labels go where no label drawn before lies, wherever the region is: every labelled shape
    // takes its place in the order, drawn or clipped.
    std::vector<int> drawn = table.getLabelled();
    const double beyond = EditorPainter::beyondCell;
    for (const QRect &rect : region) {
        const std::vector<int> met =
            layout.findSlotsIn(QRectF(rect).adjusted(-beyond, -beyond, beyond, beyond));
        drawn.insert(drawn.end(), met.begin(), met.end());
    }
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
    if (dragging && !band.isEmpty()) {
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
    update();
}

void EditorCanvas::focusOutEvent(QFocusEvent *event) {
    QWidget::focusOutEvent(event);
    update();
}

void EditorCanvas::moveBand(const QRectF &to) {
    const double reach = bandPen;
    update(band.adjusted(-reach, -reach, reach, reach).toAlignedRect());
    band = to;
    update(band.adjusted(-reach, -reach, reach, reach).toAlignedRect());
}

void EditorCanvas::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const Hit hit = hitTest(event->position(), true);
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    switch (hit.kind) {
    case Hit::Point:
        gestures.clickPoint(hit.index, clickOf(modifiers));
        break;
    case Hit::Handle:
        gestures.clickHandle(hit.index, clickOf(modifiers));
        break;
    case Hit::Shape:
        gestures.clickShape(*hit.shape,
                            (modifiers & (Qt::ShiftModifier | Qt::ControlModifier)) != 0);
        break;
    case Hit::Nothing:
        dragging = true;
        bandStart = event->position();
        bandModifiers = modifiers;
        band = QRectF();
        break;
    }
}

void EditorCanvas::mouseMoveEvent(QMouseEvent *event) {
    if (dragging) {
        moveBand(QRectF(bandStart, event->position()).normalized());
    } else {
        hover(event->position());
    }
}

void EditorCanvas::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && dragging) {
        band = QRectF(bandStart, event->position()).normalized();
        finishBand();
    }
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
    dragging = false;
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
    std::vector<int> points;
    for (int slot = 0; slot < table.getNbSlots(); ++slot) {
        const EditorShapeView &view = table.getView(slot);
        if (view.shape == nullptr || view.nbPoints == 0) {
            continue;
        }
        if (dragged.contains(layout.getCurveBounds(slot, view.nbPoints))) {
            inside.push_back(view.shape);
        } else if (view.primary) {
            points = layout.findPointsIn(slot, view.nbPoints, dragged);
        }
    }
    if (inside.empty()) {
        gestures.selectPoints(points, marquee);
    } else {
        gestures.selectShapes(inside, marquee);
    }
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
        return true;
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

void EditorCanvas::keyPressEvent(QKeyEvent *event) {
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
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace VoEditor
