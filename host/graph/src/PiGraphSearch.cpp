#include "host/graph/PiGraphSearch.h"

#include "foundation/Vector.h"

#include <unordered_set>
#include <utility>
#include <vector>

namespace Vo {

namespace {

// One node on the walk's current chain, with the index of its next connection to follow.
struct Step {
    const PiNode *node;
    int next;
};

RCShdPtr<PiPath> makePath(const std::vector<Step> &chain) {
    Vector<RCShdPtr<PiNode const>> nodes;
    nodes.reserve(chain.size());
    for (const Step &step : chain) {
        nodes.push_back(RCShdPtr<PiNode const>(step.node));
    }
    return RCShdPtr<PiPath>(new PiPath(std::move(nodes)));
}

} // namespace

RCShdPtr<PiPath> PiGraphSearch::heightFirst(const RCShdPtr<PiNode const> &start,
                                            const PrdPredicate<RCShdPtr<PiNode const>> &predicate) {
    if (start.isNull()) {
        return RCShdPtr<PiPath>();
    }
    std::vector<Step> chain{{start.get(), 0}};
    if (predicate.evaluate(start)) {
        return makePath(chain);
    }
    std::unordered_set<const PiNode *> reached{start.get()};
    while (!chain.empty()) {
        Step &top = chain.back();
        if (top.next == top.node->getNbDownstream()) {
            chain.pop_back();
            continue;
        }
        const RCShdPtr<PiNode const> node = top.node->getDownstream(top.next++);
        if (!reached.insert(node.get()).second) {
            continue;
        }
        chain.push_back({node.get(), 0});
        if (predicate.evaluate(node)) {
            return makePath(chain);
        }
    }
    return RCShdPtr<PiPath>();
}

} // namespace Vo
