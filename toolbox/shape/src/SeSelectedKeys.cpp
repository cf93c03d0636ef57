#include "SeSelectedKeys.h"

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
                            std::uint64_t before, const SnItem *removed, const SnItem *added,
                            const RCWeakPtr<SeShapeInterface> &shape) noexcept {
    if (!cache || cache->selection != &selection || cache->revision != before) {
        cache.reset(); // stale: read again when next needed
        return;
    }
    try {
        cache->patch(removed, added, shape);
        cache->revision = selection.getRevision();
    } catch (...) {
        cache.reset();
    }
}

void SeSelectedKeys::patch(const SnItem *removed, const SnItem *added,
                           const RCWeakPtr<SeShapeInterface> &shape) {
    const RCWeakAccessor<SeShapeInterface> access(shape);
    const RCShdPtr<SeShape> model = access->getShape();
    const SeIdentityKey *promise = model.isNull() ? nullptr : SeShapeKeyIndex::promiseOf(*model);
    if (promise == nullptr) {
        if (removed != nullptr && unpromised == 0) {
            throw std::logic_error("selected keys out of step"); // dropped by follow
        }
        unpromised = unpromised + (added != nullptr ? 1 : 0) - (removed != nullptr ? 1 : 0);
        return;
    }
    const std::uint64_t key = promise->getIdentityKey();
    if (removed == nullptr) {
        entries.emplace(key, Entry{added, shape});
        return;
    }
    const auto range = entries.equal_range(key);
    auto entry = range.first;
    while (entry != range.second && entry->second.item != removed) {
        ++entry;
    }
    if (entry == range.second) {
        throw std::logic_error("selected keys out of step"); // dropped by follow
    }
    if (added == nullptr) {
        entries.erase(entry);
    } else {
        entry->second.item = added;
    }
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
