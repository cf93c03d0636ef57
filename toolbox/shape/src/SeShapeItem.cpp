#include "SeShapeItem.h"

namespace Vo {

template class RCBasePtr<SeShapeItem>;
template class RCBasePtr<SeShapeItem const>;
template class RCShdPtr<SeShapeItem>;
template class RCShdPtr<SeShapeItem const>;
template class SnItemBasic<RCWeakPtr<SeShapeInterface>>;

} // namespace Vo
