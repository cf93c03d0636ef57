#pragma once

#include "../PrdPredicate.h"
#include "../VoHostExport.h"
#include "PiNodeFlagTest.h"

namespace Vo {

/// The node test "is a primary-output node" (PiNode::isPrimaryOutput); a null node is not.
/// Thread safety: holds no state; evaluate is as safe as reading the node's flags.
class VO_HOST_API PiIsPrimaryOutputNode : public PiNodeFlagTest {
public:
    /// The predicate: whether a node is a primary output.
    static PrdPredicate<RCShdPtr<PiNode const>> getPredicate();

protected:
    friend class PiNodeFlagTest;
    PiIsPrimaryOutputNode() noexcept;
    ~PiIsPrimaryOutputNode() noexcept override;
};

} // namespace Vo
