#include "host/GeCurve.h"

namespace Vo {

GeCurve::Container::Container() noexcept = default;

GeCurve::Container::~Container() noexcept = default;

} // namespace Vo
