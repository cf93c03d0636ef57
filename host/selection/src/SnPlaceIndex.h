#pragma once

#include "foundation/PtrMap.h"
#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/selection/SnItem.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace Vo {

// Where each item of a selection sits, for replaceItem: one flat cell per item that appears once
// (no allocation per item), and a list of places only for the items that appear more than once.
// Borrows the item pointers from the selection that built it; it is dropped at any other change.
class SnPlaceIndex {
public:
    static constexpr std::size_t npos = ~std::size_t(0);

    explicit SnPlaceIndex(const Vector<RCShdPtr<SnItem const>> &items);

    // The first place of item, or npos when it is not in the selection.
    std::size_t firstPlace(const SnItem *item) const noexcept;
    // Hands place, the first place of from, over to to. Throws only while nothing has changed yet.
    void move(const SnItem *from, const SnItem *to, std::size_t place);
    // Records one more place of item (the list grew there); may throw, the index then unusable.
    void addPlace(const SnItem *item, std::size_t place);
    // Forgets the first place of item, which must have one.
    void dropFirstPlace(const SnItem *item) noexcept;

private:
    static constexpr std::size_t kMany = npos; // the cell's mark for an item found in several

    PtrMap<const SnItem *, std::size_t> cells;
    // The places of each item that appears more than once, descending: the first one last.
    std::unordered_map<const SnItem *, std::vector<std::size_t>> repeated;
};

} // namespace Vo
