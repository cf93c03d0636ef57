#include "host/selection/SnSelection.h"

#include "SnPlaceIndex.h"
#include "base/RCExInvalidCall.h"
#include "base/RCExUtil.h"
#include "foundation/RelocatingSplice.h"
#include "host/ObHints.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <iterator>
#include <string>
#include <typeinfo>
#include <utility>

namespace Vo {

namespace {

// Held by more than the splice that made it and the hints it was told in: an observer kept it.
bool isKept(const SnSelectionChangeHint &hint) noexcept { return hint.getRefCount() > 2; }

// A copy of the items with the room a whole list is given.
template <class It> Vector<RCShdPtr<SnItem const>> copyWithRoom(It first, It last) {
    Vector<RCShdPtr<SnItem const>> copy;
    copy.reserve(SnSelection::roomFor(static_cast<std::size_t>(std::distance(first, last))));
    copy.insert(copy.end(), first, last);
    return copy;
}

// One slice per item.
SnSelection::Slices singlesOf(const Vector<RCShdPtr<SnItem const>> &items) {
    SnSelection::Slices singles;
    singles.reserve(items.size());
    for (const RCShdPtr<SnItem const> &item : items) {
        singles.emplace_back(item);
    }
    return singles;
}

// The part of `slice`, which starts at `offset` of its list, that lies in [low, high), if any.
void cut(const SnItemSlice &slice, std::size_t offset, std::size_t low, std::size_t high,
         SnSelection::Slices &into) {
    const std::size_t first = std::max(low, offset);
    const std::size_t last = std::min(high, offset + slice.size());
    if (first < last) {
        into.push_back(first == offset && last == offset + slice.size()
                           ? slice
                           : slice.part(first - offset, last - first));
    }
}

// Walks a selection's items piece by piece: its slices, or its items one by one.
class PieceWalk {
public:
    PieceWalk(const SnSelection::Slices *slices, const Vector<RCShdPtr<SnItem const>> *items,
              std::size_t start) noexcept
        : slices(slices), items(items) {
        skip(start);
    }
    // The items left in the current piece.
    std::size_t left() const noexcept {
        return slices == nullptr ? 1 : (*slices)[piece].size() - offset;
    }
    // The current piece when it is a run; null otherwise.
    const SnItemSlice *run() const noexcept {
        return slices != nullptr && (*slices)[piece].isRun() ? &(*slices)[piece] : nullptr;
    }
    std::size_t runPlace() const noexcept { return (*slices)[piece].getFirst() + offset; }
    // Item i of the current piece, from where the walk stands in it.
    const RCShdPtr<SnItem const> &item(std::size_t i) const {
        return slices == nullptr ? (*items)[piece] : (*slices)[piece].at(offset + i);
    }
    void skip(std::size_t count) noexcept {
        if (slices == nullptr) {
            piece += count;
            return;
        }
        offset += count;
        while (piece < slices->size() && offset >= (*slices)[piece].size()) {
            offset -= (*slices)[piece].size();
            ++piece;
        }
    }

private:
    const SnSelection::Slices *slices;
    const Vector<RCShdPtr<SnItem const>> *items;
    std::size_t piece = 0;
    std::size_t offset = 0;
};

// Whether the next `count` items of both walks are equal one by one; runs of rows that can tell
// are not made.
bool equalWalks(PieceWalk a, PieceWalk b, std::size_t count) {
    while (count > 0) {
        const std::size_t n = std::min({a.left(), b.left(), count});
        const SnItemSlice *runA = a.run();
        const SnItemSlice *runB = b.run();
        const bool same = runA != nullptr && runB != nullptr &&
                          runA->getSource()->isSameRun(*runB->getSource(), a.runPlace(),
                                                       b.runPlace(), n);
        for (std::size_t i = 0; !same && i < n; ++i) {
            const RCShdPtr<SnItem const> &x = a.item(i);
            const RCShdPtr<SnItem const> &y = b.item(i);
            if (x != y && !x->isEqual(*y)) {
                return false;
            }
        }
        a.skip(n);
        b.skip(n);
        count -= n;
    }
    return true;
}

std::size_t itemsIn(const SnSelection::Slices &slices) noexcept {
    std::size_t count = 0;
    for (const SnItemSlice &slice : slices) {
        count += slice.size();
    }
    return count;
}

} // namespace

std::size_t SnSelection::roomFor(std::size_t size) noexcept { return size + size / 8; }

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
    items = copyWithRoom(initial.begin(), initial.end());
}

