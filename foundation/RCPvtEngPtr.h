#pragma once

#include "foundation/RCShdPtr.h"

#include <utility>

namespace Vo {

// Copy-on-write pointer to a private engine (E derives from RCBase<LkCounter<int>> and has a virtual
// `clone()` giving a new, uncounted engine). Copies share the engine until one asks for write access.
template <class E> class RCPvtEngPtr {
public:
    RCPvtEngPtr() noexcept : ptr(nullptr) {}
    explicit RCPvtEngPtr(E *engine) noexcept : ptr(nullptr) { reset(engine); }
    RCPvtEngPtr(const RCPvtEngPtr &other) noexcept : ptr(nullptr) { reset(other.ptr); }
    ~RCPvtEngPtr() { reset(nullptr); }

    RCPvtEngPtr &operator=(const RCPvtEngPtr &other) noexcept {
        reset(other.ptr);
        return *this;
    }

    bool isNull() const noexcept { return ptr == nullptr; }
    // The engine for reading, shared or not; raises RCExNullPtr when there is none.
    const E &read() const { return *checked(); }
    // The engine for writing: clones it first when it is shared. Raises RCExNullPtr when there is no
    // engine or the clone is null; then this pointer keeps the shared engine.
    E &write() {
        E *engine = checked();
        if (rcBaseOf(engine)->getRefCount() == 1) {
            return *engine;
        }
        E *copy = engine->clone();
        if (copy == nullptr) {
            RCExUtil::throwExNullPtr(typeid(E *).name());
        }
        reset(copy);
        return *copy;
    }
    // Number of pointers sharing the engine, 0 when there is none.
    int getShareCount() const noexcept { return ptr ? rcBaseOf(ptr)->getRefCount() : 0; }

private:
    E *checked() const {
        if (ptr == nullptr) {
            RCExUtil::throwExNullPtr(typeid(E *).name());
        }
        return ptr;
    }
    void reset(E *engine) noexcept {
        if (engine == ptr) {
            return;
        }
        E *old = ptr;
        ptr = engine;
        if (engine != nullptr) {
            rcBaseOf(engine)->addRef();
        }
        if (old != nullptr) {
            rcBaseOf(old)->releaseRef();
        }
    }

    E *ptr;
};

} // namespace Vo
