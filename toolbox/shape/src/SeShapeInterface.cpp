#include "SeShapeInterface.h"

#include "SeShape.h"

#include "host/graph/PiGraphObject.h"
#include "host/graph/PiInput.h"
#include "host/graph/PiTimePath.h"

namespace Vo {

SeShapeInterface::~SeShapeInterface() = default;

RCShdPtr<PiGraphObject> SeShapeInterface::getCurveVisibleObject() { return {}; }
bool SeShapeInterface::arePointsEditable() const { return true; }
bool SeShapeInterface::isEdgeActive() const { return true; }
bool SeShapeInterface::areLinksActive() const { return false; }
bool SeShapeInterface::areLinksVisible(const RCShdPtr<PiTimePath const> &) const { return false; }
RCShdPtr<PiGraphObject> SeShapeInterface::getEdgeColorObject() { return {}; }
RCShdPtr<PiGraphObject> SeShapeInterface::getEdgeVisibleObject() { return {}; }
RCShdPtr<PiInput> SeShapeInterface::getGradientInput() { return {}; }
CoRgbColorTyped<float> SeShapeInterface::getLinkLineColor() { return {0.0f, 0.0f, 0.0f}; }
void SeShapeInterface::addCurveRepresentationChangedCb(CbHandler<CbEmptyType> *) const {}
void SeShapeInterface::removeCurveRepresentationChangedCb(CbHandler<CbEmptyType> *) const {}

template class RCStrongBasePtr<SeShapeInterface, LkCounter<int>>;
template class RCWeakAccessor<SeShapeInterface>;
template class RCWeakBasePtr<SeShapeInterface, LkCounter<int>>;
template class RCWeakPtr<SeShapeInterface>;
template class RCPvtEngPtr<IteratorImp<RCWeakPtr<SeShapeInterface>>>;
template class Iterator<RCWeakPtr<SeShapeInterface>>;

} // namespace Vo
