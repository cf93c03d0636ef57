#include "host/graph/PiGraph.h"

#include "host/graph/PiCompositionGraphInterface.h"

#include <algorithm>
#include <utility>

namespace Vo {

RCShdPtr<PiGraph> PiGraph::create() {
    return create(std::make_unique<PiCompositionGraphInterface>());
}

RCShdPtr<PiGraph> PiGraph::create(std::unique_ptr<PiNodeController> controller) {
    return RCShdPtr<PiGraph>(new PiGraph(std::move(controller)));
}

PiGraph::PiGraph(std::unique_ptr<PiNodeController> owned)
    : controller(owned.release()), nextId(1) {}

PiGraph::~PiGraph() noexcept {
    for (const RCShdPtr<PiNode> &node : nodes) {
        node->leaveGraph();
    }
}

RCWeakPtr<PiNodeController const> PiGraph::getNodeController() const {
    return RCWeakPtr<PiNodeController const>(controller.get(), controller.getCounter());
}

void PiGraph::releaseNodeController() noexcept { controller.reset(); }

RCShdPtr<PiNode> PiGraph::addNode(const std::string &name, int flags) {
    RCShdPtr<PiNode> node(new PiNode(*this, takeNextId(), name, flags));
    nodes.push_back(node);
    return node;
}

bool PiGraph::connect(const RCShdPtr<PiNode> &upstream, const RCShdPtr<PiNode> &downstream) {
    if (upstream->graph != this || downstream->graph != this) {
        return false;
    }
    return upstream->addDownstream(*downstream);
}

bool PiGraph::removeNode(const PiNode &node) noexcept {
    const auto found =
        std::find_if(nodes.begin(), nodes.end(),
                     [&node](const RCShdPtr<PiNode> &held) { return held.get() == &node; });
    if (found == nodes.end()) {
        return false;
    }
    for (const RCShdPtr<PiNode> &other : nodes) {
        other->removeDownstream(node);
    }
    (*found)->leaveGraph();
    nodes.erase(found); // last: this may destroy the node
    return true;
}

int PiGraph::getNbNodes() const noexcept { return static_cast<int>(nodes.size()); }

RCShdPtr<PiNode> PiGraph::getNode(int index) const {
    const bool valid = index >= 0 && index < getNbNodes();
    return valid ? nodes[index] : RCShdPtr<PiNode>();
}

int PiGraph::takeNextId() noexcept { return nextId++; }

} // namespace Vo
