#include "SeSelectionHistoryPrivate.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace Vo {

namespace {

// The items a recorded change gives back of dropped steps, beside twice its own: the dropped steps
// of one-item changes go at once.
constexpr std::size_t kReleasedAtLeast = 64;

} // namespace

// The common head and tail are found by identity: an item that is still there is the same object.
void SeSelectionHistoryPrivate::record() {
    const std::size_t oldSize = state.size();
    const auto newSize = static_cast<std::size_t>(selection->getNbItems());
    // Unknown after a full restore, the state may hold gone shapes the selection left out since.
    if (stateRevision == 0 && oldSize > newSize && followLeavingGone()) {
        return; // and stays unknown
    }
    auto head = selection->begin();
    auto stateHead = state.begin();
    std::size_t at = 0;
    while (at < oldSize && at < newSize && stateHead->get() == head->get()) {
        ++at;
        ++head;
        ++stateHead;
    }
    auto tail = selection->end();
    auto stateTail = state.end();
    std::size_t common = 0;
    while (common < oldSize - at && common < newSize - at &&
           std::prev(stateTail)->get() == std::prev(tail)->get()) {
        ++common;
        --tail;
        --stateTail;
    }
    stateRevision = selection->getRevision();
    if (at == oldSize && at == newSize) {
        return;
    }
    if (oldSize == newSize && isEqualRange(stateHead, stateTail, head)) {
        // Other objects for the same items (a renumbering the history made too): no step.
        state.overwrite(at, head, tail);
        return;
    }
    addStep(Step{at, Items(stateHead, stateTail), Items(head, tail),
                 renumberingBase + renumberingLog.size()});
}

// The splice the selection reported, from the revision the state shows.
void SeSelectionHistoryPrivate::recordSplice(const SnSelectionChangeHint &change) {
    const auto at = static_cast<std::size_t>(change.getPosition());
    const auto &removed = change.getRemovedItems();
    const auto &added = change.getAddedItems();
    stateRevision = change.getRevisionAfter();
    if (removed.size() == added.size() &&
        isEqualRange(added.begin(), added.end(), state.iteratorAt(at))) {
        state.overwrite(at, added.begin(), added.end()); // the same items as other objects
        return;
    }
    addStep(Step{at, Items(removed.begin(), removed.end()), Items(added.begin(), added.end()),
                 renumberingBase + renumberingLog.size()});
}

// Everything that allocates comes first, so that a failure leaves the history as it was.
void SeSelectionHistoryPrivate::addStep(Step step) {
    const std::size_t size = step.before.size() + step.after.size();
    state.reserveSplice(step.at, step.before.size(), step.after.size());
    Dropped dropping;
    dropping.redo.reserve(steps.size() - cursor);
    dropping.oldest.reserve(cursor + 1 > static_cast<std::size_t>(depth)
                                ? cursor + 1 - static_cast<std::size_t>(depth)
                                : 0);
    steps.push_back(std::move(step));
    std::move(steps.begin() + static_cast<std::ptrdiff_t>(cursor), steps.end() - 1,
              std::back_inserter(dropping.redo));
    steps.erase(steps.begin() + static_cast<std::ptrdiff_t>(cursor), steps.end() - 1);
    const Step &added = steps.back(); // after the erase, which moves the steps
    spliceState(added.at, added.before.size(), added.after.begin(), added.after.end());
    ++cursor;
    trim(&dropping.oldest);
    releaseDropped(); // the change before this one stands
    dropped = std::move(dropping);
    recordedRevision = stateRevision;
    releaseSome(kReleasedAtLeast + 2 * size);
}

// The steps the last change dropped join the items to give back.
void SeSelectionHistoryPrivate::releaseDropped() noexcept {
    Dropped old = std::move(dropped);
    dropped = Dropped();
    try {
        for (std::vector<Step> *kept : {&old.redo, &old.oldest}) {
            for (Step &step : *kept) {
                releasing.push_back(std::move(step.before));
                releasing.push_back(std::move(step.after));
            }
        }
    } catch (...) {
        // No room to queue them: what is left goes now, with `old`.
    }
}

