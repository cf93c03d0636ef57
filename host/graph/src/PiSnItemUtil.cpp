#include "host/graph/PiSnItemUtil.h"

namespace Vo {

RCShdPtr<PiSnItem<PiNode>> PiSnItemUtil::create(const RCShdPtr<PiNode> &node) {
    return RCShdPtr<PiSnItem<PiNode>>(new PiSnItem<PiNode>(node));
}

RCShdPtr<PiGraphObjectSnItemConst const>
PiSnItemUtil::createFromBase(const RCShdPtr<PiGraphObject const> &object) {
    const RCShdPtr<PiNode const> node = rcDynamicCastOrNull<PiNode const>(object);
    if (!node.isNull()) {
        return RCShdPtr<PiSnItem<PiNode>>(new PiSnItem<PiNode>(node));
    }
    return RCShdPtr<PiGraphObjectSnItemConst>(new PiGraphObjectSnItemConst(object));
}

} // namespace Vo
