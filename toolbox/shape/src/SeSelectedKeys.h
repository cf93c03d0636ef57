#pragma once

#include "SeShape.h"
#include "SeShapeInterface.h"
#include "SeShapeKeyIndex.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"
#include "host/selection/SnSelection.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace Vo {

// The selected shapes of one selector by identity key, kept by the selector until the selection
// they were read from changes revision. Owns the key index and weak pointers to the shapes'
// editing sides, so it keeps no shape alive. The selector's thread only.
class SeSelectedKeys {
public:
    // Fills shapes and their editing sides, in selection order; raises as the selector does.
    using Read = std::function<void(Vector<RCShdPtr<SeShape>> &shapes,
                                    Vector<RCWeakPtr<SeShapeInterface>> &interfaces)>;

    // The keys of the selection, from cache when they were read from this selection at its
    // current revision, else read again into cache.
    static const SeSelectedKeys &of(std::unique_ptr<const SeSelectedKeys> &cache,
                                    const SnSelection &selection, const Read &read);

    bool isUsable() const noexcept { return index.isUsable(); }
    // Whether a selected shape whose key is key is equal to shape; isEqual is asked only of those.
    // Raises RCExNullPtr when such a shape is gone.
    bool containsEqual(std::uint64_t key, const SeShape &shape) const;

private:
    SeSelectedKeys(const SnSelection &selection, Vector<RCShdPtr<SeShape>> shapes,
                   Vector<RCWeakPtr<SeShapeInterface>> interfaces);

    const SnSelection *selection;
    std::uint64_t revision;
    Vector<RCWeakPtr<SeShapeInterface>> interfaces;
    SeShapeKeyIndex index;
};

} // namespace Vo
