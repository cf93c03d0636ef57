// A small application built at -O0 against the installed package, written as the embedding guide
// (docs/embedding.md) says: the prefixed include form, the library's helpers for shape events,
// lambda handlers, the item test and the application's selection. Every call goes through the
// library's exported symbols, so a missing export fails the link.
#include <VoShape/VoShape.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Vo;

class ShapeEditing : public SeShapeInterface {
public:
    explicit ShapeEditing(const RCShdPtr<PiInput> &input) : curve(input) {}
    RCShdPtr<SeShape> getShape() override { return shape; }
    RCShdPtr<PiInput> getCurveInput() override { return curve; }
    RCShdPtr<SeShape> shape;
    RCShdPtr<PiInput> curve;
};

class Shape : public SeShape {
public:
    Shape(const RCShdPtr<PiGraphObject> &graphObject, const RCWeakPtr<SeShapeInterface> &side)
        : object(graphObject), editing(side) {}
    RCShdPtr<PiGraphObject> getGraphObject() override { return object; }
    RCShdPtr<PiGraphObject const> getGraphObject() const override { return object; }
    RCWeakPtr<SeShapeInterface> getShapeInterface() const override { return editing; }

private:
    RCShdPtr<PiGraphObject> object;
    RCWeakPtr<SeShapeInterface> editing;
};

class Controller : public SeShapeEditorControllerInterface {
public:
    Controller() : graph(PiGraph::create()), selector(SeShapeSelector::create()) {
        editor = graph->addNode("Editor");
        tool = graph->addNode("Tool", PiNode::Tool);
        graph->connect(tool, graph->addNode("Output", PiNode::PrimaryOutput));
        object = tool->addObject("A");
        owner = RCOwner<ShapeEditing>(new ShapeEditing(tool->addCurveInput("A.curve", 4)));
        owner.get()->shape = RCShdPtr<SeShape>(new Shape(object, owner.getWeak()));
    }
    RCShdPtr<PiNode> getNode() override { return editor; }
    RCShdPtr<PiGraph const> getGraph() override { return graph; }
    RCShdPtr<SeShapeSelector> getShapeSelector() override { return selector; }
    RCShdPtr<SeShape> findShape(const RCShdPtr<PiGraphObject const> &o) override {
        return PiGraphObject::areEqual(o, object) ? owner.get()->shape : RCShdPtr<SeShape>();
    }
    void addShapeEventCb(const SeShapeEvent &prototype,
                         CbHandler<SeShapeEvent const> *handler) override {
        events.addHandler(prototype, handler);
    }

    RCShdPtr<PiGraph> graph;
    RCShdPtr<PiNode> editor;
    RCShdPtr<PiNode> tool;
    RCShdPtr<PiGraphObject> object;
    RCShdPtr<SeShapeSelector> selector;
    RCOwner<ShapeEditing> owner;
    SeShapeEventDispatchers events;
};

// The places of the application's input items, "A.curve/Points[2]/x".
std::vector<std::string> inputPlaces(const SnSelection &selection) {
    std::vector<std::string> places;
    for (const RCShdPtr<SnItem const> &item : selection) {
        if (const auto *input = dynamic_cast<const PiSnItem<PiInput> *>(item.get())) {
            places.push_back(input->getInput()->getPlace());
        }
    }
    return places;
}

bool check(bool condition, const char *what) {
    if (!condition) {
        std::cerr << "consumer check failed: " << what << "\n";
    }
    return condition;
}

} // namespace

int main() {
    Controller app;
    std::vector<std::string> log;
    CbFunction<CbEmptyType> primary([&log] { log.push_back("primary"); });
    CbFunction<CbEmptyType> selection([&log] { log.push_back("selection"); });
    app.selector->addPrimarySelectionChangedCallback(&primary);
    app.selector->addSelectionChangedCallback(&selection);
    app.selector->setPickingType(SeShapeSelector::PickingType{2});
    bool ok = check(app.selector->getPickingType() == 2, "picking type");
    {
        const RCShdPtr<SeSelectorUpdater> updater(new SeSelectorUpdater(
            app, SeSelectorUpdater::ItemPredicate(SeSelectorUpdater::graphObjectsNotNodes())));
        const RCShdPtr<SnSelection> host = app.getApplicationSelection();
        app.selector->setPrimarySelectedShape(app.owner.get()->shape, 2);
        ok = check(inputPlaces(*host) ==
                       std::vector<std::string>{"A.curve/Points[2]/x", "A.curve/Points[2]/y"},
                   "point inputs mirrored") &&
             ok;
        ok = check(log == std::vector<std::string>{"primary", "selection"}, "callbacks") && ok;
        try {
            app.selector->selectPoints({1, 99});
            ok = check(false, "an index without element raises");
        } catch (const SeExMissingElement &error) {
            std::cout << "expected error: " << error.what() << "\n";
            Vector<int> points;
            app.selector->getSelectedPoints(points);
            ok = check(points == Vector<int>{2}, "editor selection put back") && ok;
            ok = check(inputPlaces(*host).size() == 2, "application selection unchanged") && ok;
        }
        app.selector->resetSelection();
        app.selector->selectAllShapes(IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(
            std::make_shared<const std::vector<RCShdPtr<SeShape>>>(1, app.owner.get()->shape)));
        ok = check(host->getNbItems() == 2, "editor node and shape mirrored") && ok;
        app.events.send(
            SeShapeEvent::ShapeRemoved(app.object->getId(), RCShdPtr<SeObject const>()));
        ok = check(app.selector->getNbSelectedShape() == 0, "removed shape dropped") && ok;
    }
    if (!ok) {
        return 1;
    }
    std::cout << "consumer linked against the installed libVoshape\n";
    return 0;
}
