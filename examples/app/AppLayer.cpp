#include "AppLayer.h"

namespace VoExample {

AppLayer::AppLayer(const Vo::RCShdPtr<Vo::PiNode> &node,
                   const Vo::RCWeakPtr<Vo::SeObjectInterface> &editing)
    : toolNode(node), editingSide(editing) {}

AppLayer::~AppLayer() = default;

} // namespace VoExample
