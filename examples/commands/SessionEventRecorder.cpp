#include "SessionEventRecorder.h"

#include "SeObject.h"
#include "SeShape.h"

#include "foundation/RCShdPtr.h"
#include "host/graph/PiGraphObject.h"

#include <utility>

namespace VoSession {

namespace {

std::string graphNameOf(const Vo::RCShdPtr<Vo::SeObject const> &object) {
    if (object.isNull()) {
        return "(none)";
    }
    const Vo::RCShdPtr<Vo::PiGraphObject const> graphObject = object->getGraphObject();
    return graphObject.isNull() ? "(none)" : graphObject->getName();
}

} // namespace

void SessionEventRecorder::call(const Vo::SeShapeEvent &event) {
    if (const auto *added = dynamic_cast<const Vo::SeShapeEvent::ShapeAdded *>(&event)) {
        const Vo::RCShdPtr<Vo::SeObject const> shape(added->getShape());
        lines.push_back("ShapeAdded " + graphNameOf(shape) + " (id " +
                        std::to_string(shape->getId()) + "), owner " +
                        graphNameOf(added->getOwner()));
    } else if (const auto *removed = dynamic_cast<const Vo::SeShapeEvent::ShapeRemoved *>(&event)) {
        lines.push_back("ShapeRemoved id " + std::to_string(removed->getShapeId()) + " (" +
                        nameOf(removed->getShapeId()) + "), owner " +
                        graphNameOf(removed->getOwner()));
    }
}

std::vector<std::string> SessionEventRecorder::take() { return std::exchange(lines, {}); }

std::string SessionEventRecorder::nameOf(int id) const {
    const auto found = names.find(id);
    return found == names.end() ? "unknown shape" : found->second;
}

} // namespace VoSession
