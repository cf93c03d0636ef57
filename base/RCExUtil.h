#pragma once

#include "VoBaseExport.h"

namespace Vo {

/// The base library's error raisers. The names they are given are the platform's type names
/// (`std::type_info::name`); the exceptions carry their readable forms.
class VO_BASE_API RCExUtil {
public:
    /// Raises RCExNullPtr naming the pointer type.
    /// \param pointerTypeName the pointer type as `std::type_info::name` spells it; null names
    /// none
    [[noreturn]] static void throwExNullPtr(const char *pointerTypeName);
    /// Raises RCExCastFailed naming the object's actual class, then the target class.
    /// \param actualTypeName, targetTypeName the two classes as `std::type_info::name` spells them;
    /// null names none
    [[noreturn]] static void throwExCastFailed(const char *actualTypeName,
                                               const char *targetTypeName);
};

} // namespace Vo
