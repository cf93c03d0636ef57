#pragma once

#include "VoShapeExport.h"

#include "base/LkCounter.h"
#include "base/RCSWCount.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakAccessor.h"
#include "foundation/RCWeakPtr.h"
#include "host/GeCurve.h"
#include "host/PrdPredicateImp.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiCompositionGraphInterface.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiNodeController.h"
#include "host/graph/PiPath.h"
#include "host/graph/PiSnItem.h"
#include "host/graph/PiStructuredInput.h"
#include "host/selection/SnPartsBasic.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

// The pointer instantiations over the host frameworks' types that libVoshape carries and exports;
// users link to these instead of instantiating their own.
namespace Vo {

extern template class RCShdPtr<SnItem>;
extern template class RCShdPtr<SnItem const>;
extern template class RCShdPtr<SnParts>;
extern template class RCShdPtr<SnParts const>;
extern template class RCShdPtr<SnPartsBasic<int>>;
extern template class RCShdPtr<SnSelection>;
extern template class RCShdPtr<SnSelection const>;
extern template class RCShdPtr<SnSelectionChangeHint>;
extern template class RCShdPtr<PrdPredicateImp<RCShdPtr<SnItem const>>>;
extern template class RCShdPtr<PiGraphObject>;
extern template class RCShdPtr<PiGraphObject const>;
extern template class RCShdPtr<PiGraph const>;
extern template class RCShdPtr<PiNode>;
extern template class RCShdPtr<PiNode const>;
extern template class RCShdPtr<PiInput>;
extern template class RCShdPtr<PiStructuredInput>;
extern template class RCShdPtr<PiMultivaluedInput>;
extern template class RCShdPtr<PiCompositeInput>;
extern template class RCShdPtr<PiPath>;
extern template class RCShdPtr<PiSnItem<PiNode>>;
extern template class RCShdPtr<PiSnItem<PiInput>>;
extern template class RCShdPtr<PiGraphObjectSnItemConst const>;
extern template class RCShdPtr<GeCurve::Container>;
extern template class RCShdPtr<RCSWCount<LkCounter<int>>>;
extern template class RCWeakPtr<PiNodeController const>;
extern template class RCWeakAccessor<PiNodeController const>;
extern template class RCWeakPtr<PiCompositionGraphInterface const>;
extern template class RCWeakAccessor<PiCompositionGraphInterface const>;

} // namespace Vo
