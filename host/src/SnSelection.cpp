#include "host/SnSelection.h"

#include "host/ObHints.h"
#include "host/RCExUtil.h"
#include "host/SnSelectionChangeHint.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <typeinfo>

namespace Vo {

RCShdPtr<SnSelection> SnSelection::create() { return RCShdPtr<SnSelection>(new SnSelection()); }

RCShdPtr<SnSelection> SnSelection::create(const Items &items) {
    return RCShdPtr<SnSelection>(new SnSelection(items));
}

SnSelection::SnSelection() noexcept = default;

SnSelection::SnSelection(const Items &initial) {
    std::for_each(initial.begin(), initial.end(), &SnSelection::checkItem);
    items = initial;
}

SnSelection::~SnSelection() noexcept = default;

SnSelection *SnSelection::clone() const { return new SnSelection(items); }

bool SnSelection::isEqual(const RCShdPtr<SnSelection const> &other) const {
    const Items &otherItems = other->items;
    if (other.get() == this) {
        return true;
    }
    if (items.size() != otherItems.size()) {
        return false;
    }
    return std::equal(items.begin(), items.end(), otherItems.begin(),
                      [](const RCShdPtr<SnItem const> &a, const RCShdPtr<SnItem const> &b) {
                          return a == b || a->isEqual(*b);
                      });
}

void SnSelection::addItem(const RCShdPtr<SnItem const> &item) {
    checkItem(item);
    items.push_back(item);
}

bool SnSelection::replaceItem(const RCShdPtr<SnItem const> &oldItem,
                              const RCShdPtr<SnItem const> &newItem) {
    checkItem(newItem);
    const auto found = std::find(items.begin(), items.end(), oldItem);
    if (found == items.end()) {
        return false;
    }
    *found = newItem;
    notifyChange();
    return true;
}

void SnSelection::replaceAllItems(const RCShdPtr<SnSelection const> &other) {
    Items taken(other->items); // copied first: other may be this selection
    items.swap(taken);
    notifyChange();
}

int SnSelection::getNbItems() const { return static_cast<int>(items.size()); }

bool SnSelection::isEmpty() const { return items.empty(); }

const RCShdPtr<SnItem const> &SnSelection::getPrimaryItem() const {
    static const RCShdPtr<SnItem const> none;
    return items.empty() ? none : items.front();
}

RCShdPtr<SnSelection>
SnSelection::filter(const PrdPredicate<RCShdPtr<SnItem const>> &predicate) const {
    RCShdPtr<SnSelection> kept = create();
    std::copy_if(items.begin(), items.end(), std::back_inserter(kept->items), std::cref(predicate));
    return kept;
}

void SnSelection::checkItem(const RCShdPtr<SnItem const> &item) {
    if (item.isNull()) {
        RCExUtil::throwExNullPtr(typeid(SnItem const *).name());
    }
}

void SnSelection::notifyChange() {
    // An observer may let go of the last pointer to this selection while it is being notified.
    const RCShdPtr<SnSelection const> keepAlive(getRefCount() > 0 ? this : nullptr);
    ObHints hints;
    hints.add(RCShdPtr<ObHint>(new SnSelectionChangeHint(&subject)));
    subject.notify(hints);
}

} // namespace Vo
