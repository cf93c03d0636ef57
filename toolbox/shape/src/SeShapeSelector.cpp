#include "SeShapeSelector.h"

#include "SeAliveShapes.h"
#include "SeChangeDelta.h"
#include "SeExMissingElement.h"
#include "SeSelectedKeys.h"
#include "SeShapeItems.h"
#include "SeShapeKeyIndex.h"
#include "SeShapeSelectorState.h"

#include "base/RCExInvalidCall.h"
#include "foundation/RCWeakAccessor.h"
#include "host/ObHints.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
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

SeShapeSelector::SeShapeSelector()
    : pickingType(PickingType(0)), pickingIndex(-1), pickingExtremity(-1),
      selection(SnSelection::create()), aliveShapes(new SeAliveShapes) {
    selection->getSubject().attachObserver(&watch);
}

void SeShapeSelector::Watch::update(ObSubject<Sn> *, const ObHints &hints) {
    for (const RCShdPtr<ObHint> &hint : hints.getContainer()) {
        if (const auto *change = dynamic_cast<const SnSelectionChangeHint *>(hint.get())) {
            SeSelectedKeys::follow(selector.selectedKeys, *selector.selection, *change);
            selector.aliveShapes->follow(*change);
            selector.followPartsTally(*change);
            selector.describe(*change);
        }
    }
}

namespace {

const RCWeakPtr<SeShapeInterface> &shapeOf(const RCShdPtr<SnItem const> &item) {
    return SeShapeItems::asShapeItem(item).getData();
}

} // namespace

// A change is told by the places and shapes of the items that went and came (see
// SeSelectionChange); a change of the whole list by what the selector foresaw of its own write,
// else not at all. Should the description fail (an item of another class, memory), the change reads
// as whole, which views answer by reading everything again.
void SeShapeSelector::describe(const SnSelectionChangeHint &change) noexcept {
    // A whole change lists no item: the primary shape before it is the one after the change
    // described last, when that one led to it.
    const bool follows = shownRevision == change.getRevisionBefore();
    RCWeakPtr<SeShapeInterface> shown = std::move(shownPrimary);
    shownPrimary = RCWeakPtr<SeShapeInterface>();
    previousChange = std::move(lastChange);
    lastChange = SeSelectionChange();
    try {
        if (renumberingFrom == change.getRevisionBefore()) {
            describeRenumbering();
        }
        if (!change.isWhole()) {
            lastChange.primaryBefore = change.getPosition() == 0 ? primaryBefore(change) : shown;
            describeDelta(lastChange, change.getPosition(), change.getRemovedItems(),
                          change.getAddedItems(), SIZE_MAX);
        } else if (foreseenFrom == change.getRevisionBefore()) {
            describeForeseen();
        } else if (follows) {
            lastChange.primaryBefore = std::move(shown);
        }
        foreseenFrom = renumberingFrom = kNoRevision;
        lastChange.primaryAfter =
            selection->isEmpty() ? RCWeakPtr<SeShapeInterface>() : shapeOf(*selection->begin());
    } catch (...) {
        lastChange = SeSelectionChange();
    }
    lastChange.revisionBefore = change.getRevisionBefore();
    lastChange.revisionAfter = change.getRevisionAfter();
    shownPrimary = lastChange.primaryAfter;
    shownRevision = change.getRevisionAfter();
}

// Told with the items it changed, as any change of parts (see SeSelectionChange).
void SeShapeSelector::describeRenumbering() noexcept {
    lastChange.renumbering = true;
    lastChange.renumbered = renumbering.shape;
    lastChange.renumberedPoints = renumbering.points;
    lastChange.renumberedIndex = renumbering.index;
    lastChange.renumberedInsertion = renumbering.added;
}

// The description made before the write, with what was told of it since.
void SeShapeSelector::describeForeseen() noexcept {
    SeSelectionChange told = std::move(lastChange);
    lastChange = std::move(foreseen);
    lastChange.renumbering = told.renumbering;
    lastChange.renumbered = std::move(told.renumbered);
    lastChange.renumberedPoints = told.renumberedPoints;
    lastChange.renumberedIndex = told.renumberedIndex;
    lastChange.renumberedInsertion = told.renumberedInsertion;
}

