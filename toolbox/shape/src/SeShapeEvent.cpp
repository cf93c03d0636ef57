#include "SeShapeEvent.h"

namespace Vo {

SeShapeEvent::~SeShapeEvent() = default;

SeShapeEvent::ShapeAdded::ShapeAdded() = default;
SeShapeEvent::ShapeAdded::ShapeAdded(const RCShdPtr<SeShape const> &addedShape,
                                     const RCShdPtr<SeObject const> &newOwner)
    : shape(addedShape), owner(newOwner) {}
SeShapeEvent::ShapeAdded::~ShapeAdded() = default;

SeShapeEvent::ShapeRemoved::ShapeRemoved() : shapeId(-1) {}
SeShapeEvent::ShapeRemoved::ShapeRemoved(int removedId, const RCShdPtr<SeObject const> &oldOwner)
    : shapeId(removedId), owner(oldOwner) {}
SeShapeEvent::ShapeRemoved::~ShapeRemoved() = default;

SeShapeEvent::ShapeMoved::ShapeMoved() = default;
SeShapeEvent::ShapeMoved::ShapeMoved(const RCShdPtr<SeShape const> &movedShape,
                                     const RCShdPtr<SeObject const> &fromOwner,
                                     const RCShdPtr<SeObject const> &toOwner)
    : shape(movedShape), previousOwner(fromOwner), newOwner(toOwner) {}
SeShapeEvent::ShapeMoved::~ShapeMoved() = default;

SeShapeEvent::ShapeRenamed::ShapeRenamed() = default;
SeShapeEvent::ShapeRenamed::ShapeRenamed(const RCShdPtr<SeShape const> &renamedShape)
    : shape(renamedShape) {}
SeShapeEvent::ShapeRenamed::~ShapeRenamed() = default;

template class CbHandler<SeShapeEvent const>;
template class CbDispatcher<SeShapeEvent const>;

} // namespace Vo
