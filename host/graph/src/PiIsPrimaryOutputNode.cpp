#include "host/graph/PiIsPrimaryOutputNode.h"

namespace Vo {

PrdPredicate<RCShdPtr<PiNode const>> PiIsPrimaryOutputNode::getPredicate() {
    return predicateOf<PiIsPrimaryOutputNode>();
}

PiIsPrimaryOutputNode::PiIsPrimaryOutputNode() noexcept
    : PiNodeFlagTest(&PiNode::isPrimaryOutput) {}

PiIsPrimaryOutputNode::~PiIsPrimaryOutputNode() noexcept = default;

} // namespace Vo
