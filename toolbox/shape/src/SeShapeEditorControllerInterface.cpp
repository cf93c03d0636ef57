#include "SeShapeEditorControllerInterface.h"

#include "SeShapeEditorControllerNode.h"

namespace Vo {

SeShapeEditorControllerInterface::~SeShapeEditorControllerInterface() = default;
int SeShapeEditorControllerInterface::getCreationEdgeIn() const { return 0; }
int SeShapeEditorControllerInterface::getCreationEdgeOut() const { return 0; }

SeShapeEditorControllerNode::~SeShapeEditorControllerNode() = default;

template class RCStrongBasePtr<SeShapeEditorControllerInterface, LkCounter<int>>;
template class RCWeakAccessor<SeShapeEditorControllerInterface>;
template class RCWeakBasePtr<SeShapeEditorControllerInterface, LkCounter<int>>;
template class RCWeakPtr<SeShapeEditorControllerInterface>;

} // namespace Vo
