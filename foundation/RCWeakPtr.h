#pragma once

#include "../base/LkCounter.h"
#include "RCWeakBasePtr.h"
#include "VoFoundationExport.h"

#include <type_traits>

namespace Vo {

template <class T> class VO_FOUNDATION_API RCWeakAccessor;

/// Weak pointer to an object whose life is tracked by an atomic counter block; lock it with an
/// RCWeakAccessor (or `lock`) around each use. Two weak pointers are equal when they share one
/// block. Thread safety: the block's counts are atomic; one weak pointer object is not written by
/// two threads.
template <class T> class VO_FOUNDATION_API RCWeakPtr : public RCWeakBasePtr<T, LkCounter<int>> {
    using Base = RCWeakBasePtr<T, LkCounter<int>>;
    template <class U>
    using IfConvertible = std::enable_if_t<std::is_convertible<U *, T *>::value, int>;

public:
    using typename Base::Counter;

    RCWeakPtr() noexcept = default;
    /// The block is the object's own when T keeps one (RCSWBase); otherwise the result is null.
    /// \param object the object pointed at, or null
    explicit RCWeakPtr(T *object) noexcept : Base(object, Base::counterOf(object)) {}
    /// Keeps pointer and block when both are non-null; otherwise the result is null.
    /// \param object the object pointed at, alive or not, or null
    /// \param block the object's counter block, or null
    RCWeakPtr(T *object, const RCShdPtr<Counter> &block) noexcept : Base(object, block) {}
    ///@{
    /// Another weak pointer to the same object; moving leaves the other null.
    /// \param other the pointer copied or moved from, null or not
    RCWeakPtr(const RCWeakPtr &other) noexcept = default;
    RCWeakPtr(RCWeakPtr &&other) noexcept = default;
    ///@}
    /// Keeps pointer and block when both are non-null, whether or not the object is still alive.
    /// \param other a weak pointer to an object of a class derived from T, null or not
    template <class U, IfConvertible<U> = 0>
    RCWeakPtr(const RCWeakPtr<U> &other) noexcept : Base(other.get(), other.getCounter()) {}

    /// Points at the other's object.
    /// \param other the pointer copied, null or not
    RCWeakPtr &operator=(const RCWeakPtr &other) noexcept {
        Base::operator=(other);
        return *this;
    }
    /// Points at `object`, whose counter block is `block`; null when either is null.
    /// \param object the object pointed at, alive or not, or null
    /// \param block the object's counter block, or null
    void assign(T *object, const RCShdPtr<Counter> &block) noexcept { Base::assign(object, block); }
    /// Exchanges the objects of the two pointers.
    /// \param other the pointer whose object this one takes, and which takes this one's
    void swap(RCWeakPtr &other) noexcept { this->swapWith(other); }

    /// A strong reference for one scope; null when the object is gone.
    RCWeakAccessor<T> lock() const;
};

template <class T, class U> bool operator==(const RCWeakPtr<T> &a, const RCWeakPtr<U> &b) noexcept {
    return a.getCounter().get() == b.getCounter().get();
}
template <class T, class U> bool operator!=(const RCWeakPtr<T> &a, const RCWeakPtr<U> &b) noexcept {
    return !(a == b);
}

} // namespace Vo

#include "RCWeakAccessor.h"
