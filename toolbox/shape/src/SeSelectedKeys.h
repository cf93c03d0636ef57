#pragma once

#include "SeShape.h"
#include "SeShapeInterface.h"
#include "SeShapeKeyIndex.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"
#include "host/SnSelection.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace Vo {

class SeShapeSelector;

// The selected shapes of one selector by identity key, kept beside the selector (whose layout
// stays as it is) until the selection it was read from changes revision. Owns the key index and
// weak pointers to the shapes' editing sides, so it keeps no shape alive. The table of selectors is
// locked; the look-ups themselves run unlocked, on the selector's thread.
class SeSelectedKeys {
public:
    // Fills shapes and their editing sides, in selection order; raises as the selector does.
    using Read = std::function<void(Vector<RCShdPtr<SeShape>> &shapes,
                                    Vector<RCWeakPtr<SeShapeInterface>> &interfaces)>;

    // The keys of owner's selection, read again when the selection changed since last time.
    static std::shared_ptr<const SeSelectedKeys> of(const SeShapeSelector &owner,
                                                    const SnSelection &selection, const Read &read);
    // The owner is being destroyed.
    static void forget(const SeShapeSelector &owner) noexcept;

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
