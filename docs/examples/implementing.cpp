// What an application implements for the library, on the host stand-in's graph and nothing else:
// the two sides of a shape and the editor controller, then a removal event. The API reference
// quotes its parts.
#include "ExampleCheck.h"

#include <VoShape/VoShape.h>

#include <map>
#include <string>

namespace {

//! [shape-sides]
// The editing side: owned by the application (here through Vo::RCOwner), held weakly by the
// library, which reads the curve's inputs from it to mirror selected points.
class Editing : public Vo::SeShapeInterface {
public:
    explicit Editing(Vo::RCShdPtr<Vo::PiInput> curveInput) : curve(std::move(curveInput)) {}
    Vo::RCShdPtr<Vo::SeShape> getShape() override { return model; }
    Vo::RCShdPtr<Vo::PiInput> getCurveInput() override { return curve; }
    Vo::RCShdPtr<Vo::SeShape> model; // set once the model side exists
private:
    Vo::RCShdPtr<Vo::PiInput> curve;
};

// The model side: shared (RCShdPtr), the shape as the selection names it; its graph object
// stands for it in the application's selection.
class Model : public Vo::SeShape {
public:
    Model(Vo::RCShdPtr<Vo::PiGraphObject> graphObject, Vo::RCWeakPtr<Vo::SeShapeInterface> side)
        : object(std::move(graphObject)), editing(std::move(side)) {}
    Vo::RCShdPtr<Vo::PiGraphObject> getGraphObject() override { return object; }
    Vo::RCShdPtr<Vo::PiGraphObject const> getGraphObject() const override { return object; }
    Vo::RCWeakPtr<Vo::SeShapeInterface> getShapeInterface() const override { return editing; }

private:
    Vo::RCShdPtr<Vo::PiGraphObject> object;
    Vo::RCWeakPtr<Vo::SeShapeInterface> editing;
};
//! [shape-sides]

//! [controller]
// The controller owns the graph, the shapes' editing sides and the event lists, and shares the
// selector; the updater borrows it, so it must outlive the updater.
class Controller : public Vo::SeShapeEditorControllerInterface {
public:
    Controller() : graph(Vo::PiGraph::create()), selector(Vo::SeShapeSelector::create()) {
        editorNode = graph->addNode("Editor");
        toolNode = graph->addNode("Tool", Vo::PiNode::Tool);
        graph->connect(toolNode, graph->addNode("Output", Vo::PiNode::PrimaryOutput));
    }
    Vo::RCShdPtr<Vo::SeShape> add(const std::string &name, int points) {
        Vo::RCOwner<Editing> &owner = shapes[name];
        owner = Vo::RCOwner<Editing>(new Editing(toolNode->addCurveInput(name + ".curve", points)));
        owner.get()->model =
            Vo::RCShdPtr<Vo::SeShape>(new Model(toolNode->addObject(name), owner.getWeak()));
        return owner.get()->model;
    }
    Vo::RCShdPtr<Vo::PiNode> getNode() override { return editorNode; }
    Vo::RCShdPtr<Vo::PiGraph const> getGraph() override { return graph; }
    Vo::RCShdPtr<Vo::SeShapeSelector> getShapeSelector() override { return selector; }
    Vo::RCShdPtr<Vo::SeShape>
    findShape(const Vo::RCShdPtr<Vo::PiGraphObject const> &object) override {
        const auto found = shapes.find(object->getName());
        return found == shapes.end() ? Vo::RCShdPtr<Vo::SeShape>() : found->second.get()->model;
    }
    void addShapeEventCb(const Vo::SeShapeEvent &prototype,
                         Vo::CbHandler<Vo::SeShapeEvent const> *handler) override {
        events.addHandler(prototype, handler);
    }

    Vo::RCShdPtr<Vo::PiGraph> graph;
    Vo::RCShdPtr<Vo::PiNode> editorNode, toolNode;
    Vo::RCShdPtr<Vo::SeShapeSelector> selector;
    std::map<std::string, Vo::RCOwner<Editing>> shapes;
    Vo::SeShapeEventDispatchers events;
};
//! [controller]

} // namespace

int main() {
    Controller app;
    const Vo::RCShdPtr<Vo::SeShape> a = app.add("A", 4);
    app.add("B", 3);
    const Vo::RCShdPtr<Vo::SeSelectorUpdater> updater(new Vo::SeSelectorUpdater(
        app, Vo::SeSelectorUpdater::ItemPredicate(Vo::SeSelectorUpdater::graphObjectsNotNodes())));
    app.selector->setPrimarySelectedShape(a, 1);
    exampleCheck(app.getApplicationSelection()->getNbItems() == 4,
                 "the editor's node, A's object and the x and y inputs of its point 1");

    //! [removal]
    // A shape is deleted: its editing side goes first (the library's weak pointers read null),
    // then the removal event, which carries the id only; its graph object may leave after.
    const int id = a->getId();
    app.shapes.erase("A");
    app.events.send(Vo::SeShapeEvent::ShapeRemoved(id, Vo::RCShdPtr<Vo::SeObject const>()));
    exampleCheck(app.selector->getNbSelectedShape() == 0, "A to have left the selection");
    exampleCheck(app.getApplicationSelection()->getNbItems() == 1, "the editor's node alone");
    //! [removal]
    return 0;
}
