#include "AppEditorController.h"

namespace VoExample {

using Vo::RCShdPtr;
using Vo::SeShapeEvent;

AppEditorController::AppEditorController()
    : AppEditorController(Vo::PiGraph::create(), "ShapeEditor", "Roto", RCShdPtr<Vo::PiNode>()) {}

AppEditorController::AppEditorController(const AppEditorController &first,
                                         const std::string &layerName)
    : AppEditorController(first.graph, layerName + ".Editor", layerName, first.outputNode) {}

// The first layer makes the primary output, after its tool node.
AppEditorController::AppEditorController(const RCShdPtr<Vo::PiGraph> &shared,
                                         const std::string &editorName, const std::string &toolName,
                                         const RCShdPtr<Vo::PiNode> &output)
    : graph(shared), editorNode(graph->addNode(editorName)),
      layer(AppLayerInterface::create(graph->addNode(toolName, Vo::PiNode::Tool))),
      outputNode(output.isNull() ? graph->addNode("Output", Vo::PiNode::PrimaryOutput) : output),
      selector(Vo::SeShapeSelector::create()) {
    graph->connect(layer.get()->getToolNode(), outputNode);
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
