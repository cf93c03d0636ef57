#include "SeSelectorUpdater.h"
#include "SeShape.h"
#include "SeShapeEditorControllerInterface.h"
#include "SeShapeInterface.h"
#include "SeShapeSelector.h"

#include "foundation/Iterator.h"
#include "foundation/List.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "host/PiCompositeInput.h"
#include "host/PiCompositionGraphInterface.h"
#include "host/PiGraph.h"
#include "host/PiGraphSearch.h"
#include "host/PiIsPrimaryOutputNode.h"
#include "host/PiMultivaluedInput.h"
#include "host/PiNode.h"
#include "host/PiPath.h"
#include "host/PiSnItem.h"
#include "host/PiSnItemUtil.h"
#include "host/PiStructuredInput.h"
#include "host/PrdPredicateImp.h"
#include "host/RCOwner.h"
#include "host/SnSelection.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace Vo;

// The editing side of the one shape: its curve, of composite x/y points.
class CurveShapeInterface : public SeShapeInterface {
public:
    explicit CurveShapeInterface(const RCShdPtr<PiInput> &curveInput) : curve(curveInput) {}
    void setShape(const RCShdPtr<SeShape> &model) { shape = model; }
    RCShdPtr<SeShape> getShape() override { return shape; }
    RCShdPtr<PiInput> getCurveInput() override { return curve; }

private:
    RCShdPtr<SeShape> shape;
    RCShdPtr<PiInput> curve;
};

// The model side of the shape: its graph object and its editing side, weakly.
class CurveShape : public SeShape {
public:
    CurveShape(const RCShdPtr<PiGraphObject> &graphObject, const RCWeakPtr<SeShapeInterface> &side)
        : object(graphObject), editing(side) {}
    RCShdPtr<PiGraphObject> getGraphObject() override { return object; }
    RCShdPtr<PiGraphObject const> getGraphObject() const override { return object; }
    RCWeakPtr<SeObjectInterface> getObjectInterface() const override { return {}; }
    RCWeakPtr<SeShapeInterface> getShapeInterface() const override { return editing; }

private:
    ~CurveShape() override = default;

    RCShdPtr<PiGraphObject> object;
    RCWeakPtr<SeShapeInterface> editing;
};

// Accepts every item that the updater's tool-node test lets through.
class AnyItem : public PrdPredicateImp<RCShdPtr<SnItem const>> {
public:
    bool evaluate(const RCShdPtr<SnItem const> &) const override { return true; }
};

// An editor on a composition graph "ShapeEditor", "Roto" (tool) -> "Output" (primary output), with
// one shape of N points inside "Roto", selected as primary; its updater mirrors it into the host.
class OneShapeEditor : public SeShapeEditorControllerInterface {
public:
    explicit OneShapeEditor(int nbPoints)
        : graph(PiGraph::create()), editorNode(graph->addNode("ShapeEditor")),
          roto(graph->addNode("Roto", PiNode::Tool)),
          output(graph->addNode("Output", PiNode::PrimaryOutput)), selector(new SeShapeSelector),
          curve(roto->addCurveInput("S.curve", nbPoints)),
          editing(new CurveShapeInterface(RCShdPtr<PiInput>(curve))), object(roto->addObject("S")) {
        graph->connect(roto, output);
        editing.get()->setShape(RCShdPtr<SeShape>(
            new CurveShape(object, RCWeakPtr<SeShapeInterface>(editing.getWeak()))));
        updater = RCShdPtr<SeSelectorUpdater>(new SeSelectorUpdater(
            *this, RCShdPtr<PrdPredicateImp<RCShdPtr<SnItem const>>>(new AnyItem)));
        selector->setPrimarySelectedShape(editing.get()->getShape(), -1);
    }
    ~OneShapeEditor() override { updater = RCShdPtr<SeSelectorUpdater>(); }

