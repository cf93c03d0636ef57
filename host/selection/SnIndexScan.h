#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace Vo {

/// Linear passes over a plain array of indices, vectors of four at a time (the compiler's vector
/// types): the search for one index and the shift of every index from a value on, which a
/// renumbering of a large selection makes once each. Owns nothing.
struct SnIndexScan {
    /// The position of the first element equal to index in [first, last); last - first when there
    /// is none.
    /// \param first, last the indices searched, `first <= last`
    /// \param index the value looked for
    static std::size_t find(const int *first, const int *last, int index) noexcept {
        const int *at = first;
        const Block wanted = splat(index);
        for (; last - at >= 4 * kLanes; at += 4 * kLanes) {
            const Block equal =
                ((load(at) == wanted) | (load(at + kLanes) == wanted)) |
                ((load(at + 2 * kLanes) == wanted) | (load(at + 3 * kLanes) == wanted));
            if (any(equal)) {
                break;
            }
        }
        for (; at != last && *at != index; ++at) {
        }
        return static_cast<std::size_t>(at - first);
    }

    /// The position of the last element equal to index in [first, last), found from the back;
    /// last - first when there is none.
    /// \param first, last the indices searched, `first <= last`
    /// \param index the value looked for
    static std::size_t findLast(const int *first, const int *last, int index) noexcept {
        const int *end = last;
        const Block wanted = splat(index);
        for (; end - first >= 4 * kLanes; end -= 4 * kLanes) {
            const int *at = end - 4 * kLanes;
            const Block equal =
                ((load(at) == wanted) | (load(at + kLanes) == wanted)) |
                ((load(at + 2 * kLanes) == wanted) | (load(at + 3 * kLanes) == wanted));
            if (any(equal)) {
                break;
            }
        }
        for (; end != first; --end) {
            if (end[-1] == index) {
                return static_cast<std::size_t>(end - 1 - first);
            }
        }
        return static_cast<std::size_t>(last - first);
    }

    /// Adds one to (up), or takes one from, every element of [first, last) that is at least from,
    /// which must be above the smallest int. Values must not pass the ends of int: the caller keeps
    /// the largest index out when going up.
    /// \param first, last the indices changed in place, `first <= last`
    /// \param from the smallest value shifted
    /// \param up true to add one, false to take one
    static void shiftFrom(int *first, int *last, int from, bool up) noexcept {
        if (up) {
            shift<1>(first, last, from);
        } else {
            shift<-1>(first, last, from);
        }
    }

private:
    static constexpr std::ptrdiff_t kLanes = 4;
    using Block = int __attribute__((vector_size(kLanes * sizeof(int))));

    template <int Step> static void shift(int *first, int *last, int from) noexcept {
        const Block below = splat(from - 1);
        int *at = first;
        for (; last - at >= 2 * kLanes; at += 2 * kLanes) {
            const Block low = load(at);
            const Block high = load(at + kLanes);
            // -1 where the element moves: adding the mask takes one, subtracting it adds one.
            store(at, Step > 0 ? low - (low > below) : low + (low > below));
            store(at + kLanes, Step > 0 ? high - (high > below) : high + (high > below));
        }
        for (; at != last; ++at) {
            *at += *at >= from ? Step : 0;
        }
    }
    static Block splat(int value) noexcept { return Block{value, value, value, value}; }
    static Block load(const int *from) noexcept {
        Block block;
        std::memcpy(&block, from, sizeof block);
        return block;
    }
    static void store(int *to, const Block &block) noexcept {
        std::memcpy(to, &block, sizeof block);
    }
    static bool any(const Block &mask) noexcept {
        std::uint64_t halves[2];
        std::memcpy(halves, &mask, sizeof halves);
        return (halves[0] | halves[1]) != 0;
    }
};

} // namespace Vo
