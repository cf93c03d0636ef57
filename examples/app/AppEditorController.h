#pragma once

#include "AppLayerInterface.h"
#include "AppShapeInterface.h"

#include <VoShape/SeShape.h>
#include <VoShape/SeShapeEditorControllerInterface.h>
#include <VoShape/SeShapeEvent.h>
#include <VoShape/SeShapeEventDispatchers.h>
#include <VoShape/SeShapeSelector.h>

#include <VoShape/foundation/CbHandler.h>
#include <VoShape/foundation/RCShdPtr.h>
#include <VoShape/foundation/RCWeakPtr.h>
#include <VoShape/host/RCOwner.h>
#include <VoShape/host/graph/PiGraph.h>
#include <VoShape/host/graph/PiGraphObject.h>
#include <VoShape/host/graph/PiNode.h>

#include <string>

namespace VoExample {

// The shape editor's controller of one layer, on a composition graph: the editor's own node
// "ShapeEditor", the tool node "Roto" that holds the layer's shapes, and the primary output
// "Output" fed by Roto; a further layer adds its own editor and tool nodes to the same graph.
// Shares the graph, owns the layer's editing side (through RCOwner), the editor's shape selector
// and the shape-event lists, one per kind of event. Must outlive every updater made for it.
// Editor's thread only.
class AppEditorController : public Vo::SeShapeEditorControllerInterface {
public:
    AppEditorController();
    // A further layer in first's graph, with the same application selection: the tool node
    // layerName feeding first's primary output, and the editor node "<layerName>.Editor".
    AppEditorController(const AppEditorController &first, const std::string &layerName);
    ~AppEditorController() override;

    // What the library asks of the controller.
    Vo::RCShdPtr<Vo::PiNode> getNode() override { return editorNode; }
    Vo::RCShdPtr<Vo::PiGraph const> getGraph() override { return graph; }
    Vo::RCShdPtr<Vo::SeShapeSelector> getShapeSelector() override { return selector; }
    Vo::RCShdPtr<Vo::SeShape>
    findShape(const Vo::RCShdPtr<Vo::PiGraphObject const> &object) override;
    // Subscribes to the dispatcher of the prototype's class; a prototype of another class than the
    // four kinds subscribes nothing.
    void addShapeEventCb(const Vo::SeShapeEvent &prototype,
                         Vo::CbHandler<Vo::SeShapeEvent const> *handler) override {
        shapeEvents.addHandler(prototype, handler);
    }

    // The application's side.
    const Vo::RCShdPtr<Vo::PiGraph> &getCompositionGraph() const noexcept { return graph; }
    AppLayerInterface &getLayer() const noexcept { return *layer.get(); }
    // Calls the handlers subscribed to the event's kind, in the order they subscribed.
    void sendShapeEvent(const Vo::SeShapeEvent &event) { shapeEvents.send(event); }

    // Shape edits: the graph changes first, then the selector or the event's receivers hear of it.
    // Builds a shape in the layer and sends ShapeAdded; null when the name is taken.
    AppShapeInterface *addShape(const std::string &name, int nbPoints, int nbHandles,
                                bool singleValuedPoints);
    // Deletes the shape and sends ShapeRemoved with its id (sendRemoval); false when no shape has
    // that name.
    bool deleteShape(const std::string &name);
    // Sends ShapeRemoved for the shape deleted from the layer with that id, then takes its graph
    // object and inputs out of the tool node (AppLayerInterface::removeFromGraph).
    void sendRemoval(int id);
    // Insert or remove a point (handle) of shape, then renumber the selected points (handles) of
    // the primary shape, which changes them only when shape is the primary shape. False, changing
    // nothing, when the index is out of range (see AppShapeInterface).
    bool insertPoint(AppShapeInterface &shape, int index);
    bool deletePoint(AppShapeInterface &shape, int index);
    bool insertHandle(AppShapeInterface &shape, int index);
    bool deleteHandle(AppShapeInterface &shape, int index);

private:
    AppEditorController(const Vo::RCShdPtr<Vo::PiGraph> &graph, const std::string &editorName,
                        const std::string &toolName, const Vo::RCShdPtr<Vo::PiNode> &output);

    using Change = bool (AppShapeInterface::*)(int);
    using Renumber = void (Vo::SeShapeSelector::*)(const Vo::RCWeakPtr<Vo::SeShapeInterface> &,
                                                   int);

    bool edit(AppShapeInterface &shape, int index, Change change, Renumber renumber);

    Vo::RCShdPtr<Vo::PiGraph> graph;
    Vo::RCShdPtr<Vo::PiNode> editorNode;
    Vo::RCOwner<AppLayerInterface> layer;
    Vo::RCShdPtr<Vo::PiNode> outputNode;
    Vo::RCShdPtr<Vo::SeShapeSelector> selector;
    Vo::SeShapeEventDispatchers shapeEvents;
};

} // namespace VoExample
