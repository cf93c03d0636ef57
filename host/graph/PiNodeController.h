#pragma once

#include "../VoHostExport.h"

namespace Vo {

/// The application's controller of a graph's nodes. The graph owns it (RCOwner) and hands it out as
/// a weak pointer; a composition graph's controller is a PiCompositionGraphInterface.
class VO_HOST_API PiNodeController {
public:
    PiNodeController() noexcept = default;
    PiNodeController(const PiNodeController &) = delete;
    PiNodeController &operator=(const PiNodeController &) = delete;
    virtual ~PiNodeController() noexcept;
};

} // namespace Vo
