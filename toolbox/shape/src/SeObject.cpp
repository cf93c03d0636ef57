#include "SeObject.h"

#include "host/graph/PiGraphObject.h"

namespace Vo {

SeObject::~SeObject() = default;

bool SeObject::isEqual(const SeObject &other) const {
    return PiGraphObject::areEqual(getGraphObject(), other.getGraphObject());
}

int SeObject::getId() const {
    const RCShdPtr<PiGraphObject const> object = getGraphObject();
    if (object.isNull()) {
        RCExUtil::throwExNullPtr(typeid(PiGraphObject const *).name());
    }
    return object->getId();
}

template class RCBasePtr<SeObject>;
template class RCBasePtr<SeObject const>;
template class RCShdPtr<SeObject>;
template class RCShdPtr<SeObject const>;

} // namespace Vo
