// The selector's description of each change of its selection (SeSelectionChange), made by its own
// observer before any other hears of the change, together with the bookkeeping that observer
// carries along.

#include "SeShapeSelectorPrivate.h"

#include "SeAliveShapes.h"
#include "SeChangeDelta.h"
#include "SeSelectedKeys.h"
#include "SeShapeItems.h"

#include "host/ObHints.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>

namespace Vo {

void SeShapeSelectorPrivate::Watch::update(ObSubject<Sn> *, const ObHints &hints) {
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
void SeShapeSelectorPrivate::describe(const SnSelectionChangeHint &change) noexcept {
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
void SeShapeSelectorPrivate::describeRenumbering() noexcept {
    lastChange.renumbering = true;
    lastChange.renumbered = renumbering.shape;
    lastChange.renumberedPoints = renumbering.points;
    lastChange.renumberedIndex = renumbering.index;
    lastChange.renumberedInsertion = renumbering.added;
}

// The description made before the write, with what was told of it since.
void SeShapeSelectorPrivate::describeForeseen() noexcept {
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
bool SeShapeSelectorPrivate::describeDelta(SeSelectionChange &into, int position, SnItemRun gone,
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
SeShapeSelectorPrivate::primaryBefore(const SnSelectionChangeHint &change) const {
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
void SeShapeSelectorPrivate::describeParts(SeSelectionChange &into, const SnItem *before,
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

void SeShapeSelectorPrivate::foresee(const SnSelection &after) noexcept {
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

} // namespace Vo
