#include "SeSelectionHistory.h"

#include "SeSelectionHistoryPrivate.h"

#include "base/RCExInvalidCall.h"
#include "host/ObHints.h"
#include "host/ObSubject.h"

#include <string>

namespace Vo {

namespace {

void checkDepth(int depth) {
    if (depth < 0) {
        throw RCExInvalidCall("history depth " + std::to_string(depth) +
                              " is negative (expected 0 or more)");
    }
}

} // namespace

SeSelectionHistory::SeSelectionHistory() : d(std::make_unique<SeSelectionHistoryPrivate>(*this)) {}

SeSelectionHistory::SeSelectionHistory(const RCShdPtr<SeShapeSelector> &shapeSelector, int maxDepth)
    : SeSelectionHistory() {
    d->setDepth(maxDepth);
    d->attach(shapeSelector);
}

SeSelectionHistory::~SeSelectionHistory() { d->detach(); }

void SeSelectionHistory::attach(const RCShdPtr<SeShapeSelector> &shapeSelector) {
    d->attach(shapeSelector);
}

void SeSelectionHistory::detach() noexcept { d->detach(); }

bool SeSelectionHistory::isAttached() const noexcept { return d->isAttached(); }

bool SeSelectionHistory::undo() { return d->travel(true); }

bool SeSelectionHistory::redo() { return d->travel(false); }

int SeSelectionHistory::getNbUndoSteps() const noexcept {
    return static_cast<int>(d->getNbUndoSteps());
}

int SeSelectionHistory::getNbRedoSteps() const noexcept {
    return static_cast<int>(d->getNbRedoSteps());
}

void SeSelectionHistory::clear() noexcept { d->clear(); }

void SeSelectionHistory::setDepth(int maxDepth) { d->setDepth(maxDepth); }

int SeSelectionHistory::getDepth() const noexcept { return d->getDepth(); }

std::size_t SeSelectionHistory::getNbStoredItems() const noexcept { return d->getNbStoredItems(); }

void SeSelectionHistory::update(ObSubject<Sn> *, const ObHints &hints) { d->update(hints); }

SeSelectionHistoryPrivate::SeSelectionHistoryPrivate(SeSelectionHistory &history)
    : owner(history), renumberings(this, &SeSelectionHistoryPrivate::renumber) {}

void SeSelectionHistoryPrivate::attach(const RCShdPtr<SeShapeSelector> &shapeSelector) {
    SeShapeSelector &target = *shapeSelector; // raises for null before anything changes
    detach();
    const RCShdPtr<SnSelection> observed = target.getSelection();
    target.addRenumberingCallback(&renumberings);
    try {
        observed->getSubject().attachObserver(&owner);
        selector = &target;
        selection = observed;
        resynchronise();
    } catch (...) {
        detach();
        target.removeRenumberingCallback(&renumberings);
        throw;
    }
}

void SeSelectionHistoryPrivate::detach() noexcept {
    if (selector == nullptr) {
        return;
    }
    selection->getSubject().detachObserver(&owner);
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

bool SeSelectionHistoryPrivate::checkAttached() noexcept {
    if (selector != nullptr && renumberings.getNbDispatchers() == 0) {
        detach();
    }
    return selector != nullptr;
}

void SeSelectionHistoryPrivate::clear() noexcept {
    forgetSteps();
    if (!selection.isNull()) {
        try {
            resynchronise();
        } catch (...) { // NOLINT(bugprone-empty-catch): the next change starts afresh instead
        }
    }
}

void SeSelectionHistoryPrivate::setDepth(int maxDepth) {
    checkDepth(maxDepth);
    depth = maxDepth;
    trim();
}

std::size_t SeSelectionHistoryPrivate::getNbStoredItems() const noexcept {
    std::size_t count = 0;
    for (const Step &step : steps) {
        count += step.before.size() + step.after.size();
    }
    return count;
}

void SeSelectionHistoryPrivate::update(const ObHints &hints) {
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
void SeSelectionHistoryPrivate::forgetSteps() noexcept {
    steps.clear();
    dropped = Dropped();
    cursor = 0;
    lost = true;
    renumberingBase += renumberingLog.size();
    renumberingLog.clear();
    stateRenumbered = renumberingBase; // the state is read afresh from the next change on
}

void SeSelectionHistoryPrivate::resynchronise() {
    state.assign(selection->begin(), selection->end());
    stateParts = countParts(selection->begin(), selection->end());
    stateRevision = selection->getRevision();
    stateRenumbered = renumberingBase + renumberingLog.size();
    lost = false;
}

} // namespace Vo
