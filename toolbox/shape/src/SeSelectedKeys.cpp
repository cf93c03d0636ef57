#include "SeSelectedKeys.h"

#include "SeShapeItem.h"
#include "SeShapeItems.h"
#include "SeShapeKeyIndex.h"

#include "foundation/RCWeakAccessor.h"

#include <stdexcept>
#include <utility>

namespace Vo {

namespace {

// How far ahead of the entry being made the tables' cells are asked for: at 10^5 shapes the
// tables are larger than the cache, and a miss per entry was most of a whole build.
constexpr std::size_t kAhead = 8;

// Every item the tables hold passed SeShapeItems::asShapeItem when it came in.
const RCWeakPtr<SeShapeInterface> &editingSideOf(const SnItem *item) noexcept {
    return static_cast<const SeShapeItem *>(item)->getData();
}

} // namespace

SeSelectedKeys::SeSelectedKeys(const SnSelection &read)
    : selection(&read), revision(read.getRevision()) {}

SeSelectedKeys::Known SeSelectedKeys::read(const SeShape *shape, std::size_t place) noexcept {
    Known known;
    known.place = static_cast<std::uint32_t>(place);
    if (shape == nullptr) {
        return known; // gone before its key was read: no live shape is equal to it
    }
    const SeIdentityKey *promise = SeShapeKeyIndex::promiseOf(*shape);
    known.kind = promise == nullptr ? Kind::unpromised : Kind::promised;
    known.key = promise == nullptr ? 0 : promise->getIdentityKey();
    return known;
}

SeSelectedKeys::Known SeSelectedKeys::readItem(const RCShdPtr<SnItem const> &item,
                                               std::size_t place) {
    const RCWeakAccessor<SeShapeInterface> access(SeShapeItems::asShapeItem(item).getData());
    if (access.isNull()) {
        return read(nullptr, place);
    }
    const RCShdPtr<SeShape> shape = access->getShape();
    return read(shape.get(), place);
}

std::uint64_t SeSelectedKeys::stored(std::uint64_t key) noexcept {
    return key == kFreeKey ? kFreeKey - 1 : key;
}

void SeSelectedKeys::add(const SnItem *item, const SeShape *shape) {
    pending.emplace_back(item, read(shape, pending.size()));
}

void SeSelectedKeys::finish() {
    items.reserve(items.size() + pending.size());
    byKey.reserve(byKey.size() + pending.size());
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (i + kAhead < pending.size()) {
            const auto &ahead = pending[i + kAhead];
            items.prefetch(ahead.first);
            byKey.prefetch(stored(ahead.second.key));
        }
        enter(pending[i].first, pending[i].second);
    }
    std::vector<std::pair<const SnItem *, Known>>().swap(pending);
}

// A second copy of an item object counts as the first did; its place stays the first one's.
void SeSelectedKeys::enter(const SnItem *item, const Known &known) {
    Known &cell = items.findOrInsert(item);
    if (cell.copies == 0) {
        cell = known;
    }
    ++cell.copies;
    if (cell.kind == Kind::promised) {
        byKey.insertAnother(stored(cell.key), item);
    } else if (cell.kind == Kind::unpromised) {
        ++unpromised;
    }
}

void SeSelectedKeys::forget(const RCShdPtr<SnItem const> &item) {
    Known *cell = items.find(item.get());
    if (cell == nullptr) {
        throw std::logic_error("selected keys out of step"); // dropped by follow
    }
    const Known known = *cell;
    if (--cell->copies == 0) {
        items.erase(item.get());
    }
    if (known.kind == Kind::unpromised) {
        --unpromised;
    } else if (known.kind == Kind::promised &&
               !byKey.eraseFirstWith(stored(known.key),
                                     [&](const SnItem *held) { return held == item.get(); })) {
        throw std::logic_error("selected keys out of step");
    }
}

const SeSelectedKeys &SeSelectedKeys::of(std::unique_ptr<SeSelectedKeys> &cache,
                                         const SnSelection &selection) {
    if (isCurrent(cache, selection)) {
        return *cache;
    }
    cache.reset();
    std::unique_ptr<SeSelectedKeys> built(new SeSelectedKeys(selection));
    built->pending.reserve(static_cast<std::size_t>(selection.getNbItems()));
    for (const RCShdPtr<SnItem const> &item : selection) {
        built->pending.emplace_back(item.get(), readItem(item, built->pending.size()));
    }
    built->finish();
    cache = std::move(built);
    return *cache;
}

bool SeSelectedKeys::isCurrent(const std::unique_ptr<SeSelectedKeys> &cache,
                               const SnSelection &selection) noexcept {
    return cache && cache->selection == &selection && cache->revision == selection.getRevision();
}

void SeSelectedKeys::follow(std::unique_ptr<SeSelectedKeys> &cache, const SnSelection &selection,
                            const SnSelectionChangeHint &change) noexcept {
    // A table that is no use (a selected shape makes no promise) is not kept up: a change of the
    // whole list, or one the table did not see, leaves it stale too.
    if (!cache || cache->selection != &selection || !cache->isUsable() ||
        cache->revision != change.getRevisionBefore() || change.isWhole()) {
        cache.reset(); // read again when next needed
        return;
    }
    try {
        cache->followSplice(change);
        cache->revision = change.getRevisionAfter();
    } catch (...) {
        cache.reset();
    }
}

// The items after the splice keep the places they had: a place is a hint, checked where it is used.
// An item that takes the place of one of the same shape (other parts) takes its key over, with no
// shape read.
void SeSelectedKeys::followSplice(const SnSelectionChangeHint &change) {
    const SnItemRun removed = change.getRemovedItems();
    const SnItemRun added = change.getAddedItems();
    const auto position = static_cast<std::size_t>(change.getPosition());
    if (removed.size() == 1 && added.size() == 1 &&
        editingSideOf(removed.front().get()) ==
            SeShapeItems::asShapeItem(added.front()).getData()) {
        const Known *was = items.find(removed.front().get());
        Known known = was != nullptr ? *was : Known();
        forget(removed.front()); // raises when there was none
        known.place = static_cast<std::uint32_t>(position);
        known.copies = 0;
        pending.emplace_back(added.front().get(), known);
    } else {
        for (const RCShdPtr<SnItem const> &item : removed) {
            forget(item);
        }
        pending.reserve(added.size());
        for (std::size_t i = 0; i < added.size(); ++i) {
            pending.emplace_back(added[i].get(), readItem(added[i], position + i));
        }
    }
    finish();
}

SeSelectedKeys::Found SeSelectedKeys::findEqual(std::uint64_t key, const SeShape &shape) const {
    Found found;
    const bool folded = key >= kFreeKey - 1; // two keys share the cells of the lower one
    byKey.anyWith(stored(key), [&](const SnItem *item) {
        if (folded && items.find(item)->key != key) {
            return false;
        }
        const RCWeakAccessor<SeShapeInterface> access(editingSideOf(item));
        const RCShdPtr<SeShape> selected = access->getShape();
        if (!shape.isEqual(*selected)) {
            return false;
        }
        found.several = found.item != nullptr;
        found.item = item;
        return found.several;
    });
    if (found.item != nullptr && !found.several) {
        found.place = items.find(found.item)->place;
    }
    return found;
}

} // namespace Vo
