#pragma once

#include "RCBasePtr.h"
#include "RCCanStaticCast.h"
#include "VoFoundationExport.h"

#include <cstddef>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace Vo {

/// Shared owning pointer to an intrusively counted object (T derives from RCBase<C>); the last
/// pointer to let go destroys the object. Copying never allocates.
template <class T> class VO_FOUNDATION_API RCShdPtr : public RCBasePtr<T> {
    template <class U>
    using IfConvertible = std::enable_if_t<std::is_convertible<U *, T *>::value, int>;

public:
    RCShdPtr() noexcept = default;
    /// An empty pointer.
    RCShdPtr(std::nullptr_t) noexcept {}
    /// Holds `object`: the way to share a new object (null holds nothing).
    /// \param object a new object, or one already held by shared pointers, or null
    explicit RCShdPtr(T *object) noexcept : RCBasePtr<T>(object) {}
    ///@{
    /// Another holder of the same object; moving takes the other's hold over and leaves it empty.
    /// \param other the pointer whose object is held, null or not
    RCShdPtr(const RCShdPtr &other) noexcept : RCBasePtr<T>(other.ptr) {}
    RCShdPtr(RCShdPtr &&other) noexcept { std::swap(this->ptr, other.ptr); }
    template <class U, IfConvertible<U> = 0>
    RCShdPtr(const RCShdPtr<U> &other) noexcept : RCBasePtr<T>(other.get()) {}
    ///@}
    /// Takes the other's unit of count over: no count changes, which matters where the count is
    /// atomic and a run of objects changes hands (a list of items being built).
    /// \param other the pointer whose object is held; left empty
    template <class U, IfConvertible<U> = 0> RCShdPtr(RCShdPtr<U> &&other) noexcept {
        this->ptr = other.ptr;
        other.ptr = nullptr;
    }

    ///@{
    /// Lets go of the object held and holds the other's; moving takes the other's hold over.
    /// \param other the pointer whose object is held, null or not
    RCShdPtr &operator=(const RCShdPtr &other) noexcept {
        this->reset(other.ptr);
        return *this;
    }
    RCShdPtr &operator=(RCShdPtr &&other) noexcept {
        RCShdPtr(std::move(other)).swap(*this);
        return *this;
    }
    ///@}
    /// Lets go of the object held and holds `object`.
    /// \param object the object held from now on, or null; the object already held changes nothing
    RCShdPtr &operator=(T *object) noexcept {
        this->reset(object);
        return *this;
    }

    /// Exchanges the objects of the two pointers without counting.
    /// \param other the pointer whose object this one takes, and which takes this one's
    void swap(RCShdPtr &other) noexcept { std::swap(this->ptr, other.ptr); }

private:
    template <class U> friend class RCShdPtr;
};

template <class T, class U> bool operator==(const RCShdPtr<T> &a, const RCShdPtr<U> &b) noexcept {
    return a.get() == b.get();
}
template <class T, class U> bool operator!=(const RCShdPtr<T> &a, const RCShdPtr<U> &b) noexcept {
    return a.get() != b.get();
}

/// dynamic_cast<T *>, with a short way for an object whose class is exactly T: one comparison of
/// type_info addresses instead of a walk of the class hierarchy, whose type-name comparisons cost
/// most when the classes come from several shared libraries. Where a static downcast from U to T is
/// not allowed (a virtual base, a cross-cast), or the addresses differ (a class whose type_info is
/// duplicated across libraries), the walk decides.
/// \param object the object converted, or null (which gives null)
template <class T, class U> T *rcFastCast(U *object) noexcept {
    if constexpr (std::is_polymorphic_v<U> && std::is_base_of_v<U, T> &&
                  RCCanStaticCast<T *, U *>::value) {
        if (object != nullptr && &typeid(*object) == &typeid(T)) {
            return static_cast<T *>(object);
        }
    }
    return dynamic_cast<T *>(object);
}

/// Run-time type-tested conversion of a raw pointer: null gives null; an object that is not a T
/// raises RCExCastFailed naming the object's actual class, then T.
/// \param object the object converted, or null
template <class T, class U> T *rcCheckedCast(U *object) {
    if (object == nullptr) {
        return nullptr;
    }
    T *converted = rcFastCast<T>(object);
    if (converted == nullptr) {
        RCExUtil::throwExCastFailed(typeid(*object).name(), typeid(T).name());
    }
    return converted;
}

/// Throwing dynamic conversion: shares the object when it is a T; raises RCExCastFailed otherwise.
/// \param source the pointer converted; null gives null
template <class T, class U> RCShdPtr<T> rcDynamicCast(const RCShdPtr<U> &source) {
    return RCShdPtr<T>(rcCheckedCast<T>(source.get()));
}

/// Non-throwing dynamic conversion: null when the object is not a T.
/// \param source the pointer converted; null gives null
template <class T, class U> RCShdPtr<T> rcDynamicCastOrNull(const RCShdPtr<U> &source) noexcept {
    return RCShdPtr<T>(rcFastCast<T>(source.get()));
}

} // namespace Vo
