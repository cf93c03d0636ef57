#include "AppEditorController.h"

#include "foundation/RCWeakAccessor.h"
#include "host/PiCompositionGraphInterface.h"
#include "host/PiNodeController.h"

#include <cstddef>
#include <typeinfo>

namespace VoExample {

using Vo::RCShdPtr;
using Vo::SeShapeEvent;

AppEditorController::AppEditorController()
    : graph(Vo::PiGraph::create()), editorNode(graph->addNode("ShapeEditor")),
      layer(AppLayerInterface::create(graph->addNode("Roto", Vo::PiNode::Tool))),
      selector(new Vo::SeShapeSelector) {
    graph->connect(layer.get()->getToolNode(), graph->addNode("Output", Vo::PiNode::PrimaryOutput));
}

AppEditorController::~AppEditorController() = default;

RCShdPtr<Vo::SeShape>
AppEditorController::findShape(const RCShdPtr<Vo::PiGraphObject const> &object) {
    return getLayer().findShape(object);
}

void AppEditorController::addShapeEventCb(const SeShapeEvent &prototype,
                                          Vo::CbHandler<SeShapeEvent const> *handler) {
    if (ShapeEvents *dispatcher = dispatcherFor(prototype)) {
        dispatcher->addHandler(handler);
    }
}

RCShdPtr<Vo::SnSelection> AppEditorController::getApplicationSelection() const {
    const Vo::RCWeakAccessor<Vo::PiNodeController const> controller(graph->getNodeController());
    return Vo::rcCheckedCast<Vo::PiCompositionGraphInterface const>(controller.get())
        ->getSelection();
}

void AppEditorController::sendShapeEvent(const SeShapeEvent &event) {
    if (ShapeEvents *dispatcher = dispatcherFor(event)) {
        dispatcher->call(event);
    }
}

AppShapeInterface *AppEditorController::addShape(const std::string &name, int nbPoints,
                                                 int nbHandles, bool singleValuedPoints) {
    AppShapeInterface *shape = getLayer().addShape(name, nbPoints, nbHandles, singleValuedPoints);
    if (shape != nullptr) {
        sendShapeEvent(SeShapeEvent::ShapeAdded(shape->getShape(), getLayer().getLayer()));
    }
    return shape;
}

bool AppEditorController::deleteShape(const std::string &name) {
    const AppShapeInterface *shape = getLayer().findShape(name);
    if (shape == nullptr) {
        return false;
    }
    // The event carries only the id: the shape is gone by the time it is sent.
    const int id = shape->getId();
    getLayer().removeShape(name);
    sendRemoval(id);
    return true;
}

void AppEditorController::sendRemoval(int id) {
    sendShapeEvent(SeShapeEvent::ShapeRemoved(id, getLayer().getLayer()));
    getLayer().removeFromGraph(id);
}

bool AppEditorController::insertPoint(AppShapeInterface &shape, int index) {
    return edit(shape, index, &AppShapeInterface::insertPoint,
                &Vo::SeShapeSelector::updateSelectionPointAdded);
}

bool AppEditorController::deletePoint(AppShapeInterface &shape, int index) {
    return edit(shape, index, &AppShapeInterface::removePoint,
                &Vo::SeShapeSelector::updateSelectionPointDeleted);
}

bool AppEditorController::insertHandle(AppShapeInterface &shape, int index) {
    return edit(shape, index, &AppShapeInterface::insertHandle,
                &Vo::SeShapeSelector::updateSelectionHandleAdded);
}

bool AppEditorController::deleteHandle(AppShapeInterface &shape, int index) {
    return edit(shape, index, &AppShapeInterface::removeHandle,
                &Vo::SeShapeSelector::updateSelectionHandleDeleted);
}

AppEditorController::ShapeEvents *
AppEditorController::dispatcherFor(const SeShapeEvent &event) noexcept {
    static const std::type_info *const kinds[] = {
        &typeid(SeShapeEvent::ShapeAdded), &typeid(SeShapeEvent::ShapeRemoved),
        &typeid(SeShapeEvent::ShapeMoved), &typeid(SeShapeEvent::ShapeRenamed)};
    for (std::size_t kind = 0; kind < dispatchers.size(); ++kind) {
        if (*kinds[kind] == typeid(event)) {
            return &dispatchers[kind];
        }
    }
    return nullptr;
}

// The graph first: the selector's renumbering makes the updater rebuild the application's
// selection, which must then find the inputs where they now are.
bool AppEditorController::edit(AppShapeInterface &shape, int index, Change change,
                               Renumber renumber) {
    if (!(shape.*change)(index)) {
        return false;
    }
    ((*selector).*renumber)(shape.getWeak(), index);
    return true;
}

} // namespace VoExample
