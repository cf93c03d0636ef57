#pragma once

#include "SeIdentityKey.h"
#include "SeShape.h"

#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace Vo {

// The positions of a list of shapes by identity key, for the selector's look-ups at scale. Usable
// only when every shape of the list promises that its key agrees with its isEqual; owns the key
// table, not the shapes.
class SeShapeKeyIndex {
public:
    explicit SeShapeKeyIndex(const Vector<RCShdPtr<SeShape>> &shapes);

    // The shape's promise; null when it makes none.
    static const SeIdentityKey *promiseOf(const SeShape &shape) noexcept;
    bool isUsable() const noexcept { return usable; }
    // Whether isEqualAt(position) holds for one of the listed shapes with that key, asked only of
    // those; the index must be usable.
    template <class IsEqualAt> bool anyWithKey(std::uint64_t key, IsEqualAt isEqualAt) const {
        const auto range = positions.equal_range(key);
        for (auto found = range.first; found != range.second; ++found) {
            if (isEqualAt(found->second)) {
                return true;
            }
        }
        return false;
    }

private:
    std::unordered_multimap<std::uint64_t, std::size_t> positions;
    bool usable = true;
};

} // namespace Vo
