#include "AppShape.h"

namespace VoExample {

AppShape::AppShape(const Vo::RCShdPtr<Vo::PiGraphObject> &graphObject,
                   const Vo::RCWeakPtr<Vo::SeShapeInterface> &editing)
    : object(graphObject), editingSide(editing) {}

AppShape::~AppShape() = default;

std::uint64_t AppShape::getIdentityKey() const noexcept {
    return static_cast<std::uint64_t>(object->getId());
}

} // namespace VoExample
