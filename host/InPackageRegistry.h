#pragma once

#include "InPackageInit.h"

#include <string>
#include <vector>

namespace Vo {

/// The process-wide registry of packages. Packages enter it when their package object is
/// constructed (at library load) and leave it when destroyed (at unload). `initializeAll`
/// initialises every package not yet initialised, each after all its dependencies, in registration
/// order otherwise. Holds the package objects by plain pointer; owns none. One thread (start-up and
/// shut-down).
class VO_HOST_API InPackageRegistry {
public:
    /// The process's one registry.
    static InPackageRegistry &instance();

    ///@{
    /// Enters (takes out) a package; the package objects do it as they are made and end.
    /// \param package the package object, borrowed until it is taken out; adding null or one
    /// already entered, or removing one not entered, does nothing
    void add(InPackageInit *package);
    void remove(InPackageInit *package) noexcept;
    ///@}
    /// Null when no package of that name is registered.
    /// \param name the name the package object gives (InPackageInitBase::getName)
    InPackageInit *findPackage(const std::string &name) const;
    ///@{
    /// Raises RCException when a dependency is not registered or the dependencies form a cycle; the
    /// packages initialised before the failure stay initialised.
    void initializeAll();
    ///@}
    /// Whether initializeAll has initialised the package since it was entered.
    /// \param package the package object; null or one not entered is not initialised
    bool isInitialized(const InPackageInit *package) const;
    /// Names of the packages in the order they were initialised.
    const std::vector<std::string> &getInitializationOrder() const noexcept { return initOrder; }

private:
    InPackageRegistry() = default;
    InPackageInit *findByType(const std::type_info &type) const;
    void initialize(InPackageInit *package, std::vector<InPackageInit *> &visiting);

    std::vector<InPackageInit *> packages;
    std::vector<const InPackageInit *> initialized;
    std::vector<std::string> initOrder;
};

} // namespace Vo
