#include "host/InBuildInfoUtil.h"
#include "host/InInit.h"

namespace Vo {

namespace {

// The record of a library that the host stand-in plays; only its name is its own.
class HostBuildInfo : public InBuildInfo {
public:
    explicit HostBuildInfo(const char *library) : library(library) {}
    const char *getProductName() const override { return "host stand-in"; }
    const char *getLibraryName() const override { return library; }
    const char *getProductRelease() const override { return "2013"; }
    const char *getVersion() const override { return "8.0"; }
    const char *getBuildTag() const override { return ""; }
    int getVersionMajor() const override { return 8; }
    int getVersionMinor() const override { return 0; }
    int getBuildType() const override { return 0; }
    const char *getBuildNumber() const override { return "0"; }
    const char *getBuildDate() const override { return __DATE__; }
    const char *getBuildConfiguration() const override { return "host"; }

private:
    const char *library;
};

// The package name and library name of each package the host stand-in plays.
struct HostNames {
    const char *package;
    const char *library;
};
template <class Tag> constexpr HostNames hostNames();
template <> constexpr HostNames hostNames<VoInit::base>() { return {"base", "libVObase"}; }
template <> constexpr HostNames hostNames<VoInit::primitives>() {
    return {"primitives", "libVOprimitives"};
}
template <> constexpr HostNames hostNames<VoInit::resmgt>() { return {"resmgt", "libVOresmgt"}; }
template <> constexpr HostNames hostNames<VoInit::internalAPI>() {
    return {"internalAPI", "libVOinternalAPI"};
}
template <> constexpr HostNames hostNames<VoInit::pluginAPI>() {
    return {"pluginAPI", "libVOpluginAPI"};
}

} // namespace

// Every host package but base depends on base.
template <class Tag> InInit<Tag>::InInit() : InPackageInit(hostNames<Tag>().package) {
    registerPackage();
    if (getType() != InInit<VoInit::base>::getType()) {
        addDependency(InInit<VoInit::base>::getType());
    }
}

template <class Tag> void InInit<Tag>::registerBuildInfo() {
    InBuildInfoUtil::registerInfo(OPtr<InBuildInfo>(new HostBuildInfo(hostNames<Tag>().library)));
}

template class InInit<VoInit::base>;
template class InInit<VoInit::primitives>;
template class InInit<VoInit::resmgt>;
template class InInit<VoInit::internalAPI>;
template class InInit<VoInit::pluginAPI>;

namespace {
InInit<VoInit::base> basePackage;
InInit<VoInit::primitives> primitivesPackage;
InInit<VoInit::resmgt> resmgtPackage;
InInit<VoInit::internalAPI> internalApiPackage;
InInit<VoInit::pluginAPI> pluginApiPackage;
} // namespace

} // namespace Vo
