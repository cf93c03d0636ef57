#include "host/graph/PiNodeFlagTest.h"

namespace Vo {

PiNodeFlagTest::~PiNodeFlagTest() noexcept = default;

bool PiNodeFlagTest::evaluate(const RCShdPtr<PiNode const> &node) const {
    return !node.isNull() && ((*node).*flag)();
}

} // namespace Vo
