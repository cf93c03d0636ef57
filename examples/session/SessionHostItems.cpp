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

// The inputs whose places are wanted, and how many of them are still to be found.
struct Search {
    std::unordered_map<const PiInput *, SessionHostItems::Place> &places;
    std::size_t missing;
};

bool searchPlaces(const PiInput &input, const std::string &place, Search &search);

bool searchAmong(const Vo::Iterator<RCShdPtr<PiInput>> &components, const std::string &place,
                 Search &search) {
    for (Vo::Iterator<RCShdPtr<PiInput>> component = components; !component.atEnd();
         component.next()) {
        const PiInput &input =
            *static_cast<const Vo::Iterator<RCShdPtr<PiInput>> &>(component).item();
        if (searchPlaces(input, place + "/" + input.getName(), search)) {
            return true;
        }
    }
    return false;
}

// Walks input and everything under it, recording the places of the wanted inputs (the first place
// found for an input wins); true, and the walk stops, once none is missing.
bool searchPlaces(const PiInput &input, const std::string &place, Search &search) {
    const auto wanted = search.places.find(&input);
    if (wanted != search.places.end() && !wanted->second.found) {
        wanted->second = {true, place};
        if (--search.missing == 0) {
            return true;
        }
    }
    if (const auto *structured = dynamic_cast<const Vo::PiStructuredInput *>(&input)) {
        return searchAmong(structured->getInputs(0), place, search);
    }
    if (const auto *composite = dynamic_cast<const Vo::PiCompositeInput *>(&input)) {
        return searchAmong(composite->getInputs(0), place, search);
    }
    if (const auto *multivalued = dynamic_cast<const Vo::PiMultivaluedInput *>(&input)) {
        for (int index = 0; index < multivalued->getNbElements(); ++index) {
            if (searchPlaces(*multivalued->getElement(index),
                             place + "[" + std::to_string(index) + "]", search)) {
                return true;
            }
        }
    }
    return false;
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

SessionHostItems::SessionHostItems(const Vo::SnSelection &selection) {
    for (const RCShdPtr<Vo::SnItem const> &item : selection) {
        if (const auto *inputItem = dynamic_cast<const Vo::PiSnItem<PiInput> *>(item.get())) {
            const RCShdPtr<PiInput const> input = inputItem->getInput();
            if (!input.isNull()) {
                places.emplace(input.get(), Place{false, {}});
            }
        }
    }
}

std::string SessionHostItems::placeOf(const PiInput &input) {
    const RCShdPtr<Vo::PiNode> node = input.getNode();
    if (node.isNull()) {
        return input.getName() + " (detached)";
    }
    if (walked.insert(node.get()).second) {
        Search search{places, places.size()};
        for (int index = 0; index < node->getNbInputs(); ++index) {
            const RCShdPtr<PiInput> top = node->getInput(index);
            if (searchPlaces(*top, top->getName(), search)) {
                break;
            }
        }
    }
    const auto found = places.find(&input);
    return found != places.end() && found->second.found ? found->second.place
                                                        : input.getName() + " (detached)";
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
