#include "SeFrameworkPointers.h"

#include "host/GeCurve.h"
#include "host/PiCompositeInput.h"
#include "host/PiCompositionGraphInterface.h"
#include "host/PiGraph.h"
#include "host/PiGraphObjectSnItemConst.h"
#include "host/PiMultivaluedInput.h"
#include "host/PiNodeController.h"
#include "host/PiPath.h"
#include "host/PiSnItem.h"
#include "host/PiStructuredInput.h"
#include "host/PrdPredicateImp.h"
#include "host/SnPartsBasic.h"
#include "host/SnSelection.h"
#include "host/SnSelectionChangeHint.h"

namespace Vo {

template class RCShdPtr<SnItem>;
template class RCShdPtr<SnItem const>;
template class RCShdPtr<SnParts>;
template class RCShdPtr<SnParts const>;
template class RCShdPtr<SnPartsBasic<int>>;
template class RCShdPtr<SnSelection>;
template class RCShdPtr<SnSelection const>;
template class RCShdPtr<SnSelectionChangeHint>;
template class RCShdPtr<PrdPredicateImp<RCShdPtr<SnItem const>>>;
template class RCShdPtr<PiGraphObject>;
template class RCShdPtr<PiGraphObject const>;
template class RCShdPtr<PiGraph const>;
template class RCShdPtr<PiNode>;
template class RCShdPtr<PiNode const>;
template class RCShdPtr<PiInput>;
template class RCShdPtr<PiStructuredInput>;
template class RCShdPtr<PiMultivaluedInput>;
template class RCShdPtr<PiCompositeInput>;
template class RCShdPtr<PiPath>;
template class RCShdPtr<PiSnItem<PiNode>>;
template class RCShdPtr<PiSnItem<PiInput>>;
template class RCShdPtr<PiGraphObjectSnItemConst const>;
template class RCShdPtr<GeCurve::Container>;
template class RCShdPtr<RCSWCount<LkCounter<int>>>;
template class RCWeakPtr<PiNodeController const>;
template class RCWeakAccessor<PiNodeController const>;
template class RCWeakPtr<PiCompositionGraphInterface const>;
template class RCWeakAccessor<PiCompositionGraphInterface const>;

} // namespace Vo
