#include "SeSelectedKeys.h"

#include "SeShapeItems.h"
#include "SeShapeKeyIndex.h"

#include "foundation/RCWeakAccessor.h"

#include <iterator>
#include <stdexcept>

namespace Vo {

SeSelectedKeys::SeSelectedKeys(const SnSelection &read, const Vector<RCShdPtr<SeShape>> &shapes,
                               const Vector<RCWeakPtr<SeShapeInterface>> &interfaces)
    : selection(&read), revision(read.getRevision()) {
    auto item = read.begin();
    entries.reserve(shapes.size());
    for (std::size_t at = 0; at < shapes.size(); ++at, ++item) {
        if (shapes[at].isNull()) {
            continue; // gone before its key was read: no live shape is equal to it
        }
        if (const SeIdentityKey *promise = SeShapeKeyIndex::promiseOf(*shapes[at])) {
            entries.emplace(promise->getIdentityKey(), Entry{item->get(), interfaces[at]});
        } else {
            ++unpromised;
        }
    }
}

const SeSelectedKeys &SeSelectedKeys::of(std::unique_ptr<SeSelectedKeys> &cache,
                                         const SnSelection &selection, const Read &read) {
    if (cache && cache->selection == &selection && cache->revision == selection.getRevision()) {
        return *cache;
    }
    cache.reset();
    Vector<RCShdPtr<SeShape>> shapes;
    Vector<RCWeakPtr<SeShapeInterface>> interfaces;
    read(shapes, interfaces);
    cache.reset(new SeSelectedKeys(selection, shapes, interfaces));
    return *cache;
}

void SeSelectedKeys::follow(std::unique_ptr<SeSelectedKeys> &cache, const SnSelection &selection,
                            const SnSelectionChangeHint &change) noexcept {
    const auto &removed = change.getRemovedItems();
    const auto &added = change.getAddedItems();
    if (!cache || cache->selection != &selection || cache->revision != change.getRevisionBefore() ||
        change.isWhole() || removed.size() > 1 || added.size() > 1) {
        cache.reset(); // stale: read again when next needed
        return;
    }
    try {
        if (!removed.empty()) {
            cache->forget(removed.front());
        }
        if (!added.empty()) {
            cache->learn(added.front());
        }
        cache->revision = change.getRevisionAfter();
    } catch (...) {
        cache.reset();
    }
}

const SeIdentityKey *SeSelectedKeys::promiseOf(const RCShdPtr<SnItem const> &item) {
    const RCWeakAccessor<SeShapeInterface> access(SeShapeItems::asShapeItem(item).getData());
    const RCShdPtr<SeShape> model = access->getShape();
    return model.isNull() ? nullptr : SeShapeKeyIndex::promiseOf(*model);
}

void SeSelectedKeys::learn(const RCShdPtr<SnItem const> &item) {
    if (const SeIdentityKey *promise = promiseOf(item)) {
        entries.emplace(promise->getIdentityKey(),
                        Entry{item.get(), SeShapeItems::asShapeItem(item).getData()});
    } else {
        ++unpromised;
    }
}

void SeSelectedKeys::forget(const RCShdPtr<SnItem const> &item) {
    const SeIdentityKey *promise = promiseOf(item);
    if (promise == nullptr) {
        if (unpromised == 0) {
            throw std::logic_error("selected keys out of step"); // dropped by follow
        }
        --unpromised;
        return;
    }
    const auto range = entries.equal_range(promise->getIdentityKey());
    auto entry = range.first;
    while (entry != range.second && entry->second.item != item.get()) {
        ++entry;
    }
    if (entry == range.second) {
        throw std::logic_error("selected keys out of step"); // dropped by follow
    }
    entries.erase(entry);
}

SeSelectedKeys::Found SeSelectedKeys::findEqual(std::uint64_t key, const SeShape &shape) const {
    Found found;
    const auto range = entries.equal_range(key);
    for (auto entry = range.first; entry != range.second; ++entry) {
        const RCWeakAccessor<SeShapeInterface> access(entry->second.shape);
        const RCShdPtr<SeShape> selected = access->getShape();
        if (shape.isEqual(*selected)) {
            found.several = found.item != nullptr;
            found.item = entry->second.item;
            if (found.several) {
                break;
            }
        }
    }
    return found;
}

} // namespace Vo
