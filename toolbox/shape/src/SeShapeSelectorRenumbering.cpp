// The application's reports of inserted and removed points and handles: the renumbering of the
// selected indices, told first to the keepers of earlier states.

#include "SeShapeSelectorPrivate.h"

#include "SeShapeItem.h"
#include "SeShapeItems.h"

#include "base/RCExUtil.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <utility>

namespace Vo {

void SeShapeSelectorPrivate::addRenumberingCallback(CbHandler<Renumbering const> *handler) const {
    renumberingDispatcher.addHandler(handler);
}

void SeShapeSelectorPrivate::removeRenumberingCallback(
    CbHandler<Renumbering const> *handler) const {
    renumberingDispatcher.removeHandler(handler);
}

RCShdPtr<SnItem const> SeShapeSelectorPrivate::renumberedItem(const RCShdPtr<SnItem const> &item,
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

// The application inserted or removed a point or handle: the keepers of earlier states (a
// history) hear of it first, so that they know the renumbered selection for the same one; then the
// selection is renumbered. Inside a batch the edit is kept too, so that an abandoned batch still
// applies it. A raising handler does not stop the renumbering; its error passes on afterwards.
void SeShapeSelectorPrivate::renumber(const PartsChannel &channel,
                                      const RCWeakPtr<SeShapeInterface> &shape, int index,
                                      bool added) {
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

void SeShapeSelectorPrivate::renumberSelection(const PartsChannel &channel,
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
void SeShapeSelectorPrivate::renumberEveryItem(const PartsChannel &channel,
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
bool SeShapeSelectorPrivate::hasPartsBeyondPrimary() const {
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
void SeShapeSelectorPrivate::followPartsTally(const SnSelectionChangeHint &change) noexcept {
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

void SeShapeSelectorPrivate::updateSelectionPointAdded(const RCWeakPtr<SeShapeInterface> &shape,
                                                       int index) {
    renumber(pointsChannel, shape, index, true);
}

void SeShapeSelectorPrivate::updateSelectionPointDeleted(const RCWeakPtr<SeShapeInterface> &shape,
                                                         int index) {
    renumber(pointsChannel, shape, index, false);
}

void SeShapeSelectorPrivate::updateSelectionHandleAdded(const RCWeakPtr<SeShapeInterface> &shape,
                                                        int index) {
    renumber(handlesChannel, shape, index, true);
}

void SeShapeSelectorPrivate::updateSelectionHandleDeleted(const RCWeakPtr<SeShapeInterface> &shape,
                                                          int index) {
    renumber(handlesChannel, shape, index, false);
}

} // namespace Vo
