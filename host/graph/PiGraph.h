#pragma once

#include "../../base/LkCounter.h"
#include "../../base/RCBase.h"
#include "../../foundation/RCShdPtr.h"
#include "../../foundation/RCWeakPtr.h"
#include "../../foundation/Vector.h"
#include "../RCOwner.h"
#include "../VoHostExport.h"
#include "PiNode.h"
#include "PiNodeController.h"

#include <memory>
#include <string>

namespace Vo {

/// A composition graph: nodes joined by downstream connections, the source of every graph object's
/// id, and the owner of its node controller (handed out weakly). Owns its nodes; destroying the
/// graph cuts every connection, so nodes still shared elsewhere survive on their own, and gives the
/// controller up.
/// Thread safety: the count may change on any thread; building and searching stay on the editor's
/// thread.
class VO_HOST_API PiGraph : public RCBase<LkCounter<int>> {
public:
    /// A composition graph: its controller is a PiCompositionGraphInterface.
    static RCShdPtr<PiGraph> create();
    /// A graph owning the given controller, which need not be a composition one; a null controller
    /// gives a graph without one.
    /// \param controller the controller, owned by the graph from now on, or null
    static RCShdPtr<PiGraph> create(std::unique_ptr<PiNodeController> controller);

    PiGraph(const PiGraph &) = delete;
    PiGraph &operator=(const PiGraph &) = delete;

    /// Null once the controller is gone.
    RCWeakPtr<PiNodeController const> getNodeController() const;
    /// Gives the controller up: it is deleted now, or when the last accessor locked on it lets go,
    /// and weak pointers to it read as null from then on.
    void releaseNodeController() noexcept;

    /// A new node with the PiNode::Flags given.
    /// \param name the node's name; names need not be unique
    /// \param flags PiNode::Flags or-ed together
    RCShdPtr<PiNode> addNode(const std::string &name, int flags = PiNode::NoFlags);
    /// Makes downstream a node fed by upstream; a node may feed itself. False, connecting nothing,
    /// when either node belongs to no graph or to another one, or when the connection exists.
    /// Raises RCExNullPtr naming `Vo::PiNode*` when either node is null.
    /// \param upstream the node that feeds
    /// \param downstream the node fed
    bool connect(const RCShdPtr<PiNode> &upstream, const RCShdPtr<PiNode> &downstream);
    /// Takes node out of the graph: the connections to and from it are cut, and it is left as a
    /// node that outlived its graph (no graph, no connections, its builders raise), keeping its
    /// inputs and objects. Searches no longer reach it or run through it; a path found earlier
    /// keeps its nodes and still names it. Whoever holds it shared (a selection item, a path) keeps
    /// it alive; otherwise it goes now. Ids are not reused. False, changing nothing, when node is
    /// not one of this graph's nodes.
    /// \param node the node taken out
    bool removeNode(const PiNode &node) noexcept;
    /// The number of nodes in the graph.
    int getNbNodes() const noexcept;
    /// Nodes in creation order; null out of range.
    /// \param index the node's place, 0 .. getNbNodes() - 1
    RCShdPtr<PiNode> getNode(int index) const;

    /// A fresh id, never given before by this graph. Ids start at 1.
    int takeNextId() noexcept;

protected:
    ~PiGraph() noexcept override;

private:
    explicit PiGraph(std::unique_ptr<PiNodeController> controller);

    RCOwner<PiNodeController> controller;
    Vector<RCShdPtr<PiNode>> nodes;
    int nextId;
};

} // namespace Vo
