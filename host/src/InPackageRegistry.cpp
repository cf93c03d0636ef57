#include "host/InPackageRegistry.h"

#include "base/RCException.h"

#include <algorithm>
#include <typeindex>

namespace Vo {

InVariableBase::~InVariableBase() = default;
InPackageInitBase::~InPackageInitBase() = default;

InPackageInit::InPackageInit(const char *packageName) : name(packageName ? packageName : "") {}

InPackageInit::~InPackageInit() { InPackageRegistry::instance().remove(this); }

void InPackageInit::addDependency(InVariableBase *package) {
    if (package != nullptr) {
        addDependency(&typeid(*package));
    }
}

void InPackageInit::removeDependency(InVariableBase *package) {
    if (package == nullptr) {
        return;
    }
    const std::type_index type(typeid(*package));
    auto found = std::find_if(dependencies.begin(), dependencies.end(),
                              [&](const std::type_info *t) { return std::type_index(*t) == type; });
    if (found != dependencies.end()) {
        dependencies.erase(found);
    }
}

const char *InPackageInit::getName() const { return name.c_str(); }

void InPackageInit::registerPackage() { InPackageRegistry::instance().add(this); }

void InPackageInit::addDependency(const std::type_info *packageType) {
    if (packageType != nullptr) {
        dependencies.push_back(packageType);
    }
}

InPackageRegistry &InPackageRegistry::instance() {
    static InPackageRegistry registry;
    return registry;
}

void InPackageRegistry::add(InPackageInit *package) {
    if (package != nullptr &&
        std::find(packages.begin(), packages.end(), package) == packages.end()) {
        packages.push_back(package);
    }
}

void InPackageRegistry::remove(InPackageInit *package) noexcept {
    packages.erase(std::remove(packages.begin(), packages.end(), package), packages.end());
    initialized.erase(std::remove(initialized.begin(), initialized.end(), package),
                      initialized.end());
}

InPackageInit *InPackageRegistry::findPackage(const std::string &name) const {
    auto found = std::find_if(packages.begin(), packages.end(),
                              [&](const InPackageInit *p) { return name == p->getName(); });
    return found != packages.end() ? *found : nullptr;
}

InPackageInit *InPackageRegistry::findByType(const std::type_info &type) const {
    auto found = std::find_if(packages.begin(), packages.end(), [&](const InPackageInit *p) {
        return std::type_index(typeid(*p)) == std::type_index(type);
    });
    return found != packages.end() ? *found : nullptr;
}

bool InPackageRegistry::isInitialized(const InPackageInit *package) const {
    return std::find(initialized.begin(), initialized.end(), package) != initialized.end();
}

void InPackageRegistry::initializeAll() {
    std::vector<InPackageInit *> visiting;
    const std::vector<InPackageInit *> snapshot = packages;
    for (InPackageInit *package : snapshot) {
        initialize(package, visiting);
    }
}

void InPackageRegistry::initialize(InPackageInit *package, std::vector<InPackageInit *> &visiting) {
    if (isInitialized(package)) {
        return;
    }
    if (std::find(visiting.begin(), visiting.end(), package) != visiting.end()) {
        throw RCException(std::string("package dependencies form a cycle at \"") +
                          package->getName() + "\"");
    }
    visiting.push_back(package);
    for (const std::type_info *dependencyType : package->getDependencies()) {
        InPackageInit *dependency = findByType(*dependencyType);
        if (dependency == nullptr) {
            throw RCException(std::string("package \"") + package->getName() +
                              "\" depends on a package that is not registered");
        }
        initialize(dependency, visiting);
    }
    visiting.pop_back();
    package->preInitialize();
    package->initialize();
    package->registerBuildInfo();
    package->postInitialize();
    initialized.push_back(package);
    initOrder.emplace_back(package->getName());
}

} // namespace Vo
