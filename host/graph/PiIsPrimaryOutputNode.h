#pragma once

#include "../../foundation/RCShdPtr.h"
#include "../PrdPredicate.h"
#include "../PrdPredicateImp.h"
#include "../VoHostExport.h"
#include "PiNode.h"

namespace Vo {

// The node test "is a primary-output node" (PiNode::isPrimaryOutput); a null node is not.
// Thread safety: holds no state; evaluate is as safe as reading the node's flags.
class VO_HOST_API PiIsPrimaryOutputNode : public PrdPredicateImp<RCShdPtr<PiNode const>> {
public:
    static PrdPredicate<RCShdPtr<PiNode const>> getPredicate();

    bool evaluate(const RCShdPtr<PiNode const> &node) const override;

protected:
    PiIsPrimaryOutputNode() noexcept;
    ~PiIsPrimaryOutputNode() noexcept override;
};

} // namespace Vo
