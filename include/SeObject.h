#pragma once

#include "SeObjectInterface.h"
#include "VoShapeExport.h"

#include "base/LkCounter.h"
#include "base/RCBase.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"

namespace Vo {

class PiGraphObject;

/// The model side of an object that owns shapes, represented in the composition graph by a graph
/// object. Counted atomically and shared through RCShdPtr; destroyed by its last pointer.
/// Thread safety: the count may change on any thread; the default bodies take no lock.
class VO_SHAPE_API SeObject : public RCBase<LkCounter<int>> {
public:
    ///@{
    /// The object's graph object in the application's graph.
    virtual RCShdPtr<PiGraphObject> getGraphObject() = 0;
    virtual RCShdPtr<PiGraphObject const> getGraphObject() const = 0;
    ///@}
    /// True when the graph framework says both objects' graph objects are the same
    /// (PiGraphObject::areEqual), whatever the objects' own identity.
    /// \param other the object compared
    virtual bool isEqual(const SeObject &other) const;
    /// The object's editing side, held weakly: null once it is gone.
    virtual RCWeakPtr<SeObjectInterface> getObjectInterface() const = 0;
    /// The graph object's id; raises RCExNullPtr naming PiGraphObject const* when there is none.
    virtual int getId() const;

protected:
    SeObject() = default;
    ~SeObject() override;
};

extern template class RCBasePtr<SeObject>;
extern template class RCBasePtr<SeObject const>;
extern template class RCShdPtr<SeObject>;
extern template class RCShdPtr<SeObject const>;

} // namespace Vo
