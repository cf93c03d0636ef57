#include "AppItemPredicate.h"

#include "host/PiGraphObjectSnItemConst.h"
#include "host/PiNode.h"

namespace VoExample {

bool AppItemPredicate::evaluate(const Vo::RCShdPtr<Vo::SnItem const> &item) const {
    const auto *graphItem = dynamic_cast<const Vo::PiGraphObjectSnItemConst *>(item.get());
    return graphItem != nullptr &&
           dynamic_cast<const Vo::PiNode *>(graphItem->getGraphObject().get()) == nullptr;
}

} // namespace VoExample
