#pragma once

#include "RCStrongBasePtr.h"
#include "RCWeakPtr.h"
#include "VoFoundationExport.h"

namespace Vo {

/// A strong reference locked from an RCWeakPtr for one scope: while it lives the object cannot be
/// destroyed. Made on the stack around each use of a weakly held object; movable, not copyable.
template <class T>
class VO_FOUNDATION_API RCWeakAccessor : public RCStrongBasePtr<T, LkCounter<int>> {
    using Base = RCStrongBasePtr<T, LkCounter<int>>;

public:
    RCWeakAccessor() noexcept = default;
    /// Holds the weak pointer's object alive; null when the weak pointer is null or its object is
    /// already gone.
    /// \param weak the weak pointer locked
    explicit RCWeakAccessor(const RCWeakPtr<T> &weak) noexcept
        : Base(weak.get(), weak.getCounter()) {}
    /// Takes the other's hold over and leaves it null.
    /// \param other the accessor moved from
    RCWeakAccessor(RCWeakAccessor &&other) noexcept = default;
    /// Lets go of the object, which ends here if this was its last strong holder.
    ~RCWeakAccessor() = default;
};

template <class T> RCWeakAccessor<T> RCWeakPtr<T>::lock() const { return RCWeakAccessor<T>(*this); }

} // namespace Vo
