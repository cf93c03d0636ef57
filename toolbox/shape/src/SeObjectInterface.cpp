#include "SeObjectInterface.h"

namespace Vo {

SeObjectInterface::~SeObjectInterface() = default;

template class RCWeakBasePtr<SeObjectInterface, LkCounter<int>>;
template class RCWeakPtr<SeObjectInterface>;
template class RCStrongBasePtr<SeObjectInterface, LkCounter<int>>;
template class RCWeakAccessor<SeObjectInterface>;

} // namespace Vo
