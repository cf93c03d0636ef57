#include "SeShapeKeyIndex.h"

namespace Vo {

const SeIdentityKey *SeShapeKeyIndex::promiseOf(const SeShape &shape) noexcept {
    std::uintptr_t known = shape.promise.load(std::memory_order_relaxed);
    if (known == 0) {
        // Every thread that looks finds the same address, so a relaxed store is enough.
        const auto *found = dynamic_cast<const SeIdentityKey *>(&shape);
        known = found == nullptr ? SeShape::kNoPromise : reinterpret_cast<std::uintptr_t>(found);
        shape.promise.store(known, std::memory_order_relaxed);
    }
    return known == SeShape::kNoPromise ? nullptr : reinterpret_cast<const SeIdentityKey *>(known);
}

SeShapeKeyIndex::SeShapeKeyIndex(const Vector<RCShdPtr<SeShape>> &shapes) {
    positions.reserve(shapes.size());
    for (std::size_t position = 0; position < shapes.size(); ++position) {
        const SeIdentityKey *promise =
            shapes[position].isNull() ? nullptr : promiseOf(*shapes[position]);
        if (promise == nullptr) {
            usable = false;
            positions.clear();
            return;
        }
        positions.emplace(promise->getIdentityKey(), position);
    }
}

} // namespace Vo
