#include "SessionHostItems.h"

#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "host/PiCompositeInput.h"
#include "host/PiGraphObjectSnItemConst.h"
#include "host/PiInput.h"
#include "host/PiMultivaluedInput.h"
#include "host/PiNode.h"
#include "host/PiPath.h"
#include "host/PiSnItem.h"
#include "host/PiStructuredInput.h"

#include <string>

namespace VoSession {

using Vo::PiInput;
using Vo::RCShdPtr;

namespace {

bool findPlace(const PiInput &input, const std::string &place, const PiInput &target,
               std::string &found);

// Looks for target among components, each placed under place by its name.
bool findAmong(const Vo::Iterator<RCShdPtr<PiInput>> &components, const std::string &place,
               const PiInput &target, std::string &found) {
    for (Vo::Iterator<RCShdPtr<PiInput>> component = components; !component.atEnd();
         component.next()) {
        const PiInput &input =
            *static_cast<const Vo::Iterator<RCShdPtr<PiInput>> &>(component).item();
        if (findPlace(input, place + "/" + input.getName(), target, found)) {
            return true;
        }
    }
    return false;
}

bool findAmongElements(const Vo::PiMultivaluedInput &input, const std::string &place,
                       const PiInput &target, std::string &found) {
    for (int index = 0; index < input.getNbElements(); ++index) {
        const std::string elementPlace = place + "[" + std::to_string(index) + "]";
        if (findPlace(*input.getElement(index), elementPlace, target, found)) {
            return true;
        }
    }
    return false;
}

// Walks input and everything under it; found receives target's place when it is there.
bool findPlace(const PiInput &input, const std::string &place, const PiInput &target,
               std::string &found) {
    if (&input == &target) {
        found = place;
        return true;
    }
    if (const auto *structured = dynamic_cast<const Vo::PiStructuredInput *>(&input)) {
        return findAmong(structured->getInputs(0), place, target, found);
    }
    if (const auto *composite = dynamic_cast<const Vo::PiCompositeInput *>(&input)) {
        return findAmong(composite->getInputs(0), place, target, found);
    }
    if (const auto *multivalued = dynamic_cast<const Vo::PiMultivaluedInput *>(&input)) {
        return findAmongElements(*multivalued, place, target, found);
    }
    return false;
}

// "A.curve/Points[2]/x"; an input that has left its node, or that the walk misses, by its name.
std::string placeOf(const PiInput &input) {
    const RCShdPtr<Vo::PiNode> node = input.getNode();
    std::string found;
    for (int index = 0; !node.isNull() && index < node->getNbInputs(); ++index) {
        const RCShdPtr<PiInput> top = node->getInput(index);
        if (findPlace(*top, top->getName(), input, found)) {
            return found;
        }
    }
    return input.getName() + " (detached)";
}

SessionState::HostItem describeInput(const Vo::PiSnItem<PiInput> &item) {
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

SessionState::HostItem describeObject(const Vo::PiGraphObjectSnItemConst &item) {
    const RCShdPtr<Vo::PiGraphObject const> object = item.getGraphObject();
    if (object.isNull()) {
        return {"object", "(none)", {}};
    }
    const bool isNode = dynamic_cast<const Vo::PiNode *>(object.get()) != nullptr;
    return {isNode ? "node" : "object", object->getName(), {}};
}

} // namespace

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
