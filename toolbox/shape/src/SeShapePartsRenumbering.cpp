#include "SeShapeParts.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>

namespace Vo {

namespace {

// Renumbering after an index was inserted at (removed from) `at`: indices below it stay, the
// others move one up (one down, the removed index itself going).
struct Renumbering {
    int at;
    bool added;

    bool keeps(int index) const { return added || index != at; }
    // Without a branch on the comparison, which is as hard to predict as the selection order is
    // random; an index moved past INT_MAX wraps around.
    int operator()(int index) const {
        const auto moves = static_cast<std::uint32_t>(index >= at);
        const std::uint32_t step = added ? moves : 0U - moves;
        return static_cast<int>(static_cast<std::uint32_t>(index) + step);
    }
};

// The end of the run of consecutive ascending indices that starts at `begin`.
std::size_t runEnd(const Vector<int> &old, std::size_t begin) {
    std::size_t end = begin + 1;
    while (end < old.size() && old[end - 1] != INT_MAX && old[end] == old[end - 1] + 1) {
        ++end;
    }
    return end;
}

// Renumbers the run lo .. hi of consecutive indices, handing the resulting runs to
// appendRun(first, last) in order: the indices below `at` as they are, the others moved.
template <class AppendRun>
void renumberRun(int lo, int hi, const Renumbering &renumbering, AppendRun appendRun) {
    if (lo < renumbering.at) {
        const int below = std::min(hi, renumbering.at - 1);
        appendRun(lo, below);
        if (below == hi) {
            return;
        }
        lo = renumbering.at;
    }
    if (!renumbering.added) {
        if (lo == renumbering.at) { // the removed index goes
            if (lo == hi) {
                return;
            }
            ++lo;
        }
        appendRun(lo - 1, hi - 1);
    } else if (hi != INT_MAX) {
        appendRun(lo + 1, hi + 1);
    } else {
        if (lo != hi) {
            appendRun(lo + 1, INT_MAX);
        }
        appendRun(INT_MIN, INT_MIN); // INT_MAX moves up by wrapping around
    }
}

// Appends the renumbered indices of `old`, in their order, to the empty set `target`. A run of
// consecutive indices, what selecting all or a range leaves, goes in with one appendRange per
// piece: the same result as appending one by one.
void renumberInto(SnPartsBasic<int> &target, const Vector<int> &old,
                  const Renumbering &renumbering) {
    const auto oldCount = static_cast<std::int64_t>(old.size());
    // Renumbering moves an index up by one at most (INT_MAX wraps round to INT_MIN).
    const int oldLargest = old.empty() ? -1 : *std::max_element(old.begin(), old.end());
    target.reserve(renumbering.added ? oldCount + 1 : std::max<std::int64_t>(oldCount - 1, 0),
                   oldLargest == INT_MAX ? INT_MAX : oldLargest + 1);
    const auto appendRun = [&target](int first, int last) {
        if (first == last) {
            target.append(first);
        } else {
            target.appendRange(first, static_cast<int>(std::int64_t(last) - first + 1));
        }
    };
    for (std::size_t begin = 0; begin < old.size();) {
        const std::size_t end = runEnd(old, begin);
        if (end - begin > 1) {
            renumberRun(old[begin], old[end - 1], renumbering, appendRun);
        } else if (renumbering.keeps(old[begin])) {
            target.append(renumbering(old[begin]));
        }
        begin = end;
    }
}

} // namespace

RCShdPtr<SeShapeParts> SeShapeParts::renumberedPoints(int at, bool added) const {
    const RCShdPtr<SeShapeParts> parts(new SeShapeParts);
    parts->handleSet()->replaceAllParts(readHandles());
    renumberInto(*parts->pointSet(), readPoints()->getParts(), Renumbering{at, added});
    return parts;
}

RCShdPtr<SeShapeParts> SeShapeParts::renumberedHandles(int at, bool added) const {
    const RCShdPtr<SeShapeParts> parts(new SeShapeParts);
    parts->pointSet()->replaceAllParts(readPoints());
    renumberInto(*parts->handleSet(), readHandles()->getParts(), Renumbering{at, added});
    return parts;
}

} // namespace Vo