SnSelection::SnSelection(Vector<RCShdPtr<SnItem const>> &&initial) : revision(nextRevision()) {
    std::for_each(initial.begin(), initial.end(), &SnSelection::checkItem);
    items = std::move(initial);
}

SnSelection::~SnSelection() noexcept = default;

SnSelection *SnSelection::clone() const {
    std::unique_ptr<SnSelection> copy(new SnSelection());
    if (sliced) {
        copy->slices = slices;
        copy->sliced = true;
        copy->slicedCount = slicedCount;
    } else {
        copy->items = copyWithRoom(items.begin(), items.end());
    }
    return copy.release();
}

bool SnSelection::isEqual(const RCShdPtr<SnSelection const> &other) const {
    const auto &otherItems = other->items;
    if (other.get() == this) {
        return true;
    }
    if (getNbItems() != other->getNbItems()) {
        return false;
    }
    if (sliced || other->sliced) {
        return equalWalks(PieceWalk(sliced ? &slices : nullptr, &items, 0),
                          PieceWalk(other->sliced ? &other->slices : nullptr, &otherItems, 0),
                          static_cast<std::size_t>(getNbItems()));
    }
    return std::equal(items.begin(), items.end(), otherItems.begin(),
                      [](const RCShdPtr<SnItem const> &a, const RCShdPtr<SnItem const> &b) {
                          return a == b || a->isEqual(*b);
                      });
}

bool SnSelection::isRangeEqual(int position, int count, const Slices &other) const {
    checkRange(position, count);
    if (itemsIn(other) != static_cast<std::size_t>(count)) {
        return false;
    }
    return equalWalks(PieceWalk(sliced ? &slices : nullptr, &items, static_cast<std::size_t>(position)),
                      PieceWalk(&other, nullptr, 0), static_cast<std::size_t>(count));
}

void SnSelection::addItem(const RCShdPtr<SnItem const> &item) {
    checkItem(item);
    settleLent();
    if (sliced) {
        slices.emplace_back(item);
        ++slicedCount;
    } else {
        items.push_back(item);
    }
    changed();
}

bool SnSelection::replaceItem(const RCShdPtr<SnItem const> &oldItem,
                              const RCShdPtr<SnItem const> &newItem) {
    checkItem(newItem);
    makeItems();
    // The primary item is found without the index: editors replace it most.
    const bool primary = !items.empty() && items.front().get() == oldItem.get();
    const std::size_t place = primary ? 0 : places().firstPlace(oldItem.get());
    if (place == SnPlaceIndex::npos) {
        return false;
    }
    settleLent();
    const std::uint64_t after = nextRevision();
    const ObHints news = newsOfSplice(after, place, 1, {newItem}); // first: never left untold
    if (placeIndex) {
        placeIndex->move(oldItem.get(), newItem.get(), place);
    }
    items[place] = newItem;
    revision = after;
    tell(news);
    return true;
}

void SnSelection::replaceAllItems(const RCShdPtr<SnSelection const> &other) {
    if (other->sliced) {
        replaceAllBySlices(*other);
        return;
    }
    const Vector<RCShdPtr<SnItem const>> &source = other->items; // other may be this selection
    replaceAllBy([&] { return copyWithRoom(source.begin(), source.end()); });
}

