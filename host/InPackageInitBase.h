#pragma once

#include "InVariableBase.h"

namespace Vo {

/// A package of the application as the registry drives it. The registry calls, once per package and
/// in dependency order, `preInitialize`, `initialize`, `registerBuildInfo` and `postInitialize`.
class VO_HOST_API InPackageInitBase : public InVariableBase {
public:
    ~InPackageInitBase() override;
    ///@{
    /// Records (removes) a dependency on another registered package object.
    virtual void addDependency(InVariableBase *package) = 0;
    virtual void removeDependency(InVariableBase *package) = 0;
    virtual const char *getName() const = 0;
    virtual void preInitialize() = 0;
    virtual void initialize() = 0;
    ///@}
    ///@{
    /// Hands the package's build-information record to InBuildInfoUtil::registerInfo.
    virtual void registerBuildInfo() = 0;
    virtual void postInitialize() = 0;
    ///@}
    /// A package-wide flag whose meaning is the package's own.
    virtual void setPackageFlag(bool flag) = 0;
};

} // namespace Vo
