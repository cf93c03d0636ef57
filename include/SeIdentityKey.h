#pragma once

#include "VoShapeExport.h"

#include <cstdint>

namespace Vo {

/// An optional promise a shape makes by deriving from this class beside SeShape: two shapes whose
/// identity keys differ are never equal (SeObject::isEqual gives false). The shape selector then
/// looks shapes up by key and calls isEqual only on shapes whose keys match. It uses the promise
/// only when every shape of an operation makes it (the shape asked about or walked, and every
/// selected shape); otherwise it compares with isEqual, shape by shape, as without it.
/// Owns nothing; the key must stay the same while the shape is selected.
class VO_SHAPE_API SeIdentityKey {
public:
    /// The shape's key: two shapes whose keys differ are never equal. Must not change while the
    /// shape is selected.
    virtual std::uint64_t getIdentityKey() const noexcept = 0;

protected:
    SeIdentityKey() = default;
    ///@{
    /// Derived shapes copy as they like.
    SeIdentityKey(const SeIdentityKey &) = default;
    SeIdentityKey &operator=(const SeIdentityKey &) = default;
    ///@}
    virtual ~SeIdentityKey();
};

} // namespace Vo
