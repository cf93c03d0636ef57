#pragma once

#include "../base/RCSWCount.h"
#include "RCShdPtr.h"

namespace Vo {

/// Base of objects that keep their own counter block, so that a weak pointer can be made from the
/// object pointer alone. Owns one share of the block.
template <class C> class RCSWBase {
public:
    /// The object's counter block, which weak pointers share.
    const RCShdPtr<RCSWCount<C>> &getCounter() const noexcept { return counter; }

protected:
    /// An object counted in `block`, which the creator made for it.
    /// \param block the object's counter block, shared with every weak pointer made from it; its
    /// strong count counts the object's holders
    explicit RCSWBase(const RCShdPtr<RCSWCount<C>> &block) noexcept : counter(block) {}
    virtual ~RCSWBase() = default;

private:
    RCShdPtr<RCSWCount<C>> counter;
};

} // namespace Vo
