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
    /// \param package the package object depended on, borrowed; null does nothing, and so does
    /// removing one not recorded
    virtual void addDependency(InVariableBase *package) = 0;
    virtual void removeDependency(InVariableBase *package) = 0;
    ///@}
    /// The package's name, as the registry reports it.
    virtual const char *getName() const = 0;
    ///@{
    /// The registry's first two calls of the package, once those of its dependencies are done.
    virtual void preInitialize() = 0;
    virtual void initialize() = 0;
    ///@}
    ///@{
    /// Hands the package's build-information record to InBuildInfoUtil::registerInfo.
    virtual void registerBuildInfo() = 0;
    virtual void postInitialize() = 0;
    ///@}
    /// A package-wide flag whose meaning is the package's own.
    /// \param flag the flag's new value
    virtual void setPackageFlag(bool flag) = 0;
};

} // namespace Vo
