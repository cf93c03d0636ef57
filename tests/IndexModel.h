#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace VoTest {

// The documented rules of an ordered index set on a plain vector, for the tests and the index-sets
// fuzzer to compare the sets with. Owns nothing.
struct IndexModel {
    // After the application inserted an element at `at` (added) or removed the one there: the
    // indices from `at` on move one up, or `at` leaves and those above it move one down, in the
    // same order; an index moved past the largest int wraps to the smallest, and one that then
    // meets an index already there goes. Whether any index changed.
    static bool renumber(std::vector<int> &model, int at, bool added) {
        std::vector<int> renumbered;
        for (int index : model) {
            if (!added && index == at) {
                continue;
            }
            const bool moves = added ? index >= at : index > at;
            const auto step = static_cast<std::uint32_t>(moves ? (added ? 1 : -1) : 0);
            const auto moved = static_cast<int>(static_cast<std::uint32_t>(index) + step);
            if (std::find(renumbered.begin(), renumbered.end(), moved) == renumbered.end()) {
                renumbered.push_back(moved);
            }
        }
        const bool changed = renumbered != model;
        model.swap(renumbered);
        return changed;
    }
};

} // namespace VoTest
