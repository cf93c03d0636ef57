#include "SeSelectedKeys.h"

#include "foundation/RCWeakAccessor.h"

#include <mutex>
#include <unordered_map>
#include <utility>

namespace Vo {

namespace {

using Table = std::unordered_map<const SeShapeSelector *, std::shared_ptr<const SeSelectedKeys>>;

// Never destroyed: selectors that outlive static destruction still unregister.
std::mutex &tableLock() {
    static auto *const lock = new std::mutex;
    return *lock;
}

Table &table() {
    static auto *const keys = new Table;
    return *keys;
}

} // namespace

SeSelectedKeys::SeSelectedKeys(const SnSelection &read, Vector<RCShdPtr<SeShape>> shapes,
                               Vector<RCWeakPtr<SeShapeInterface>> editingSides)
    : selection(&read), revision(read.getRevision()), interfaces(std::move(editingSides)),
      index(shapes) {}

std::shared_ptr<const SeSelectedKeys>
SeSelectedKeys::of(const SeShapeSelector &owner, const SnSelection &selection, const Read &read) {
    {
        const std::lock_guard<std::mutex> hold(tableLock());
        const auto found = table().find(&owner);
        if (found != table().end() && found->second->selection == &selection &&
            found->second->revision == selection.getRevision()) {
            return found->second;
        }
    }
    // Read unlocked: the application's code runs meanwhile.
    Vector<RCShdPtr<SeShape>> shapes;
    Vector<RCWeakPtr<SeShapeInterface>> interfaces;
    read(shapes, interfaces);
    std::shared_ptr<const SeSelectedKeys> keys(
        new SeSelectedKeys(selection, std::move(shapes), std::move(interfaces)));
    const std::lock_guard<std::mutex> hold(tableLock());
    table()[&owner] = keys;
    return keys;
}

void SeSelectedKeys::forget(const SeShapeSelector &owner) noexcept {
    std::shared_ptr<const SeSelectedKeys> dropped; // released after the lock
    const std::lock_guard<std::mutex> hold(tableLock());
    const auto found = table().find(&owner);
    if (found != table().end()) {
        dropped = std::move(found->second);
        table().erase(found);
    }
}

bool SeSelectedKeys::containsEqual(std::uint64_t key, const SeShape &shape) const {
    return index.anyWithKey(key, [&](std::size_t position) {
        const RCWeakAccessor<SeShapeInterface> access(interfaces[position]);
        const RCShdPtr<SeShape> selected = access->getShape();
        return shape.isEqual(*selected);
    });
}

} // namespace Vo
