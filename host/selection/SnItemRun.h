#pragma once

#include "../../base/DgReport.h"
#include "../../foundation/RCShdPtr.h"
#include "SnItem.h"

#include <cstddef>

namespace Vo {

/// A run of items side by side in someone else's storage, read through a change hint: holds
/// nothing, so it stays valid only as long as the hint that gave it (see SnSelectionChangeHint).
class SnItemRun {
public:
    ///@{
    /// The items, and an iterator over them.
    using value_type = RCShdPtr<SnItem const>;
    using const_iterator = const value_type *;
    ///@}

    SnItemRun() noexcept = default;
    /// The `length` items from `start`, which must stay valid as long as the run.
    /// \param start the first item, borrowed; may be null when `length` is 0
    /// \param length the number of items
    SnItemRun(const value_type *start, std::size_t length) noexcept : first(start), count(length) {}

    ///@{
    /// The first item, and the place past the last.
    const_iterator begin() const noexcept { return first; }
    const_iterator end() const noexcept { return first + count; }
    ///@}
    ///@{
    /// The number of items; whether there is none.
    std::size_t size() const noexcept { return count; }
    bool empty() const noexcept { return count == 0; }
    ///@}
    /// The first item; the run must not be empty.
    const value_type &front() const noexcept { return (*this)[0]; }
    /// Item i of the run.
    /// \param i the item's place, below size()
    const value_type &operator[](std::size_t i) const noexcept {
        VO_ASSERT(i < count, "SnItemRun: an item past the run's end");
        return first[i];
    }

private:
    const value_type *first = nullptr;
    std::size_t count = 0;
};

} // namespace Vo