void SnSelection::replaceAllItems(RCShdPtr<SnSelection const> &&other) {
    // Plain selections on both sides: a derived class's own replaceAllItems still runs.
    const SnSelection *const source = other.get();
    const bool takeable = other.isUnique() && typeid(*this) == typeid(SnSelection) &&
                          typeid(*source) == typeid(SnSelection) &&
                          source->subject.getNbObservers() == 0 && source->lentTo == nullptr &&
                          !source->sliced;
    if (!takeable) {
        replaceAllItems(static_cast<const RCShdPtr<SnSelection const> &>(other));
        return;
    }
    // Its only holder hands it over, and it goes as its items move out: no one sees it emptied.
    replaceAllBy([&] {
        Vector<RCShdPtr<SnItem const>> taken = std::move(const_cast<SnSelection *>(source)->items);
        other = nullptr;
        return taken;
    });
}

template <class Take> void SnSelection::replaceAllBy(Take take) {
    settleLent();
    const std::uint64_t after = nextRevision();
    const ObHints news = newsOfChange(after);
    Vector<RCShdPtr<SnItem const>> taken = take();
    items.swap(taken);
    slices.clear();
    sliced = false;
    revision = after;
    placeIndex.reset();
    tell(news);
}

void SnSelection::replaceAllBySlices(const SnSelection &other) {
    settleLent();
    const std::uint64_t after = nextRevision();
    const ObHints news = newsOfChange(after);
    Slices copy = other.slices; // other may be this selection
    slicedCount = other.slicedCount;
    slices.swap(copy);
    sliced = true;
    items.clear();
    revision = after;
    placeIndex.reset();
    tell(news);
}

void SnSelection::insertItem(int position, const RCShdPtr<SnItem const> &item) {
    checkItem(item);
    if (position < 0 || position > getNbItems()) {
        throw RCExInvalidCall("cannot insert an item at place " + std::to_string(position) +
                              " of a selection of " + std::to_string(items.size()) + " items");
    }
    splice(static_cast<std::size_t>(position), 0, {item});
}

// Without an index, the first occurrence is looked for from the front: a few instructions an item,
// cheaper than building the index for one look-up. One found near the end builds the index, which
// the changes at the end keep: removals there tend to follow one another (an item added, then taken
// out again).
bool SnSelection::removeItem(const RCShdPtr<SnItem const> &item) {
    makeItems();
    std::size_t place = SnPlaceIndex::npos;
    if (placeIndex) {
        place = placeIndex->firstPlace(item.get());
    } else {
        const auto found = std::find_if(items.begin(), items.end(),
                                        [&](const auto &held) { return held.get() == item.get(); });
        place = found == items.end() ? SnPlaceIndex::npos
                                     : static_cast<std::size_t>(found - items.begin());
        if (place != SnPlaceIndex::npos && place >= items.size() - items.size() / 8) {
            places();
        }
    }
    if (place == SnPlaceIndex::npos) {
        return false;
    }
    splice(place, 1, {});
    return true;
}

void SnSelection::checkRange(int position, int count) const {
    if (position < 0 || count < 0 || position > getNbItems() - count) {
        throw RCExInvalidCall("cannot replace " + std::to_string(count) + " items from place " +
                              std::to_string(position) + " of a selection of " +
                              std::to_string(getNbItems()) + " items");
    }
}

void SnSelection::replaceRange(int position, int count,
                               Vector<RCShdPtr<SnItem const>> &&replacement) {
    checkRange(position, count);
    std::for_each(replacement.begin(), replacement.end(), &SnSelection::checkItem);
    if (count == 0 && replacement.empty()) {
        return;
    }
    splice(static_cast<std::size_t>(position), static_cast<std::size_t>(count),
           std::move(replacement));
}

void SnSelection::replaceRange(int position, int count,
                               const Vector<RCShdPtr<SnItem const>> &replacement) {
    replaceRange(position, count, Vector<RCShdPtr<SnItem const>>(replacement));
}

