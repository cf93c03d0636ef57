#pragma once

#include "RCException.h"

namespace Vo {

/// Raised when an operation is called where it has no meaning, such as a call without a value on a
/// callback list whose handlers expect one.
class VO_BASE_API RCExInvalidCall : public RCException {
public:
    /// A refused call.
    /// \param message which call was refused and why; what() returns it
    explicit RCExInvalidCall(const std::string &message);
    ~RCExInvalidCall() override;
};

} // namespace Vo
