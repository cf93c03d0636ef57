#include "host/graph/PiTimePath.h"

namespace Vo {

PiTimePath::PiTimePath() noexcept = default;

PiTimePath::~PiTimePath() noexcept = default;

} // namespace Vo
