#include "host/graph/PiNodeController.h"

namespace Vo {

PiNodeController::~PiNodeController() noexcept = default;

} // namespace Vo
