#pragma once

#include "SessionState.h"

#include "host/graph/PiInput.h"
#include "host/graph/PiSnItem.h"
#include "host/selection/SnItem.h"

#include <string>

namespace VoSession {

// Tells what an item of the application's selection stands for, in the words a person reads: the
// node, the graph object, or the input with its place under its node's inputs and the nodes of its
// path. Holds nothing: an input's place is read from its own chain of parents, so describing an
// item costs the depth of its input and the length of its path, whatever the size of the node.
class SessionHostItems {
public:
    static SessionState::HostItem describe(const Vo::SnItem &item);
    // "A.curve/Points[2]/x"; an input that has left its node by its name.
    static std::string placeOf(const Vo::PiInput &input);
    // Whether the input still hangs from its node: each input of its chain of parents at its
    // index in its container, up to one of the node's own inputs.
    static bool isReachable(const Vo::PiInput &input);

private:
    static SessionState::HostItem describeInput(const Vo::PiSnItem<Vo::PiInput> &item);
};

} // namespace VoSession