// A run that only came or only went, and one item for another (they differ, or there would be no
// change), take their places as they are; other splices are walked, comparing items.
bool SeShapeSelector::describeDelta(SeSelectionChange &into, int position, SnItemRun gone,
                                    SnItemRun come, std::size_t limit) const {
    SeChangeDelta delta;
    const bool walked = !gone.empty() && !come.empty() && gone.size() + come.size() > 2;
    if (walked ? !delta.find(gone, come, limit) : gone.size() + come.size() > limit) {
        return false;
    }
    into.whole = false;
    const bool oneForOne = walked ? delta.removed.size() == 1 && delta.added.size() == 1 &&
                                        delta.removed.front() == 0 && delta.added.front() == 0
                                  : gone.size() == 1 && come.size() == 1;
    const bool primaryParts =
        position == 0 && oneForOne && shapeOf(gone.front()) == shapeOf(come.front());
    if (primaryParts) {
        describeParts(into, gone.front().get(), come.front().get());
        return true;
    }
    const auto list = [&](Vector<RCWeakPtr<SeShapeInterface>> &shapes, Vector<int> &places,
                          SnItemRun run, const Vector<int> &found) {
        const std::size_t count = walked ? found.size() : run.size();
        shapes.reserve(count);
        places.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t place = walked ? static_cast<std::size_t>(found[i]) : i;
            shapes.push_back(shapeOf(run[place]));
            places.push_back(position + static_cast<int>(place));
        }
    };
    list(into.removed, into.placesRemoved, gone, delta.removed);
    list(into.added, into.placesAdded, come, delta.added);
    return true;
}

// The first item before a splice at the front: the first removed one, else the one the inserted
// items now precede there.
RCWeakPtr<SeShapeInterface>
SeShapeSelector::primaryBefore(const SnSelectionChangeHint &change) const {
    const auto &removed = change.getRemovedItems();
    const auto nbAdded = static_cast<int>(change.getAddedItems().size());
    if (!removed.empty()) {
        return shapeOf(removed.front());
    }
    return selection->getNbItems() == nbAdded ? RCWeakPtr<SeShapeInterface>()
                                              : shapeOf(*std::next(selection->begin(), nbAdded));
}

namespace {

// An index listed as added goes at the end of the order: one put back where it was taken from is
// such an index only when it was the last.
bool comesBackLast(const SeShapeSelector::PartsChange &change, const SnItem &restored) {
    if (change.kind != SeShapeSelector::PartsChange::Kind::removed) {
        return true;
    }
    const RCShdPtr<SeShapeParts const> parts = SeShapeItems::partsOf(restored);
    return !parts.isNull() && static_cast<std::size_t>(change.rank) ==
                                  (change.points ? parts->getPoints() : parts->getHandles()).size();
}

} // namespace

// Indices come from the selector's last parts change when it made this one (or its reverse, as
// undo and redo put the items back); otherwise the parts read as rewritten.
void SeShapeSelector::describeParts(SeSelectionChange &into, const SnItem *before,
                                    const SnItem *after) const {
    into.partsChanged = true;
    const bool forward = partsChange.from.get() == before && partsChange.to.get() == after;
    const bool backward = partsChange.from.get() == after && partsChange.to.get() == before;
    if ((!forward && !backward) || partsChange.kind == PartsChange::Kind::renumbered ||
        (backward && !comesBackLast(partsChange, *after))) {
        into.partsRewritten = true;
        return;
    }
    const bool comes = (partsChange.kind == PartsChange::Kind::appended) == forward;
    Vector<int> &list = partsChange.points ? (comes ? into.pointsAdded : into.pointsRemoved)
                                           : (comes ? into.handlesAdded : into.handlesRemoved);
    list.push_back(partsChange.index);
}

namespace {

SnItemRun runOf(const SnSelection &items) {
    return items.isEmpty()
               ? SnItemRun()
               : SnItemRun(&*items.begin(), static_cast<std::size_t>(items.getNbItems()));
}

} // namespace

void SeShapeSelector::foresee(const SnSelection &after) noexcept {
    foreseenFrom = kNoRevision;
    try {
        SeSelectionChange next;
        const std::size_t limit =
            SeSelectionChange::getSmallLimit(static_cast<std::size_t>(selection->getNbItems()),
                                             static_cast<std::size_t>(after.getNbItems()));
        if (describeDelta(next, 0, runOf(*selection), runOf(after), limit)) {
            next.primaryBefore =
                selection->isEmpty() ? RCWeakPtr<SeShapeInterface>() : shapeOf(*selection->begin());
            foreseen = std::move(next);
            foreseenFrom = selection->getRevision();
        }
    } catch (...) { // NOLINT(bugprone-empty-catch): the change then reads as whole
    }
}

