#pragma once

#include "SeShapeSelector.h"

#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/selection/SnItem.h"

#include <cstddef>
#include <deque>

namespace Vo {

// Brings a kept selection item along many renumbering reports at once, for a history that let
// them pile up (inside a batch, or for a step not used since): reports on other shapes pass it by,
// and a long run of insertions or of removals of one kind of part is applied to the item's indices
// in one pass, O((n + reports) log n), instead of one copy of the n indices per report. The result
// is the item SeShapeSelector::renumberedItem would give report after report.
struct SeRenumberingRuns {
    using Renumbering = SeShapeSelector::Renumbering;

    // The item after the reports log[first] .. log[last - 1], in order.
    static RCShdPtr<SnItem const> apply(const RCShdPtr<SnItem const> &item,
                                        const std::deque<Renumbering> &log, std::size_t first,
                                        std::size_t last);
    // The indices, in their order, after the application inserted (`added`) or removed an index
    // at each of `ats` in turn: indices below an insertion stay, the others move one up (down, a
    // removed index leaving). Indices must be distinct; an `at` must not be negative, and no index
    // may pass INT_MAX (the caller renumbers one report at a time there).
    static Vector<int> composed(const Vector<int> &indices, const Vector<int> &ats, bool added);
};

} // namespace Vo
