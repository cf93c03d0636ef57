#pragma once

#include "../../foundation/RCShdPtr.h"
#include "../PrdPredicate.h"
#include "../PrdPredicateImp.h"
#include "../VoHostExport.h"
#include "PiNode.h"

namespace Vo {

/// A node test that reads one flag of the node; a null node fails it. The named node tests
/// (PiIsToolNode, PiIsPrimaryOutputNode) are this with their flag.
/// Thread safety: holds no state; evaluate is as safe as reading the node's flags.
class VO_HOST_API PiNodeFlagTest : public PrdPredicateImp<RCShdPtr<PiNode const>> {
public:
    /// A flag of the node, read by a const member function.
    using Flag = bool (PiNode::*)() const;

    /// Whether the node is not null and has the flag.
    /// \param node the node tested, or null
    bool evaluate(const RCShdPtr<PiNode const> &node) const override;

protected:
    /// Tests nodes for `wanted`.
    /// \param wanted the member function that reads the flag, not null
    explicit PiNodeFlagTest(Flag wanted) noexcept : flag(wanted) {}
    ~PiNodeFlagTest() noexcept override;

    /// The predicate of a new Test, a class made from a flag by its default constructor.
    template <class Test> static PrdPredicate<RCShdPtr<PiNode const>> predicateOf() {
        return PrdPredicate<RCShdPtr<PiNode const>>(
            RCShdPtr<PrdPredicateImp<RCShdPtr<PiNode const>>>(new Test()));
    }

private:
    Flag flag;
};

} // namespace Vo
