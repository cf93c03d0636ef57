#include "host/selection/SnSelection.h"

#include "SnPlaceIndex.h"
#include "base/RCExUtil.h"
#include "host/ObHints.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <iterator>
#include <typeinfo>
#include <utility>

namespace Vo {

RCShdPtr<SnSelection> SnSelection::create() { return RCShdPtr<SnSelection>(new SnSelection()); }

RCShdPtr<SnSelection> SnSelection::create(const Items &items) {
    return RCShdPtr<SnSelection>(new SnSelection(items));
}

RCShdPtr<SnSelection> SnSelection::createTaking(Vector<RCShdPtr<SnItem const>> &&items) {
    return RCShdPtr<SnSelection>(new SnSelection(std::move(items)));
}

namespace {

std::uint64_t nextRevision() noexcept {
    static std::atomic<std::uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

} // namespace

SnSelection::SnSelection() noexcept : revision(nextRevision()) {}

SnSelection::SnSelection(const Items &initial) : revision(nextRevision()) {
    std::for_each(initial.begin(), initial.end(), &SnSelection::checkItem);
    items.assign(initial.begin(), initial.end());
}

SnSelection::SnSelection(Vector<RCShdPtr<SnItem const>> &&initial) : revision(nextRevision()) {
    std::for_each(initial.begin(), initial.end(), &SnSelection::checkItem);
    items = std::move(initial);
}

SnSelection::~SnSelection() noexcept = default;

SnSelection *SnSelection::clone() const {
    std::unique_ptr<SnSelection> copy(new SnSelection());
    copy->items = items;
    return copy.release();
}

bool SnSelection::isEqual(const RCShdPtr<SnSelection const> &other) const {
    const auto &otherItems = other->items;
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
    changed();
}

bool SnSelection::replaceItem(const RCShdPtr<SnItem const> &oldItem,
                              const RCShdPtr<SnItem const> &newItem) {
    checkItem(newItem);
    SnPlaceIndex &index = places();
    const std::size_t place = index.firstPlace(oldItem.get());
    if (place == SnPlaceIndex::npos) {
        return false;
    }
    const ObHints news = newsOfChange(); // first: a change is never left untold
    index.move(oldItem.get(), newItem.get(), place);
    items[place] = newItem;
    revision = nextRevision();
    tell(news);
    return true;
}

void SnSelection::replaceAllItems(const RCShdPtr<SnSelection const> &other) {
    auto taken(other->items); // copied first: other may be this selection
    const ObHints news = newsOfChange();
    items.swap(taken);
    changed();
    tell(news);
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

void SnSelection::changed() noexcept {
    revision = nextRevision();
    placeIndex.reset();
}

SnPlaceIndex &SnSelection::places() {
    if (!placeIndex) {
        placeIndex = std::make_unique<SnPlaceIndex>(items);
    }
    return *placeIndex;
}

void SnSelection::checkItem(const RCShdPtr<SnItem const> &item) {
    if (item.isNull()) {
        RCExUtil::throwExNullPtr(typeid(SnItem const *).name());
    }
}

// Allocated before the items change, so that a change always reaches the observers: with the
// hints allocated afterwards, running out of memory would leave a change no observer hears of.
ObHints SnSelection::newsOfChange() const {
    ObHints hints;
    if (subject.getNbObservers() != 0) { // no one to tell: spare the hint
        hints.add(RCShdPtr<ObHint>(new SnSelectionChangeHint(&subject)));
    }
    return hints;
}

void SnSelection::tell(const ObHints &news) {
    if (subject.getNbObservers() == 0) {
        return;
    }
    // An observer may let go of the last pointer to this selection while it is being notified.
    const RCShdPtr<SnSelection const> keepAlive(getRefCount() > 0 ? this : nullptr);
    subject.notify(news);
}

} // namespace Vo
