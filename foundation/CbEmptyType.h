#pragma once

#include "../host/VoHostExport.h"
#include "VoFoundationExport.h"

namespace Vo {

template <class T> class VO_FOUNDATION_API CbHandler;

// The payload of callbacks that carry no value: a `CbDispatcher<CbEmptyType>` only says that
// something happened.
class VO_HOST_API CbEmptyType {
public:
    // Where a call without value lands when the handlers of the list expect a value. Only the
    // handler template reaches it.
    class NoArgCallBase {
        template <class> friend class CbHandler;

    protected:
        // Raises RCExInvalidCall, always: such a call is a programming error, and raising stops
        // the dispatcher at the first handler, so no handler runs without the value it expects.
        // Were it to return, the dispatcher would go on with its next handler.
        VO_HOST_API static void invalidNoArgCall();
    };
};

} // namespace Vo
