#pragma once

#include "RCCountTraits.h"
#include "VoBaseExport.h"

namespace Vo {

/// Base of every intrusively counted object: holds the number of shared pointers that own it and
/// destroys the whole object, through the virtual destructor, when the last one lets go.
/// Thread safety: with C = LkCounter<int> the count may change on any thread; with C = int the
/// object and every pointer to it stay on one thread at a time.
template <class C> class RCBase {
public:
    /// Copying an object copies no count: the copy keeps its own holders.
    RCBase &operator=(const RCBase &) noexcept { return *this; } // the count is never copied

    /// The number of shared pointers that hold the object now.
    int getRefCount() const noexcept { return RCCountTraits<C>::load(count); }
    /// One more holder; the shared pointers call it, and a holder that calls it must call release.
    void addRef() const noexcept { RCCountTraits<C>::increment(count); }
    /// Destroys the object when this release takes the count to 0.
    void releaseRef() const noexcept {
        if (RCCountTraits<C>::decrement(count) == 0) {
// The destructor is virtual, so the deleting destructor calls the operator delete of the object's
// own class; g++ 12, inlining a class's own operator new into a caller of this, takes the pair
// for a mismatch with the global one.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
            delete this;
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
        }
    }

protected:
    RCBase() noexcept : count(0) {}
    /// A copy starts with no holder of its own.
    RCBase(const RCBase &) noexcept : count(0) {}
    virtual ~RCBase() = default;

private:
    mutable C count;
};

extern template class VO_BASE_API RCBase<int>;
extern template class VO_BASE_API RCBase<LkCounter<int>>;

/// The counting base of a pointee, found by overload so that a virtual base works too.
/// \param object the pointee, or null (then the result is null)
template <class C> inline const RCBase<C> *rcBaseOf(const RCBase<C> *object) noexcept {
    return object;
}

} // namespace Vo
