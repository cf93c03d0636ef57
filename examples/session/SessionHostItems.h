#pragma once

#include "SessionState.h"

#include "host/PiInput.h"
#include "host/PiNode.h"
#include "host/PiSnItem.h"
#include "host/SnItem.h"
#include "host/SnSelection.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace VoSession {

// Tells what an item of the application's selection stands for, in the words a person reads: the
// node, the graph object, or the input with its place under its node's inputs and the nodes of its
// path. Made for one reading of one selection: owns the places of that selection's inputs, found
// with one walk of each node's inputs that stops once every input is placed, so that describing a
// whole selection costs one walk at most and a few inputs near the front cost little. It does not
// see later changes of the graph.
class SessionHostItems {
public:
    struct Place {
        bool found;
        std::string place;
    };

    explicit SessionHostItems(const Vo::SnSelection &selection);
    SessionState::HostItem describe(const Vo::SnItem &item);

private:
    // "A.curve/Points[2]/x"; an input that has left its node, or that the walk misses, by its name.
    std::string placeOf(const Vo::PiInput &input);
    SessionState::HostItem describeInput(const Vo::PiSnItem<Vo::PiInput> &item);

    std::unordered_set<const Vo::PiNode *> walked;
    std::unordered_map<const Vo::PiInput *, Place> places;
};

} // namespace VoSession
