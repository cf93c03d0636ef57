#include "SeShapeItems.h"

#include "foundation/RCWeakAccessor.h"

#include <utility>

namespace Vo {

bool SeShapeItems::keepAfterRemovals(const SnSelection &from, std::unordered_map<int, int> &removed,
                                     Vector<RCShdPtr<SeShape>> &kept) {
    bool changed = false;
    kept.reserve(static_cast<std::size_t>(from.getNbItems()));
    for (const RCShdPtr<SnItem const> &item : from) {
        const RCWeakAccessor<SeShapeInterface> access(asShapeItem(item).getData());
        if (access.isNull()) {
            changed = true;
            continue;
        }
        RCShdPtr<SeShape> shape = access->getShape();
        const auto found = removed.find(shape->getId());
        if (found != removed.end() && found->second > 0) {
            --found->second;
            changed = true;
            continue;
        }
        kept.push_back(std::move(shape));
    }
    return changed;
}

RCShdPtr<SnSelection> SeShapeItems::selectionOf(const Vector<RCShdPtr<SeShape>> &shapes) {
    Vector<RCShdPtr<SnItem const>> items;
    items.reserve(SnSelection::roomFor(shapes.size()));
    for (const RCShdPtr<SeShape> &shape : shapes) {
        RCWeakPtr<SeShapeInterface> editing = shape->getShapeInterface();
        if (!editing.isNull()) {
            items.push_back(make(RCShdPtr<SnParts>(), std::move(editing)));
        }
    }
    return SnSelection::createTaking(std::move(items));
}

} // namespace Vo
