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

using Places = std::unordered_map<const PiInput *, std::string>;

void recordPlaces(const PiInput &input, const std::string &place, Places &places);

void recordAmong(const Vo::Iterator<RCShdPtr<PiInput>> &components, const std::string &place,
                 Places &places) {
    for (Vo::Iterator<RCShdPtr<PiInput>> component = components; !component.atEnd();
         component.next()) {
        const PiInput &input =
            *static_cast<const Vo::Iterator<RCShdPtr<PiInput>> &>(component).item();
        recordPlaces(input, place + "/" + input.getName(), places);
    }
}

// Records the place of input and of everything under it; the first place found for an input wins.
void recordPlaces(const PiInput &input, const std::string &place, Places &places) {
    places.emplace(&input, place);
    if (const auto *structured = dynamic_cast<const Vo::PiStructuredInput *>(&input)) {
        recordAmong(structured->getInputs(0), place, places);
    } else if (const auto *composite = dynamic_cast<const Vo::PiCompositeInput *>(&input)) {
        recordAmong(composite->getInputs(0), place, places);
    } else if (const auto *multivalued = dynamic_cast<const Vo::PiMultivaluedInput *>(&input)) {
        for (int index = 0; index < multivalued->getNbElements(); ++index) {
            recordPlaces(*multivalued->getElement(index), place + "[" + std::to_string(index) + "]",
                         places);
        }
    }
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

std::string SessionHostItems::placeOf(const PiInput &input) {
    const RCShdPtr<Vo::PiNode> node = input.getNode();
    if (node.isNull()) {
        return input.getName() + " (detached)";
    }
    if (walked.insert(node.get()).second) {
        for (int index = 0; index < node->getNbInputs(); ++index) {
            const RCShdPtr<PiInput> top = node->getInput(index);
            recordPlaces(*top, top->getName(), places);
        }
    }
    const auto found = places.find(&input);
    return found != places.end() ? found->second : input.getName() + " (detached)";
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
