#pragma once

#include "../../base/DgReport.h"
#include "../../foundation/RCShdPtr.h"
#include "SnItem.h"
#include "SnItemSource.h"

#include <cstddef>
#include <utility>

namespace Vo {

/// A piece of a selection's items: one item, or `count` items of a row (SnItemSource) from
/// `first`, which are made only when someone reads them. A selection given slices keeps them as they
/// are, so that mirroring 10^6 inputs costs one slice, not 10^6 items. Shares the item or the row.
class SnItemSlice {
public:
    /// One item, which must not be null.
    /// \param one the item, shared
    explicit SnItemSlice(RCShdPtr<SnItem const> one) noexcept : item(std::move(one)) {}
    /// `length` items of row from `start`; the row must not be null and the range must lie in it.
    /// \param row the row, shared, not null
    /// \param start the place in the row of the slice's first item
    /// \param length the number of items
    SnItemSlice(RCShdPtr<SnItemSource const> row, std::size_t start, std::size_t length) noexcept
        : source(std::move(row)), first(start), count(length) {
        VO_ASSERT(!source.isNull() && first <= source->getNbItems() &&
                      count <= source->getNbItems() - first,
                  "SnItemSlice: a run outside its row");
    }

    ///@{
    /// How many items the slice stands for; whether it is a run of a row.
    std::size_t size() const noexcept { return source.isNull() ? 1 : count; }
    bool isRun() const noexcept { return !source.isNull(); }
    ///@}
    ///@{
    /// The row of a run, null for one item; where the slice starts in it.
    const RCShdPtr<SnItemSource const> &getSource() const noexcept { return source; }
    std::size_t getFirst() const noexcept { return first; }
    ///@}
    /// Item i of the slice, made when the row had not made it yet; raises what making it raises.
    /// \param i the item's place in the slice, below size()
    const RCShdPtr<SnItem const> &at(std::size_t i) const {
        VO_ASSERT(i < size(), "SnItemSlice: an item past the slice's end");
        return source.isNull() ? item : source->itemAt(first + i);
    }
    /// The `length` items from `start` of this slice (a run's part, or the item itself).
    /// \param start the place in this slice of the part's first item; 0 for one item
    /// \param length the number of items; start + length must not pass size()
    SnItemSlice part(std::size_t start, std::size_t length) const noexcept {
        VO_ASSERT(start <= size() && length <= size() - start,
                  "SnItemSlice: a part outside the slice");
        return source.isNull() ? *this : SnItemSlice(source, first + start, length);
    }

private:
    RCShdPtr<SnItem const> item;
    RCShdPtr<SnItemSource const> source;
    std::size_t first = 0;
    std::size_t count = 0;
};

} // namespace Vo
