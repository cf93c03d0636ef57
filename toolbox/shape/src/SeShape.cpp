#include "SeShape.h"

namespace Vo {

SeShape::~SeShape() = default;

RCWeakPtr<SeObjectInterface> SeShape::getObjectInterface() const {
    return RCWeakPtr<SeObjectInterface>(getShapeInterface());
}

template class RCBasePtr<SeShape>;
template class RCBasePtr<SeShape const>;
template class RCShdPtr<SeShape>;
template class RCShdPtr<SeShape const>;

} // namespace Vo
