#pragma once

#include "VoShapeExport.h"

#include "foundation/Iterator.h"
#include "foundation/IteratorImp.h"
#include "foundation/RCPvtEngPtr.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakAccessor.h"
#include "foundation/RCWeakPtr.h"

namespace Vo {

/// The editing side of an object that owns shapes. The application owns it and the library holds it
/// only weakly (RCWeakPtr), locking it with an RCWeakAccessor around each use. The library declares
/// no operation of it; an application extends this interface with its own operations.
class VO_SHAPE_API SeObjectInterface {
public:
    SeObjectInterface() = default;
    SeObjectInterface(const SeObjectInterface &) = delete;
    SeObjectInterface &operator=(const SeObjectInterface &) = delete;
    virtual ~SeObjectInterface();
};

extern template class RCWeakBasePtr<SeObjectInterface, LkCounter<int>>;
extern template class RCWeakPtr<SeObjectInterface>;
extern template class RCStrongBasePtr<SeObjectInterface, LkCounter<int>>;
extern template class RCWeakAccessor<SeObjectInterface>;
extern template class Iterator<RCWeakPtr<SeObjectInterface>>;
extern template class RCPvtEngPtr<IteratorImp<RCWeakPtr<SeObjectInterface>>>;

} // namespace Vo
