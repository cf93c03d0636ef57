#pragma once

#include "RCException.h"

namespace Vo {

/// Raised when a throwing dynamic conversion fails. Carries the readable names of the object's
/// actual class and of the target class; the message reads "cannot convert <actual> to <target>".
class VO_BASE_API RCExCastFailed : public RCException {
public:
    /// The message names both classes: the object's actual class, then the one asked for.
    /// \param actualType the object's actual class, readable
    /// \param targetType the class the conversion asked for, readable
    RCExCastFailed(const std::string &actualType, const std::string &targetType);
    ~RCExCastFailed() override;
    ///@{
    /// The object's actual class and the class the conversion asked for, readable.
    const std::string &getActualType() const noexcept { return actualType; }
    const std::string &getTargetType() const noexcept { return targetType; }
    ///@}

private:
    std::string actualType;
    std::string targetType;
};

} // namespace Vo
