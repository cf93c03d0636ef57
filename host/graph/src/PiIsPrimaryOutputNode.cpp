#include "host/graph/PiIsPrimaryOutputNode.h"

namespace Vo {

PrdPredicate<RCShdPtr<PiNode const>> PiIsPrimaryOutputNode::getPredicate() {
    return PrdPredicate<RCShdPtr<PiNode const>>(
        RCShdPtr<PrdPredicateImp<RCShdPtr<PiNode const>>>(new PiIsPrimaryOutputNode()));
}

PiIsPrimaryOutputNode::PiIsPrimaryOutputNode() noexcept = default;

PiIsPrimaryOutputNode::~PiIsPrimaryOutputNode() noexcept = default;

bool PiIsPrimaryOutputNode::evaluate(const RCShdPtr<PiNode const> &node) const {
    return !node.isNull() && node->isPrimaryOutput();
}

} // namespace Vo
