#include "base/RCBase.h"
#include "base/RCSWCount.h"

namespace Vo {

template class RCBase<int>;
template class RCBase<LkCounter<int>>;
template class RCSWCount<LkCounter<int>>;

} // namespace Vo
