#pragma once

#include "SeShapeInterface.h"
#include "VoShapeExport.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "host/selection/SnItemBasic.h"

namespace Vo {

/// The selection item that stands for one shape: an SnItem whose data is a weak pointer to the
/// shape's editing side and whose parts, when present, are an SeShapeParts with the selected points
/// and handles. Two items are the same item (isEqualImp) when both are shape items sharing one
/// counter block, whatever their parts and whether or not the shape is still alive. Never changed
/// once in a selection. Counted with a plain int: one thread at a time.
using SeShapeItem = SnItemBasic<RCWeakPtr<SeShapeInterface>>;

extern template class SnItemBasic<RCWeakPtr<SeShapeInterface>>;
extern template class RCBasePtr<SeShapeItem>;
extern template class RCBasePtr<SeShapeItem const>;
extern template class RCShdPtr<SeShapeItem>;
extern template class RCShdPtr<SeShapeItem const>;

} // namespace Vo
