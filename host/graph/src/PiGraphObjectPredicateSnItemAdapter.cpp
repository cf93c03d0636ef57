#include "host/graph/PiGraphObjectPredicateSnItemAdapter.h"

namespace Vo {

template class PiGraphObjectPredicateSnItemAdapter<PiNode>;

} // namespace Vo