// Gives back at most `budget` of the items of dropped steps, last first. Each change gives back
// twice the items it records, so the queue never holds more than the steps it once kept.
void SeSelectionHistoryPrivate::releaseSome(std::size_t budget) noexcept {
    while (!releasing.empty() && budget > 0) {
        Items &items = releasing.back();
        const std::size_t count = std::min(budget, items.size());
        items.erase(items.end() - static_cast<std::ptrdiff_t>(count), items.end());
        budget -= count;
        if (items.empty()) {
            releasing.pop_back();
        }
    }
}

// The selector put back the state before a commit that raised. When this history recorded that
// commit before the fault (its last step ends at the revision the put-back starts from), the step
// goes again; otherwise nothing changed for it. That is told by revision, not by comparing items:
// after a restore that left gone shapes out, the kept state still holds them, and undoing the last
// step may then look like the put-back of a step that never failed. (An abandoned batch, whose
// working selection no history observes, tells its start state again: nothing failed, and that is
// recorded as any change, which the renumberings the batch replayed leave equal.)
void SeSelectionHistoryPrivate::forgetFailedCommit(const SnSelectionChangeHint *change) {
    if (isSame(state, *selection)) {
        stateRevision = selection->getRevision();
        return;
    }
    if (change != nullptr && change->getRevisionBefore() != recordedRevision) {
        stateRevision = 0; // the selection is as before the fault: no step, nothing to forget
        return;
    }
    if (cursor == 0) {
        record();
        return;
    }
    // The put-back follows the step recorded for the failed change: that step goes. The state
    // before it may differ from the put-back selection, by gone shapes a restore left out or by
    // renumberings a refused batch replays next; the state then stays unknown until the next
    // change, which is compared item by item.
    Items before = state.flat();
    catchUp(steps[cursor - 1]);
    apply(before, steps[cursor - 1], true);
    stateRevision = isSame(before, *selection) ? selection->getRevision() : 0;
    adoptState(std::move(before));
    steps.erase(steps.begin() + static_cast<std::ptrdiff_t>(cursor) - 1);
    --cursor;
    takeBackDropped();
}

// After a full restore that left gone shapes out, the selection may hold the state's other items as
// other objects (a renumbering, or the application writing the same shapes): no step; the state
// takes the new objects and keeps the gone ones. A shape that ended after the restore was in the
// selection: a change that leaves it out is a removal, and a step.
bool SeSelectionHistoryPrivate::followLeavingGone() {
    Items items = state.flat();
    auto next = selection->begin();
    for (ItemPtr &item : items) {
        if (std::binary_search(leftOut.begin(), leftOut.end(), item.get())) {
            continue;
        }
        if (next == selection->end() || !item->isEqual(**next)) {
            return false;
        }
        item = *next;
        ++next;
    }
    if (next != selection->end()) {
        return false;
    }
    adoptState(std::move(items));
    return true;
}

void SeSelectionHistoryPrivate::adoptState(Items &&items) {
    const std::size_t parts = countParts(items.begin(), items.end());
    state.adopt(std::move(items));
    stateParts = parts;
}

void SeSelectionHistoryPrivate::trim(std::vector<Step> *oldest) noexcept {
    while (steps.size() > static_cast<std::size_t>(depth)) {
        if (cursor > 0) {
            if (oldest != nullptr) {
                oldest->push_back(std::move(steps.front())); // room reserved by the caller
            }
            steps.pop_front();
            --cursor;
        } else {
            steps.pop_back();
        }
    }
}

// The failed change is gone again: the steps its recording dropped (the redo steps, the oldest
// beyond the depth) come back, so a refused change costs the history nothing.
void SeSelectionHistoryPrivate::takeBackDropped() {
    Dropped taken = std::move(dropped);
    dropped = Dropped();
    for (auto step = taken.oldest.rbegin(); step != taken.oldest.rend(); ++step) {
        steps.push_front(std::move(*step));
        ++cursor;
    }
    std::move(taken.redo.begin(), taken.redo.end(), std::back_inserter(steps));
}

} // namespace Vo