RCShdPtr<SeShapeSelector> SeShapeSelector::create() {
    return RCShdPtr<SeShapeSelector>(new SeShapeSelector);
}

SeShapeSelector::~SeShapeSelector() {
    selection = RCShdPtr<SnSelection>(); // first: the dispatchers go after it, in member order
}

void SeShapeSelector::addSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    selectionChangedDispatcher.addHandler(handler);
}
void SeShapeSelector::removeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    selectionChangedDispatcher.removeHandler(handler);
}
void SeShapeSelector::notifySelectionChangedCallbacks() const {
    announce(selectionChangedDispatcher);
}
void SeShapeSelector::addShapeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    shapeSelectionChangedDispatcher.addHandler(handler);
}
void SeShapeSelector::removeShapeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    shapeSelectionChangedDispatcher.removeHandler(handler);
}
void SeShapeSelector::notifyShapeSelectionChangedCallbacks() const {
    announce(shapeSelectionChangedDispatcher);
}
void SeShapeSelector::addPrimarySelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    primarySelectionChangedDispatcher.addHandler(handler);
}
void SeShapeSelector::removePrimarySelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    primarySelectionChangedDispatcher.removeHandler(handler);
}
void SeShapeSelector::notifyPrimarySelectionChangedCallbacks() const {
    announce(primarySelectionChangedDispatcher);
}

void SeShapeSelector::announce(CbDispatcher<CbEmptyType> &list) const {
    announced = true;
    list.call();
}

SnSelection &SeShapeSelector::current() const {
    if (batch == nullptr) {
        return *selection;
    }
    settleRemovals();
    return *batch->working;
}

RCShdPtr<SnSelection const> SeShapeSelector::getCurrentSelection() const {
    if (batch == nullptr) {
        return selection;
    }
    settleRemovals();
    return batch->working;
}

void SeShapeSelector::commit(RCShdPtr<SnSelection> result) {
    if (batch != nullptr) {
        if (!current().isEqual(result)) {
            batch->working = std::move(result); // a fresh selection that no one observes
        }
    } else if (!spliceIn(*result)) {
        handOver(std::move(result));
    }
}

// A result that keeps a run of the items at either end goes in as one splice of what lies between,
// so that the observers (the updater, the history, the views) work on the difference only. A result
// that keeps nothing is a change of the whole list; a single shape with parts keeps the write that
// can put the old items back. True when the result went in, or equals the selection (nothing to
// do).
bool SeShapeSelector::spliceIn(const SnSelection &result) {
    const auto oldSize = static_cast<std::size_t>(selection->getNbItems());
    const auto newSize = static_cast<std::size_t>(result.getNbItems());
    const auto same = [](const RCShdPtr<SnItem const> &a, const RCShdPtr<SnItem const> &b) {
        return a == b || a->isEqual(*b);
    };
    const std::size_t shorter = std::min(oldSize, newSize);
    const auto oldItems = selection->begin();
    const auto newItems = result.begin();
    std::size_t head = 0;
    while (head < shorter && same(oldItems[head], newItems[head])) {
        ++head;
    }
    if (head == oldSize && head == newSize) {
        return true;
    }
    if (newSize == 1 && result.getPrimaryItem()->hasParts()) {
        return false;
    }
    std::size_t tail = 0;
    while (tail < shorter - head &&
           same(oldItems[oldSize - 1 - tail], newItems[newSize - 1 - tail])) {
        ++tail;
    }
    if (head == 0 && tail == 0) {
        return false;
    }
    selection->replaceRange(static_cast<int>(head), static_cast<int>(oldSize - head - tail),
                            Vector<RCShdPtr<SnItem const>>(newItems + head, result.end() - tail));
    return true;
}

// A single shape with parts is what the updater mirrors element by element. Should it find a
// selected index without element, the old items go back, which observers take as no change, and the
// error passes on: both selections stay as they were. Other results need no copy of the old items.
void SeShapeSelector::handOver(RCShdPtr<SnSelection const> items) {
    if (items->getNbItems() != 1 || !items->getPrimaryItem()->hasParts()) {
        const SeScopedValue<std::uint64_t> foresight(foreseenFrom, kNoRevision);
        foresee(*items);
        selection->replaceAllItems(std::move(items));
    } else {
        write(items, PutBack::onMissingElement, false);
    }
}

