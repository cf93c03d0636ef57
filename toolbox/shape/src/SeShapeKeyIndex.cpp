#include "SeShapeKeyIndex.h"

namespace Vo {

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
