#include "SeObjectInterface.h"

namespace Vo {

SeObjectInterface::~SeObjectInterface() = default;

template class RCWeakBasePtr<SeObjectInterface, LkCounter<int>>;
template class RCWeakPtr<SeObjectInterface>;
template class RCStrongBasePtr<SeObjectInterface, LkCounter<int>>;
template class RCWeakAccessor<SeObjectInterface>;
template class Iterator<RCWeakPtr<SeObjectInterface>>;
template class RCPvtEngPtr<IteratorImp<RCWeakPtr<SeObjectInterface>>>;

} // namespace Vo
