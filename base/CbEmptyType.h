#pragma once

#include "VoBaseExport.h"

namespace Vo {

/// The payload of callbacks that carry no value: a `CbDispatcher<CbEmptyType>` only says that
/// something happened.
class VO_BASE_API CbEmptyType {
public:
    /// Where a call without value lands when the handlers of the list expect a value. Only the
    /// handler template reaches it (the friend declaration names foundation's CbHandler, which
    /// builds on this layer, without needing its header).
    class NoArgCallBase {
        template <class> friend class CbHandler;

    protected:
        /// Raises RCExInvalidCall, always: such a call is a programming error, and raising stops
        /// the dispatcher at the first handler, so no handler runs without the value it expects.
        /// Were it to return, the dispatcher would go on with its next handler.
        VO_BASE_API static void invalidNoArgCall();
    };
};

} // namespace Vo
