#pragma once

#include "SessionState.h"

#include "host/PiInput.h"
#include "host/PiNode.h"
#include "host/PiSnItem.h"
#include "host/SnItem.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace VoSession {

// Tells what an item of the application's selection stands for, in the words a person reads: the
// node, the graph object, or the input with its place under its node's inputs and the nodes of its
// path. Reads the graph; owns the places of the inputs of each node it has met, found with one
// walk of that node's inputs, so one object describes a whole selection in linear time. Meant for
// one reading of a selection: it does not see later changes of the graph.
class SessionHostItems {
public:
    SessionState::HostItem describe(const Vo::SnItem &item);

private:
    // "A.curve/Points[2]/x"; an input that has left its node, or that the walk misses, by its name.
    std::string placeOf(const Vo::PiInput &input);
    SessionState::HostItem describeInput(const Vo::PiSnItem<Vo::PiInput> &item);

    std::unordered_set<const Vo::PiNode *> walked;
    std::unordered_map<const Vo::PiInput *, std::string> places;
};

} // namespace VoSession
