#pragma once

#include "SeShapeEvent.h"

#include "foundation/CbHandler.h"

#include <map>
#include <string>
#include <vector>

namespace VoSession {

// Writes down, one line each, the shape events it receives, naming a removed shape (which the
// event gives by id only) through the names it was told. Subscribed by whoever creates it; leaves
// its dispatchers when destroyed.
class SessionEventRecorder : public Vo::CbHandler<Vo::SeShapeEvent const> {
public:
    SessionEventRecorder() = default;

    void nameShape(int id, const std::string &name) { names[id] = name; }

    using Vo::CbHandler<Vo::SeShapeEvent const>::call;
    // Records ShapeAdded and ShapeRemoved, the kinds the session subscribes it to.
    void call(const Vo::SeShapeEvent &event) override;

    // The lines recorded since the last call, in the order the events came.
    std::vector<std::string> take();

private:
    std::string nameOf(int id) const;

    std::map<int, std::string> names;
    std::vector<std::string> lines;
};

} // namespace VoSession
