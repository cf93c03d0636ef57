#pragma once

#include "../base/RCSWCount.h"
#include "RCShdPtr.h"
#include "VoFoundationExport.h"

#include <utility>

namespace Vo {

/// A strong reference locked from a counter block: owns one unit of the strong count and one share
/// of the block. Releasing the last strong unit destroys the object. Used only through
/// RCWeakAccessor.
template <class T, class C> class VO_FOUNDATION_API RCStrongBasePtr {
public:
    /// The counter block shared by the strong and weak pointers of an object.
    using Counter = RCSWCount<C>;

    /// Whether no live object is held.
    bool isNull() const noexcept { return ptr == nullptr || counter.isNull(); }
    /// The object, or null.
    T *get() const noexcept { return ptr; }
    ///@{
    /// Raise RCExNullPtr, naming the pointer type, when the accessor is null.
    T *operator->() const { return checked(); }
    /// The object; raises RCExNullPtr when none is held.
    T &operator*() const { return *checked(); }
    ///@}

protected:
    RCStrongBasePtr() noexcept : ptr(nullptr) {}
    /// Locks: takes a strong unit only while the strong count is above 0, so a racing last release
    /// either wins (the lock fails) or loses (the object stays alive for this holder).
    /// \param object the object, or null (the result is null)
    /// \param block the object's counter block, or null (the result is null)
    RCStrongBasePtr(T *object, const RCShdPtr<Counter> &block) noexcept : ptr(nullptr) {
        if (object != nullptr && !block.isNull() && block->tryAddStrong()) {
            counter = block;
            ptr = object;
        }
    }
    /// Takes the other's hold over and leaves it empty.
    /// \param other the holder moved from
    RCStrongBasePtr(RCStrongBasePtr &&other) noexcept : ptr(nullptr) {
        std::swap(ptr, other.ptr);
        counter.swap(other.counter);
    }
    RCStrongBasePtr(const RCStrongBasePtr &) = delete;
    RCStrongBasePtr &operator=(const RCStrongBasePtr &) = delete;
    /// Strong count first, destroying the object at 0; the block is released after it, so weak
    /// pointers keep reading null.
    ~RCStrongBasePtr() {
        if (!counter.isNull() && counter->releaseStrong() && ptr != nullptr) {
            delete ptr;
        }
    }

private:
    T *checked() const {
        if (ptr == nullptr) {
            RCExUtil::throwExNullPtr(typeid(T *).name());
        }
        return ptr;
    }

    T *ptr;
    RCShdPtr<Counter> counter;
};

} // namespace Vo
