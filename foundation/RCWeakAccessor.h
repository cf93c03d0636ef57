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
    ///@{
    /// Null when the weak pointer is null or its object is already gone.
    explicit RCWeakAccessor(const RCWeakPtr<T> &weak) noexcept
        : Base(weak.get(), weak.getCounter()) {}
    RCWeakAccessor(RCWeakAccessor &&other) noexcept = default;
    ~RCWeakAccessor() = default;
    ///@}
};

template <class T> RCWeakAccessor<T> RCWeakPtr<T>::lock() const { return RCWeakAccessor<T>(*this); }

} // namespace Vo
