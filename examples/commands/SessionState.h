#pragma once

#include <string>
#include <vector>

namespace VoSession {

// What the session shows of the two selections after a command: the editor's selection (its shapes
// in order, the primary one marked, their selected points and handles in selection order, whose
// 1-based positions are their ranks) and the items of the application's selection. Plain values.
struct SessionState {
    struct Shape {
        std::string name;
        bool alive = true;
        bool primary = false;
        // False: the shape is selected as a whole. True with both lists empty: empty parts.
        bool hasParts = false;
        std::vector<int> points;
        std::vector<int> handles;
    };
    // kind: "node", "object", "input" or "item" (of a class the session does not know); name: the
    // node's or object's name, or the input's place ("A.curve/Points[2]/x"); path: the nodes an
    // input item was reached along, empty for the other kinds.
    struct HostItem {
        std::string kind;
        std::string name;
        std::vector<std::string> path;
    };

    // The active layer, whose editor's selection `shapes` is; empty for a session of one layer.
    std::string layer;
    std::vector<Shape> shapes;
    std::vector<HostItem> host;
};

} // namespace VoSession
