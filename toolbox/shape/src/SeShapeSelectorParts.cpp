// The selector's point and handle operations, on the primary shape's parts.

#include "SeShapeSelector.h"

#include "SeExMissingElement.h"
#include "SeShapeItems.h"
#include "SeShapeSelectorState.h"

#include "host/selection/SnIndexScan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <typeinfo>

namespace Vo {

const SeShapeSelector::PartsChannel SeShapeSelector::pointsChannel{
    [](SeShapeParts &p, int i) { p.appendPoint(i); },
    [](SeShapeParts &p, int first, int n) { p.appendPointRange(first, n); },
    [](SeShapeParts &p, int n) { p.reservePoints(n); },
    [](SeShapeParts &p, const RCShdPtr<SnParts const> &from) { p.replaceAllHandles(from); },
    [](const SeShapeParts &p, int i) { return p.withPointAppended(i); },
    [](const SeShapeParts &p, int i) { return p.withPointRemoved(i); },
    [](const SeShapeParts &p, int i) { return p.hasPoint(i); },
    [](const SeShapeParts &p) -> const Vector<int> & { return p.getPoints(); },
    [](const SeShapeParts &p) { return p.isPointEmpty(); },
    [](const SeShapeParts &p, int i) { return p.getPointRank(i); },
    [](const SeShapeParts &p, int at, bool added, int rank) {
        return p.renumberedPoints(at, added, rank);
    },
    true};
const SeShapeSelector::PartsChannel SeShapeSelector::handlesChannel{
    [](SeShapeParts &p, int i) { p.appendHandle(i); },
    [](SeShapeParts &p, int first, int n) { p.appendHandleRange(first, n); },
    [](SeShapeParts &p, int n) { p.reserveHandles(n); },
    [](SeShapeParts &p, const RCShdPtr<SnParts const> &from) { p.replaceAllPoints(from); },
    [](const SeShapeParts &p, int i) { return p.withHandleAppended(i); },
    [](const SeShapeParts &p, int i) { return p.withHandleRemoved(i); },
    [](const SeShapeParts &p, int i) { return p.hasHandle(i); },
    [](const SeShapeParts &p) -> const Vector<int> & { return p.getHandles(); },
    [](const SeShapeParts &p) { return p.isHandleEmpty(); },
    [](const SeShapeParts &p, int i) { return p.getHandleRank(i); },
    [](const SeShapeParts &p, int at, bool added, int rank) {
        return p.renumberedHandles(at, added, rank);
    },
    false};

namespace {

// The 1-based place of index in the order, by a walk of the plain vector: cheaper, for one
// question on parts just made, than the rank table the parts would build for it. 0 when absent.
// From the back, where the index an editor takes out most often is.
int rankByWalk(const Vector<int> &order, int index) {
    const std::size_t place =
        SnIndexScan::findLast(order.data(), order.data() + order.size(), index);
    return place == order.size() ? 0 : static_cast<int>(place) + 1;
}

} // namespace

bool SeShapeSelector::findPrimaryShape(PrimaryShape &primary) const {
    const SnSelection &items = current();
    if (items.isEmpty()) {
        return false;
    }
    const RCShdPtr<SnItem const> &item = items.getPrimaryItem();
    const RCWeakPtr<SeShapeInterface> &shape = SeShapeItems::asShapeItem(item).getData();
    if (shape.isNull()) {
        return false;
    }
    primary.item = item;
    primary.shape = shape;
    return true;
}

RCShdPtr<SeShapeParts> SeShapeSelector::copyParts(const SnItem &item) const {
    const RCShdPtr<SeShapeParts const> current = SeShapeItems::partsOf(item);
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

void SeShapeSelector::install(const PrimaryShape &primary, const RCShdPtr<SnParts> &parts,
                              const PartsChange *change) {
    const RCShdPtr<SnItem const> item = SeShapeItems::make(parts, primary.shape);
    if (primary.item->isEqual(*item)) {
        return;
    }
    if (change != nullptr) {
        partsChange = *change;
        partsChange.from = primary.item;
        partsChange.to = item;
    }
    SnSelection &target = current(); // the working selection of a batch notifies no one
    const std::uint64_t start = selection->getRevision();
    try {
        target.replaceItem(primary.item, item);
    } catch (const SeExMissingElement &) { // see handOver
        partsChange = PartsChange();       // it describes no change that stands
        putBack(start, [&] { target.replaceItem(item, primary.item); });
        throw;
    }
}

void SeShapeSelector::selectIndex(const PartsChannel &channel, int index) {
    PrimaryShape primary;
    if (!findPrimaryShape(primary)) {
        return;
    }
    const RCShdPtr<SeShapeParts> parts =
        partsWithout(channel, SeShapeItems::partsOf(*primary.item));
    channel.append(*parts, index);
    install(primary, parts);
}

void SeShapeSelector::selectPoint(int index) { selectIndex(pointsChannel, index); }
void SeShapeSelector::selectHandle(int index) { selectIndex(handlesChannel, index); }

void SeShapeSelector::selectIndices(const PartsChannel &channel, const Vector<int> &indices) {
    PrimaryShape primary;
    if (!findPrimaryShape(primary)) {
        return;
    }
    const RCShdPtr<SeShapeParts> parts =
        partsWithout(channel, SeShapeItems::partsOf(*primary.item));
    channel.reserve(*parts, static_cast<int>(std::min<std::size_t>(indices.size(), INT32_MAX)));
    for (int index : indices) {
        channel.append(*parts, index);
    }
    install(primary, parts);
}

void SeShapeSelector::selectPoints(const Vector<int> &indices) {
    selectIndices(pointsChannel, indices);
}
void SeShapeSelector::selectHandles(const Vector<int> &indices) {
    selectIndices(handlesChannel, indices);
}

namespace {

// Parts holding exactly these sets; null when neither is given (a whole shape).
RCShdPtr<SnParts> exactParts(const Vector<int> *points, const Vector<int> *handles) {
    if (points == nullptr && handles == nullptr) {
        return RCShdPtr<SnParts>();
    }
    const Vector<int> none;
    const RCShdPtr<SeShapeParts> parts(new SeShapeParts);
    for (const int index : points != nullptr ? *points : none) {
        parts->appendPoint(index);
    }
    for (const int index : handles != nullptr ? *handles : none) {
        parts->appendHandle(index);
    }
    return parts;
}

} // namespace

// A selected shape's item is replaced in place, as the point operations replace the primary one
// (install, which puts the old item back should the updater find an index without element); an
// unselected shape comes in at the end, as addSelectedShape, or alone by the write that can put the
// old items back.
void SeShapeSelector::setShapeParts(const RCShdPtr<SeShape> &shape, const Vector<int> *points,
                                    const Vector<int> *handles) {
    if (shape.isNull()) {
        RCExUtil::throwExNullPtr(typeid(SeShape const *).name());
    }
    const RCWeakPtr<SeShapeInterface> editing = shape->getShapeInterface();
    if (editing.isNull()) {
        return;
    }
    const RCShdPtr<SnParts> parts = exactParts(points, handles);
    const RCShdPtr<SnItem const> selected = findSelectedItem(shape);
    if (!selected.isNull()) {
        install(PrimaryShape{selected, SeShapeItems::asShapeItem(selected).getData()}, parts);
        return;
    }
    SnSelection &target = current();
    if (target.isEmpty() && batch == nullptr) {
        const RCShdPtr<SnSelection> result = SnSelection::create();
        result->addItem(SeShapeItems::make(parts, editing));
        handOver(result);
        return;
    }
    target.insertItem(target.getNbItems(), SeShapeItems::make(parts, editing));
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
    if (count <= 0) { // a negative count is taken as 0; stepping used to select index 0 or -1
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
    const RCShdPtr<SeShapeParts const> current = SeShapeItems::partsOf(*primary.item);
    if (current.isNull() || channel.isEmpty(*current)) {
        return;
    }
    const RCShdPtr<SeShapeParts> parts = partsWithout(channel, current);
    install(primary, parts->isEmpty() ? RCShdPtr<SnParts>() : RCShdPtr<SnParts>(parts));
}

void SeShapeSelector::unselectPoints() { unselect(pointsChannel); }
void SeShapeSelector::unselectHandles() { unselect(handlesChannel); }

void SeShapeSelector::addSelectedIndex(const PartsChannel &channel, int index) {
    PrimaryShape primary;
    if (!findPrimaryShape(primary)) {
        return;
    }
    const RCShdPtr<SeShapeParts const> now = SeShapeItems::partsOf(*primary.item);
    if (!now.isNull() && channel.has(*now, index)) {
        return;
    }
    RCShdPtr<SeShapeParts> parts;
    if (now.isNull()) {
        parts = RCShdPtr<SeShapeParts>(new SeShapeParts);
        channel.append(*parts, index);
    } else {
        parts = channel.withAppended(*now, index);
    }
    PartsChange change;
    change.points = channel.points;
    change.kind = PartsChange::Kind::appended;
    change.index = index;
    install(primary, parts, &change);
}

void SeShapeSelector::unselectIndex(const PartsChannel &channel, int index) {
    PrimaryShape primary;
    if (!findPrimaryShape(primary)) {
        return;
    }
    const RCShdPtr<SeShapeParts const> now = SeShapeItems::partsOf(*primary.item);
    if (now.isNull() || !channel.has(*now, index)) {
        return;
    }
    PartsChange change;
    change.points = channel.points;
    change.kind = PartsChange::Kind::removed;
    change.index = index;
    change.rank = rankByWalk(channel.indices(*now), index);
    const RCShdPtr<SeShapeParts> parts = channel.withRemoved(*now, index);
    install(primary, parts->isEmpty() ? RCShdPtr<SnParts>() : RCShdPtr<SnParts>(parts), &change);
}

void SeShapeSelector::addSelectedPoint(int index) { addSelectedIndex(pointsChannel, index); }
void SeShapeSelector::unselectPoint(int index) { unselectIndex(pointsChannel, index); }
void SeShapeSelector::addSelectedHandle(int index) { addSelectedIndex(handlesChannel, index); }
void SeShapeSelector::unselectHandle(int index) { unselectIndex(handlesChannel, index); }

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
    return &channel.indices(*SeShapeItems::partsOf(*item));
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
    return channel.rank(*SeShapeItems::partsOf(*item), index);
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
        renumberSelection(channel, shape, index, added);
    } else {
        // The change this writes describes itself as the renumbering (see describe).
        renumbering = Renumbering{shape, channel.points, index, added};
        const SeScopedValue<std::uint64_t> described(renumberingFrom, selection->getRevision());
        renumberSelection(channel, shape, index, added);
    }
    if (handlerError) {
        std::rethrow_exception(handlerError);
    }
}

void SeShapeSelector::renumberSelection(const PartsChannel &channel,
                                        const RCWeakPtr<SeShapeInterface> &shape, int index,
                                        bool added) {
    const SnSelection &items = current();
    if (!items.isEmpty() && hasPartsBeyondPrimary()) {
        renumberEveryItem(channel, shape, index, added);
        return;
    }
    const RCWeakPtr<SeShapeInterface> primaryShape =
        items.isEmpty() ? RCWeakPtr<SeShapeInterface>()
                        : SeShapeItems::asShapeItem(items.getPrimaryItem()).getData();
    if (primaryShape != shape) {
        return;
    }
    const RCShdPtr<SnItem const> item = items.getPrimaryItem();
    if (!item->hasParts()) {
        return;
    }
    const RCShdPtr<SeShapeParts const> parts = SeShapeItems::partsOf(*item);
    PartsChange change;
    change.points = channel.points;
    change.kind = PartsChange::Kind::renumbered;
    change.index = index;
    change.rank =
        added || !channel.has(*parts, index) ? 0 : rankByWalk(channel.indices(*parts), index);
    change.added = added;
    install(PrimaryShape{item, shape}, channel.renumbered(*parts, index, added, change.rank),
            &change);
    // Parts for parts: the tally, read just now, holds for the list's new revision too (a batch's
    // working list, which no watch follows).
    partsTally.revision = items.getRevision();
}

// Items other than the primary one have parts (setShapeParts, replaceAllItems, a restore made
// them): every item of the shape with parts is renumbered, in one change of the list.
void SeShapeSelector::renumberEveryItem(const PartsChannel &channel,
                                        const RCWeakPtr<SeShapeInterface> &shape, int index,
                                        bool added) {
    const SnSelection &items = current();
    Vector<RCShdPtr<SnItem const>> result(items.begin(), items.end());
    bool changed = false;
    for (RCShdPtr<SnItem const> &item : result) {
        if (item->hasParts() && SeShapeItems::asShapeItem(item).getData() == shape) {
            const RCShdPtr<SeShapeParts const> parts = SeShapeItems::partsOf(*item);
            item = SeShapeItems::make(channel.renumbered(*parts, index, added, -1), shape);
            changed = true;
        }
    }
    if (changed) {
        commit(SnSelection::createTaking(std::move(result)));
    }
}

// Read from the tally when it holds for the list's revision; counted (and kept) otherwise.
bool SeShapeSelector::hasPartsBeyondPrimary() const {
    const SnSelection &items = current();
    if (partsTally.list != &items || partsTally.revision != items.getRevision()) {
        std::size_t count = 0;
        for (const RCShdPtr<SnItem const> &item : items) {
            count += item->hasParts() ? 1 : 0;
        }
        partsTally = PartsTally{&items, items.getRevision(), count};
    }
    const RCShdPtr<SnItem const> &primary = items.getPrimaryItem();
    return partsTally.count > (!primary.isNull() && primary->hasParts() ? 1U : 0U);
}

// A splice of the selection moves the tally along when it held before; anything else leaves it to
// be counted again when next asked.
void SeShapeSelector::followPartsTally(const SnSelectionChangeHint &change) noexcept {
    if (partsTally.list != selection.get() || change.isWhole() ||
        partsTally.revision != change.getRevisionBefore()) {
        partsTally = PartsTally();
        return;
    }
    for (const RCShdPtr<SnItem const> &item : change.getRemovedItems()) {
        partsTally.count -= item->hasParts() ? 1 : 0;
    }
    for (const RCShdPtr<SnItem const> &item : change.getAddedItems()) {
        partsTally.count += item->hasParts() ? 1 : 0;
    }
    partsTally.revision = change.getRevisionAfter();
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

} // namespace Vo
