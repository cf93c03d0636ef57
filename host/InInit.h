#pragma once

#include "InPackageInit.h"
#include "VoInit.h"

#include <typeinfo>

namespace Vo {

/// The package object of one package, identified by its tag. The host stand-in defines it for the
/// packages it stands in for (base, primitives, resmgt, internalAPI, pluginAPI); every other
/// library specialises it for its own tag. `getType` is what other packages pass to
/// `addDependency`.
template <class Tag> class InInit : public InPackageInit {
public:
    InInit();
    ~InInit() override = default;
    /// The one type that stands for the package; referring to it keeps the library linked.
    static const std::type_info *getType() noexcept { return &typeid(InInit<Tag>); }

    void preInitialize() override {}
    void initialize() override {}
    void registerBuildInfo() override;
    void postInitialize() override {}
    void setPackageFlag(bool) override {}
};

extern template class VO_HOST_API InInit<VoInit::base>;
extern template class VO_HOST_API InInit<VoInit::primitives>;
extern template class VO_HOST_API InInit<VoInit::resmgt>;
extern template class VO_HOST_API InInit<VoInit::internalAPI>;
extern template class VO_HOST_API InInit<VoInit::pluginAPI>;

} // namespace Vo
