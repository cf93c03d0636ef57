#include "SeShapeSelector.h"

#include "SeExMissingElement.h"
#include "SeScopedValue.h"
#include "SeSelectedKeys.h"
#include "SeShapeItem.h"
#include "SeShapeKeyIndex.h"
#include "SeShapeParts.h"

#include "foundation/List.h"
#include "foundation/RCWeakAccessor.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <unordered_map>
#include <utility>

namespace Vo {

// An open batch: the working selection the operations read and change, the removal events
// received since it was last read (shape id to number of events), applied at the next read, and
// all those received since it opened, which still apply when the batch is abandoned.
struct SeShapeSelector::BatchState {
    // An insertion or removal of a point or handle that the application reported.
    struct Edit {
        const PartsChannel *channel;
        RCWeakPtr<SeShapeInterface> shape;
        int index;
        bool added;
    };
    RCShdPtr<SnSelection> working;
    std::vector<Edit> edits;
    std::unordered_map<int, int> removals;
    std::unordered_map<int, int> received;
    int depth = 0;
    bool cancelled = false;
    // The working selection was replaced wholesale (the application's selection mirrored in, or
    // its own write): an abandon must bring the application's selection back in step.
    bool replaced = false;
};

// The point or handle side of an SeShapeParts: the twin operations differ only
// in the set they use.
struct SeShapeSelector::PartsChannel {
    void (*append)(SeShapeParts &, int);
    void (*appendRange)(SeShapeParts &, int first, int count);
    void (*reserve)(SeShapeParts &, int count, int largest);
    // Gives `parts` the other side's set of `from`.
    void (*takeOtherSide)(SeShapeParts &parts, const RCShdPtr<SnParts const> &from);
    const Vector<int> &(*indices)(const SeShapeParts &);
    bool (*isEmpty)(const SeShapeParts &);
    int (*rank)(const SeShapeParts &, int index);
    RCShdPtr<SeShapeParts> (*renumbered)(const SeShapeParts &, int at, bool added);
    bool points;
};

// The primary item, held for the length of an operation, and its shape's weak
// pointer.
struct SeShapeSelector::PrimaryShape {
    RCShdPtr<SnItem const> item;
    RCWeakPtr<SeShapeInterface> shape;
};

namespace {

const SeShapeItem &asShapeItem(const RCShdPtr<SnItem const> &item) {
    return *rcCheckedCast<SeShapeItem const>(item.operator->());
}

RCShdPtr<SeShapeParts const> partsOf(const SnItem &item) {
    return item.hasParts() ? rcDynamicCast<SeShapeParts const>(item.getParts())
                           : RCShdPtr<SeShapeParts const>();
}

RCShdPtr<SnItem const> makeShapeItem(const RCShdPtr<SnParts> &parts,
                                     const RCWeakPtr<SeShapeInterface> &shape) {
    return RCShdPtr<SnItem const>(new SeShapeItem(parts, shape));
}

// The shapes of `from` that stay after removal events for the ids in `removed` (id to number of
// events, counted down as they match): per event the first live shape with that id leaves, and
// every shape whose editing side is gone. False when none leaves.
bool keepAfterRemovals(const SnSelection &from, std::unordered_map<int, int> &removed,
                       Vector<RCShdPtr<SeShape>> &kept) {
    bool changed = false;
    kept.reserve(static_cast<std::size_t>(from.getNbItems()));
    for (const RCShdPtr<SnItem const> &item : from) {
        const RCWeakAccessor<SeShapeInterface> access(asShapeItem(item).getData());
        if (access.isNull()) {
            changed = true;
            continue;
        }
        RCShdPtr<SeShape> shape = access->getShape();
        const auto found = removed.find(shape->getId());
        if (found != removed.end() && found->second > 0) {
            --found->second;
            changed = true;
            continue;
        }
        kept.push_back(std::move(shape));
    }
    return changed;
}

// A new selection of these shapes as wholes, in order, leaving out gone ones. Raises RCExNullPtr
// for a null entry.
RCShdPtr<SnSelection> selectionOf(const Vector<RCShdPtr<SeShape>> &shapes) {
    List<RCShdPtr<SnItem const>> items;
    for (const RCShdPtr<SeShape> &shape : shapes) {
        const RCWeakPtr<SeShapeInterface> editing = shape->getShapeInterface();
        if (!editing.isNull()) {
            items.push_back(makeShapeItem(RCShdPtr<SnParts>(), editing));
        }
    }
    return SnSelection::create(items);
}

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

const SeShapeSelector::PartsChannel SeShapeSelector::pointsChannel{
    [](SeShapeParts &p, int i) { p.appendPoint(i); },
    [](SeShapeParts &p, int first, int n) { p.appendPointRange(first, n); },
    [](SeShapeParts &p, int n, int largest) { p.reservePoints(n, largest); },
    [](SeShapeParts &p, const RCShdPtr<SnParts const> &from) { p.replaceAllHandles(from); },
    [](const SeShapeParts &p) -> const Vector<int> & { return p.getPoints(); },
    [](const SeShapeParts &p) { return p.isPointEmpty(); },
    [](const SeShapeParts &p, int i) { return p.getPointRank(i); },
    [](const SeShapeParts &p, int at, bool added) { return p.renumberedPoints(at, added); },
    true};
const SeShapeSelector::PartsChannel SeShapeSelector::handlesChannel{
    [](SeShapeParts &p, int i) { p.appendHandle(i); },
    [](SeShapeParts &p, int first, int n) { p.appendHandleRange(first, n); },
    [](SeShapeParts &p, int n, int largest) { p.reserveHandles(n, largest); },
    [](SeShapeParts &p, const RCShdPtr<SnParts const> &from) { p.replaceAllPoints(from); },
    [](const SeShapeParts &p) -> const Vector<int> & { return p.getHandles(); },
    [](const SeShapeParts &p) { return p.isHandleEmpty(); },
    [](const SeShapeParts &p, int i) { return p.getHandleRank(i); },
    [](const SeShapeParts &p, int at, bool added) { return p.renumberedHandles(at, added); },
    false};

SeShapeSelector::SeShapeSelector()
    : pickingType(PickingType(0)), pickingIndex(-1), pickingExtremity(-1),
      selection(SnSelection::create()) {}

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
    ++notifications;
    selectionChangedDispatcher.call();
}
void SeShapeSelector::addShapeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    shapeSelectionChangedDispatcher.addHandler(handler);
}
void SeShapeSelector::removeShapeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    shapeSelectionChangedDispatcher.removeHandler(handler);
}
void SeShapeSelector::notifyShapeSelectionChangedCallbacks() const {
    ++notifications;
    shapeSelectionChangedDispatcher.call();
}
void SeShapeSelector::addPrimarySelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    primarySelectionChangedDispatcher.addHandler(handler);
}
void SeShapeSelector::removePrimarySelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    primarySelectionChangedDispatcher.removeHandler(handler);
}
void SeShapeSelector::notifyPrimarySelectionChangedCallbacks() const {
    ++notifications;
    primarySelectionChangedDispatcher.call();
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

// The removal events are taken out before they are applied, so that a raising one is not applied
// again at every later read.
void SeShapeSelector::settleRemovals() const {
    if (batch->removals.empty()) {
        return;
    }
    std::unordered_map<int, int> removed;
    removed.swap(batch->removals);
    Vector<RCShdPtr<SeShape>> kept;
    if (keepAfterRemovals(*batch->working, removed, kept)) {
        batch->working = selectionOf(kept);
    }
}

void SeShapeSelector::commit(const RCShdPtr<SnSelection> &result) {
    const RCShdPtr<SnSelection const> items(result);
    if (current().isEqual(items)) {
        return;
    }
    if (batch != nullptr) {
        batch->working = result; // a fresh selection that no one observes
    } else {
        handOver(items);
    }
}

// A single shape with parts is what the updater mirrors element by element. Should it find a
// selected index without element, the old items go back, which observers take as no change, and the
// error passes on: both selections stay as they were. Other results need no copy of the old items.
void SeShapeSelector::handOver(const RCShdPtr<SnSelection const> &items) {
    if (items->getNbItems() != 1 || !items->getPrimaryItem()->hasParts()) {
        selection->replaceAllItems(items);
        return;
    }
    const RCShdPtr<SnSelection const> origin(selection->clone());
    try {
        selection->replaceAllItems(items);
    } catch (const SeExMissingElement &) {
        putBack([&] { selection->replaceAllItems(origin); });
        throw;
    }
}

template <class Restore> void SeShapeSelector::putBack(Restore restore) noexcept {
    const SeScopedValue<bool> puttingBack(restoringAfterFault, true);
    try {
        restore();
    } catch (...) { // NOLINT(bugprone-empty-catch): the first error is the one reported
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
    if (keepAfterRemovals(*selection, removed, kept)) {
        commit(selectionOf(kept));
    }
}

void SeShapeSelector::beginBatch() {
    if (batch == nullptr) {
        std::unique_ptr<BatchState> opened(new BatchState);
        opened->working = RCShdPtr<SnSelection>(selection->clone());
        batch = std::move(opened);
    }
    ++batch->depth;
}

void SeShapeSelector::endBatch(bool keep) {
    batch->cancelled = batch->cancelled || !keep;
    if (--batch->depth > 0) {
        return;
    }
    std::unique_ptr<BatchState> ended;
    RCShdPtr<SnSelection> result;
    if (!batch->cancelled) {
        try {
            settleRemovals();
            result = batch->working;
        } catch (...) {
            ended = std::move(batch);
            abandon(*ended);
            throw;
        }
    }
    ended =
        std::move(batch); // closed before the commit: its observers read the committed selection
    if (result.isNull()) {
        abandon(*ended);
        return;
    }
    if (selection->isEqual(result)) {
        return;
    }
    try {
        commitRestorable(result, true);
    } catch (...) {
        if (!selection->isEqual(result)) { // put back: the reports still apply
            replayEdits(*ended);
        }
        throw;
    }
}

// The selection object still holds the state of the batch's start. When the application's
// selection was mirrored in meanwhile, it holds what the batch abandons: the selection's observers
// are told again of the start state, as a put-back (no callback runs, no history step), so the
// updater writes it back into the application's selection and both are as at the start.
void SeShapeSelector::abandon(BatchState &ended) noexcept {
    replayEdits(ended);
    if (ended.replaced) {
        putBack(
            [&] { selection->replaceAllItems(RCShdPtr<SnSelection const>(selection->clone())); });
    }
}

// What the application reported inside a batch that is abandoned still holds: a shape deleted must
// not stay selected, and indices must follow the points and handles inserted or removed, since
// those reports will not come again. So they go to the selection as if they came after the batch,
// in one change (a batch of their own). Raises nothing: this runs where the batch is left by an
// error, or cancelled; should the application raise meanwhile, the selection stays as it is.
void SeShapeSelector::replayEdits(BatchState &ended) noexcept {
    if (ended.edits.empty() && ended.received.empty()) {
        return;
    }
    try {
        beginBatch();
        for (const BatchState::Edit &edit : ended.edits) {
            renumberSelection(*edit.channel, edit.shape, edit.index, edit.added);
        }
        batch->removals.swap(ended.received);
        endBatch(true);
    } catch (...) { // NOLINT(bugprone-empty-catch): see above
        batch.reset();
    }
}

void SeShapeSelector::cancelBatch() noexcept { batch->cancelled = true; }

void SeShapeSelector::commitRestorable(const RCShdPtr<SnSelection const> &result, bool showOrigin) {
    const RCShdPtr<SnSelection const> origin(selection->clone());
    const SeScopedValue<RCShdPtr<SnSelection const>> originShown(
        commitOrigin, showOrigin ? origin : RCShdPtr<SnSelection const>());
    const unsigned long notifiedBefore = notifications;
    try {
        selection->replaceAllItems(result);
    } catch (...) {
        if (notifications != notifiedBefore) {
            throw; // a callback handler raised: the change was announced, so it stands
        }
        putBack([&] { selection->replaceAllItems(origin); });
        throw;
    }
}

void SeShapeSelector::restoreSelection(const RCShdPtr<SnSelection const> &items) {
    if (items.isNull()) {
        RCExUtil::throwExNullPtr(typeid(SnSelection const *).name());
    }
    if (!selection->isEqual(items)) {
        commitRestorable(items, false);
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
    const auto *shapeItem = dynamic_cast<const SeShapeItem *>(item.get());
    if (shapeItem == nullptr || !item->hasParts() || shapeItem->getData() != renumbering.shape) {
        return item;
    }
    const PartsChannel &channel = renumbering.points ? pointsChannel : handlesChannel;
    const RCShdPtr<SnItem const> renumbered = makeShapeItem(
        renumberedParts(channel, partsOf(*item), renumbering.index, renumbering.added),
        renumbering.shape);
    return item->isEqual(*renumbered) ? item : renumbered;
}

int SeShapeSelector::getNbSelectedShape() const { return current().getNbItems(); }

void SeShapeSelector::collectShapes(Vector<RCWeakPtr<SeShapeInterface>> &shapes) const {
    const SnSelection &items = current();
    shapes.reserve(shapes.size() + static_cast<std::size_t>(items.getNbItems()));
    for (const RCShdPtr<SnItem const> &item : items) {
        shapes.push_back(asShapeItem(item).getData());
    }
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

bool SeShapeSelector::isShapeSelected(const RCShdPtr<SeShape> &shape) const {
    if (current().isEmpty()) {
        return false;
    }
    if (const SeIdentityKey *promise = promiseOf(shape)) {
        const SeSelectedKeys &keys =
            SeSelectedKeys::of(selectedKeys, current(),
                               [this](Vector<RCShdPtr<SeShape>> &shapes,
                                      Vector<RCWeakPtr<SeShapeInterface>> &interfaces) {
                                   getSelectedShapes(shapes);
                                   getSelectedShapeInterfaces(interfaces);
                               });
        if (keys.isUsable()) {
            return keys.containsEqual(promise->getIdentityKey(), *shape);
        }
    }
    Vector<RCShdPtr<SeShape>> selected;
    getSelectedShapes(selected);
    return std::any_of(selected.begin(), selected.end(),
                       [&](const RCShdPtr<SeShape> &s) { return shape->isEqual(*s); });
}

RCWeakPtr<SeShapeInterface> SeShapeSelector::getPrimarySelectedShapeInterface() const {
    const SnSelection &items = current();
    if (items.isEmpty()) {
        return RCWeakPtr<SeShapeInterface>();
    }
    return asShapeItem(items.getPrimaryItem()).getData();
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
    commit(selectionOf(shapes));
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
    const RCShdPtr<SnSelection> result(current().clone());
    Vector<RCShdPtr<SeShape>> selected;
    getSelectedShapes(selected);
    const SeShapeKeyIndex keys(selected);
    for (; !walk.atEnd(); walk.next()) {
        const RCShdPtr<SeShape> &element = walk.item();
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
        const RCWeakPtr<SeShapeInterface> editing = element->getShapeInterface();
        if (!editing.isNull()) {
            result->addItem(makeShapeItem(RCShdPtr<SnParts>(), editing));
        }
    }
    commit(result);
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
        result->addItem(makeShapeItem(parts, editing));
    }
    commit(result);
}

bool SeShapeSelector::findPrimaryShape(PrimaryShape &primary) const {
    const SnSelection &items = current();
    if (items.isEmpty()) {
        return false;
    }
    const RCShdPtr<SnItem const> &item = items.getPrimaryItem();
    const RCWeakPtr<SeShapeInterface> &shape = asShapeItem(item).getData();
    if (shape.isNull()) {
        return false;
    }
    primary.item = item;
    primary.shape = shape;
    return true;
}

RCShdPtr<SeShapeParts> SeShapeSelector::copyParts(const SnItem &item) const {
    const RCShdPtr<SeShapeParts const> current = partsOf(item);
    return RCShdPtr<SeShapeParts>(current.isNull() ? new SeShapeParts : new SeShapeParts(*current));
}

// A copy of the current parts (none: empty ones) with the channel's set
// cleared, made without copying that set: new parts that take over the other
// side's set.
RCShdPtr<SeShapeParts> SeShapeSelector::partsWithout(const PartsChannel &channel,
                                                     const RCShdPtr<SeShapeParts const> &current) {
    const RCShdPtr<SeShapeParts> parts(new SeShapeParts);
    if (!current.isNull()) {
        channel.takeOtherSide(*parts, current);
    }
    return parts;
}

void SeShapeSelector::install(const PrimaryShape &primary, const RCShdPtr<SnParts> &parts) {
    const RCShdPtr<SnItem const> item = makeShapeItem(parts, primary.shape);
    if (primary.item->isEqual(*item)) {
        return;
    }
    SnSelection &target = current(); // the working selection of a batch notifies no one
    try {
        target.replaceItem(primary.item, item);
    } catch (const SeExMissingElement &) { // see handOver
        putBack([&] { target.replaceItem(item, primary.item); });
        throw;
    }
}

void SeShapeSelector::selectIndex(const PartsChannel &channel, int index) {
    PrimaryShape primary;
    if (!findPrimaryShape(primary)) {
        return;
    }
    const RCShdPtr<SeShapeParts> parts = partsWithout(channel, partsOf(*primary.item));
    channel.append(*parts, index);
    install(primary, parts);
}

void SeShapeSelector::selectPoint(int index) { selectIndex(pointsChannel, index); }
void SeShapeSelector::selectHandle(int index) { selectIndex(handlesChannel, index); }

void SeShapeSelector::selectPoints(const Vector<int> &indices) {
    PrimaryShape primary;
    if (!findPrimaryShape(primary)) {
        return;
    }
    const RCShdPtr<SeShapeParts> parts = partsWithout(pointsChannel, partsOf(*primary.item));
    parts->reservePoints(static_cast<int>(std::min<std::size_t>(indices.size(), INT32_MAX)));
    for (int index : indices) {
        parts->appendPoint(index);
    }
    install(primary, parts);
}

void SeShapeSelector::selectAll(const PartsChannel &channel, int count) {
    PrimaryShape primary;
    if (!findPrimaryShape(primary)) {
        return;
    }
    // Appending the run to a copy is the union with a set of the run: indices
    // selected before keep their ranks, the missing ones follow in order. A
    // count below 1 appends nothing and reserves nothing.
    const RCShdPtr<SeShapeParts> parts = copyParts(*primary.item);
    channel.appendRange(*parts, 0, count);
    install(primary, parts);
}

void SeShapeSelector::selectAllPoints(int count) { selectAll(pointsChannel, count); }
void SeShapeSelector::selectAllHandles(int count) { selectAll(handlesChannel, count); }

void SeShapeSelector::selectNeighbour(const PartsChannel &channel, int count, bool forward) {
    if (count == 0) {
        return;
    }
    const Vector<int> *selected = selectedIndices(channel);
    std::int64_t target = 0;
    if (selected != nullptr && !selected->empty()) {
        const std::int64_t first = selected->front();
        target = forward ? (first + 1 < count ? first + 1 : 0)
                         : (first - 1 < 0 ? std::int64_t(count) - 1 : first - 1);
    }
    selectIndex(channel, static_cast<int>(target));
}

void SeShapeSelector::selectNextPoint(int count) { selectNeighbour(pointsChannel, count, true); }
void SeShapeSelector::selectNextHandle(int count) { selectNeighbour(handlesChannel, count, true); }
void SeShapeSelector::selectPreviousPoint(int count) {
    selectNeighbour(pointsChannel, count, false);
}
void SeShapeSelector::selectPreviousHandle(int count) {
    selectNeighbour(handlesChannel, count, false);
}

void SeShapeSelector::unselect(const PartsChannel &channel) {
    PrimaryShape primary;
    if (!findPrimaryShape(primary)) {
        return;
    }
    const RCShdPtr<SeShapeParts const> current = partsOf(*primary.item);
    if (current.isNull() || channel.isEmpty(*current)) {
        return;
    }
    const RCShdPtr<SeShapeParts> parts = partsWithout(channel, current);
    install(primary, parts->isEmpty() ? RCShdPtr<SnParts>() : RCShdPtr<SnParts>(parts));
}

void SeShapeSelector::unselectPoints() { unselect(pointsChannel); }
void SeShapeSelector::unselectHandles() { unselect(handlesChannel); }

// The primary item's index vector for the channel; null when there is no
// primary item or it has no parts. The primary item is read without asking
// whether the selection is empty.
const Vector<int> *SeShapeSelector::selectedIndices(const PartsChannel &channel) const {
    const RCShdPtr<SnItem const> &item = current().getPrimaryItem();
    if (item.isNull() || !item->hasParts()) {
        return nullptr;
    }
    // The parts stay alive in the primary item for as long as the caller reads
    // the vector.
    return &channel.indices(*partsOf(*item));
}

void SeShapeSelector::getSelectedPoints(Vector<int> &points) const {
    if (const Vector<int> *selected = selectedIndices(pointsChannel)) {
        points = *selected;
    }
}
void SeShapeSelector::getSelectedHandles(Vector<int> &handles) const {
    if (const Vector<int> *selected = selectedIndices(handlesChannel)) {
        handles = *selected;
    }
}
void SeShapeSelector::getOrderedSelectedPoints(Set<int, std::less<int>> &points) const {
    if (const Vector<int> *selected = selectedIndices(pointsChannel)) {
        points.insert(selected->begin(), selected->end());
    }
}
void SeShapeSelector::getOrderedSelectedHandles(Set<int, std::less<int>> &handles) const {
    if (const Vector<int> *selected = selectedIndices(handlesChannel)) {
        handles.insert(selected->begin(), selected->end());
    }
}

int SeShapeSelector::selectionRank(const PartsChannel &channel, int index) const {
    const RCShdPtr<SnItem const> &item = current().getPrimaryItem();
    if (item.isNull() || !item->hasParts()) {
        return 0;
    }
    return channel.rank(*partsOf(*item), index);
}

int SeShapeSelector::getPointSelectionRank(int index) const {
    return selectionRank(pointsChannel, index);
}
int SeShapeSelector::getHandleSelectionRank(int index) const {
    return selectionRank(handlesChannel, index);
}

// The application inserted or removed a point or handle: the keepers of earlier states (a
// history) hear of it first, so that they know the renumbered selection for the same one; then the
// selection is renumbered. Inside a batch the edit is kept too, so that an abandoned batch still
// applies it. A raising handler does not stop the renumbering; its error passes on afterwards.
void SeShapeSelector::renumber(const PartsChannel &channel,
                               const RCWeakPtr<SeShapeInterface> &shape, int index, bool added) {
    std::exception_ptr handlerError;
    try {
        renumberingDispatcher.call(Renumbering{shape, channel.points, index, added});
    } catch (...) {
        handlerError = std::current_exception();
    }
    if (batch != nullptr) {
        batch->edits.push_back({&channel, shape, index, added});
    }
    renumberSelection(channel, shape, index, added);
    if (handlerError) {
        std::rethrow_exception(handlerError);
    }
}

void SeShapeSelector::renumberSelection(const PartsChannel &channel,
                                        const RCWeakPtr<SeShapeInterface> &shape, int index,
                                        bool added) {
    const SnSelection &items = current();
    const RCWeakPtr<SeShapeInterface> primaryShape =
        items.isEmpty() ? RCWeakPtr<SeShapeInterface>()
                        : asShapeItem(items.getPrimaryItem()).getData();
    if (primaryShape != shape) {
        return;
    }
    const RCShdPtr<SnItem const> item = items.getPrimaryItem();
    if (!item->hasParts()) {
        return;
    }
    install(PrimaryShape{item, shape}, renumberedParts(channel, partsOf(*item), index, added));
}

RCShdPtr<SeShapeParts> SeShapeSelector::renumberedParts(const PartsChannel &channel,
                                                        const RCShdPtr<SeShapeParts const> &current,
                                                        int index, bool added) {
    return channel.renumbered(*current, index, added);
}

void SeShapeSelector::updateSelectionPointAdded(const RCWeakPtr<SeShapeInterface> &shape,
                                                int index) {
    renumber(pointsChannel, shape, index, true);
}
void SeShapeSelector::updateSelectionPointDeleted(const RCWeakPtr<SeShapeInterface> &shape,
                                                  int index) {
    renumber(pointsChannel, shape, index, false);
}
void SeShapeSelector::updateSelectionHandleAdded(const RCWeakPtr<SeShapeInterface> &shape,
                                                 int index) {
    renumber(handlesChannel, shape, index, true);
}
void SeShapeSelector::updateSelectionHandleDeleted(const RCWeakPtr<SeShapeInterface> &shape,
                                                   int index) {
    renumber(handlesChannel, shape, index, false);
}

template class RCBasePtr<SeShapeSelector>;
template class RCShdPtr<SeShapeSelector>;
template class RCPvtEngPtr<IteratorImp<RCShdPtr<SeShape>>>;
template class Iterator<RCShdPtr<SeShape>>;
template class CbHandler<CbEmptyType>;
template class CbDispatcher<CbEmptyType>;

} // namespace Vo
