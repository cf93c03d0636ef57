#pragma once

#include "SeShapeEditorControllerInterface.h"
#include "SeShapeEvent.h"
#include "SeShapeSelector.h"
#include "TestShapeInterface.h"

#include "foundation/CbDispatcher.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiNode.h"
#include "host/RCOwner.h"
#include "host/selection/SnSelection.h"

#include <string>
#include <vector>

namespace VoTest {

// A small editor on a real composition graph: an editor node "ShapeEditor", a tool node "Roto"
// holding the shapes' graph objects and inputs, and a primary-output node "Output" fed by "Roto".
// Owns the shapes' editing sides (through RCOwner), the selector, and the shape-event dispatchers.
// Every call the library makes (findShape, and getNode, getGraph, getShapeSelector and
// addShapeEventCb as the updater is built) is counted by the fault switch and raises when armed.
class TestController : public Vo::SeShapeEditorControllerInterface {
public:
    TestController();
    // A second layer in another controller's graph, sharing its application selection: nodes
    // "ShapeEditor<suffix>", "Roto<suffix>" and "Output<suffix>", with a selector of its own.
    TestController(const Vo::RCShdPtr<Vo::PiGraph> &sharedGraph, const std::string &suffix);
    ~TestController() override;

    // A shape with a curve of nbPoints points (multi-valued "Points" of composite x/y elements, or
    // one plain "Points" input), and a gradient of nbHandles handles when nbHandles > 0.
    int addShape(const std::string &name, int nbPoints, int nbHandles = 0,
                 bool singleValuedPoints = false);
    int getNbShapes() const { return static_cast<int>(shapes.size()); }
    Vo::RCShdPtr<Vo::SeShape> shape(int index) const;
    Vo::RCWeakPtr<Vo::SeShapeInterface> weak(int index) const;
    TestShapeInterface &editing(int index) const;
    // Deletes a shape's editing side and sends its removal event (id only).
    void deleteShape(int index);
    // Deletes the editing side only, without an event (the application's order of events varies).
    void deleteInterfaceOnly(int index);
    void sendRemoval(int shapeId);

    const Vo::RCShdPtr<Vo::PiGraph> &graph() const { return compositionGraph; }
    const Vo::RCShdPtr<Vo::PiNode> &toolNode() const { return roto; }
    const Vo::RCShdPtr<Vo::PiNode> &outputNode() const { return output; }
    Vo::RCShdPtr<Vo::SnSelection> hostSelection() const;
    Vo::CbDispatcher<Vo::SeShapeEvent const> &removals() { return removalDispatcher; }

    Vo::RCShdPtr<Vo::PiNode> getNode() override;
    Vo::RCShdPtr<Vo::PiGraph const> getGraph() override;
    Vo::RCShdPtr<Vo::SeShapeSelector> getShapeSelector() override;
    Vo::RCShdPtr<Vo::SeShape>
    findShape(const Vo::RCShdPtr<Vo::PiGraphObject const> &object) override;
    void addShapeEventCb(const Vo::SeShapeEvent &prototype,
                         Vo::CbHandler<Vo::SeShapeEvent const> *handler) override;

private:
    Vo::RCShdPtr<Vo::PiGraph> compositionGraph;
    Vo::RCShdPtr<Vo::PiNode> editorNode;
    Vo::RCShdPtr<Vo::PiNode> roto;
    Vo::RCShdPtr<Vo::PiNode> output;
    Vo::RCShdPtr<Vo::SeShapeSelector> selector;
    std::vector<Vo::RCOwner<TestShapeInterface>> shapes;
    std::vector<Vo::RCShdPtr<Vo::PiGraphObject>> shapeObjects;
    Vo::CbDispatcher<Vo::SeShapeEvent const> removalDispatcher;
    Vo::CbDispatcher<Vo::SeShapeEvent const> otherEventsDispatcher;
};

} // namespace VoTest
