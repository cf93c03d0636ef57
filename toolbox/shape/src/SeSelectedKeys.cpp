#include "SeSelectedKeys.h"

#include "SeShapeItem.h"
#include "SeShapeItems.h"
#include "SeShapeKeyIndex.h"

#include "foundation/RCWeakAccessor.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace Vo {

namespace {

// How far ahead of the entry being made the table's cells are asked for: at 10^5 shapes the table
// is larger than the cache, and a miss per entry was most of a whole build.
constexpr std::size_t kAhead = 8;

// Every item the table holds passed SeShapeItems::asShapeItem when it came in.
const RCWeakPtr<SeShapeInterface> &editingSideOf(const SnItem *item) noexcept {
    return static_cast<const SeShapeItem *>(item)->getData();
}

} // namespace

SeSelectedKeys::SeSelectedKeys(const SnSelection &read) noexcept
    : selection(&read), revision(read.getRevision()) {}

std::unique_ptr<SeSelectedKeys> SeSelectedKeys::toFill(std::unique_ptr<SeSelectedKeys> &cache,
                                                       const SnSelection &selection) {
    std::unique_ptr<SeSelectedKeys> keys = std::move(cache);
    if (!keys) {
        keys.reset(new SeSelectedKeys(selection));
    }
    keys->restart(selection);
    return keys;
}

// A room much larger than the selection now needs goes back, as the table's cells do.
void SeSelectedKeys::restart(const SnSelection &read) {
    const auto size = static_cast<std::size_t>(read.getNbItems());
    selection = &read;
    revision = read.getRevision();
    unpromised = 0;
    leftGone.clear();
    if (pending.capacity() > 4 * size + kAhead) {
        std::vector<Pending>().swap(pending);
    }
    pending.clear();
    byKey.clearFor(size);
    pending.reserve(size);
}

void SeSelectedKeys::retire() noexcept {
    selection = nullptr;
    leftGone.clear();
}

SeSelectedKeys::Read SeSelectedKeys::read(const SeShape *shape) noexcept {
    Read known;
    if (shape == nullptr) {
        return known; // gone: no live shape is equal to it
    }
    const SeIdentityKey *promise = SeShapeKeyIndex::promiseOf(*shape);
    known.kind = promise == nullptr ? Kind::unpromised : Kind::promised;
    known.key = promise == nullptr ? 0 : promise->getIdentityKey();
    return known;
}

SeSelectedKeys::Read SeSelectedKeys::readItem(const RCShdPtr<SnItem const> &item) {
    const RCWeakAccessor<SeShapeInterface> access(SeShapeItems::asShapeItem(item).getData());
    if (access.isNull()) {
        return read(nullptr);
    }
    const RCShdPtr<SeShape> shape = access->getShape();
    return read(shape.get());
}

std::uint64_t SeSelectedKeys::stored(std::uint64_t key) noexcept {
    return key == kFreeKey ? kFreeKey - 1 : key;
}

bool SeSelectedKeys::add(const SnItem *item, const SeShape *shape) {
    pending.push_back(Pending{item, read(shape), pending.size()});
    return pending.back().read.kind != Kind::unpromised;
}

// The cells were sized for the whole selection when the fill began (restart).
void SeSelectedKeys::finish() {
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (i + kAhead < pending.size()) {
            byKey.prefetch(stored(pending[i + kAhead].read.key));
        }
        enter(pending[i]);
    }
    pending.clear();
}

void SeSelectedKeys::enter(const Pending &coming) {
    if (coming.read.kind == Kind::promised) {
        byKey.insertAnother(stored(coming.read.key),
                            Entry{coming.item, static_cast<std::uint32_t>(coming.place),
                                  coming.read.key == kFreeKey});
    } else if (coming.read.kind == Kind::unpromised) {
        ++unpromised;
    }
}

// An item whose shape is gone leaves its entry, if it has one, under a key that can no longer be
// read: the item is held instead, and its entry passed over.
void SeSelectedKeys::forget(const RCShdPtr<SnItem const> &item, const Read &known) {
    const bool found =
        known.kind == Kind::gone || (known.kind == Kind::unpromised && unpromised > 0) ||
        (known.kind == Kind::promised &&
         byKey.eraseFirstWith(stored(known.key),
                              [&](const Entry &entry) { return entry.item == item.get(); }));
    if (!found) {
        throw std::logic_error("selected keys out of step"); // dropped by follow
    }
    if (known.kind == Kind::gone) {
        leftGone.push_back(item);
    } else if (known.kind == Kind::unpromised) {
        --unpromised;
    }
}

bool SeSelectedKeys::leftGoneHolds(const SnItem *item) const noexcept {
    return std::any_of(leftGone.begin(), leftGone.end(),
                       [item](const RCShdPtr<SnItem const> &held) { return held.get() == item; });
}

const SeSelectedKeys &SeSelectedKeys::of(std::unique_ptr<SeSelectedKeys> &cache,
                                         const SnSelection &selection) {
    if (isCurrent(cache, selection)) {
        return *cache;
    }
    std::unique_ptr<SeSelectedKeys> built = toFill(cache, selection);
    for (const RCShdPtr<SnItem const> &item : selection) {
        built->pending.push_back(Pending{item.get(), readItem(item), built->pending.size()});
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
        if (cache) {
            cache->retire(); // read again when next needed
        }
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
// An item that takes the place of one of the same shape (other parts) has its key read once.
void SeSelectedKeys::followSplice(const SnSelectionChangeHint &change) {
    const SnItemRun removed = change.getRemovedItems();
    const SnItemRun added = change.getAddedItems();
    const auto position = static_cast<std::size_t>(change.getPosition());
    if (removed.size() == 1 && added.size() == 1 &&
        editingSideOf(removed.front().get()) ==
            SeShapeItems::asShapeItem(added.front()).getData()) {
        const Read known = readItem(removed.front());
        forget(removed.front(), known);
        pending.push_back(Pending{added.front().get(), known, position});
    } else {
        for (const RCShdPtr<SnItem const> &item : removed) {
            forget(item, readItem(item));
        }
        pending.reserve(added.size());
        for (std::size_t i = 0; i < added.size(); ++i) {
            pending.push_back(Pending{added[i].get(), readItem(added[i]), position + i});
        }
    }
    finish();
}

SeSelectedKeys::Found SeSelectedKeys::findEqual(std::uint64_t key, const SeShape &shape) const {
    Found found;
    byKey.anyWith(stored(key), [&](const Entry &entry) {
        if (entry.highest != (key == kFreeKey)) {
            return false; // the other key of the shared cells
        }
        const RCWeakAccessor<SeShapeInterface> access(editingSideOf(entry.item));
        if (access.isNull() && leftGoneHolds(entry.item)) {
            return false;
        }
        const RCShdPtr<SeShape> selected = access->getShape();
        if (!shape.isEqual(*selected)) {
            return false;
        }
        found.several = found.item != nullptr;
        found.item = entry.item;
        found.place = entry.place;
        return found.several;
    });
    return found;
}

} // namespace Vo
