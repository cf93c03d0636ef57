#pragma once

#include "../base/DgReport.h"
#include "RCShdPtr.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <vector>

namespace Vo {

/// Replaces the `count` counted pointers from `at` by those of [first, last), which must not point
/// into the list, and moves the later pointers with one memmove instead of one counted move each. A
/// counted pointer is its address alone, so its bits may move to another slot without its count
/// changing; the cells they leave are cleared to null before anything reads or destroys them. What
/// a shape leaving, or coming back to, the middle of 10^5 selected ones costs: a memmove, not 10^5
/// counted moves. Allocates only when the list lacks the room, before anything changes (give it
/// the room first for a call that cannot fail); `at + count` must not pass the end.
/// \param list the list changed
/// \param at the position of the first pointer replaced, 0 .. list.size()
/// \param count the number of pointers replaced
/// \param first, last the pointers put in their place, forward iterators whose items assign to
/// RCShdPtr<T>
template <class T, class It>
void replaceRelocating(std::vector<RCShdPtr<T>> &list, std::size_t at, std::size_t count, It first,
                       It last) {
    static_assert(sizeof(RCShdPtr<T>) == sizeof(T *),
                  "a counted pointer must be its address alone");
    const auto added = static_cast<std::size_t>(std::distance(first, last));
    const std::size_t size = list.size();
    VO_ASSERT(at <= size && count <= size - at, "replaceRelocating: a range past the list's end");
    if (added > count) {
        list.resize(size + added - count); // null pointers at the end: the only allocation
    }
    RCShdPtr<T> *const cells = list.data();
    for (std::size_t i = at; i < at + count; ++i) {
        cells[i] = RCShdPtr<T>(); // the removed go now, while the list is whole
    }
    if (added != count) {
        std::memmove(static_cast<void *>(cells + at + added),
                     static_cast<const void *>(cells + at + count),
                     (size - at - count) * sizeof(RCShdPtr<T>));
        // The cells the later pointers left hold copies of their bits, which own nothing.
        const std::size_t cleared = added > count ? at + count : size + added - count;
        const std::size_t clearedEnd = added > count ? at + added : size;
        std::memset(static_cast<void *>(cells + cleared), 0,
                    (clearedEnd - cleared) * sizeof(RCShdPtr<T>));
    }
    if (added < count) {
        list.resize(size + added - count); // destroys null pointers only
    }
    std::copy(first, last, list.begin() + static_cast<std::ptrdiff_t>(at));
}

} // namespace Vo
