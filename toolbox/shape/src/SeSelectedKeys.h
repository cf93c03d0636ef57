#pragma once

#include "SeIdentityKey.h"
#include "SeShape.h"
#include "SeShapeInterface.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>

namespace Vo {

// The selected shapes of one selector by identity key, kept by the selector for the revision of the
// selection they were read from, and carried along the selector's one-item changes so that adding
// or removing one shape does not read them all again. Owns the key table, which holds the items'
// addresses and weak pointers to the shapes' editing sides, so it keeps no shape alive. The
// selector's thread only.
class SeSelectedKeys {
public:
    // Fills shapes and their editing sides, in selection order, with a null shape for a gone one;
    // raises as the selector does.
    using Read = std::function<void(Vector<RCShdPtr<SeShape>> &shapes,
                                    Vector<RCWeakPtr<SeShapeInterface>> &interfaces)>;
    // What the look-up of a shape found among the selected ones.
    struct Found {
        const SnItem *item = nullptr; // the one selected item equal to the shape, when one
        bool several = false;         // more than one: the caller finds the first in order
    };

    // The keys of the selection, from cache when they were read from this selection at its
    // current revision, else read again into cache.
    static const SeSelectedKeys &of(std::unique_ptr<SeSelectedKeys> &cache,
                                    const SnSelection &selection, const Read &read);
    // `selection`, whose keys may be cached, changed as `change` tells: a splice of at most one
    // item each way is followed when the cache shows the revision before it; anything else, or a
    // shape that cannot be read, drops the cache, to be read again when next needed.
    static void follow(std::unique_ptr<SeSelectedKeys> &cache, const SnSelection &selection,
                       const SnSelectionChangeHint &change) noexcept;

    // True when every selected shape makes the identity-key promise.
    bool isUsable() const noexcept { return unpromised == 0; }
    // The selected items whose shapes have this key and are equal to shape; isEqual is asked only
    // of those. Raises RCExNullPtr when such a shape is gone.
    Found findEqual(std::uint64_t key, const SeShape &shape) const;

private:
    struct Entry {
        const SnItem *item;
        RCWeakPtr<SeShapeInterface> shape;
    };

    SeSelectedKeys(const SnSelection &selection, const Vector<RCShdPtr<SeShape>> &shapes,
                   const Vector<RCWeakPtr<SeShapeInterface>> &interfaces);
    void forget(const RCShdPtr<SnItem const> &item);
    void learn(const RCShdPtr<SnItem const> &item);
    // The promise of the item's shape; null when it makes none.
    static const SeIdentityKey *promiseOf(const RCShdPtr<SnItem const> &item);

    const SnSelection *selection;
    std::uint64_t revision;
    std::unordered_multimap<std::uint64_t, Entry> entries;
    std::size_t unpromised = 0;
};

} // namespace Vo
