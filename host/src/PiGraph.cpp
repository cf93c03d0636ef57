#include "host/PiGraph.h"

#include "host/PiCompositionGraphInterface.h"

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

int PiGraph::getNbNodes() const noexcept { return static_cast<int>(nodes.size()); }

RCShdPtr<PiNode> PiGraph::getNode(int index) const {
    const bool valid = index >= 0 && index < getNbNodes();
    return valid ? nodes[index] : RCShdPtr<PiNode>();
}

int PiGraph::takeNextId() noexcept { return nextId++; }

} // namespace Vo
