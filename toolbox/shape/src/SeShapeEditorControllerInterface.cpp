#include "SeShapeEditorControllerInterface.h"

#include "SeShapeEditorControllerNode.h"

#include "host/graph/PiCompositionGraphInterface.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiNodeController.h"

namespace Vo {

SeShapeEditorControllerInterface::~SeShapeEditorControllerInterface() = default;
int SeShapeEditorControllerInterface::getCreationEdgeIn() const { return 0; }
int SeShapeEditorControllerInterface::getCreationEdgeOut() const { return 0; }

// Holds the node controller locked while it reads the selection, which the controller owns.
RCShdPtr<SnSelection> SeShapeEditorControllerInterface::getApplicationSelection() {
    const RCShdPtr<PiGraph const> graph = getGraph();
    const RCWeakPtr<PiNodeController const> nodeController = graph->getNodeController();
    const RCWeakAccessor<PiNodeController const> lockedController(nodeController);
    const RCWeakPtr<PiCompositionGraphInterface const> composition(
        rcCheckedCast<PiCompositionGraphInterface const>(lockedController.get()),
        nodeController.getCounter());
    const RCWeakAccessor<PiCompositionGraphInterface const> lockedComposition(composition);
    return lockedComposition->getSelection();
}

SeShapeEditorControllerNode::~SeShapeEditorControllerNode() = default;

template class RCStrongBasePtr<SeShapeEditorControllerInterface, LkCounter<int>>;
template class RCWeakAccessor<SeShapeEditorControllerInterface>;
template class RCWeakBasePtr<SeShapeEditorControllerInterface, LkCounter<int>>;
template class RCWeakPtr<SeShapeEditorControllerInterface>;

} // namespace Vo
