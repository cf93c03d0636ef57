// The selector's operations on the points and handles of its primary shape.

#include "SeShapeSelectorPrivate.h"

#include "SeExMissingElement.h"
#include "SeShapeItems.h"

#include "host/selection/SnIndexScan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <typeinfo>

namespace Vo {

const SeShapeSelectorPrivate::PartsChannel SeShapeSelectorPrivate::pointsChannel{
    [](SeShapeParts &p, int i) { p.appendPoint(i); },
    [](SeShapeParts &p, int first, int n) { p.appendPointRange(first, n); },
    [](SeShapeParts &p, int n) { p.reservePoints(n); },
    [](SeShapeParts &p, const RCShdPtr<SnParts const> &from) { p.replaceAllHandles(from); },
    [](const SeShapeParts &p, int i) { return p.withPointAppended(i); },
    [](const SeShapeParts &p, int i, int rank) { return p.withPointRemoved(i, rank); },
    [](const SeShapeParts &p, int i) { return p.hasPoint(i); },
    [](const SeShapeParts &p) -> const Vector<int> & { return p.getPoints(); },
    [](const SeShapeParts &p) { return p.isPointEmpty(); },
    [](const SeShapeParts &p, int i) { return p.getPointRank(i); },
    [](const SeShapeParts &p, int at, bool added, int rank) {
        return p.renumberedPoints(at, added, rank);
    },
    true};
const SeShapeSelectorPrivate::PartsChannel SeShapeSelectorPrivate::handlesChannel{
    [](SeShapeParts &p, int i) { p.appendHandle(i); },
    [](SeShapeParts &p, int first, int n) { p.appendHandleRange(first, n); },
    [](SeShapeParts &p, int n) { p.reserveHandles(n); },
    [](SeShapeParts &p, const RCShdPtr<SnParts const> &from) { p.replaceAllPoints(from); },
    [](const SeShapeParts &p, int i) { return p.withHandleAppended(i); },
    [](const SeShapeParts &p, int i, int rank) { return p.withHandleRemoved(i, rank); },
    [](const SeShapeParts &p, int i) { return p.hasHandle(i); },
    [](const SeShapeParts &p) -> const Vector<int> & { return p.getHandles(); },
    [](const SeShapeParts &p) { return p.isHandleEmpty(); },
    [](const SeShapeParts &p, int i) { return p.getHandleRank(i); },
    [](const SeShapeParts &p, int at, bool added, int rank) {
        return p.renumberedHandles(at, added, rank);
    },
    false};

// The 1-based place of index in the order, by a walk of the plain vector: cheaper, for one
// question on parts just made, than the rank table the parts would build for it. 0 when absent.
// From the back, where the index an editor takes out most often is.
int SeShapeSelectorPrivate::rankByWalk(const Vector<int> &order, int index) {
    const std::size_t place =
        SnIndexScan::findLast(order.data(), order.data() + order.size(), index);
    return place == order.size() ? 0 : static_cast<int>(place) + 1;
}

bool SeShapeSelectorPrivate::findPrimaryShape(PrimaryShape &primary) const {
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

RCShdPtr<SeShapeParts> SeShapeSelectorPrivate::copyParts(const SnItem &item) const {
    const RCShdPtr<SeShapeParts const> current = SeShapeItems::partsOf(item);
    return RCShdPtr<SeShapeParts>(current.isNull() ? new SeShapeParts : new SeShapeParts(*current));
}

// A copy of the current parts (none: empty ones) with the channel's set
// cleared, made without copying that set: new parts that take over the other
// side's set.
RCShdPtr<SeShapeParts>
SeShapeSelectorPrivate::partsWithout(const PartsChannel &channel,
                                     const RCShdPtr<SeShapeParts const> &current) {
    const RCShdPtr<SeShapeParts> parts(new SeShapeParts);
    if (!current.isNull()) {
        channel.takeOtherSide(*parts, current);
    }
    return parts;
}

void SeShapeSelectorPrivate::install(const PrimaryShape &primary, const RCShdPtr<SnParts> &parts,
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

void SeShapeSelectorPrivate::selectIndex(const PartsChannel &channel, int index) {
    PrimaryShape primary;
    if (!findPrimaryShape(primary)) {
        return;
    }
    const RCShdPtr<SeShapeParts> parts =
        partsWithout(channel, SeShapeItems::partsOf(*primary.item));
    channel.append(*parts, index);
    install(primary, parts);
}

void SeShapeSelectorPrivate::selectPoint(int index) { selectIndex(pointsChannel, index); }

void SeShapeSelectorPrivate::selectHandle(int index) { selectIndex(handlesChannel, index); }

void SeShapeSelectorPrivate::selectIndices(const PartsChannel &channel,
                                           const Vector<int> &indices) {
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

void SeShapeSelectorPrivate::selectPoints(const Vector<int> &indices) {
    selectIndices(pointsChannel, indices);
}

void SeShapeSelectorPrivate::selectHandles(const Vector<int> &indices) {
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
void SeShapeSelectorPrivate::setShapeParts(const RCShdPtr<SeShape> &shape,
                                           const Vector<int> *points, const Vector<int> *handles) {
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

void SeShapeSelectorPrivate::selectAll(const PartsChannel &channel, int count) {
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

void SeShapeSelectorPrivate::selectAllPoints(int count) { selectAll(pointsChannel, count); }

void SeShapeSelectorPrivate::selectAllHandles(int count) { selectAll(handlesChannel, count); }

void SeShapeSelectorPrivate::selectNeighbour(const PartsChannel &channel, int count, bool forward) {
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

void SeShapeSelectorPrivate::selectNextPoint(int count) {
    selectNeighbour(pointsChannel, count, true);
}

void SeShapeSelectorPrivate::selectNextHandle(int count) {
    selectNeighbour(handlesChannel, count, true);
}

void SeShapeSelectorPrivate::selectPreviousPoint(int count) {
    selectNeighbour(pointsChannel, count, false);
}

void SeShapeSelectorPrivate::selectPreviousHandle(int count) {
    selectNeighbour(handlesChannel, count, false);
}

void SeShapeSelectorPrivate::unselect(const PartsChannel &channel) {
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

void SeShapeSelectorPrivate::unselectPoints() { unselect(pointsChannel); }

void SeShapeSelectorPrivate::unselectHandles() { unselect(handlesChannel); }

void SeShapeSelectorPrivate::addSelectedIndex(const PartsChannel &channel, int index) {
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

void SeShapeSelectorPrivate::unselectIndex(const PartsChannel &channel, int index) {
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
    const RCShdPtr<SeShapeParts> parts = channel.withRemoved(*now, index, change.rank);
    install(primary, parts->isEmpty() ? RCShdPtr<SnParts>() : RCShdPtr<SnParts>(parts), &change);
}

void SeShapeSelectorPrivate::addSelectedPoint(int index) { addSelectedIndex(pointsChannel, index); }

void SeShapeSelectorPrivate::unselectPoint(int index) { unselectIndex(pointsChannel, index); }

void SeShapeSelectorPrivate::addSelectedHandle(int index) {
    addSelectedIndex(handlesChannel, index);
}

void SeShapeSelectorPrivate::unselectHandle(int index) { unselectIndex(handlesChannel, index); }

// The primary item's index vector for the channel; null when there is no
// primary item or it has no parts. The primary item is read without asking
// whether the selection is empty.
const Vector<int> *SeShapeSelectorPrivate::selectedIndices(const PartsChannel &channel) const {
    const RCShdPtr<SnItem const> &item = current().getPrimaryItem();
    if (item.isNull() || !item->hasParts()) {
        return nullptr;
    }
    // The parts stay alive in the primary item for as long as the caller reads
    // the vector.
    return &channel.indices(*SeShapeItems::partsOf(*item));
}

void SeShapeSelectorPrivate::getSelectedPoints(Vector<int> &points) const {
    if (const Vector<int> *selected = selectedIndices(pointsChannel)) {
        points = *selected;
    }
}

void SeShapeSelectorPrivate::getSelectedHandles(Vector<int> &handles) const {
    if (const Vector<int> *selected = selectedIndices(handlesChannel)) {
        handles = *selected;
    }
}

void SeShapeSelectorPrivate::getOrderedSelectedPoints(Set<int, std::less<int>> &points) const {
    if (const Vector<int> *selected = selectedIndices(pointsChannel)) {
        points.insert(selected->begin(), selected->end());
    }
}

void SeShapeSelectorPrivate::getOrderedSelectedHandles(Set<int, std::less<int>> &handles) const {
    if (const Vector<int> *selected = selectedIndices(handlesChannel)) {
        handles.insert(selected->begin(), selected->end());
    }
}

int SeShapeSelectorPrivate::selectionRank(const PartsChannel &channel, int index) const {
    const RCShdPtr<SnItem const> &item = current().getPrimaryItem();
    if (item.isNull() || !item->hasParts()) {
        return 0;
    }
    return channel.rank(*SeShapeItems::partsOf(*item), index);
}

int SeShapeSelectorPrivate::getPointSelectionRank(int index) const {
    return selectionRank(pointsChannel, index);
}

int SeShapeSelectorPrivate::getHandleSelectionRank(int index) const {
    return selectionRank(handlesChannel, index);
}

} // namespace Vo
