#include "host/graph/PiSnItemUtil.h"

namespace Vo {

RCShdPtr<PiSnItem<PiNode>> PiSnItemUtil::create(const RCShdPtr<PiNode> &node) {
    return RCShdPtr<PiSnItem<PiNode>>(new PiSnItem<PiNode>(node));
}

RCShdPtr<PiGraphObjectSnItemConst const>
PiSnItemUtil::createFromBase(const RCShdPtr<PiGraphObject const> &object) {
    if (const PiNode *node = object.isNull() ? nullptr : object->asNode()) {
        return RCShdPtr<PiSnItem<PiNode>>(new PiSnItem<PiNode>(RCShdPtr<PiNode const>(node)));
    }
    return RCShdPtr<PiGraphObjectSnItemConst>(new PiGraphObjectSnItemConst(object));
}

} // namespace Vo
