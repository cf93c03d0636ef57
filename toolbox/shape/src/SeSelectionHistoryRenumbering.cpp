#include "SeSelectionHistoryPrivate.h"

#include "SeRenumberingRuns.h"

#include <algorithm>
#include <iterator>

namespace Vo {

// The kept steps follow the log when next used (catchUp), so that a renumbering costs the same
// whatever the number of steps; the current state follows at once, but inside a batch, where one
// deletion after another would copy its indices each time, it follows when the batch's change is
// heard, all reports in one pass. Every item with parts follows, primary or not; the state is
// walked only when an item other than its primary one has parts. Should memory run out meanwhile,
// a kept state would select other points than the user's: the history forgets its steps instead.
void SeSelectionHistoryPrivate::renumber(const SeShapeSelector::Renumbering &renumbering) {
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
        releaseDropped(); // the renumbered selection is the one to build on
        forgetOldRenumberings();
    } catch (...) {
        forgetSteps();
    }
}

void SeSelectionHistoryPrivate::catchUpState() {
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

bool SeSelectionHistoryPrivate::takeRenumbered(const SnSelectionChangeHint *change) {
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

void SeSelectionHistoryPrivate::catchUp(Step &step) {
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

// Drops the renumberings every kept step follows already; looked at once the log has doubled, so
// that the walk over the steps is paid for by as many renumberings.
void SeSelectionHistoryPrivate::forgetOldRenumberings() noexcept {
    static constexpr std::size_t kFirstLook = 256;
    if (renumberingLog.size() < kFirstLook ||
        (renumberingLog.size() & (renumberingLog.size() - 1)) != 0) {
        return;
    }
    std::uint64_t needed = std::min(renumberingBase + renumberingLog.size(), stateRenumbered);
    for (const Step &step : steps) { // the dropped ones went before this renumbering
        needed = std::min(needed, step.renumbered);
    }
    renumberingLog.erase(renumberingLog.begin(),
                         renumberingLog.begin() +
                             static_cast<std::ptrdiff_t>(needed - renumberingBase));
    renumberingBase = needed;
}

} // namespace Vo
