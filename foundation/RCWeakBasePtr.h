#pragma once

#include "../base/RCSWCount.h"
#include "RCSWBase.h"
#include "RCShdPtr.h"
#include "VoFoundationExport.h"

#include <utility>

namespace Vo {

/// Non-owning pointer plus a share of the object's counter block. Never keeps the object alive and
/// reads as null once the object is gone. Used only through RCWeakPtr.
template <class T, class C> class VO_FOUNDATION_API RCWeakBasePtr {
public:
    /// The counter block shared by the strong and weak pointers of an object.
    using Counter = RCSWCount<C>;

    /// True when there is no block, the object is gone, or no pointer is held.
    bool isNull() const noexcept {
        return ptr == nullptr || counter.isNull() || counter->getStrongCount() == 0;
    }
    ///@{
    /// The stored pointer, for identity only: never dereference it without an accessor.
    T *get() const noexcept { return ptr; }
    /// The object's counter block, or null.
    const RCShdPtr<Counter> &getCounter() const noexcept { return counter; }
    ///@}

protected:
    RCWeakBasePtr() noexcept : ptr(nullptr) {}
    /// Keeps both only when both are non-null.
    /// \param object the object pointed at, alive or not, or null
    /// \param block the object's counter block, or null
    RCWeakBasePtr(T *object, const RCShdPtr<Counter> &block) noexcept
        : ptr(object != nullptr && !block.isNull() ? object : nullptr),
          counter(ptr != nullptr ? block : RCShdPtr<Counter>()) {}
    /// Another weak pointer to the same object.
    /// \param other the pointer copied, null or not
    RCWeakBasePtr(const RCWeakBasePtr &other) noexcept = default;
    /// Takes pointer and block share over; the other is left null. No count changes.
    /// \param other the pointer moved from
    RCWeakBasePtr(RCWeakBasePtr &&other) noexcept
        : ptr(other.ptr), counter(std::move(other.counter)) {
        other.ptr = nullptr;
    }
    /// Lets go of the block share; the object is not touched.
    ~RCWeakBasePtr() = default;

    /// Points at the other's object.
    /// \param other the pointer copied, null or not
    RCWeakBasePtr &operator=(const RCWeakBasePtr &other) noexcept {
        counter = other.counter; // no count change when the block is the same
        ptr = other.ptr;
        return *this;
    }
    /// Points at `object`, whose counter block is `block`; null when either is null.
    /// \param object the object pointed at, alive or not, or null
    /// \param block the object's counter block, or null
    void assign(T *object, const RCShdPtr<Counter> &block) noexcept {
        const bool keep = object != nullptr && !block.isNull();
        counter = keep ? block.get() : nullptr; // no count change when the block is the same
        ptr = keep ? object : nullptr;
    }
    /// Exchanges the objects of the two pointers.
    /// \param other the pointer whose object this one takes, and which takes this one's
    void swapWith(RCWeakBasePtr &other) noexcept {
        std::swap(ptr, other.ptr);
        counter.swap(other.counter);
    }

    /// The block of an object that keeps its own.
    /// \param object the object, or null (which has none)
    static RCShdPtr<Counter> counterOf(const RCSWBase<C> *object) noexcept {
        return object != nullptr ? object->getCounter() : RCShdPtr<Counter>();
    }
    /// No counter block for an object without one.
    static RCShdPtr<Counter> counterOf(const void *) noexcept { return RCShdPtr<Counter>(); }

    /// The object pointed at.
    T *ptr;
    /// Its counter block, which tells whether it is alive.
    RCShdPtr<Counter> counter;
};

} // namespace Vo
