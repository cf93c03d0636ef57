#include "SeSelectedKeys.h"

#include "foundation/RCWeakAccessor.h"

#include <utility>

namespace Vo {

SeSelectedKeys::SeSelectedKeys(const SnSelection &read, Vector<RCShdPtr<SeShape>> shapes,
                               Vector<RCWeakPtr<SeShapeInterface>> editingSides)
    : selection(&read), revision(read.getRevision()), interfaces(std::move(editingSides)),
      index(shapes) {}

const SeSelectedKeys &SeSelectedKeys::of(std::unique_ptr<const SeSelectedKeys> &cache,
                                         const SnSelection &selection, const Read &read) {
    if (cache && cache->selection == &selection && cache->revision == selection.getRevision()) {
        return *cache;
    }
    Vector<RCShdPtr<SeShape>> shapes;
    Vector<RCWeakPtr<SeShapeInterface>> interfaces;
    read(shapes, interfaces);
    cache.reset(new SeSelectedKeys(selection, std::move(shapes), std::move(interfaces)));
    return *cache;
}

bool SeSelectedKeys::containsEqual(std::uint64_t key, const SeShape &shape) const {
    return index.anyWithKey(key, [&](std::size_t position) {
        const RCWeakAccessor<SeShapeInterface> access(interfaces[position]);
        const RCShdPtr<SeShape> selected = access->getShape();
        return shape.isEqual(*selected);
    });
}

} // namespace Vo
