// The selector's operations on whole shapes and the primary shape, and what they read: the
// selection or a batch's working one, the key table, which shapes are known alive.

#include "SeShapeSelectorPrivate.h"

#include "SeAliveShapes.h"
#include "SeSelectedKeys.h"
#include "SeShapeItems.h"
#include "SeShapeKeyIndex.h"

#include "base/RCExUtil.h"
#include "foundation/RCWeakAccessor.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <typeinfo>
#include <unordered_map>
#include <utility>

namespace Vo {

namespace {

// The shape's identity-key promise; null for a null shape or one without it.
const SeIdentityKey *promiseOf(const RCShdPtr<SeShape> &shape) noexcept {
    return shape.isNull() ? nullptr : SeShapeKeyIndex::promiseOf(*shape);
}

// Appends to `out` with the strong guarantee: when `fill` raises, `out` is as
// it was.
template <class T, class Fill> void appendAll(Vector<T> &out, Fill fill) {
    const std::size_t before = out.size();
    try {
        fill();
    } catch (...) {
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(before), out.end());
        throw;
    }
}

} // namespace

SeShapeSelectorPrivate::SeShapeSelectorPrivate(SeShapeSelector &owner)
    : primarySelectionChangedDispatcher(owner.primarySelectionChangedDispatcher),
      shapeSelectionChangedDispatcher(owner.shapeSelectionChangedDispatcher),
      selectionChangedDispatcher(owner.selectionChangedDispatcher), selection(owner.selection),
      aliveShapes(new SeAliveShapes) {
    selection->getSubject().attachObserver(&watch);
}

SeShapeSelectorPrivate::~SeShapeSelectorPrivate() = default;

SnSelection &SeShapeSelectorPrivate::current() const {
    if (batch == nullptr) {
        return *selection;
    }
    settleRemovals();
    return *batch->working;
}

RCShdPtr<SnSelection const> SeShapeSelectorPrivate::getCurrentSelection() const {
    if (batch == nullptr) {
        return selection;
    }
    settleRemovals();
    return batch->working;
}

void SeShapeSelectorPrivate::replaceAllItems(const RCShdPtr<SnSelection const> &items) {
    if (items.isNull()) {
        RCExUtil::throwExNullPtr(typeid(SnSelection const *).name());
    }
    if (batch != nullptr) {
        commit(RCShdPtr<SnSelection>(items->clone())); // the caller keeps its own object
        batch->replaced = true;
    } else if (!selection->isEqual(items)) {
        handOver(items);
    }
}

void SeShapeSelectorPrivate::resetSelection() {
    if (!current().isEmpty()) {
        commit(SnSelection::create());
    }
}

void SeShapeSelectorPrivate::removeSelectedShape(int shapeId) {
    if (batch != nullptr) {
        ++batch->removals[shapeId];
        ++batch->received[shapeId];
        return;
    }
    std::unordered_map<int, int> removed{{shapeId, 1}};
    Vector<RCShdPtr<SeShape>> kept;
    if (SeShapeItems::keepAfterRemovals(*selection, removed, kept)) {
        commit(SeShapeItems::selectionOf(kept));
    }
}

int SeShapeSelectorPrivate::getNbSelectedShape() const { return current().getNbItems(); }

void SeShapeSelectorPrivate::collectShapes(Vector<RCWeakPtr<SeShapeInterface>> &shapes) const {
    SeShapeItems::collect(current(), shapes);
}

void SeShapeSelectorPrivate::getSelectedShapeInterfaces(
    Vector<RCWeakPtr<SeShapeInterface>> &shapes) const {
    if (!current().isEmpty()) {
        appendAll(shapes, [&] { collectShapes(shapes); });
    }
}

void SeShapeSelectorPrivate::getSelectedShapes(Vector<RCShdPtr<SeShape>> &shapes) const {
    if (current().isEmpty()) {
        return;
    }
    Vector<RCWeakPtr<SeShapeInterface>> interfaces;
    collectShapes(interfaces);
    appendAll(shapes, [&] {
        shapes.reserve(shapes.size() + interfaces.size());
        for (const RCWeakPtr<SeShapeInterface> &shape : interfaces) {
            const RCWeakAccessor<SeShapeInterface> access(shape);
            shapes.push_back(access->getShape());
        }
    });
}

