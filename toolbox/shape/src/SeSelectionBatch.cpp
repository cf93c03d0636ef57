#include "SeSelectionBatch.h"

#include "SeShapeItems.h"
#include "SeShapeSelectorPrivate.h"

#include "base/RCExInvalidCall.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <unordered_map>
#include <utility>

namespace Vo {

SeSelectionBatch::SeSelectionBatch(const RCShdPtr<SeShapeSelector> &shapeSelector)
    : selector(shapeSelector), uncaughtAtStart(std::uncaught_exceptions()),
      outermost(!selector->isBatchOpen()) {
    selector->d->beginBatch();
}

SeSelectionBatch::~SeSelectionBatch() noexcept {
    if (ended) {
        return;
    }
    try {
        // An exception leaving this scope abandons the batch; abandoning raises nothing.
        selector->d->endBatch(std::uncaught_exceptions() <= uncaughtAtStart);
    } catch (...) { // NOLINT(bugprone-empty-catch): documented; commit() reports it
    }
}

void SeSelectionBatch::commit() {
    if (ended) {
        throw RCExInvalidCall("this selection batch scope has ended already");
    }
    ended = true; // first: whatever the commit raises, the scope is over
    selector->d->endBatch(true);
}

void SeSelectionBatch::cancel() noexcept {
    if (!ended) {
        selector->d->cancelBatch();
    }
}

// The selector's side of a batch: its working selection, the reports it keeps, its end.

// The removal events are taken out before they are applied, so that a raising one is not applied
// again at every later read.
void SeShapeSelectorPrivate::settleRemovals() const {
    if (batch->removals.empty()) {
        return;
    }
    std::unordered_map<int, int> removed;
    removed.swap(batch->removals);
    Vector<RCShdPtr<SeShape>> kept;
    if (SeShapeItems::keepAfterRemovals(*batch->working, removed, kept)) {
        batch->working = SeShapeItems::selectionOf(kept);
    }
}

void SeShapeSelectorPrivate::beginBatch() {
    if (batch == nullptr) {
        std::unique_ptr<BatchState> opened(new BatchState);
        opened->working = RCShdPtr<SnSelection>(selection->clone());
        batch = std::move(opened);
    }
    ++batch->depth;
}

void SeShapeSelectorPrivate::endBatch(bool keep) {
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
        write(result, PutBack::beforeAnnouncement, true);
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
// updater writes it back into the application's selection and both are as at the start. A replay
// that changed the selection was mirrored in full already: nothing is left to bring back in step.
void SeShapeSelectorPrivate::abandon(BatchState &ended) noexcept {
    const std::uint64_t start = selection->getRevision();
    replayEdits(ended);
    if (ended.replaced && selection->getRevision() == start) {
        const SeScopedValue<bool> abandoning(abandoningBatch, true);
        putBack(start, [&] {
            selection->replaceAllItems(RCShdPtr<SnSelection const>(selection->clone()));
        });
    }
}

// What the application reported inside a batch that is abandoned still holds: a shape deleted must
// not stay selected, and indices must follow the points and handles inserted or removed, since
// those reports will not come again. So they go to the selection as if they came after the batch,
// in one change (a batch of their own). Raises nothing: this runs where the batch is left by an
// error, or cancelled; should the application raise meanwhile, the selection stays as it is.
void SeShapeSelectorPrivate::replayEdits(BatchState &ended) noexcept {
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

void SeShapeSelectorPrivate::cancelBatch() noexcept { batch->cancelled = true; }

} // namespace Vo
