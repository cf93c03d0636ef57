#include "AppEditorController.h"

namespace VoExample {

using Vo::RCShdPtr;
using Vo::SeShapeEvent;

AppEditorController::AppEditorController()
    : graph(Vo::PiGraph::create()), editorNode(graph->addNode("ShapeEditor")),
      layer(AppLayerInterface::create(graph->addNode("Roto", Vo::PiNode::Tool))),
      selector(Vo::SeShapeSelector::create()) {
    graph->connect(layer.get()->getToolNode(), graph->addNode("Output", Vo::PiNode::PrimaryOutput));
    applicationSelection = SeShapeEditorControllerInterface::getApplicationSelection();
}

AppEditorController::~AppEditorController() = default;

RCShdPtr<Vo::SeShape>
AppEditorController::findShape(const RCShdPtr<Vo::PiGraphObject const> &object) {
    return getLayer().findShape(object);
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
