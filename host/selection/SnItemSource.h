#pragma once

#include "../../base/RCBase.h"
#include "../../foundation/RCShdPtr.h"
#include "../../foundation/Vector.h"
#include "../VoHostExport.h"
#include "SnItem.h"

#include <cstddef>

namespace Vo {

/// A row of items that selections hold without making them (see SnItemSlice): item i is made when
/// someone first reads it and kept, so that every reader (the selections, their change hints) gets
/// the same object. What a row stands for never changes once it is made: a derived class that reads
/// from objects that may change copies what it needs before they do. Owns the items made so far.
/// Thread safety: plain count; a row stays on the thread of the selections that hold it.
class VO_HOST_API SnItemSource : public RCBase<int> {
public:
    SnItemSource(const SnItemSource &) = delete;
    SnItemSource &operator=(const SnItemSource &) = delete;
    ~SnItemSource() noexcept override;

    /// The number of items the row stands for.
    std::size_t getNbItems() const noexcept { return size; }
    /// Item i, below getNbItems(): made at the first call (the row's room for the items is taken
    /// then, whole), the same object at every later one; never null. Raises what making it raises.
    /// \param i the item's place, below getNbItems()
    const RCShdPtr<SnItem const> &itemAt(std::size_t i) const;
    /// Whether the `count` items of this row from `first` are equal, one by one, to those of other
    /// from `otherFirst`, told without making any; false when the rows cannot tell so cheaply, the
    /// caller then comparing the items themselves. This base class tells only for the same row at
    /// the same place.
    /// \param other the other row, possibly this one
    /// \param first the place of the first item compared in this row
    /// \param otherFirst the place of the first item compared in other
    /// \param count the number of items compared; both runs must lie in their rows
    virtual bool isSameRun(const SnItemSource &other, std::size_t first, std::size_t otherFirst,
                           std::size_t count) const;

protected:
    /// A row of `nbItems` items, none made yet.
    /// \param nbItems the number of items the row stands for
    explicit SnItemSource(std::size_t nbItems) noexcept : size(nbItems) {}
    /// A new item for place i, never null; what it raises passes to the reader of itemAt.
    /// \param i the place, below getNbItems(); asked once per place
    virtual RCShdPtr<SnItem const> makeItem(std::size_t i) const = 0;

private:
    std::size_t size;
    mutable Vector<RCShdPtr<SnItem const>> made; // empty until the first read, then one per place
};

} // namespace Vo
