#include "host/ObObserver.h"
#include "host/ObSubject.h"
#include "host/selection/Sn.h"

namespace Vo {

template class ObSubject<Sn>;
template class ObObserver<Sn>;

} // namespace Vo
