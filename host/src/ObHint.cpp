#include "host/ObHint.h"

namespace Vo {

ObHint::~ObHint() noexcept = default;

} // namespace Vo
