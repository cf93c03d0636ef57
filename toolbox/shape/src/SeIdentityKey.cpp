#include "SeIdentityKey.h"

namespace Vo {

SeIdentityKey::~SeIdentityKey() = default;

} // namespace Vo
