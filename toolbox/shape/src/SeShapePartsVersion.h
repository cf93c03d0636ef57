#pragma once

#include "foundation/RCShdPtr.h"
#include "host/selection/SnPartsBasic.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Vo {

// One version of a shape's selected parts, in a family of versions that share one pair of index
// sets: the version that holds the sets (the root) has them; every other one leans on another
// version of the family and holds the step that makes its indices from that version's (one index
// in or out, or one renumbering). Settling a version brings the sets to it, turning each step on
// the way around, so that moving between two versions one step apart costs one step: O(1) for an
// index at the end of the order, one pass over the indices for a renumbering. Owns the sets while
// it is the root, and the version it leans on (which, in turn, keeps those it leans on). Confined
// to one thread.
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
    // order, else one search and one move of the indices after the index's place; a removal
    // given the index's rank (its 1-based place, checked; 0 for unknown) skips the search.
    static Pointer insert(const Pointer &from, bool points, int index);
    static Pointer remove(const Pointer &from, bool points, int index, int rank);
    // A new version, the family's root from now on: the given one renumbered as
    // SnPartsBasic::renumber does, which must not move the largest int. rank is at's 1-based
    // place in the order as the caller found it, which is checked; any other value has it found.
    static Pointer renumber(const Pointer &from, bool points, int at, bool added, int rank);
    // The number of points and of handles, read without moving the sets.
    static std::size_t countPoints(const Pointer &version);
    static std::size_t countHandles(const Pointer &version);
    // Whether one of the two leans on the other directly; equal then tells whether their indices
    // are the same, known without reading them.
    static bool isNextTo(const Pointer &one, const Pointer &other, bool &equal) noexcept;

    // Whether this version holds the sets.
    bool isRoot() const noexcept { return base == nullptr; }
    // Valid on a settled version only.
    const IndexSet &getPoints() const noexcept { return points; }
    const IndexSet &getHandles() const noexcept { return handles; }

private:
    static constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);

    // How a version's indices come from those of the version it leans on.
    struct Step {
        enum class Kind : std::uint8_t { insert, remove, renumberUp, renumberDown };
        Kind kind = Kind::insert;
        bool points = true;
        bool changes = true; // whether the indices differ at all
        int index = 0;       // the index in or out; for a renumbering, the element's place
        // 0-based place of index in the order that holds it; kNowhere for a renumbering's
        // element that is not selected
        std::size_t position = 0;
    };

    // The 0-based place of index, present in order, given its 1-based rank if known (else 0).
    static std::size_t placeOf(const Vector<int> &order, int index, int rank) noexcept;
    static Step opposite(Step step) noexcept;
    static Pointer lead(const Pointer &from, Step step);
    // version leans on a root: takes the root's sets over, and the root leans on it.
    static void turn(const Pointer &version);
    static std::size_t count(const Pointer &version, bool points);
    // Applies step to this root's sets; whether they changed. A step that raises changes nothing.
    bool apply(const Step &step);

    IndexSet points;
    IndexSet handles;
    Pointer base; // null for the root
    Step step;    // from base's indices to this version's
};

} // namespace Vo