void SnSelection::replaceRangeBySlices(int position, int count, const Slices &replacement) {
    checkRange(position, count);
    Slices added;
    added.reserve(replacement.size());
    for (const SnItemSlice &slice : replacement) {
        if (!slice.isRun()) {
            checkItem(slice.at(0));
        }
        if (slice.size() != 0) {
            added.push_back(slice);
        }
    }
    if (count == 0 && added.empty()) {
        return;
    }
    spliceSlices(static_cast<std::size_t>(position), static_cast<std::size_t>(count),
                 std::move(added));
}

// The list's slices are cut around the splice (a run in two parts at most), so the splice costs
// O(slices) and makes no item. Everything that allocates comes before anything changes.
void SnSelection::spliceSlices(std::size_t at, std::size_t count, Slices added) {
    settleLent();
    const std::uint64_t after = nextRevision();
    const Slices own = sliced ? Slices() : singlesOf(items);
    const Slices &from = sliced ? slices : own;
    Slices result;
    result.reserve(from.size() + added.size() + 1);
    Slices gone;
    std::size_t offset = 0;
    for (const SnItemSlice &slice : from) {
        cut(slice, offset, 0, at, result);
        offset += slice.size();
    }
    result.insert(result.end(), added.begin(), added.end());
    offset = 0;
    for (const SnItemSlice &slice : from) {
        cut(slice, offset, at, at + count, gone);
        cut(slice, offset, at + count, offset + slice.size(), result);
        offset += slice.size();
    }
    const std::size_t size = offset - count + itemsIn(added);
    ObHints news;
    if (subject.getNbObservers() != 0) {
        news.add(SnSelectionChangeHint::ofSlices(&subject, revision, after, static_cast<int>(at),
                                                 std::move(gone), std::move(added)));
    }
    slices.swap(result);
    sliced = true;
    slicedCount = size;
    items.clear();
    placeIndex.reset();
    revision = after;
    tell(news);
}

// Everything that allocates (the hint, the room) comes before the first item moves. The removed
// items move into the hint and the added ones are lent to it from this list: a splice of n items
// copies none.
void SnSelection::splice(std::size_t at, std::size_t count,
                         Vector<RCShdPtr<SnItem const>> &&added) {
    if (sliced) {
        Slices singles = singlesOf(added);
        spliceSlices(at, count, std::move(singles));
        added.clear();
        return;
    }
    settleLent();
    const std::uint64_t after = nextRevision();
    RCShdPtr<SnSelectionChangeHint> hint;
    ObHints news;
    Vector<RCShdPtr<SnItem const>> gone;
    if (subject.getNbObservers() != 0) {
        hint = RCShdPtr<SnSelectionChangeHint>(
            new SnSelectionChangeHint(&subject, revision, after, static_cast<int>(at), {}, {}));
        news.add(hint);
        gone.swap(removedRoom);
        gone.reserve(count);
    }
    const std::size_t size = items.size() - count + added.size();
    // A list larger than this one's room takes the items around it instead, and this list's
    // room goes back to the caller: a first selection of 10^6 items takes no second room.
    const bool adopt = size > items.capacity() && size <= added.capacity();
    if (!adopt && size > items.capacity()) {
        items.reserve(std::max(size, roomFor(items.size())));
    }
    placesAfterSplice(at, count, added);
    const auto first = items.begin() + static_cast<std::ptrdiff_t>(at);
    const auto last = first + static_cast<std::ptrdiff_t>(count);
    if (!hint.isNull()) {
        std::move(first, last, std::back_inserter(gone));
    }
    const std::size_t addedCount = added.size();
    if (adopt) {
        added.insert(added.begin(), std::make_move_iterator(items.begin()),
                     std::make_move_iterator(first));
        added.insert(added.end(), std::make_move_iterator(last),
                     std::make_move_iterator(items.end()));
        items.swap(added);
    } else {
        replaceRelocating(items, at, count, std::make_move_iterator(added.begin()),
                          std::make_move_iterator(added.end()));
    }
    added.clear(); // only moved-from pointers: the caller keeps the room
    revision = after;
    if (!hint.isNull()) {
        hint->lendAdded(SnItemRun(items.data() + at, addedCount, &revision), std::move(gone));
        tellLending(news, *hint);
        if (!isKept(*hint)) {
            removedRoom = hint->takeBackRemoved();
            removedRoom.clear(); // the removed items go, as they would with the hint
        }
    }
}

