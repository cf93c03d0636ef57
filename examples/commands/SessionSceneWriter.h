#pragma once

#include "Session.h"

#include <ostream>
#include <string>

namespace VoSession {

// Writes a session's live shapes as the scene text SessionScene reads: the first layer's shapes,
// then each further layer's after its `layer NAME` line (layers without shapes included), each
// layer's shapes in the order the scene described them (a shape built again by an undo keeps its
// place), with their counts, `single` for a single-valued curve, and the positions their points'
// x and y inputs and their handles' position inputs hold, each number in the fewest digits that
// read back to the same double. Deleted shapes are left out. Lines stay far below
// SessionLineReader::maxLength: points go a few hundred to a `points` line. Holds nothing.
//
//     std::ostringstream text;
//     SessionSceneWriter::write(session, text); // read back by SessionScene::read
class SessionSceneWriter {
public:
    // How many positions a `points` or `handles` line holds at most.
    static constexpr int perLine = 256;

    SessionSceneWriter() = delete;

    static void write(const Session &session, std::ostream &out);
    static std::string text(const Session &session);

private:
    static void writeShape(const VoExample::AppShapeInterface &shape, std::ostream &out);
    // The shortest decimal form of value that reads back to it.
    static void writeNumber(double value, std::ostream &out);
};

} // namespace VoSession