void SeShapeSelector::replaceAllItems(const RCShdPtr<SnSelection const> &items) {
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

void SeShapeSelector::resetSelection() {
    if (!current().isEmpty()) {
        commit(SnSelection::create());
    }
}

void SeShapeSelector::removeSelectedShape(int shapeId) {
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

// The one write with a way back: the old items are kept aside, and when the write raises an error
// that `rule` covers, they are put back (see putBack) before the error passes on. A change that
// was announced (a callback list ran since the write began) stands whatever the rule.
void SeShapeSelector::write(const RCShdPtr<SnSelection const> &items, PutBack rule,
                            bool showOrigin) {
    const RCShdPtr<SnSelection const> origin(selection->clone());
    const SeScopedValue<RCShdPtr<SnSelection const>> originShown(
        commitOrigin, showOrigin ? origin : RCShdPtr<SnSelection const>());
    const SeScopedValue<bool> watch(announced, false);
    const SeScopedValue<std::uint64_t> foresight(foreseenFrom, kNoRevision);
    foresee(*items);
    const std::uint64_t start = selection->getRevision();
    try {
        selection->replaceAllItems(items);
    } catch (const SeExMissingElement &) {
        if (!announced) {
            putBack(start, [&] { selection->replaceAllItems(origin); });
        }
        throw;
    } catch (...) {
        if (!announced && rule == PutBack::beforeAnnouncement) {
            putBack(start, [&] { selection->replaceAllItems(origin); });
        }
        throw;
    }
}

void SeShapeSelector::restoreSelection(const RCShdPtr<SnSelection const> &items) {
    if (items.isNull()) {
        RCExUtil::throwExNullPtr(typeid(SnSelection const *).name());
    }
    if (!selection->isEqual(items)) {
        write(items, PutBack::beforeAnnouncement, false);
    }
}

void SeShapeSelector::restoreRange(int position, int count,
                                   const Vector<RCShdPtr<SnItem const>> &items) {
    const int size = selection->getNbItems();
    if (position < 0 || count < 0 || position > size - count) {
        throw RCExInvalidCall("cannot restore " + std::to_string(count) + " items from place " +
                              std::to_string(position) + " of a selection of " +
                              std::to_string(size) + " items");
    }
    if (std::any_of(items.begin(), items.end(), [](const auto &item) { return item.isNull(); })) {
        RCExUtil::throwExNullPtr(typeid(SnItem const *).name());
    }
    const auto first = std::next(selection->begin(), position);
    if (static_cast<std::size_t>(count) == items.size() &&
        std::equal(items.begin(), items.end(), first,
                   [](const auto &a, const auto &b) { return a == b || a->isEqual(*b); })) {
        return;
    }
    const Vector<RCShdPtr<SnItem const>> old(first, std::next(first, count));
    const SeScopedValue<bool> watch(announced, false);
    const std::uint64_t start = selection->getRevision();
    try {
        selection->replaceRange(position, count, items);
    } catch (...) {
        const auto now = std::next(selection->begin(), std::min(position, selection->getNbItems()));
        const bool untouched =
            !announced &&
            selection->getNbItems() == size - count + static_cast<int>(items.size()) &&
            std::equal(items.begin(), items.end(), now);
        if (untouched) {
            putBack(start, [&] {
                selection->replaceRange(position, static_cast<int>(items.size()), old);
            });
        }
        throw;
    }
}

void SeShapeSelector::addRenumberingCallback(CbHandler<Renumbering const> *handler) const {
    renumberingDispatcher.addHandler(handler);
}
void SeShapeSelector::removeRenumberingCallback(CbHandler<Renumbering const> *handler) const {
    renumberingDispatcher.removeHandler(handler);
}

RCShdPtr<SnItem const> SeShapeSelector::renumberedItem(const RCShdPtr<SnItem const> &item,
                                                       const Renumbering &renumbering) {
    const auto *shapeItem = rcFastCast<const SeShapeItem>(item.get());
    if (shapeItem == nullptr || !item->hasParts() || shapeItem->getData() != renumbering.shape) {
        return item;
    }
    const PartsChannel &channel = renumbering.points ? pointsChannel : handlesChannel;
    const RCShdPtr<SnItem const> renumbered = SeShapeItems::make(
        channel.renumbered(*SeShapeItems::partsOf(*item), renumbering.index, renumbering.added, -1),
        renumbering.shape);
    return item->isEqual(*renumbered) ? item : renumbered;
}

int SeShapeSelector::getNbSelectedShape() const { return current().getNbItems(); }

void SeShapeSelector::collectShapes(Vector<RCWeakPtr<SeShapeInterface>> &shapes) const {
    SeShapeItems::collect(current(), shapes);
}

void SeShapeSelector::getSelectedShapeInterfaces(
    Vector<RCWeakPtr<SeShapeInterface>> &shapes) const {
    if (!current().isEmpty()) {
        appendAll(shapes, [&] { collectShapes(shapes); });
    }
}

void SeShapeSelector::getSelectedShapes(Vector<RCShdPtr<SeShape>> &shapes) const {
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

const SeSelectedKeys &SeShapeSelector::keysOf(const SnSelection &items) const {
    return SeSelectedKeys::of(selectedKeys, items);
}

std::unique_ptr<SeSelectedKeys> SeShapeSelector::keysToFill() const {
    if (batch != nullptr || SeSelectedKeys::isCurrent(selectedKeys, *selection)) {
        return nullptr;
    }
    return SeSelectedKeys::toFill(selectedKeys, *selection);
}

void SeShapeSelector::adoptKeys(std::unique_ptr<SeSelectedKeys> keys) const noexcept {
    if (keys && keys->isUsable() && SeSelectedKeys::isCurrent(keys, *selection)) {
        selectedKeys = std::move(keys);
    }
}

// Through the keys when every shape involved makes the promise and one selected item matches;
// otherwise from the front, shape by shape, which also finds the first of several.
RCShdPtr<SnItem const> SeShapeSelector::findSelectedItem(const RCShdPtr<SeShape> &shape,
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
RCShdPtr<SnItem const> SeShapeSelector::firstEqualAlive(const SnSelection &items,
                                                        const SeShape &shape) {
    for (const RCShdPtr<SnItem const> &item : items) {
        const RCWeakAccessor<SeShapeInterface> access(SeShapeItems::asShapeItem(item).getData());
        if (!access.isNull() && shape.isEqual(*access->getShape())) {
            return item;
        }
    }
    return RCShdPtr<SnItem const>();
}

bool SeShapeSelector::areShapesKnownAlive() const noexcept {
    return aliveShapes->areKnown(*selection);
}

bool SeShapeSelector::lookAtShapesAlive() const { return aliveShapes->lookAt(*selection); }

bool SeShapeSelector::isShapeSelected(const RCShdPtr<SeShape> &shape) const {
    return !findSelectedItem(shape).isNull();
}

void SeShapeSelector::addSelectedShape(const RCShdPtr<SeShape> &shape) {
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

void SeShapeSelector::unselectShape(const RCShdPtr<SeShape> &shape) {
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

RCWeakPtr<SeShapeInterface> SeShapeSelector::getPrimarySelectedShapeInterface() const {
    const SnSelection &items = current();
    if (items.isEmpty()) {
        return RCWeakPtr<SeShapeInterface>();
    }
    return SeShapeItems::asShapeItem(items.getPrimaryItem()).getData();
}

RCShdPtr<SeShape> SeShapeSelector::getPrimarySelectedShape() const {
    const RCWeakPtr<SeShapeInterface> shape = getPrimarySelectedShapeInterface();
    if (shape.isNull()) {
        return RCShdPtr<SeShape>();
    }
    const RCWeakAccessor<SeShapeInterface> access(shape);
    return access->getShape();
}

void SeShapeSelector::setSelectedShapes(const Vector<RCShdPtr<SeShape>> &shapes) {
    commit(SeShapeItems::selectionOf(shapes));
}

// The selected shapes are collected once, before the first element, from the
// selection as it was: the same answers as collecting them for each element.
// With no element they are not looked at, so a gone selected shape raises
// nothing then.
void SeShapeSelector::selectAllShapes(Iterator<RCShdPtr<SeShape>> &shapes) {
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

void SeShapeSelector::setPrimarySelectedShape(const RCShdPtr<SeShape> &shape, int pointIndex) {
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

template class RCBasePtr<SeShapeSelector>;
template class RCShdPtr<SeShapeSelector>;
template class RCPvtEngPtr<IteratorImp<RCShdPtr<SeShape>>>;
template class Iterator<RCShdPtr<SeShape>>;
template class CbHandler<CbEmptyType>;
template class CbDispatcher<CbEmptyType>;

} // namespace Vo
