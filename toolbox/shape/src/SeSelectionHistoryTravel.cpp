#include "SeSelectionHistoryPrivate.h"

#include "SeScopedValue.h"
#include "SeShapeItem.h"

#include "base/RCExInvalidCall.h"
#include "base/RCExUtil.h"
#include "foundation/List.h"
#include "foundation/Vector.h"

#include <algorithm>
#include <utility>

namespace Vo {

bool SeSelectionHistoryPrivate::travel(bool back) {
    if (!checkAttached()) {
        return false;
    }
    if (selector->isBatchOpen()) {
        throw RCExInvalidCall("a selection history cannot restore while a batch is open");
    }
    if (restoring) {
        throw RCExInvalidCall(
            "a selection history cannot undo or redo from a callback of its own undo or redo");
    }
    if (lost) {
        return false; // forgot its steps: nothing to travel to
    }
    catchUpState();
    bool travelled = false;
    if (travelBySplice(back, travelled)) {
        return travelled;
    }
    Items target = state.flat();
    std::size_t to = cursor;
    while (back ? to > 0 : to < steps.size()) {
        Step &step = steps[back ? to - 1 : to];
        catchUp(step);
        apply(target, step, back);
        to = back ? to - 1 : to + 1;
        std::vector<const SnItem *> leaving;
        const RCShdPtr<SnSelection> restored = withoutGoneShapes(target, leaving);
        if (!selection->isEqual(restored)) {
            try {
                restore(restored);
            } catch (...) {
                if (selection->isEqual(restored)) { // a callback handler raised: it stands
                    adoptState(std::move(target));
                    leftOut = std::move(leaving);
                    cursor = to;
                    stateRevision = 0;
                }
                throw;
            }
            adoptState(std::move(target));
            leftOut = std::move(leaving);
            cursor = to;
            dropped = Dropped();
            stateRevision = 0;
            // A callback run by the restore may have changed the selection again: that is a
            // change of its own.
            if (!selection->isEqual(restored)) {
                record();
            }
            return true;
        }
    }
    return false;
}

// While the state is the selection, object for object, and holds no gone shape, a step is put back
// as the splice it was: a step whose items are all alive and equal to the selection's there
// changes nothing and is skipped, as in a full restore. A step bringing back a gone shape, or a
// state not known to be the selection, is left to the full restore. Whether the selection holds a
// gone shape the selector tells in O(1), but after a whole change or the end of a shape it held:
// then its shapes are read once, a walk the full restore would make anyway.
bool SeSelectionHistoryPrivate::travelBySplice(bool back, bool &travelled) {
    if (stateRevision != selection->getRevision() || !selector->lookAtShapesAlive()) {
        return false;
    }
    std::size_t to = cursor;
    while (back ? to > 0 : to < steps.size()) {
        Step &step = steps[back ? to - 1 : to];
        catchUp(step);
        const Items &from = back ? step.after : step.before;
        const Items &into = back ? step.before : step.after;
        if (std::any_of(into.begin(), into.end(), &isGone)) {
            return false;
        }
        to = back ? to - 1 : to + 1;
        if (from.size() == into.size() &&
            isEqualRange(into.begin(), into.end(), state.iteratorAt(step.at))) {
            continue; // changes nothing once restored
        }
        const Vector<ItemPtr> items(into.begin(), into.end());
        const auto followRestore = [&] {
            spliceState(step.at, from.size(), into.begin(), into.end());
            cursor = to;
            stateRevision = restoredRevision;
        };
        state.reserveSplice(step.at, from.size(), into.size()); // no allocation once it stands
        restoredRevision = 0;
        try {
            const SeScopedValue<bool> quiet(restoring, true);
            selector->restoreRange(static_cast<int>(step.at), static_cast<int>(from.size()), items);
        } catch (...) {
            if (restoredRevision != 0 && selection->getRevision() == restoredRevision) {
                followRestore(); // a callback handler raised: the restore stands
            }
            throw;
        }
        followRestore();
        if (selection->getRevision() != restoredRevision) {
            record(); // a callback changed the selection again: a change of its own
        }
        travelled = true;
        return true;
    }
    travelled = false;
    return true;
}

void SeSelectionHistoryPrivate::restore(const RCShdPtr<SnSelection> &restored) {
    const SeScopedValue<bool> quiet(restoring, true);
    selector->restoreSelection(restored);
}

void SeSelectionHistoryPrivate::apply(Items &items, const Step &step, bool back) {
    const Items &from = back ? step.after : step.before;
    const Items &to = back ? step.before : step.after;
    const auto at = items.begin() + static_cast<std::ptrdiff_t>(step.at);
    const auto end = items.erase(at, at + static_cast<std::ptrdiff_t>(from.size()));
    items.insert(end, to.begin(), to.end());
}

// Items of shapes whose editing side is gone are left out (and listed); other items stay as they
// are.
RCShdPtr<SnSelection>
SeSelectionHistoryPrivate::withoutGoneShapes(const Items &items,
                                             std::vector<const SnItem *> &leftOut) {
    List<ItemPtr> kept;
    for (const ItemPtr &item : items) {
        if (isGone(item)) {
            leftOut.push_back(item.get());
        } else {
            kept.push_back(item);
        }
    }
    std::sort(leftOut.begin(), leftOut.end());
    return SnSelection::create(kept);
}

bool SeSelectionHistoryPrivate::isGone(const ItemPtr &item) noexcept {
    const auto *shapeItem = rcFastCast<const SeShapeItem>(item.get());
    return shapeItem != nullptr && shapeItem->getData().isNull();
}

} // namespace Vo
