#include "host/graph/PiPath.h"

#include <algorithm>
#include <ostream>
#include <utility>

namespace Vo {

PiPath::PiPath(Vector<RCShdPtr<PiNode const>> pathNodes) noexcept : nodes(std::move(pathNodes)) {}

PiPath::~PiPath() noexcept = default;

int PiPath::getNbNodes() const noexcept { return static_cast<int>(nodes.size()); }

RCShdPtr<PiNode const> PiPath::getNode(int index) const {
    const bool valid = index >= 0 && index < getNbNodes();
    return valid ? nodes[index] : RCShdPtr<PiNode const>();
}

bool PiPath::isEqual(const PiPath &other) const noexcept {
    return std::equal(nodes.begin(), nodes.end(), other.nodes.begin(), other.nodes.end(),
                      [](const RCShdPtr<PiNode const> &a, const RCShdPtr<PiNode const> &b) {
                          return PiGraphObject::areEqual(a, b);
                      });
}

void PiPath::dump(std::ostream &out) const {
    const char *separator = "";
    for (const RCShdPtr<PiNode const> &node : nodes) {
        out << separator;
        node->dump(out);
        separator = " > ";
    }
}

bool PiPath::areEqual(const RCShdPtr<PiPath const> &first,
                      const RCShdPtr<PiPath const> &second) noexcept {
    if (first.isNull() || second.isNull()) {
        return first.isNull() && second.isNull();
    }
    return first->isEqual(*second);
}

} // namespace Vo
