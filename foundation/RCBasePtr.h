#pragma once

#include "../base/RCBase.h"
#include "../base/RCExUtil.h"
#include "VoFoundationExport.h"

#include <ostream>
#include <typeinfo>

namespace Vo {

/// Common part of the owning pointers: one machine pointer that owns one unit of the pointee's
/// count. Thread safety: one pointer object is never written by two threads at once; the pointee's
/// count is as safe as its counting base.
template <class T> class VO_FOUNDATION_API RCBasePtr {
public:
    ///@{
    /// Copying through the base would share the object without counting it.
    RCBasePtr(const RCBasePtr &) = delete;
    RCBasePtr &operator=(const RCBasePtr &) = delete;
    ///@}

    /// The object pointed at, or null; the pointer keeps holding it.
    T *get() const noexcept { return ptr; }
    /// Whether the pointer holds no object.
    bool isNull() const noexcept { return ptr == nullptr; }
    /// True when an object is held and this is its only owner.
    bool isUnique() const noexcept { return ptr != nullptr && rcBaseOf(ptr)->getRefCount() == 1; }

    ///@{
    /// Raise RCExNullPtr, naming the pointer type, when no object is held.
    T *operator->() const { return checked(); }
    T &operator*() const { return *checked(); }
    ///@}

    /// One line without a line end: pointee class, T, count, pointer and counting-base address. The
    /// class names are spelled as the platform's run-time type information spells them, for tools.
    /// \param out the stream written to
    void dump(std::ostream &out) const;

protected:
    RCBasePtr() noexcept : ptr(nullptr) {}
    /// Holds `object` (null holds nothing), counting one more holder.
    /// \param object the object held, or null
    explicit RCBasePtr(T *object) noexcept : ptr(object) { retain(ptr); }
    ~RCBasePtr() { release(ptr); }

    /// Counts one more holder of `object` unless it is null.
    /// \param object the object, or null
    static void retain(T *object) noexcept {
        if (object != nullptr) {
            rcBaseOf(object)->addRef();
        }
    }
    /// Counts one holder less of `object` unless it is null; the last one deletes it.
    /// \param object the object, or null
    static void release(T *object) noexcept {
        if (object != nullptr) {
            rcBaseOf(object)->releaseRef();
        }
    }
    /// Store first, count the new object, then release the old one: the old object's destructor may
    /// reach this pointer again and must find it already holding the new object.
    /// \param object the object held from now on, or null; the same object changes nothing
    void reset(T *object) noexcept {
        if (object == ptr) {
            return;
        }
        T *old = ptr;
        ptr = object;
        retain(object);
        release(old);
    }

    /// The object held, or null.
    T *ptr;

private:
    // "0" for a null address, which some standard libraries write as "(nil)"; others as the
    // stream writes them ("0x...").
    static void writeAddress(std::ostream &out, const void *address) {
        if (address == nullptr) {
            out << '0';
        } else {
            out << address;
        }
    }

    T *checked() const {
        if (ptr == nullptr) {
            RCExUtil::throwExNullPtr(typeid(T *).name());
        }
        return ptr;
    }
};

template <class T> void RCBasePtr<T>::dump(std::ostream &out) const {
    out << "Pointee type =" << (ptr ? typeid(*ptr).name() : "null")
        << ", T type =" << typeid(T).name() << ", ref:" << (ptr ? rcBaseOf(ptr)->getRefCount() : 0)
        << ", pointer:";
    writeAddress(out, ptr);
    out << ", RCBase pointer:";
    writeAddress(out, ptr ? rcBaseOf(ptr) : nullptr);
}

} // namespace Vo
