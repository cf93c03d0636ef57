#include "AppShape.h"

namespace VoExample {

AppShape::AppShape(const Vo::RCShdPtr<Vo::PiGraphObject> &graphObject,
                   const Vo::RCWeakPtr<Vo::SeShapeInterface> &editing)
    : object(graphObject), editingSide(editing) {}

AppShape::~AppShape() = default;

} // namespace VoExample
