// How the selector's results reach its selection object: one splice or one write, and the write
// that puts the old items back when an observer refuses the change; the callback lists, whose
// running marks a change as announced.

#include "SeShapeSelectorPrivate.h"

#include "SeExMissingElement.h"

#include "base/RCExInvalidCall.h"
#include "base/RCExUtil.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <typeinfo>
#include <utility>

namespace Vo {

void SeShapeSelectorPrivate::addSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    selectionChangedDispatcher.addHandler(handler);
}

void SeShapeSelectorPrivate::removeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    selectionChangedDispatcher.removeHandler(handler);
}

void SeShapeSelectorPrivate::notifySelectionChangedCallbacks() const {
    announce(selectionChangedDispatcher);
}

void SeShapeSelectorPrivate::addShapeSelectionChangedCallback(
    CbHandler<CbEmptyType> *handler) const {
    shapeSelectionChangedDispatcher.addHandler(handler);
}

void SeShapeSelectorPrivate::removeShapeSelectionChangedCallback(
    CbHandler<CbEmptyType> *handler) const {
    shapeSelectionChangedDispatcher.removeHandler(handler);
}

void SeShapeSelectorPrivate::notifyShapeSelectionChangedCallbacks() const {
    announce(shapeSelectionChangedDispatcher);
}

void SeShapeSelectorPrivate::addPrimarySelectionChangedCallback(
    CbHandler<CbEmptyType> *handler) const {
    primarySelectionChangedDispatcher.addHandler(handler);
}

void SeShapeSelectorPrivate::removePrimarySelectionChangedCallback(
    CbHandler<CbEmptyType> *handler) const {
    primarySelectionChangedDispatcher.removeHandler(handler);
}

void SeShapeSelectorPrivate::notifyPrimarySelectionChangedCallbacks() const {
    announce(primarySelectionChangedDispatcher);
}

void SeShapeSelectorPrivate::announce(CbDispatcher<CbEmptyType> &list) const {
    announced = true;
    list.call();
}

void SeShapeSelectorPrivate::commit(RCShdPtr<SnSelection> result) {
    if (batch != nullptr) {
        if (!current().isEqual(result)) {
            batch->working = std::move(result); // a fresh selection that no one observes
        }
    } else if (!spliceIn(*result)) {
        handOver(std::move(result));
    }
}

// A result that keeps a run of the items at either end goes in as one splice of what lies between,
// so that the observers (the updater, the history, the views) work on the difference only. A result
// that keeps nothing is a change of the whole list; a single shape with parts keeps the write that
// can put the old items back. True when the result went in, or equals the selection (nothing to
// do).
bool SeShapeSelectorPrivate::spliceIn(const SnSelection &result) {
    const auto oldSize = static_cast<std::size_t>(selection->getNbItems());
    const auto newSize = static_cast<std::size_t>(result.getNbItems());
    const auto same = [](const RCShdPtr<SnItem const> &a, const RCShdPtr<SnItem const> &b) {
        return a == b || a->isEqual(*b);
    };
    const std::size_t shorter = std::min(oldSize, newSize);
    const auto oldItems = selection->begin();
    const auto newItems = result.begin();
    std::size_t head = 0;
    while (head < shorter && same(oldItems[head], newItems[head])) {
        ++head;
    }
    if (head == oldSize && head == newSize) {
        return true;
    }
    if (newSize == 1 && result.getPrimaryItem()->hasParts()) {
        return false;
    }
    std::size_t tail = 0;
    while (tail < shorter - head &&
           same(oldItems[oldSize - 1 - tail], newItems[newSize - 1 - tail])) {
        ++tail;
    }
    if (head == 0 && tail == 0) {
        return false;
    }
    selection->replaceRange(static_cast<int>(head), static_cast<int>(oldSize - head - tail),
                            Vector<RCShdPtr<SnItem const>>(newItems + head, result.end() - tail));
    return true;
}

// A single shape with parts is what the updater mirrors element by element. Should it find a
// selected index without element, the old items go back, which observers take as no change, and the
// error passes on: both selections stay as they were. Other results need no copy of the old items.
void SeShapeSelectorPrivate::handOver(RCShdPtr<SnSelection const> items) {
    if (items->getNbItems() != 1 || !items->getPrimaryItem()->hasParts()) {
        const SeScopedValue<std::uint64_t> foresight(foreseenFrom, kNoRevision);
        foresee(*items);
        selection->replaceAllItems(std::move(items));
    } else {
        write(items, PutBack::onMissingElement, false);
    }
}

// The one write with a way back: the old items are kept aside, and when the write raises an error
// that `rule` covers, they are put back (see putBack) before the error passes on. A change that
// was announced (a callback list ran since the write began) stands whatever the rule.
void SeShapeSelectorPrivate::write(const RCShdPtr<SnSelection const> &items, PutBack rule,
                                   bool showOrigin) {
    const RCShdPtr<SnSelection const> origin(selection->clone());
    const SeScopedValue<RCShdPtr<SnSelection const>> originShown(
        commitOrigin, showOrigin ? origin : RCShdPtr<SnSelection const>());
    const SeScopedValue<bool> watch(announced, false);
    const SeScopedValue<std::uint64_t> foresight(foreseenFrom, kNoRevision);
    foresee(*items);
    const std::uint64_t start = selection->getRevision();
    try {
        selection->replaceAllItems(items);
    } catch (const SeExMissingElement &) {
        if (!announced) {
            putBack(start, [&] { selection->replaceAllItems(origin); });
        }
        throw;
    } catch (...) {
        if (!announced && rule == PutBack::beforeAnnouncement) {
            putBack(start, [&] { selection->replaceAllItems(origin); });
        }
        throw;
    }
}

void SeShapeSelectorPrivate::restoreSelection(const RCShdPtr<SnSelection const> &items) {
    if (items.isNull()) {
        RCExUtil::throwExNullPtr(typeid(SnSelection const *).name());
    }
    if (!selection->isEqual(items)) {
        write(items, PutBack::beforeAnnouncement, false);
    }
}

void SeShapeSelectorPrivate::restoreRange(int position, int count,
                                          const Vector<RCShdPtr<SnItem const>> &items) {
    const int size = selection->getNbItems();
    if (position < 0 || count < 0 || position > size - count) {
        throw RCExInvalidCall("cannot restore " + std::to_string(count) + " items from place " +
                              std::to_string(position) + " of a selection of " +
                              std::to_string(size) + " items");
    }
    if (std::any_of(items.begin(), items.end(), [](const auto &item) { return item.isNull(); })) {
        RCExUtil::throwExNullPtr(typeid(SnItem const *).name());
    }
    const auto first = std::next(selection->begin(), position);
    if (static_cast<std::size_t>(count) == items.size() &&
        std::equal(items.begin(), items.end(), first,
                   [](const auto &a, const auto &b) { return a == b || a->isEqual(*b); })) {
        return;
    }
    const Vector<RCShdPtr<SnItem const>> old(first, std::next(first, count));
    const SeScopedValue<bool> watch(announced, false);
    const std::uint64_t start = selection->getRevision();
    try {
        selection->replaceRange(position, count, items);
    } catch (...) {
        const auto now = std::next(selection->begin(), std::min(position, selection->getNbItems()));
        const bool untouched =
            !announced &&
            selection->getNbItems() == size - count + static_cast<int>(items.size()) &&
            std::equal(items.begin(), items.end(), now);
        if (untouched) {
            putBack(start, [&] {
                selection->replaceRange(position, static_cast<int>(items.size()), old);
            });
        }
        throw;
    }
}

} // namespace Vo
