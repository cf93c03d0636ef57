#include "host/graph/PiIsToolNode.h"

namespace Vo {

PrdPredicate<RCShdPtr<PiNode const>> PiIsToolNode::getPredicate() {
    return predicateOf<PiIsToolNode>();
}

PiIsToolNode::PiIsToolNode() noexcept : PiNodeFlagTest(&PiNode::isTool) {}

PiIsToolNode::~PiIsToolNode() noexcept = default;

} // namespace Vo
