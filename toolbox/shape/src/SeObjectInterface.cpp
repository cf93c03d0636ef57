#include "SeObjectInterface.h"

namespace Vo {

SeObjectInterface::~SeObjectInterface() = default;

template class RCStrongBasePtr<SeObjectInterface, LkCounter<int>>;
template class RCWeakAccessor<SeObjectInterface>;
template class RCWeakBasePtr<SeObjectInterface, LkCounter<int>>;
template class RCWeakPtr<SeObjectInterface>;
template class RCPvtEngPtr<IteratorImp<RCWeakPtr<SeObjectInterface>>>;
template class Iterator<RCWeakPtr<SeObjectInterface>>;

} // namespace Vo
