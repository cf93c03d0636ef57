// The updater's answer to the controller's removal events: a removed shape leaves the editor's
// selection, at once when the ids kept from the last mirroring tell where it is.

#include "SeSelectorUpdaterPrivate.h"
#include "SeShapeSelectorPrivate.h"

#include "SeAliveShapes.h"
#include "SeScopedValue.h"
#include "SeShapeItems.h"

namespace Vo {

// Removal events carry only an id, and the application may delete the editing side of the removed
// shape, or of another selected one, before it sends the event. The selector passes over shapes
// whose editing side is gone, so the dispatch never raises for them; since the removed shape may be
// one of them, they leave the selection with it. An id that is not among the selected ones, with
// every selected shape alive when last mirrored, changes nothing and is answered at once.
void SeSelectorUpdaterPrivate::onShapeRemoved(const SeShapeEvent &event) {
    const auto *removal = dynamic_cast<const SeShapeEvent::ShapeRemoved *>(&event);
    if (removal == nullptr) {
        return;
    }
    const int id = removal->getShapeId();
    if (!selector->isBatchOpen() && selectedIdsKnown && selector->areShapesKnownAlive() &&
        !selectedIds.contains(id)) {
        return;
    }
    if (!selector->isBatchOpen() && !isShown()) {
        removeUnshown(id);
    } else if (!removeByEvent(id)) {
        selector->removeSelectedShape(id);
    }
}

// The walk of removeSelectedShape, with the shapes before it kept for the callbacks' conditions.
void SeSelectorUpdaterPrivate::removeUnshown(int id) {
    Vector<RCWeakPtr<SeShapeInterface>> before;
    SeShapeItems::collect(*selectorSelection, before);
    const SeScopedValue<const Vector<RCWeakPtr<SeShapeInterface>> *> unshown(unshownBefore,
                                                                             &before);
    selector->removeSelectedShape(id);
}

void SeSelectorUpdaterPrivate::knowIds(bool allAlive) noexcept { selectedIdsKnown = allAlive; }

// What removeSelectedShape would do, in O(1) where it amounts to taking one item out: the shape is
// selected once, every other selected shape is known alive (so none leaves with it), and no other
// item has parts (so none is made whole): the primary shape with points selected, deleted, takes
// this way. The shape itself may be gone, when its end is the one end since every selected shape
// was known alive (the application released its editing side first, then sent the event). The
// selection changes by that one item, which the updater then mirrors as it mirrors any one-item
// change. False when it cannot tell.
bool SeSelectorUpdaterPrivate::removeByEvent(int id) {
    const SelectedId *found = selectedIds.find(id);
    if (selector->isBatchOpen() || !selectedIdsKnown || found == nullptr || found->count != 1 ||
        found->item == nullptr || itemsWithParts != (found->item->hasParts() ? 1 : 0)) {
        return false;
    }
    const RCShdPtr<SnItem const> item(found->item);
    if (selector->areShapesKnownAlive()) {
        return selectorSelection->removeItem(item);
    }
    if (!selector->d->getAliveShapes().expectEndedLeaving(*selectorSelection, *item)) {
        return false;
    }
    const SeScopedValue<EndedLeaving> leaving(endedLeaving, EndedLeaving{item.get(), id});
    return selectorSelection->removeItem(item);
}

} // namespace Vo
