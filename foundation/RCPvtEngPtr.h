#pragma once

#include "RCShdPtr.h"
#include "VoFoundationExport.h"

namespace Vo {

/// Copy-on-write pointer to a private engine (E derives from RCBase<LkCounter<int>> and has a
/// virtual `clone()` giving a new, uncounted engine). Owns one count of the engine; copies share it
/// until one asks for write access. Thread safety: as RCShdPtr.
template <class E> class VO_FOUNDATION_API RCPvtEngPtr {
public:
    RCPvtEngPtr() noexcept = default;
    /// Owns `owned` alone until a copy shares it.
    /// \param owned a new, uncounted engine (as `new` or `clone()` give it), or null; owned from
    /// now on
    explicit RCPvtEngPtr(E *owned) noexcept : engine(owned) {}

    /// Whether no engine is held.
    bool isNull() const noexcept { return engine.isNull(); }
    /// The engine for reading, shared or not; raises RCExNullPtr when there is none.
    const E &read() const { return *engine; }
    /// The engine for writing: clones it first when it is shared. Raises RCExNullPtr when there is
    /// no engine or the clone is null; then this pointer keeps the shared engine.
    E &write() {
        E &current = *engine;
        if (engine.isUnique()) {
            return current;
        }
        E *copy = current.clone();
        if (copy == nullptr) {
            RCExUtil::throwExNullPtr(typeid(E *).name());
        }
        engine = copy;
        return *copy;
    }
    /// Number of pointers sharing the engine, 0 when there is none.
    int getShareCount() const noexcept {
        return engine.isNull() ? 0 : rcBaseOf(engine.get())->getRefCount();
    }

private:
    RCShdPtr<E> engine;
};

} // namespace Vo
