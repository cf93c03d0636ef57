#pragma once

#include <utility>

namespace Vo {

/// Owning pointer that passes ownership on when copied (the source is left empty), so an object
/// handed over by value is owned by the callee alone. Deletes its object through the virtual
/// destructor.
template <class T> class OPtr {
public:
    /// Owns `object` (null owns nothing).
    /// \param object an object made with `new`, owned by no one else, or null
    explicit OPtr(T *object = nullptr) noexcept : ptr(object) {}
    ///@{
    /// Takes the other's object over, leaving it empty.
    /// \param other the pointer whose object is taken over
    OPtr(OPtr &other) noexcept : ptr(other.release()) {}
    OPtr(OPtr &&other) noexcept : ptr(other.release()) {}
    OPtr &operator=(OPtr &other) noexcept {
        reset(other.release());
        return *this;
    }
    ///@}
    ~OPtr() { delete ptr; }

    ///@{
    /// The object owned, or null; the pointer keeps owning it.
    T *get() const noexcept { return ptr; }
    T *operator->() const noexcept { return ptr; }
    T &operator*() const noexcept { return *ptr; }
    ///@}
    /// Gives the object up to the caller, leaving the pointer empty.
    T *release() noexcept { return std::exchange(ptr, nullptr); }
    /// Deletes the object owned and owns `object` instead.
    /// \param object an object made with `new`, owned by no one else, or null
    void reset(T *object = nullptr) noexcept { delete std::exchange(ptr, object); }

private:
    T *ptr;
};

} // namespace Vo
