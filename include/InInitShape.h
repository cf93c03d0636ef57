#pragma once

#include "VoShapeExport.h"

#include "host/InInit.h"

#include <typeinfo>

namespace Vo {

/// The package object of libVoshape, the package "shape". Constructed once when the library is
/// loaded: it enters the registry and depends on internalAPI, primitives, resmgt, pluginAPI and
/// base, in that order. When the registry initialises it, it registers the library's
/// build-information record. Declares no data.
template <> class VO_SHAPE_API InInit<VoInit::shape> : public InPackageInit {
public:
    InInit();
    ~InInit() override;
    /// Usable before the package object exists.
    static const std::type_info *getType() noexcept;

    void preInitialize() override;
    void initialize() override;
    void registerBuildInfo() override;
    void postInitialize() override;
    /// Stores the flag in a package-wide bool of this library; nothing in the library reads it.
    /// \param flag the value stored
    void setPackageFlag(bool flag) override;
};

} // namespace Vo
