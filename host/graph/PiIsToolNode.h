#pragma once

#include "../PrdPredicate.h"
#include "../VoHostExport.h"
#include "PiNodeFlagTest.h"

namespace Vo {

/// The node test "is a tool node" (PiNode::isTool); a null node is not.
/// Thread safety: holds no state; evaluate is as safe as reading the node's flags.
class VO_HOST_API PiIsToolNode : public PiNodeFlagTest {
public:
    /// The predicate: whether a node is a tool node.
    static PrdPredicate<RCShdPtr<PiNode const>> getPredicate();

protected:
    friend class PiNodeFlagTest;
    PiIsToolNode() noexcept;
    ~PiIsToolNode() noexcept override;
};

} // namespace Vo