// The hint borrows this list's items while the observers are told; one that an observer keeps
// gets its own copy once they have been.
void SnSelection::tellLending(const ObHints &news, SnSelectionChangeHint &hint) {
    lentTo = &hint;
    try {
        tell(news);
    } catch (...) {
        endLending(hint);
        throw;
    }
    endLending(hint);
}

void SnSelection::endLending(SnSelectionChangeHint &hint) {
    if (lentTo != &hint) {
        return; // a later change took the copy already
    }
    lentTo = nullptr;
    if (isKept(hint)) {
        hint.keepAdded();
    }
}

void SnSelection::settleLent() {
    if (lentTo != nullptr) {
        lentTo->keepAdded();
        lentTo = nullptr;
    }
}

void SnSelection::placesAfterSplice(std::size_t at, std::size_t count,
                                    const Vector<RCShdPtr<SnItem const>> &added) noexcept {
    if (!placeIndex) {
        return;
    }
    try {
        if (count == 0 && at == items.size()) { // appended: the places before stay
            for (std::size_t i = 0; i < added.size(); ++i) {
                placeIndex->addPlace(added[i].get(), at + i);
            }
            return;
        }
        const SnItem *last = items.back().get();
        if (count == 1 && added.empty() && at + 1 == items.size() &&
            placeIndex->firstPlace(last) == at) {
            placeIndex->dropFirstPlace(last);
            return;
        }
    } catch (...) { // NOLINT(bugprone-empty-catch): dropped below, rebuilt when next needed
    }
    placeIndex.reset();
}

int SnSelection::getNbItems() const {
    return static_cast<int>(sliced ? slicedCount : items.size());
}

bool SnSelection::isEmpty() const { return getNbItems() == 0; }

const RCShdPtr<SnItem const> &SnSelection::getPrimaryItem() const {
    static const RCShdPtr<SnItem const> none;
    if (sliced) {
        return slices.empty() ? none : slices.front().at(0);
    }
    return items.empty() ? none : items.front();
}

void SnSelection::makeItems() const {
    if (!sliced) {
        return;
    }
    Vector<RCShdPtr<SnItem const>> made;
    made.reserve(roomFor(slicedCount));
    for (const SnItemSlice &slice : slices) {
        for (std::size_t i = 0; i < slice.size(); ++i) {
            made.push_back(slice.at(i));
        }
    }
    items.swap(made);
    slices.clear();
    sliced = false;
}

RCShdPtr<SnSelection>
SnSelection::filter(const PrdPredicate<RCShdPtr<SnItem const>> &predicate) const {
    makeItems();
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
ObHints SnSelection::newsOfChange(std::uint64_t after) const {
    ObHints hints;
    if (subject.getNbObservers() != 0) { // no one to tell: spare the hint
        hints.add(RCShdPtr<ObHint>(new SnSelectionChangeHint(&subject, revision, after)));
    }
    return hints;
}

ObHints SnSelection::newsOfSplice(std::uint64_t after, std::size_t at, std::size_t count,
                                  const Vector<RCShdPtr<SnItem const>> &added) const {
    ObHints hints;
    if (subject.getNbObservers() != 0) {
        const auto first = items.begin() + static_cast<std::ptrdiff_t>(at);
        hints.add(RCShdPtr<ObHint>(new SnSelectionChangeHint(
            &subject, revision, after, static_cast<int>(at),
            SnSelectionChangeHint::ItemList(first, first + static_cast<std::ptrdiff_t>(count)),
            added)));
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
