#pragma once

#include "../../base/DgReport.h"
#include "../../foundation/RCShdPtr.h"
#include "SnItem.h"

#include <cstddef>
#include <cstdint>

namespace Vo {

/// A run of items side by side in someone else's storage, read through a change hint: holds
/// nothing, so it stays valid only as long as the hint that gave it (see SnSelectionChangeHint).
/// A run lent by a selection remembers the selection's revision: in libraries built with their
/// checks (VO_CHECKS), reading it after the selection changed again stops the program.
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
    /// The same, lent by an owner whose change counter must not move while the run is read.
    /// \param start the first item, borrowed; may be null when `length` is 0
    /// \param length the number of items
    /// \param counter the owner's change counter (a selection's revision), read now and at each
    ///        use in checked builds; it must outlive the run's uses
    SnItemRun(const value_type *start, std::size_t length, const std::uint64_t *counter) noexcept
        : first(start), count(length), owner(counter), seen(*counter) {}
    /// The `length` items from `offset` of this run, lent as this one is.
    /// \param offset the place of the first, at most size()
    /// \param length the number of items, at most size() - offset
    SnItemRun part(std::size_t offset, std::size_t length) const noexcept {
        VO_ASSERT(offset <= count && length <= count - offset, "SnItemRun: a part outside the run");
        SnItemRun inner = *this;
        inner.first = first + offset;
        inner.count = length;
        return inner;
    }

    ///@{
    /// The first item, and the place past the last.
    const_iterator begin() const noexcept { return checked(); }
    const_iterator end() const noexcept { return checked() + count; }
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
        return checked()[i];
    }
    /// Whether its owner changed since it lent the run (never for a run without owner); in every
    /// build.
    bool isStale() const noexcept { return owner != nullptr && *owner != seen; }

private:
    const value_type *checked() const noexcept {
        VO_ASSERT(!isStale(), "SnItemRun: a run read after its owner changed (valid until the "
                              "next change)");
        return first;
    }

    const value_type *first = nullptr;
    std::size_t count = 0;
    const std::uint64_t *owner = nullptr;
    std::uint64_t seen = 0;
};

} // namespace Vo
