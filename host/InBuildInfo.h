#pragma once

#include "VoHostExport.h"

namespace Vo {

/// The build-information record of one library. Every value is a constant; strings are static and
/// never freed by callers.
class VO_HOST_API InBuildInfo {
public:
    InBuildInfo() = default;
    InBuildInfo(const InBuildInfo &) = delete;
    InBuildInfo &operator=(const InBuildInfo &) = delete;
    virtual ~InBuildInfo();
    ///@{
    /// What the library tells of itself: product, library name, release, version, build tag,
    /// version numbers, build type, number, date and configuration. Static strings.
    virtual const char *getProductName() const = 0;
    virtual const char *getLibraryName() const = 0;
    virtual const char *getProductRelease() const = 0;
    virtual const char *getVersion() const = 0;
    virtual const char *getBuildTag() const = 0;
    virtual int getVersionMajor() const = 0;
    virtual int getVersionMinor() const = 0;
    virtual int getBuildType() const = 0;
    virtual const char *getBuildNumber() const = 0;
    virtual const char *getBuildDate() const = 0;
    virtual const char *getBuildConfiguration() const = 0;
    ///@}
};

} // namespace Vo
