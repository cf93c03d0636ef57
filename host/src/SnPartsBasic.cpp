#include "host/SnPartsBasic.h"

namespace Vo {

template class SnPartsBasic<int>;

} // namespace Vo
