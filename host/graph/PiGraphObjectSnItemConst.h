#pragma once

#include "../../foundation/RCShdPtr.h"
#include "../VoHostExport.h"
#include "../selection/SnItem.h"
#include "PiGraphObject.h"

#include <cstddef>
#include <ostream>

namespace Vo {

/// A selection item that stands for one graph object, selected as a whole (no parts). Holds the
/// object shared and constant. Two items are equal when they are of the same class and stand for
/// the same object (PiGraphObject::areEqual).
/// Thread safety: as SnItem.
class VO_HOST_API PiGraphObjectSnItemConst : public SnItem {
public:
    /// object may be null: an item that stands for nothing, refused by node-predicate adapters.
    /// \param object the graph object the item stands for, shared, or null
    explicit PiGraphObjectSnItemConst(const RCShdPtr<PiGraphObject const> &object);

    /// The item's own pointer: reading the object costs no count change.
    const RCShdPtr<PiGraphObject const> &getGraphObject() const noexcept;

    PiGraphObjectSnItemConst *clone() const override;
    bool isEqualImp(const SnItem &other) const override;
    /// The parts line, then "Object:    " with the object's "name#id" (or "null") and a line end.
    /// \param out the stream written to
    void dump(std::ostream &out) const override;

    /// A whole selection's object items come and go together: their blocks are kept for the next
    /// ones (FreeList); a derived class's blocks of another size go to the heap.
    /// \param size the size of the item's most-derived class
    static void *operator new(std::size_t size);
    /// Gives an item's block back to the thread's list, or to the heap.
    /// \param block the block, from operator new
    /// \param size the size it was allocated with
    static void operator delete(void *block, std::size_t size) noexcept;

protected:
    /// Items are copied by clone.
    /// \param other the item copied; the copy shares its object
    PiGraphObjectSnItemConst(const PiGraphObjectSnItemConst &other);
    ~PiGraphObjectSnItemConst() noexcept override;

private:
    RCShdPtr<PiGraphObject const> object;
};

} // namespace Vo
