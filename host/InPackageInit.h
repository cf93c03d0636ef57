#pragma once

#include "InPackageInitBase.h"

#include <string>
#include <typeinfo>
#include <vector>

namespace Vo {

/// A named package that enters the registry with `registerPackage` and leaves it when destroyed.
/// Dependencies are recorded as the type information of other packages' InInit classes, in the
/// order they were added, and resolved by the registry when it initialises. Owns its name and
/// dependency list.
class VO_HOST_API InPackageInit : public InPackageInitBase {
public:
    /// A package object named `name`; registerPackage enters it into the registry.
    /// \param name the package's name, copied; null gives the empty name
    explicit InPackageInit(const char *name);
    ~InPackageInit() override;

    void addDependency(InVariableBase *package) override;
    void removeDependency(InVariableBase *package) override;
    const char *getName() const override;
    /// The packages this one depends on, as type information, in the order they were added.
    const std::vector<const std::type_info *> &getDependencies() const noexcept {
        return dependencies;
    }

protected:
    /// Enters this package object into the registry; call it from the most derived constructor, so
    /// that the package's own operations are in force.
    void registerPackage();
    /// Records a dependency on the package whose InInit class has this type (see InInit::getType).
    /// \param packageType the type of the other package's InInit class; null records nothing
    void addDependency(const std::type_info *packageType);

private:
    std::string name;
    std::vector<const std::type_info *> dependencies;
};

} // namespace Vo
