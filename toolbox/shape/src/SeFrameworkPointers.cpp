#include "SeFrameworkPointers.h"

namespace Vo {

template class RCWeakAccessor<PiNodeController const>;
template class RCWeakAccessor<PiCompositionGraphInterface const>;
template class RCWeakPtr<PiNodeController const>;
template class RCWeakPtr<PiCompositionGraphInterface const>;
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

} // namespace Vo
