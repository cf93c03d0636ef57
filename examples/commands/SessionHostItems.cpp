#include "SessionHostItems.h"

#include "foundation/RCShdPtr.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/graph/PiInput.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiPath.h"
#include "host/graph/PiSnItem.h"

#include <string>

namespace VoSession {

using Vo::PiInput;
using Vo::RCShdPtr;

namespace {

// True when input can be reached from its node: each input of the chain still sits at its index
// in its container, up to an input of the node itself.
bool hangsFrom(const PiInput &input, const Vo::PiNode &node) {
    const PiInput *top = &input;
    for (RCShdPtr<PiInput> parent = input.getParentInput(); !parent.isNull();
         parent = parent->getParentInput()) {
        if (top->getIndex() < 0) {
            return false;
        }
        top = parent.get();
    }
    return node.getInput(top->getIndex()).get() == top;
}

SessionState::HostItem describeObject(const Vo::PiGraphObjectSnItemConst &item) {
    const RCShdPtr<Vo::PiGraphObject const> object = item.getGraphObject();
    if (object.isNull()) {
        return {"object", "(none)", {}};
    }
    const bool isNode = dynamic_cast<const Vo::PiNode *>(object.get()) != nullptr;
    return {isNode ? "node" : "object", object->getName(), {}};
}

} // namespace

bool SessionHostItems::isReachable(const PiInput &input) {
    const RCShdPtr<Vo::PiNode> node = input.getNode();
    return !node.isNull() && hangsFrom(input, *node);
}

std::string SessionHostItems::placeOf(const PiInput &input) {
    return isReachable(input) ? input.getPlace() : input.getName() + " (detached)";
}

SessionState::HostItem SessionHostItems::describeInput(const Vo::PiSnItem<PiInput> &item) {
    SessionState::HostItem described{"input", "(none)", {}};
    const RCShdPtr<PiInput const> input = item.getInput();
    if (!input.isNull()) {
        described.name = placeOf(*input);
    }
    const RCShdPtr<Vo::PiPath const> path = item.getPath();
    for (int index = 0; !path.isNull() && index < path->getNbNodes(); ++index) {
        described.path.push_back(path->getNode(index)->getName());
    }
    return described;
}

SessionState::HostItem SessionHostItems::describe(const Vo::SnItem &item) {
    if (const auto *input = dynamic_cast<const Vo::PiSnItem<PiInput> *>(&item)) {
        return describeInput(*input);
    }
    if (const auto *object = dynamic_cast<const Vo::PiGraphObjectSnItemConst *>(&item)) {
        return describeObject(*object);
    }
    return {"item", "(unknown)", {}};
}

} // namespace VoSession
