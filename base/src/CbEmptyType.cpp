#include "base/CbEmptyType.h"

#include "base/RCExInvalidCall.h"

namespace Vo {

void CbEmptyType::NoArgCallBase::invalidNoArgCall() {
    throw RCExInvalidCall(
        "a callback without value was called on a list whose handlers expect a value");
}

} // namespace Vo
