#pragma once

#include "../../base/RCBase.h"
#include "../../foundation/RCShdPtr.h"
#include "../../foundation/Vector.h"
#include "../VoHostExport.h"
#include "PiNode.h"

#include <iosfwd>

namespace Vo {

/// The nodes met on the way from one node to another, in order from the start node; what
/// PiGraphSearch finds. Holds its nodes shared and never changes once made.
/// Thread safety: plain count; a path stays on the editor's thread.
class VO_HOST_API PiPath : public RCBase<int> {
public:
    /// The path through these nodes, in order.
    /// \param nodes the nodes from the start node on, shared; none may be null
    explicit PiPath(Vector<RCShdPtr<PiNode const>> nodes) noexcept;
    PiPath(const PiPath &) = delete;
    PiPath &operator=(const PiPath &) = delete;

    /// The number of nodes on the path.
    int getNbNodes() const noexcept;
    /// Null when index is out of range.
    /// \param index the node's place from the start, 0 .. getNbNodes() - 1
    RCShdPtr<PiNode const> getNode(int index) const;
    /// True when other runs through the same nodes (PiGraphObject::areEqual) in the same order.
    /// \param other the path compared
    bool isEqual(const PiPath &other) const noexcept;
    /// Writes the nodes as "name#id" joined by " > ", without line end.
    /// \param out the stream written to
    void dump(std::ostream &out) const;

    /// True when both are null, or both are non-null and equal by isEqual.
    /// \param first, second the paths compared, or null
    static bool areEqual(const RCShdPtr<PiPath const> &first,
                         const RCShdPtr<PiPath const> &second) noexcept;

protected:
    ~PiPath() noexcept override;

private:
    Vector<RCShdPtr<PiNode const>> nodes;
};

} // namespace Vo
