#pragma once

#include "SeObject.h"
#include "SeShapeInterface.h"
#include "VoShapeExport.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"

#include <atomic>
#include <cstdint>

namespace Vo {

class SeIdentityKey;

/// The model side of one shape. Counted atomically and shared through RCShdPtr; reaches its editing
/// side, which the application owns, through a weak pointer.
///
/// Example (docs/examples/implementing.cpp, run as a test): both sides of a shape.
/// \snippet implementing.cpp shape-sides
class VO_SHAPE_API SeShape : public SeObject {
public:
    ///@{
    /// The editing side as an owner interface: the same counter block and pointer as
    /// getShapeInterface, or null; whether the interface is still alive is not tested.
    RCWeakPtr<SeObjectInterface> getObjectInterface() const override;
    virtual RCWeakPtr<SeShapeInterface> getShapeInterface() const = 0;
    ///@}

protected:
    SeShape() = default;
    ~SeShape() override;

private:
    friend class SeShapeKeyIndex;

    ///@{
    /// The shape as an SeIdentityKey, looked up once: a cross-cast walks the whole class hierarchy,
    /// and the key tables ask for it once per shape and change. 0 until looked up, then
    /// kNoPromise or the address.
    static constexpr std::uintptr_t kNoPromise = 1;
    mutable std::atomic<std::uintptr_t> promise{0};
    ///@}
};

extern template class RCBasePtr<SeShape>;
extern template class RCBasePtr<SeShape const>;
extern template class RCShdPtr<SeShape>;
extern template class RCShdPtr<SeShape const>;

} // namespace Vo
