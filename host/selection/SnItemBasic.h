#pragma once

#include "../../foundation/FreeList.h"
#include "../../foundation/RCShdPtr.h"
#include "../../foundation/RCWeakPtr.h"
#include "../../foundation/VoFoundationExport.h"
#include "SnItem.h"

#include <cstddef>
#include <ostream>
#include <typeinfo>
#include <utility>

namespace Vo {

class SnParts;

/// How SnItemBasic<D>::dump writes its data: streamed as it is, unless an overload for D (here, or
/// in the namespace of D) says otherwise. Pointers are written as their untyped address, never
/// followed.
/// \param out the stream written to
/// \param data the datum written
template <class D> void snDumpItemData(std::ostream &out, const D &data) { out << data; }
template <class T> void snDumpItemData(std::ostream &out, const RCWeakPtr<T> &data) {
    out << static_cast<const void *>(data.get());
}
template <class T> void snDumpItemData(std::ostream &out, const RCShdPtr<T> &data) {
    out << static_cast<const void *>(data.get());
}

/// A selection item holding a copy of one datum, D, that says what is selected; two items stand for
/// the same thing when they are of the same most-derived class and their data compare equal with
/// ==. A class derived from it must override clone, or its clones lose the derived part.
/// Thread safety: as SnItem; the datum is copied and compared on the item's thread.
template <class D> class VO_FOUNDATION_API SnItemBasic : public SnItem {
public:
    ///@{
    /// An item of `itemData` with these parts (null for the whole).
    /// \param itemParts the selected parts, shared with the item's copies, or null
    /// \param itemData what the item names, copied or moved in
    SnItemBasic(const RCShdPtr<SnParts> &itemParts, const D &itemData)
        : SnItem(itemParts), data(itemData) {}
    SnItemBasic(const RCShdPtr<SnParts> &itemParts, D &&itemData)
        : SnItem(itemParts), data(std::move(itemData)) {}
    ///@}

    SnItemBasic *clone() const override { return new SnItemBasic(*this); }
    bool isEqualImp(const SnItem &other) const override {
        return typeid(*this) == typeid(other) &&
               data == static_cast<const SnItemBasic &>(other).data;
    }
    /// The parts line, then "Data:      " with the datum (see snDumpItemData) and a line end.
    /// \param out the stream written to
    void dump(std::ostream &out) const override {
        SnItem::dump(out);
        out << "Data:      ";
        snDumpItemData(out, data);
        out << "\n";
    }

    /// What the item names.
    const D &getData() const noexcept { return data; }

    /// Items of a whole selection come and go together: their blocks are kept per thread for the
    /// next ones (FreeList); a derived class's larger blocks go to the heap.
    /// \param size the size of the item's most-derived class
    static void *operator new(std::size_t size) {
        return FreeList<sizeof(SnItemBasic)>::allocate(size);
    }
    /// Gives an item's block back to the thread's list, or to the heap.
    /// \param block the block, from operator new
    /// \param size the size it was allocated with
    static void operator delete(void *block, std::size_t size) noexcept {
        FreeList<sizeof(SnItemBasic)>::release(block, size);
    }

protected:
    /// Items are copied by clone.
    SnItemBasic(const SnItemBasic &) = default;

private:
    D data;
};

} // namespace Vo
