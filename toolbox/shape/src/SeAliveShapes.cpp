#include "SeAliveShapes.h"

#include "SeShapeItem.h"

#include "foundation/RCShdPtr.h"

#include <utility>

namespace Vo {

SeAliveShapes::SeAliveShapes() : tally(RCSWEndTally::acquire()) {}

SeAliveShapes::~SeAliveShapes() { tally.release(); }

bool SeAliveShapes::areKnown(const SnSelection &selection) const noexcept {
    return revision != 0 && revision == selection.getRevision() && reading == tally.get();
}

// An item that is no shape item stands for nothing that can end.
bool SeAliveShapes::seeItem(const SnItem &item) noexcept {
    const auto *shapeItem = rcFastCast<const SeShapeItem>(&item);
    return shapeItem == nullptr || see(shapeItem->getData());
}

bool SeAliveShapes::isGone(const SnItem &item) noexcept {
    const auto *shapeItem = rcFastCast<const SeShapeItem>(&item);
    return shapeItem != nullptr && shapeItem->getData().isNull();
}

void SeAliveShapes::establish(const SnSelection &selection, std::uint64_t walkReading) noexcept {
    revision = selection.getRevision();
    reading = walkReading;
}

bool SeAliveShapes::lookAt(const SnSelection &selection) noexcept {
    if (areKnown(selection)) {
        return true;
    }
    const std::uint64_t walkReading = startWalk();
    for (const RCShdPtr<SnItem const> &item : selection) {
        if (!seeItem(*item)) {
            return false;
        }
    }
    establish(selection, walkReading);
    return true;
}

// The ends since the knowledge was read are all accounted for: none, or the one of the item
// expected to leave, when it leaves.
void SeAliveShapes::follow(const SnSelectionChangeHint &change) noexcept {
    const SnItem *const expected = std::exchange(endedLeaving, nullptr);
    if (revision == 0 || change.isWhole() || revision != change.getRevisionBefore()) {
        revision = 0;
        return;
    }
    std::uint64_t accounted = 0;
    bool alive = true;
    for (const RCShdPtr<SnItem const> &item : change.getRemovedItems()) {
        if (isGone(*item)) {
            alive = alive && item.get() == expected && accounted == 0;
            accounted = 1;
        }
    }
    for (const RCShdPtr<SnItem const> &item : change.getAddedItems()) {
        alive = seeItem(*item) && alive;
    }
    const std::uint64_t now = tally.get();
    if (!alive || now != reading + accounted) {
        revision = 0;
        return;
    }
    revision = change.getRevisionAfter();
    reading = now;
}

bool SeAliveShapes::expectEndedLeaving(const SnSelection &selection, const SnItem &item) noexcept {
    if (revision == 0 || revision != selection.getRevision() || tally.get() != reading + 1 ||
        !isGone(item)) {
        return false;
    }
    endedLeaving = &item;
    return true;
}

} // namespace Vo
