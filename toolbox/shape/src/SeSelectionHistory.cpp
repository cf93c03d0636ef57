#include "SeSelectionHistory.h"

#include "SeRenumberingRuns.h"
#include "SeScopedValue.h"
#include "SeShapeItem.h"

#include "base/RCExInvalidCall.h"
#include "base/RCExUtil.h"
#include "foundation/ChunkedList.h"
#include "foundation/List.h"
#include "host/ObHints.h"
#include "host/ObSubject.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <typeinfo>
#include <utility>

namespace Vo {

namespace {

// The items a recorded change gives back of dropped steps, beside twice its own: the dropped steps
// of one-item changes go at once.
constexpr std::size_t kReleasedAtLeast = 64;

void checkDepth(int depth) {
    if (depth < 0) {
        throw RCExInvalidCall("history depth " + std::to_string(depth) +
                              " is negative (expected 0 or more)");
    }
}

} // namespace

SeSelectionHistory::SeSelectionHistory() noexcept
    : selector(nullptr), renumberings(this, &SeSelectionHistory::renumber), cursor(0),
      depth(defaultDepth), restoring(false) {}

SeSelectionHistory::SeSelectionHistory(const RCShdPtr<SeShapeSelector> &shapeSelector, int maxDepth)
    : SeSelectionHistory() {
    checkDepth(maxDepth);
    depth = maxDepth;
    attach(shapeSelector);
}

SeSelectionHistory::~SeSelectionHistory() { detach(); }

void SeSelectionHistory::attach(const RCShdPtr<SeShapeSelector> &shapeSelector) {
    SeShapeSelector &target = *shapeSelector; // raises for null before anything changes
    detach();
    const RCShdPtr<SnSelection> observed = target.getSelection();
    target.addRenumberingCallback(&renumberings);
    try {
        observed->getSubject().attachObserver(this);
        selector = &target;
        selection = observed;
        resynchronise();
    } catch (...) {
        detach();
        target.removeRenumberingCallback(&renumberings);
        throw;
    }
}

void SeSelectionHistory::detach() noexcept {
    if (selector == nullptr) {
        return;
    }
    selection->getSubject().detachObserver(this);
    if (renumberings.getNbDispatchers() != 0) {
        selector->removeRenumberingCallback(&renumberings);
    }
    selector = nullptr;
    selection = RCShdPtr<SnSelection>();
    state.clear();
    stateParts = 0;
    steps.clear();
    dropped = Dropped();
    releasing.clear();
    cursor = 0;
    stateRevision = 0;
    renumberingBase += renumberingLog.size();
    renumberingLog.clear();
    stateRenumbered = renumberingBase;
}

bool SeSelectionHistory::checkAttached() noexcept {
    if (selector != nullptr && renumberings.getNbDispatchers() == 0) {
        detach();
    }
    return selector != nullptr;
}

void SeSelectionHistory::clear() noexcept {
    forgetSteps();
    if (!selection.isNull()) {
        try {
            resynchronise();
        } catch (...) { // NOLINT(bugprone-empty-catch): the next change starts afresh instead
        }
    }
}

void SeSelectionHistory::setDepth(int maxDepth) {
    checkDepth(maxDepth);
    depth = maxDepth;
    trim();
}

std::size_t SeSelectionHistory::getNbStoredItems() const noexcept {
    std::size_t count = 0;
    for (const Step &step : steps) {
        count += step.before.size() + step.after.size();
    }
    return count;
}

void SeSelectionHistory::update(ObSubject<Sn> *, const ObHints &hints) {
    const SnSelectionChangeHint *change = nullptr;
    for (const RCShdPtr<ObHint> &hint : hints.getContainer()) {
        change =
            change != nullptr ? change : dynamic_cast<const SnSelectionChangeHint *>(hint.get());
    }
    if (restoring) {
        // The restore's own change starts from the state this history shows; a change a callback
        // makes meanwhile (heard first when the history comes after the updater) does not.
        if (restoredRevision == 0 && change != nullptr &&
            change->getRevisionBefore() == stateRevision) {
            restoredRevision = change->getRevisionAfter();
        }
        return;
    }
    if (!checkAttached()) {
        return;
    }
    try {
        if (takeRenumbered(change)) {
            return;
        }
        catchUpState(); // renumberings heard inside a batch that this change ends
        if (lost) {
            resynchronise(); // the change before this one is gone: this one starts afresh
        } else if (selector->isRestoringAfterFault() && !selector->isAbandoningBatch()) {
            forgetFailedCommit(change);
        } else if (change != nullptr && !change->isWhole() &&
                   change->getRevisionBefore() == stateRevision &&
                   change->getRevisionAfter() == selection->getRevision()) {
            recordSplice(*change);
        } else {
            record();
        }
    } catch (...) {
        forgetSteps();
        throw;
    }
}

// A change that could not be recorded would make the next undo skip a state: rather than restore a
// wrong state, the history forgets its steps and starts again from the next change it hears of.
void SeSelectionHistory::forgetSteps() noexcept {
    steps.clear();
    dropped = Dropped();
    cursor = 0;
    lost = true;
    renumberingBase += renumberingLog.size();
    renumberingLog.clear();
    stateRenumbered = renumberingBase; // the state is read afresh from the next change on
}

void SeSelectionHistory::resynchronise() {
    state.assign(selection->begin(), selection->end());
    stateParts = countParts(selection->begin(), selection->end());
    stateRevision = selection->getRevision();
    stateRenumbered = renumberingBase + renumberingLog.size();
    lost = false;
}

bool SeSelectionHistory::isGone(const ItemPtr &item) noexcept {
    const auto *shapeItem = rcFastCast<const SeShapeItem>(item.get());
    return shapeItem != nullptr && shapeItem->getData().isNull();
}

template <class List>
bool SeSelectionHistory::isSame(const List &items, const SnSelection &other) noexcept {
    return static_cast<int>(items.size()) == other.getNbItems() &&
           std::equal(items.begin(), items.end(), other.begin(),
                      [](const ItemPtr &a, const ItemPtr &b) { return a.get() == b.get(); });
}

// The common head and tail are found by identity: an item that is still there is the same object.
void SeSelectionHistory::record() {
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
void SeSelectionHistory::recordSplice(const SnSelectionChangeHint &change) {
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
void SeSelectionHistory::addStep(Step step) {
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
void SeSelectionHistory::releaseDropped() noexcept {
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
void SeSelectionHistory::releaseSome(std::size_t budget) noexcept {
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
void SeSelectionHistory::forgetFailedCommit(const SnSelectionChangeHint *change) {
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
bool SeSelectionHistory::followLeavingGone() {
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

template <class It, class Other>
bool SeSelectionHistory::isEqualRange(It first, It last, Other other) {
    return std::equal(first, last, other,
                      [](const ItemPtr &a, const ItemPtr &b) { return a->isEqual(*b); });
}

// The kept steps follow the log when next used (catchUp), so that a renumbering costs the same
// whatever the number of steps; the current state follows at once, but inside a batch, where one
// deletion after another would copy its indices each time, it follows when the batch's change is
// heard, all reports in one pass. Every item with parts follows, primary or not; the state is
// walked only when an item other than its primary one has parts. Should memory run out meanwhile,
// a kept state would select other points than the user's: the history forgets its steps instead.
void SeSelectionHistory::renumber(const SeShapeSelector::Renumbering &renumbering) {
    try {
        // The selector renumbers its primary item next: when the state shares it, the state
        // takes the renumbered one from the change that follows rather than renumber its own.
        const bool shared =
            !state.empty() && !selection->isEmpty() &&
            state.front().get() == selection->getPrimaryItem().get() &&
            (stateRenumbered == renumberingBase + renumberingLog.size() || renumberedBySelector);
        renumberingLog.push_back(renumbering);
        renumberedBySelector = shared && !selector->isBatchOpen();
        if (!renumberedBySelector && !selector->isBatchOpen()) {
            catchUpState();
        }
        forgetOldRenumberings();
        releaseDropped(); // the renumbered selection is the one to build on
    } catch (...) {
        forgetSteps();
    }
}

void SeSelectionHistory::catchUpState() {
    const std::uint64_t end = renumberingBase + renumberingLog.size();
    if (!state.empty() && stateRenumbered < end) {
        const auto first = static_cast<std::size_t>(stateRenumbered - renumberingBase);
        state.setFront(
            SeRenumberingRuns::apply(state.front(), renumberingLog, first, renumberingLog.size()));
        if (stateParts > (state.front()->hasParts() ? 1U : 0U)) {
            Items items = state.flat();
            for (auto item = std::next(items.begin()); item != items.end(); ++item) {
                *item =
                    SeRenumberingRuns::apply(*item, renumberingLog, first, renumberingLog.size());
            }
            state.adopt(std::move(items)); // parts for parts: the count stands
        }
    }
    stateRenumbered = end;
}

bool SeSelectionHistory::takeRenumbered(const SnSelectionChangeHint *change) {
    const bool waiting = renumberedBySelector;
    renumberedBySelector = false;
    if (!waiting || lost || change == nullptr || change->isWhole() || change->getPosition() != 0 ||
        change->getRevisionBefore() != stateRevision ||
        change->getRevisionAfter() != selection->getRevision() ||
        change->getRemovedItems().size() != 1 || change->getAddedItems().size() != 1) {
        return false;
    }
    const SeShapeSelector::PartsChange &note = selector->getLastPartsChange();
    const RCShdPtr<SnItem const> &renumbered = *change->getAddedItems().begin();
    // The change replaced the state's front by the item the selector renumbered it into.
    if (note.kind != SeShapeSelector::PartsChange::Kind::renumbered ||
        note.to.get() != renumbered.get() ||
        change->getRemovedItems().begin()->get() != state.front().get()) {
        return false;
    }
    state.setFront(renumbered);
    stateRenumbered = renumberingBase + renumberingLog.size();
    stateRevision = change->getRevisionAfter();
    return true;
}

void SeSelectionHistory::catchUp(Step &step) {
    const std::uint64_t end = renumberingBase + renumberingLog.size();
    if (step.renumbered < end) {
        const auto first = static_cast<std::size_t>(step.renumbered - renumberingBase);
        for (Items *items : {&step.before, &step.after}) {
            for (ItemPtr &item : *items) {
                item = SeRenumberingRuns::apply(item, renumberingLog, first, renumberingLog.size());
            }
        }
    }
    step.renumbered = end;
}

template <class It>
void SeSelectionHistory::spliceState(std::size_t at, std::size_t count, It first, It last) {
    const std::size_t leaving = countParts(state.iteratorAt(at), state.iteratorAt(at + count));
    state.splice(at, count, first, last);
    stateParts = stateParts - leaving + countParts(first, last);
}

void SeSelectionHistory::adoptState(Items &&items) {
    const std::size_t parts = countParts(items.begin(), items.end());
    state.adopt(std::move(items));
    stateParts = parts;
}

template <class It> std::size_t SeSelectionHistory::countParts(It first, It last) noexcept {
    return static_cast<std::size_t>(
        std::count_if(first, last, [](const ItemPtr &item) { return item->hasParts(); }));
}

// Drops the renumberings every kept step follows already; looked at once the log has doubled, so
// that the walk over the steps is paid for by as many renumberings.
void SeSelectionHistory::forgetOldRenumberings() noexcept {
    static constexpr std::size_t kFirstLook = 256;
    if (renumberingLog.size() < kFirstLook ||
        (renumberingLog.size() & (renumberingLog.size() - 1)) != 0) {
        return;
    }
    std::uint64_t needed = std::min(renumberingBase + renumberingLog.size(), stateRenumbered);
    for (const Step &step : steps) {
        needed = std::min(needed, step.renumbered);
    }
    for (const std::vector<Step> *kept : {&dropped.redo, &dropped.oldest}) {
        for (const Step &step : *kept) {
            needed = std::min(needed, step.renumbered);
        }
    }
    renumberingLog.erase(renumberingLog.begin(),
                         renumberingLog.begin() +
                             static_cast<std::ptrdiff_t>(needed - renumberingBase));
    renumberingBase = needed;
}

void SeSelectionHistory::trim(std::vector<Step> *oldest) noexcept {
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
void SeSelectionHistory::takeBackDropped() {
    Dropped taken = std::move(dropped);
    dropped = Dropped();
    for (auto step = taken.oldest.rbegin(); step != taken.oldest.rend(); ++step) {
        steps.push_front(std::move(*step));
        ++cursor;
    }
    std::move(taken.redo.begin(), taken.redo.end(), std::back_inserter(steps));
}

void SeSelectionHistory::apply(Items &items, const Step &step, bool back) {
    const Items &from = back ? step.after : step.before;
    const Items &to = back ? step.before : step.after;
    const auto at = items.begin() + static_cast<std::ptrdiff_t>(step.at);
    const auto end = items.erase(at, at + static_cast<std::ptrdiff_t>(from.size()));
    items.insert(end, to.begin(), to.end());
}

// Items of shapes whose editing side is gone are left out (and listed); other items stay as they
// are.
RCShdPtr<SnSelection>
SeSelectionHistory::withoutGoneShapes(const Items &items, std::vector<const SnItem *> &leftOut) {
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

bool SeSelectionHistory::undo() { return travel(true); }
bool SeSelectionHistory::redo() { return travel(false); }

bool SeSelectionHistory::travel(bool back) {
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
bool SeSelectionHistory::travelBySplice(bool back, bool &travelled) {
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

void SeSelectionHistory::restore(const RCShdPtr<SnSelection> &restored) {
    const SeScopedValue<bool> quiet(restoring, true);
    selector->restoreSelection(restored);
}

} // namespace Vo
