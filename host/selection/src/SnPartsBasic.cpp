#include "host/selection/SnPartsBasic.h"

namespace Vo {

template class SnPartsBasic<int>;

} // namespace Vo
