// A small application built at -O0 against the installed package: every call below goes through
// the library's exported symbols, so a missing export fails the link.
#include "VoShape.h"

#include <iostream>
#include <memory>

namespace {

using namespace Vo;

class Shape;

class ShapeEditing : public SeShapeInterface {
public:
    explicit ShapeEditing(const RCShdPtr<PiInput> &curve) : curve(curve) {}
    RCShdPtr<SeShape> getShape() override { return shape; }
    RCShdPtr<PiInput> getCurveInput() override { return curve; }
    RCShdPtr<SeShape> shape;
    RCShdPtr<PiInput> curve;
};

class Shape : public SeShape {
public:
    Shape(const RCShdPtr<PiGraphObject> &object, const RCWeakPtr<SeShapeInterface> &editing)
        : object(object), editing(editing) {}
    RCShdPtr<PiGraphObject> getGraphObject() override { return object; }
    RCShdPtr<PiGraphObject const> getGraphObject() const override { return object; }
    RCWeakPtr<SeShapeInterface> getShapeInterface() const override { return editing; }

private:
    RCShdPtr<PiGraphObject> object;
    RCWeakPtr<SeShapeInterface> editing;
};

class Controller : public SeShapeEditorControllerInterface {
public:
    Controller() : graph(PiGraph::create()), selector(new SeShapeSelector) {
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
    void addShapeEventCb(const SeShapeEvent &, CbHandler<SeShapeEvent const> *handler) override {
        removals.addHandler(handler);
    }

    RCShdPtr<PiGraph> graph;
    RCShdPtr<PiNode> editor;
    RCShdPtr<PiNode> tool;
    RCShdPtr<PiGraphObject> object;
    RCShdPtr<SeShapeSelector> selector;
    RCOwner<ShapeEditing> owner;
    CbDispatcher<SeShapeEvent const> removals;
};

class Counter : public CbHandler<CbEmptyType> {
public:
    void call(const CbEmptyType &) override { ++calls; }
    int calls = 0;
};

} // namespace

int main() {
    if (InInit<VoInit::shape>::getType() == nullptr) {
        return 1;
    }
    Controller app;
    Counter changes;
    app.selector->addSelectionChangedCallback(&changes);
    {
        const RCShdPtr<SeSelectorUpdater> updater(
            new SeSelectorUpdater(app, RCShdPtr<PrdPredicateImp<RCShdPtr<SnItem const>>>()));
        app.selector->setPrimarySelectedShape(app.owner.get()->shape, 2);
        Vector<int> points;
        app.selector->getSelectedPoints(points);
        const RCWeakAccessor<SeShapeInterface> shape(
            app.selector->getPrimarySelectedShapeInterface());
        std::cout << "points selected: " << points.size()
                  << ", rank of 2: " << app.selector->getPointSelectionRank(2)
                  << ", host items: " << app.selector->getSelection()->getNbItems()
                  << ", callbacks: " << changes.calls << ", shape locked: " << !shape.isNull()
                  << "\n";
        app.removals.call(
            SeShapeEvent::ShapeRemoved(app.object->getId(), RCShdPtr<SeObject const>()));
        if (points.size() != 1 || changes.calls != 2 || app.selector->getNbSelectedShape() != 0) {
            return 1;
        }
    }
    std::cout << "consumer linked against the installed libVoshape\n";
    return 0;
}