    RCShdPtr<PiNode> getNode() override { return editorNode; }
    RCShdPtr<PiGraph const> getGraph() override { return graph; }
    RCShdPtr<SeShapeSelector> getShapeSelector() override { return selector; }
    RCShdPtr<SeShape> findShape(const RCShdPtr<PiGraphObject const> &candidate) override {
        return PiGraphObject::areEqual(candidate, RCShdPtr<PiGraphObject const>(object))
                   ? editing.get()->getShape()
                   : RCShdPtr<SeShape>();
    }
    void addShapeEventCb(const SeShapeEvent &, CbHandler<SeShapeEvent const> *handler) override {
        removals.addHandler(handler);
    }

    RCShdPtr<SnSelection> hostSelection() const {
        const RCWeakAccessor<PiNodeController const> controller(graph->getNodeController());
        return dynamic_cast<const PiCompositionGraphInterface &>(*controller).getSelection();
    }
    // The component inputs of every point, in point then component order.
    std::vector<RCShdPtr<PiInput>> pointComponents() const {
        const RCShdPtr<PiMultivaluedInput> points =
            rcDynamicCast<PiMultivaluedInput>(curve->getInput("Points", 0));
        std::vector<RCShdPtr<PiInput>> components;
        for (int i = 0; i < points->getNbElements(); ++i) {
            for (Iterator<RCShdPtr<PiInput>> component =
                     rcDynamicCast<PiCompositeInput>(points->getElement(i))->getInputs(1);
                 !component.atEnd(); component.next()) {
                components.push_back(component.item());
            }
        }
        return components;
    }

    RCShdPtr<PiGraph> graph;
    RCShdPtr<PiNode> editorNode;
    RCShdPtr<PiNode> roto;
    RCShdPtr<PiNode> output;
    RCShdPtr<SeShapeSelector> selector;
    RCShdPtr<PiStructuredInput> curve;
    RCOwner<CurveShapeInterface> editing;
    RCShdPtr<PiGraphObject> object;
    RCShdPtr<SeSelectorUpdater> updater;
    CbDispatcher<SeShapeEvent const> removals;
};

// The editor selects all N points of its shape, and the updater mirrors them into the host
// selection as 2N input items; each round first clears the points (a mirror of its own).
void BM_UpdaterSelectAllPointsRoundTrip(benchmark::State &state) {
    const int nbPoints = static_cast<int>(state.range(0));
    OneShapeEditor editor(nbPoints);
    const RCShdPtr<SnSelection> host = editor.hostSelection();
    for (auto _ : state) {
        editor.selector->unselectPoints();
        editor.selector->selectAllPoints(nbPoints);
        benchmark::DoNotOptimize(host->getNbItems());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UpdaterSelectAllPointsRoundTrip)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// The floor under that round trip: the same host items made directly (the editor node, the shape's
// object, 2N inputs with their path) and written into the host selection once.
void BM_UpdaterBareHostItems(benchmark::State &state) {
    const int nbPoints = static_cast<int>(state.range(0));
    OneShapeEditor editor(nbPoints);
    editor.updater = RCShdPtr<SeSelectorUpdater>(); // nobody mirrors the host back
    const RCShdPtr<SnSelection> host = editor.hostSelection();
    const std::vector<RCShdPtr<PiInput>> components = editor.pointComponents();
    const RCShdPtr<PiPath> path =
        PiGraphSearch::heightFirst(editor.curve->getNode(), PiIsPrimaryOutputNode::getPredicate());
    for (auto _ : state) {
        List<RCShdPtr<SnItem const>> items;
        items.push_back(PiSnItemUtil::create(editor.editorNode));
        items.push_back(PiSnItemUtil::createFromBase(editor.object));
        for (const RCShdPtr<PiInput> &component : components) {
            items.push_back(PiSnItem<PiInput>::create(component, path));
        }
        host->replaceAllItems(SnSelection::create(items));
        benchmark::DoNotOptimize(host->getNbItems());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UpdaterBareHostItems)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
