#pragma once

#include "SessionState.h"

#include "host/SnItem.h"

namespace VoSession {

// Tells what an item of the application's selection stands for, in the words a person reads: the
// node, the graph object, or the input with its place under its node's inputs and the nodes of its
// path. Reads the graph; keeps nothing.
class SessionHostItems {
public:
    SessionHostItems() = delete;

    static SessionState::HostItem describe(const Vo::SnItem &item);
};

} // namespace VoSession
