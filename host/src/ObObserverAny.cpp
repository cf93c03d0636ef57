#include "host/ObObserverAny.h"

namespace Vo {

ObObserverAny::~ObObserverAny() noexcept = default;

} // namespace Vo
