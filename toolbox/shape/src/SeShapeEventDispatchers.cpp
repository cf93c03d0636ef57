#include "SeShapeEventDispatchers.h"

namespace Vo {

SeShapeEventDispatchers::SeShapeEventDispatchers() = default;
SeShapeEventDispatchers::~SeShapeEventDispatchers() = default;

bool SeShapeEventDispatchers::addHandler(const SeShapeEvent &prototype,
                                         CbHandler<SeShapeEvent const> *handler) {
    CbDispatcher<SeShapeEvent const> *dispatcher = getDispatcher(prototype);
    if (dispatcher == nullptr) {
        return false;
    }
    dispatcher->addHandler(handler);
    return true;
}

void SeShapeEventDispatchers::removeHandler(const SeShapeEvent &prototype,
                                            CbHandler<SeShapeEvent const> *handler) {
    if (CbDispatcher<SeShapeEvent const> *dispatcher = getDispatcher(prototype)) {
        dispatcher->removeHandler(handler);
    }
}

bool SeShapeEventDispatchers::send(const SeShapeEvent &event) {
    CbDispatcher<SeShapeEvent const> *dispatcher = getDispatcher(event);
    if (dispatcher == nullptr) {
        return false;
    }
    dispatcher->call(event);
    return true;
}

CbDispatcher<SeShapeEvent const> *
SeShapeEventDispatchers::getDispatcher(const SeShapeEvent &prototype) noexcept {
    if (dynamic_cast<const SeShapeEvent::ShapeAdded *>(&prototype) != nullptr) {
        return &dispatchers[0];
    }
    if (dynamic_cast<const SeShapeEvent::ShapeRemoved *>(&prototype) != nullptr) {
        return &dispatchers[1];
    }
    if (dynamic_cast<const SeShapeEvent::ShapeMoved *>(&prototype) != nullptr) {
        return &dispatchers[2];
    }
    if (dynamic_cast<const SeShapeEvent::ShapeRenamed *>(&prototype) != nullptr) {
        return &dispatchers[3];
    }
    return nullptr;
}

} // namespace Vo
