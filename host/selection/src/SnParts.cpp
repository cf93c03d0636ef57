#include "host/selection/SnParts.h"

namespace Vo {

// Out of line so that the class's type information and virtual table live in the host library only.
SnParts::~SnParts() noexcept = default;

} // namespace Vo
