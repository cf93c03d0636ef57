#include "InInitShape.h"

#include "host/InBuildInfoUtil.h"

namespace Vo {

namespace {

bool packageFlag = false;

// libVoshape's build-information record: constants only. They describe the product release the
// record has always named, which applications compare against; the soname's major version (9)
// counts the layout of the installed headers and does not change them.
class LibraryBuildInfo : public InBuildInfo {
public:
    const char *getProductName() const override { return "Corvane Quarn Library"; }
    const char *getLibraryName() const override { return "libVoshape"; }
    const char *getProductRelease() const override { return "2013"; }
    const char *getVersion() const override { return "8.0"; }
    const char *getBuildTag() const override { return getBuildType() == 3 ? "dev" : ""; }
    int getVersionMajor() const override { return 8; }
    int getVersionMinor() const override { return 0; }
    int getBuildType() const override { return 42; }
    const char *getBuildNumber() const override { return "2600"; }
    const char *getBuildDate() const override { return "Jun 12 2012"; }
    const char *getBuildConfiguration() const override { return "opt.x86_64.intel"; }
};

} // namespace

// Registers first, so the package's own operations are in force, then the dependencies in order.
InInit<VoInit::shape>::InInit() : InPackageInit("shape") {
    registerPackage();
    addDependency(InInit<VoInit::internalAPI>::getType());
    addDependency(InInit<VoInit::primitives>::getType());
    addDependency(InInit<VoInit::resmgt>::getType());
    addDependency(InInit<VoInit::pluginAPI>::getType());
    addDependency(InInit<VoInit::base>::getType());
}

InInit<VoInit::shape>::~InInit() = default;

const std::type_info *InInit<VoInit::shape>::getType() noexcept {
    return &typeid(InInit<VoInit::shape>);
}

void InInit<VoInit::shape>::preInitialize() {}
void InInit<VoInit::shape>::initialize() {}
void InInit<VoInit::shape>::postInitialize() {}

// The registry owns the record from here on; the local owning pointer is empty after the call.
void InInit<VoInit::shape>::registerBuildInfo() {
    InBuildInfoUtil::registerInfo(OPtr<InBuildInfo>(new LibraryBuildInfo));
}

void InInit<VoInit::shape>::setPackageFlag(bool flag) { packageFlag = flag; }

namespace {
InInit<VoInit::shape> shapePackage;
} // namespace

} // namespace Vo
