#pragma once

#include "InBuildInfo.h"
#include "OPtr.h"

#include <vector>

namespace Vo {

/// Keeps the build-information records that packages register. The records are owned here for the
/// life of the process.
class VO_HOST_API InBuildInfoUtil {
public:
    /// Takes ownership of the record; gives the registered record. Raises RCExNullPtr for null,
    /// registering nothing.
    /// \param info the record; kept until the process ends
    static const InBuildInfo &registerInfo(OPtr<InBuildInfo> info);
    /// The record registered for a library name, null when none.
    /// \param libraryName the name the record gives as its library's; null finds nothing
    static const InBuildInfo *findInfo(const char *libraryName);
    /// Every record registered, in the order they were registered.
    static std::vector<const InBuildInfo *> getInfos();
};

} // namespace Vo
