#pragma once

#include "foundation/Vector.h"
#include "host/selection/SnItemRun.h"

#include <cstddef>

namespace Vo {

// How one run of selection items became another, as places: the items at `removed` (places in the
// run before, ascending) went, those at `added` (places in the run after, ascending) came, and the
// others kept their order. Found in one walk: the ends the runs share are passed over, then the
// shorter middle is looked for, item by item, in the longer one; when it is not all there, the
// whole middle of each side is listed. Items match by identity or SnItem::isEqual.
class SeChangeDelta {
public:
    // Fills the lists, empty before; false, with them unfinished, when the places would be more
    // than `limit`. Raises as SnItem::isEqual may.
    bool find(SnItemRun before, SnItemRun after, std::size_t limit);

    Vector<int> removed;
    Vector<int> added;

private:
    // Looks for the `shorter` middle in the `longer` one; `missing` receives the places of the
    // longer one's items that are not in the shorter one. False when more than `spare` are missing.
    static bool embed(SnItemRun longer, SnItemRun shorter, std::size_t from, std::size_t spare,
                      Vector<int> &missing);
    static void appendPlaces(Vector<int> &places, std::size_t from, std::size_t count);
};

} // namespace Vo
