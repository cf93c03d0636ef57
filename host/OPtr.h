#pragma once

#include <utility>

namespace Vo {

/// Owning pointer that passes ownership on when copied (the source is left empty), so an object
/// handed over by value is owned by the callee alone. Deletes its object through the virtual
/// destructor.
template <class T> class OPtr {
public:
    explicit OPtr(T *object = nullptr) noexcept : ptr(object) {}
    OPtr(OPtr &other) noexcept : ptr(other.release()) {}
    OPtr(OPtr &&other) noexcept : ptr(other.release()) {}
    OPtr &operator=(OPtr &other) noexcept {
        reset(other.release());
        return *this;
    }
    ~OPtr() { delete ptr; }

    T *get() const noexcept { return ptr; }
    T *operator->() const noexcept { return ptr; }
    T &operator*() const noexcept { return *ptr; }
    T *release() noexcept { return std::exchange(ptr, nullptr); }
    void reset(T *object = nullptr) noexcept { delete std::exchange(ptr, object); }

private:
    T *ptr;
};

} // namespace Vo
