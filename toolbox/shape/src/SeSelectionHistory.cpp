#include "SeSelectionHistory.h"

#include "SeScopedValue.h"
#include "SeShapeItem.h"

#include "base/RCExInvalidCall.h"
#include "base/RCExUtil.h"
#include "foundation/List.h"
#include "host/ObSubject.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <typeinfo>

namespace Vo {

namespace {

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
    steps.clear();
    dropped = Dropped();
    cursor = 0;
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

void SeSelectionHistory::update(ObSubject<Sn> *, const ObHints &) {
    if (restoring || !checkAttached()) {
        return;
    }
    try {
        if (lost) {
            resynchronise(); // the change before this one is gone: this one starts afresh
        } else if (selector->isRestoringAfterFault()) {
            forgetFailedCommit();
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
}

void SeSelectionHistory::resynchronise() {
    state.assign(selection->begin(), selection->end());
    lost = false;
}

bool SeSelectionHistory::isSame(const Items &items, const SnSelection &other) noexcept {
    return static_cast<int>(items.size()) == other.getNbItems() &&
           std::equal(items.begin(), items.end(), other.begin(),
                      [](const ItemPtr &a, const ItemPtr &b) { return a.get() == b.get(); });
}

// The common head and tail are found by identity: an item that is still there is the same object.
void SeSelectionHistory::record() {
    const std::size_t oldSize = state.size();
    const auto newSize = static_cast<std::size_t>(selection->getNbItems());
    auto head = selection->begin();
    std::size_t at = 0;
    while (at < oldSize && at < newSize && state[at].get() == head->get()) {
        ++at;
        ++head;
    }
    auto tail = selection->end();
    std::size_t common = 0;
    while (common < oldSize - at && common < newSize - at &&
           state[oldSize - 1 - common].get() == std::prev(tail)->get()) {
        ++common;
        --tail;
    }
    if (at == oldSize && at == newSize) {
        return;
    }
    if (oldSize == newSize &&
        isEqualRange(state.begin() + static_cast<std::ptrdiff_t>(at),
                     state.end() - static_cast<std::ptrdiff_t>(common), head)) {
        // Other objects for the same items (a renumbering the history made too): no step.
        std::copy(head, tail, state.begin() + static_cast<std::ptrdiff_t>(at));
        return;
    }
    // Everything that allocates comes first, so that a failure leaves the history as it was.
    Step step{at,
              Items(state.begin() + static_cast<std::ptrdiff_t>(at),
                    state.end() - static_cast<std::ptrdiff_t>(common)),
              Items(head, tail)};
    state.reserve(newSize);
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
    state.erase(state.begin() + static_cast<std::ptrdiff_t>(at),
                state.end() - static_cast<std::ptrdiff_t>(common));
    state.insert(state.begin() + static_cast<std::ptrdiff_t>(at), added.after.begin(),
                 added.after.end());
    ++cursor;
    trim(&dropping.oldest);
    dropped = std::move(dropping);
}

// The selector put back the state before a commit that raised. When this history recorded that
// commit before the fault, the step goes again; otherwise nothing changed for it.
void SeSelectionHistory::forgetFailedCommit() {
    if (isSame(state, *selection)) {
        return;
    }
    if (cursor > 0) {
        Items before = state;
        apply(before, steps[cursor - 1], true);
        if (isSame(before, *selection)) {
            state.swap(before);
            steps.erase(steps.begin() + static_cast<std::ptrdiff_t>(cursor) - 1);
            --cursor;
            takeBackDropped();
            return;
        }
    }
    record();
}

bool SeSelectionHistory::isEqualRange(Items::const_iterator first, Items::const_iterator last,
                                      SnSelection::const_iterator other) {
    return std::equal(first, last, other,
                      [](const ItemPtr &a, const ItemPtr &b) { return a->isEqual(*b); });
}

// Only primary items have parts to renumber: the selector renumbers its primary item alone. Should
// memory run out meanwhile, a kept state would select other points than the user's: the history
// forgets its steps instead.
void SeSelectionHistory::renumber(const SeShapeSelector::Renumbering &renumbering) {
    const auto rewrite = [&renumbering](ItemPtr &item) {
        item = SeShapeSelector::renumberedItem(item, renumbering);
    };
    try {
        if (!state.empty()) {
            rewrite(state.front());
        }
        for (Step &step : steps) {
            if (step.at == 0 && !step.before.empty()) {
                rewrite(step.before.front());
            }
            if (step.at == 0 && !step.after.empty()) {
                rewrite(step.after.front());
            }
        }
        dropped = Dropped(); // the renumbered selection is the one to build on
    } catch (...) {
        forgetSteps();
    }
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

// Items of shapes whose editing side is gone are left out; other items stay as they are.
RCShdPtr<SnSelection> SeSelectionHistory::withoutGoneShapes(const Items &items) {
    List<ItemPtr> kept;
    for (const ItemPtr &item : items) {
        const auto *shapeItem = dynamic_cast<const SeShapeItem *>(item.get());
        if (shapeItem == nullptr || !shapeItem->getData().isNull()) {
            kept.push_back(item);
        }
    }
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
    if (lost) {
        return false; // forgot its steps: nothing to travel to
    }
    Items target = state;
    std::size_t to = cursor;
    while (back ? to > 0 : to < steps.size()) {
        apply(target, steps[back ? to - 1 : to], back);
        to = back ? to - 1 : to + 1;
        const RCShdPtr<SnSelection> restored = withoutGoneShapes(target);
        if (!selection->isEqual(restored)) {
            try {
                restore(restored);
            } catch (...) {
                if (selection->isEqual(restored)) { // a callback handler raised: it stands
                    state.swap(target);
                    cursor = to;
                }
                throw;
            }
            state.swap(target);
            cursor = to;
            dropped = Dropped();
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

void SeSelectionHistory::restore(const RCShdPtr<SnSelection> &restored) {
    const SeScopedValue<bool> quiet(restoring, true);
    selector->restoreSelection(restored);
}

} // namespace Vo