const SeSelectedKeys &SeShapeSelectorPrivate::keysOf(const SnSelection &items) const {
    return SeSelectedKeys::of(selectedKeys, items);
}

std::unique_ptr<SeSelectedKeys> SeShapeSelectorPrivate::keysToFill() const {
    if (batch != nullptr || SeSelectedKeys::isCurrent(selectedKeys, *selection)) {
        return nullptr;
    }
    return SeSelectedKeys::toFill(selectedKeys, *selection);
}

void SeShapeSelectorPrivate::adoptKeys(std::unique_ptr<SeSelectedKeys> keys) const noexcept {
    if (keys && keys->isUsable() && SeSelectedKeys::isCurrent(keys, *selection)) {
        selectedKeys = std::move(keys);
    }
}

// Through the keys when every shape involved makes the promise and one selected item matches;
// otherwise from the front, shape by shape, which also finds the first of several.
RCShdPtr<SnItem const> SeShapeSelectorPrivate::findSelectedItem(const RCShdPtr<SeShape> &shape,
                                                                std::size_t *place) const {
    const SnSelection &items = current();
    if (items.isEmpty()) {
        return RCShdPtr<SnItem const>();
    }
    if (const SeIdentityKey *promise = promiseOf(shape)) {
        const SeSelectedKeys &keys = keysOf(items);
        if (keys.isUsable()) {
            const SeSelectedKeys::Found found = keys.findEqual(promise->getIdentityKey(), *shape);
            if (found.several) {
                return firstEqualAlive(items, *shape); // its place is looked for if needed
            }
            if (place != nullptr) {
                *place = found.place;
            }
            return RCShdPtr<SnItem const>(found.item);
        }
    }
    Vector<RCShdPtr<SeShape>> selected; // raises when a selected shape is gone, as it always has
    getSelectedShapes(selected);
    const auto found = std::find_if(selected.begin(), selected.end(),
                                    [&](const RCShdPtr<SeShape> &s) { return shape->isEqual(*s); });
    if (found == selected.end()) {
        return RCShdPtr<SnItem const>();
    }
    const std::size_t at = static_cast<std::size_t>(found - selected.begin());
    if (place != nullptr) {
        *place = at;
    }
    return *(items.begin() + static_cast<std::ptrdiff_t>(at));
}

// A shape selected more than once: the first of its items in order. Gone shapes are passed over,
// since under the identity-key promise no live shape can be equal to one.
RCShdPtr<SnItem const> SeShapeSelectorPrivate::firstEqualAlive(const SnSelection &items,
                                                               const SeShape &shape) {
    for (const RCShdPtr<SnItem const> &item : items) {
        const RCWeakAccessor<SeShapeInterface> access(SeShapeItems::asShapeItem(item).getData());
        if (!access.isNull() && shape.isEqual(*access->getShape())) {
            return item;
        }
    }
    return RCShdPtr<SnItem const>();
}

bool SeShapeSelectorPrivate::areShapesKnownAlive() const noexcept {
    return aliveShapes->areKnown(*selection);
}

bool SeShapeSelectorPrivate::lookAtShapesAlive() const { return aliveShapes->lookAt(*selection); }

bool SeShapeSelectorPrivate::isShapeSelected(const RCShdPtr<SeShape> &shape) const {
    return !findSelectedItem(shape).isNull();
}

void SeShapeSelectorPrivate::addSelectedShape(const RCShdPtr<SeShape> &shape) {
    if (shape.isNull()) {
        RCExUtil::throwExNullPtr(typeid(SeShape const *).name());
    }
    const RCWeakPtr<SeShapeInterface> editing = shape->getShapeInterface();
    if (editing.isNull() || isShapeSelected(shape)) {
        return;
    }
    SnSelection &target = current();
    // No index is mirrored with two shapes or more, nor for a whole shape alone: nothing to put
    // back. An observer's error passes on with the change made.
    target.insertItem(target.getNbItems(), SeShapeItems::make(RCShdPtr<SnParts>(), editing));
}

