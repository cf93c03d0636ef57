#include "host/graph/PiIsToolNode.h"

namespace Vo {

PrdPredicate<RCShdPtr<PiNode const>> PiIsToolNode::getPredicate() {
    return PrdPredicate<RCShdPtr<PiNode const>>(
        RCShdPtr<PrdPredicateImp<RCShdPtr<PiNode const>>>(new PiIsToolNode()));
}

PiIsToolNode::PiIsToolNode() noexcept = default;

PiIsToolNode::~PiIsToolNode() noexcept = default;

bool PiIsToolNode::evaluate(const RCShdPtr<PiNode const> &node) const {
    return !node.isNull() && node->isTool();
}

} // namespace Vo
