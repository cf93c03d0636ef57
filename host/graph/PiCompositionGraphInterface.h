#pragma once

#include "../../foundation/RCShdPtr.h"
#include "../VoHostExport.h"
#include "../selection/SnSelection.h"
#include "PiNodeController.h"

namespace Vo {

/// The node controller of a composition graph. Owns the application's global selection, made with
/// the controller and kept, as the same object, until the controller is destroyed with its graph.
class VO_HOST_API PiCompositionGraphInterface : public PiNodeController {
public:
    PiCompositionGraphInterface();
    ~PiCompositionGraphInterface() noexcept override;

    /// The application's selection, the one graph objects are selected in.
    RCShdPtr<SnSelection> getSelection() const;

private:
    RCShdPtr<SnSelection> selection;
};

} // namespace Vo
