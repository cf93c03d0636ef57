#pragma once

#include "foundation/RCShdPtr.h"
#include "host/selection/SnPartsBasic.h"

#include <cstddef>
#include <memory>

namespace Vo {

// One version of a shape's selected parts, in a family of versions that share one pair of index
// sets: the version that holds the sets (the root) has them; every other one leans on another
// version of the family and holds the one-index step that makes its indices from that version's.
// Settling a version brings the sets to it, turning each step on the way around, so that moving
// between two versions one step apart costs one step, and a change of one index at the end of the
// order is O(1) however many indices the sets hold. Owns the sets while it is the root, and the
// version it leans on (which, in turn, keeps those it leans on). Confined to one thread.
class SeShapePartsVersion {
public:
    using IndexSet = RCShdPtr<SnPartsBasic<int>>;
    using Pointer = std::shared_ptr<SeShapePartsVersion>;

    // A root holding the given sets.
    SeShapePartsVersion(IndexSet points, IndexSet handles) noexcept;
    SeShapePartsVersion(const SeShapePartsVersion &) = delete;
    SeShapePartsVersion &operator=(const SeShapePartsVersion &) = delete;
    // Releases a long chain of versions that only lean on each other one by one, not by recursion.
    ~SeShapePartsVersion();

    // The version with the sets brought to it (it becomes the family's root): one step per
    // version between it and the root. Should a step raise (memory runs out), every version still
    // stands for its own indices.
    static SeShapePartsVersion &settle(const Pointer &version);
    // A new version, the family's root from now on: the given one with index inserted at the end
    // of the points' (handles') order, or removed from it. The given version leans on the new one.
    // The index must be absent to be inserted and present to be removed. O(1) at the end of the
    // order, else one search and one move of the indices after the index's place.
    static Pointer insert(const Pointer &from, bool points, int index);
    static Pointer remove(const Pointer &from, bool points, int index);

    // Whether this version holds the sets.
    bool isRoot() const noexcept { return base == nullptr; }
    // Valid on a settled version only.
    const IndexSet &getPoints() const noexcept { return points; }
    const IndexSet &getHandles() const noexcept { return handles; }

private:
    // How a version's indices come from those of the version it leans on.
    struct Step {
        bool points = true;
        bool insert = true;
        int index = 0;
        std::size_t position = 0; // 0-based place of index in the order that holds it
    };

    static Step opposite(Step step) noexcept;
    static Pointer lead(const Pointer &from, const Step &step);
    // version leans on a root: takes the root's sets over, and the root leans on it.
    static void turn(const Pointer &version);
    // Applies step to this root's sets; a step that raises changes nothing.
    void apply(const Step &step);

    IndexSet points;
    IndexSet handles;
    Pointer base; // null for the root
    Step step;    // from base's indices to this version's
};

} // namespace Vo
