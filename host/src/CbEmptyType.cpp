#include "foundation/CbEmptyType.h"

#include "host/RCExInvalidCall.h"

namespace Vo {

void CbEmptyType::NoArgCallBase::invalidNoArgCall() {
    throw RCExInvalidCall(
        "a callback without value was called on a list whose handlers expect a value");
}

} // namespace Vo
