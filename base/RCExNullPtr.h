#pragma once

#include "RCException.h"

namespace Vo {

/// Raised when a null pointer is dereferenced through a tested access. Carries the readable name of
/// the pointer type, for example "Vo::SeShape const*"; the message reads
/// "null pointer dereferenced: <type>".
class VO_BASE_API RCExNullPtr : public RCException {
public:
    /// The message reads "null pointer dereferenced: <pointerType>".
    /// \param pointerType the type of the pointer that was null, readable
    explicit RCExNullPtr(const std::string &pointerType);
    ~RCExNullPtr() override;
    /// The type of the pointer that was null.
    const std::string &getPointerType() const noexcept { return pointerType; }

protected:
    /// For errors that know more than the pointer type: the message is given as it stands.
    /// \param pointerType the type of the pointer that was null, readable
    /// \param message the whole message, what() returns it
    RCExNullPtr(const std::string &pointerType, const std::string &message);

private:
    std::string pointerType;
};

} // namespace Vo
