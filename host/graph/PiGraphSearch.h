#pragma once

#include "../../foundation/RCShdPtr.h"
#include "../PrdPredicate.h"
#include "../VoHostExport.h"
#include "PiNode.h"
#include "PiPath.h"

namespace Vo {

/// Searches of a composition graph along its downstream connections.
class VO_HOST_API PiGraphSearch {
public:
    PiGraphSearch() = delete;

    /// The path from start to the first node that satisfies predicate, start and match included;
    /// null when no node reachable from start does, or when start is null. The start node is tested
    /// first. The walk is depth-first along downstream connections, each node's connections in the
    /// order they were made, and tests each node once, when it is first reached, so cycles end it.
    /// The path is the chain of connections by which the walk reached the match.
    /// Linear in the nodes and connections reachable from start.
    /// \param start the node the walk starts from, or null
    /// \param predicate the node test; what it raises ends the walk and passes to the caller
    static RCShdPtr<PiPath> heightFirst(const RCShdPtr<PiNode const> &start,
                                        const PrdPredicate<RCShdPtr<PiNode const>> &predicate);
};

} // namespace Vo
