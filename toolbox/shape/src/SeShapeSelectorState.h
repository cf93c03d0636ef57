#pragma once

#include "SeScopedValue.h"
#include "SeShapeParts.h"
#include "SeShapeSelector.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"

#include <unordered_map>
#include <vector>

// The selector's private parts, shared by its sources: the shape operations
// (SeShapeSelector.cpp), the point and handle operations (SeShapeSelectorParts.cpp) and the
// batches (SeSelectionBatch.cpp).

namespace Vo {

// An open batch: the working selection the operations read and change, the removal events
// received since it was last read (shape id to number of events), applied at the next read, and
// all those received since it opened, which still apply when the batch is abandoned.
struct SeShapeSelector::BatchState {
    // An insertion or removal of a point or handle that the application reported.
    struct Edit {
        const PartsChannel *channel;
        RCWeakPtr<SeShapeInterface> shape;
        int index;
        bool added;
    };
    RCShdPtr<SnSelection> working;
    std::vector<Edit> edits;
    std::unordered_map<int, int> removals;
    std::unordered_map<int, int> received;
    int depth = 0;
    bool cancelled = false;
    // The working selection was replaced wholesale (the application's selection mirrored in, or
    // its own write): an abandon must bring the application's selection back in step.
    bool replaced = false;
};

// The point or handle side of an SeShapeParts: the twin operations differ only
// in the set they use.
struct SeShapeSelector::PartsChannel {
    void (*append)(SeShapeParts &, int);
    void (*appendRange)(SeShapeParts &, int first, int count);
    void (*reserve)(SeShapeParts &, int count);
    // Gives `parts` the other side's set of `from`.
    void (*takeOtherSide)(SeShapeParts &parts, const RCShdPtr<SnParts const> &from);
    // New parts with the index appended or removed, taking the sets over (see withPointAppended).
    RCShdPtr<SeShapeParts> (*withAppended)(const SeShapeParts &, int);
    RCShdPtr<SeShapeParts> (*withRemoved)(const SeShapeParts &, int);
    bool (*has)(const SeShapeParts &, int);
    const Vector<int> &(*indices)(const SeShapeParts &);
    bool (*isEmpty)(const SeShapeParts &);
    int (*rank)(const SeShapeParts &, int index);
    // rank: where at was found in the order (see SeShapeParts::renumberedPoints); -1 unknown.
    RCShdPtr<SeShapeParts> (*renumbered)(const SeShapeParts &, int at, bool added, int rank);
    bool points;
};

// The primary item, held for the length of an operation, and its shape's weak
// pointer.
struct SeShapeSelector::PrimaryShape {
    RCShdPtr<SnItem const> item;
    RCWeakPtr<SeShapeInterface> shape;
};

// The put-back protocol: `restore` hands the old items back to the selection object while
// isRestoringAfterFault() reads true, so that its observers take the write as no change (the
// updater mirrors it without callbacks, a history forgets the step it recorded). Only the first
// error is reported, so a failing put-back raises nothing of its own. The last change described
// is the one before the failed write again, when nothing else came between.
template <class Restore>
void SeShapeSelector::putBack(std::uint64_t start, Restore restore) noexcept {
    const SeScopedValue<bool> puttingBack(restoringAfterFault, true);
    foreseenFrom = kNoRevision;
    renumberingFrom = kNoRevision;
    const std::uint64_t now = selection->getRevision();
    const bool described = now != start && lastChange.getRevisionBefore() == start &&
                           lastChange.getRevisionAfter() == now;
    const bool keep = described || now == start;
    SeSelectionChange kept = !keep       ? SeSelectionChange()
                             : described ? std::move(previousChange)
                                         : std::move(lastChange);
    try {
        restore();
    } catch (...) { // NOLINT(bugprone-empty-catch): the first error is the one reported
    }
    if (keep) {
        lastChange = std::move(kept);
    }
}

} // namespace Vo
