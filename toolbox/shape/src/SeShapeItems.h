#pragma once

#include "SeShape.h"
#include "SeShapeItem.h"
#include "SeShapeParts.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"

#include <cstddef>
#include <unordered_map>
#include <utility>

namespace Vo {

// Reading and making the shape items of a selector's selection: the helpers the selector, its
// batches and the updater share.
struct SeShapeItems {
    // The item as a shape item; raises RCExCastFailed for another class.
    static const SeShapeItem &asShapeItem(const RCShdPtr<SnItem const> &item) {
        return *rcCheckedCast<SeShapeItem const>(item.operator->());
    }
    // The item's parts as shape parts; null for an item without parts.
    static RCShdPtr<SeShapeParts const> partsOf(const SnItem &item) {
        return item.hasParts() ? rcDynamicCast<SeShapeParts const>(item.getParts())
                               : RCShdPtr<SeShapeParts const>();
    }
    // A shape passed as a temporary is taken over, not counted again.
    static RCShdPtr<SnItem const> make(const RCShdPtr<SnParts> &parts,
                                       RCWeakPtr<SeShapeInterface> shape) {
        return RCShdPtr<SnItem const>(new SeShapeItem(parts, std::move(shape)));
    }
    // Appends the editing sides of the selection's shapes, in order.
    static void collect(const SnSelection &selection, Vector<RCWeakPtr<SeShapeInterface>> &shapes) {
        shapes.reserve(shapes.size() + static_cast<std::size_t>(selection.getNbItems()));
        for (const RCShdPtr<SnItem const> &item : selection) {
            shapes.push_back(asShapeItem(item).getData());
        }
    }
    // The shapes of `from` that stay after removal events for the ids in `removed` (id to number
    // of events, counted down as they match): per event the first live shape with that id leaves,
    // and every shape whose editing side is gone. False when none leaves.
    static bool keepAfterRemovals(const SnSelection &from, std::unordered_map<int, int> &removed,
                                  Vector<RCShdPtr<SeShape>> &kept);
    // A new selection of these shapes as wholes, in order, leaving out gone ones. Raises
    // RCExNullPtr for a null entry.
    static RCShdPtr<SnSelection> selectionOf(const Vector<RCShdPtr<SeShape>> &shapes);
};

} // namespace Vo