void SeShapeSelectorPrivate::unselectShape(const RCShdPtr<SeShape> &shape) {
    if (shape.isNull()) {
        RCExUtil::throwExNullPtr(typeid(SeShape const *).name());
    }
    std::size_t place = SeSelectedKeys::kNoPlace;
    const RCShdPtr<SnItem const> item = findSelectedItem(shape, &place);
    if (item.isNull()) {
        return;
    }
    SnSelection &target = current();
    if (target.getNbItems() == 2 && batch == nullptr) {
        // The shape left alone is mirrored with its indices, which may name missing elements:
        // the write that can put the old items back.
        const RCShdPtr<SnSelection> result(target.clone());
        result->removeItem(item);
        handOver(result);
        return;
    }
    // The place found with the item is its first occurrence (an item object selected twice is
    // found by the walk from the front), unless splices before it moved it since.
    const bool placed = place < static_cast<std::size_t>(target.getNbItems()) &&
                        target.begin()[static_cast<std::ptrdiff_t>(place)].get() == item.get();
    if (placed) {
        target.replaceRange(static_cast<int>(place), 1, Vector<RCShdPtr<SnItem const>>());
    } else {
        target.removeItem(item);
    }
}

RCWeakPtr<SeShapeInterface> SeShapeSelectorPrivate::getPrimarySelectedShapeInterface() const {
    const SnSelection &items = current();
    if (items.isEmpty()) {
        return RCWeakPtr<SeShapeInterface>();
    }
    return SeShapeItems::asShapeItem(items.getPrimaryItem()).getData();
}

RCShdPtr<SeShape> SeShapeSelectorPrivate::getPrimarySelectedShape() const {
    const RCWeakPtr<SeShapeInterface> shape = getPrimarySelectedShapeInterface();
    if (shape.isNull()) {
        return RCShdPtr<SeShape>();
    }
    const RCWeakAccessor<SeShapeInterface> access(shape);
    return access->getShape();
}

void SeShapeSelectorPrivate::setSelectedShapes(const Vector<RCShdPtr<SeShape>> &shapes) {
    commit(SeShapeItems::selectionOf(shapes));
}

// The selected shapes are collected once, before the first element, from the
// selection as it was: the same answers as collecting them for each element.
// With no element they are not looked at, so a gone selected shape raises
// nothing then.
void SeShapeSelectorPrivate::selectAllShapes(Iterator<RCShdPtr<SeShape>> &shapes) {
    Iterator<RCShdPtr<SeShape>> walk = shapes; // the caller's iterator stays put
    if (walk.atEnd()) {
        return;
    }
    // The items are gathered in a list the new selection takes over: no selection's bookkeeping
    // for each of 10^5 items added one at a time.
    const SnSelection &now = current();
    Vector<RCShdPtr<SnItem const>> items(now.begin(), now.end());
    Vector<RCShdPtr<SeShape>> selected;
    getSelectedShapes(selected);
    const SeShapeKeyIndex keys(selected);
    for (; !walk.atEnd(); walk.next()) {
        const RCShdPtr<SeShape> &element = std::as_const(walk).item(); // read, not copied
        const SeIdentityKey *promise = keys.isUsable() ? promiseOf(element) : nullptr;
        const bool isSelected =
            promise != nullptr
                ? keys.anyWithKey(promise->getIdentityKey(),
                                  [&](std::size_t at) { return element->isEqual(*selected[at]); })
                : std::any_of(selected.begin(), selected.end(),
                              [&](const RCShdPtr<SeShape> &s) { return element->isEqual(*s); });
        if (isSelected) {
            continue;
        }
        RCWeakPtr<SeShapeInterface> editing = element->getShapeInterface();
        if (!editing.isNull()) {
            items.push_back(SeShapeItems::make(RCShdPtr<SnParts>(), std::move(editing)));
        }
    }
    commit(SnSelection::createTaking(std::move(items)));
}

void SeShapeSelectorPrivate::setPrimarySelectedShape(const RCShdPtr<SeShape> &shape,
                                                     int pointIndex) {
    const RCShdPtr<SnSelection> result = SnSelection::create();
    const RCWeakPtr<SeShapeInterface> editing =
        shape.isNull() ? RCWeakPtr<SeShapeInterface>() : shape->getShapeInterface();
    if (!editing.isNull()) {
        RCShdPtr<SnParts> parts;
        if (pointIndex != -1 && RCWeakAccessor<SeShapeInterface>(editing)->arePointsEditable()) {
            RCShdPtr<SeShapeParts> point(new SeShapeParts);
            point->appendPoint(pointIndex);
            parts = point;
        }
        result->addItem(SeShapeItems::make(parts, editing));
    }
    commit(result);
}

} // namespace Vo
