#include "host/graph/PiGraph.h"

#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakAccessor.h"
#include "foundation/Vector.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiCompositionGraphInterface.h"
#include "host/graph/PiGraphSearch.h"
#include "host/graph/PiInput.h"
#include "host/graph/PiIsPrimaryOutputNode.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiNodeController.h"
#include "host/graph/PiPath.h"
#include "host/graph/PiSnItem.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/graph/PiStructuredInput.h"
#include "base/RCExCastFailed.h"
#include "base/RCExNullPtr.h"
#include "host/selection/SnItemBasic.h"
#include "host/selection/SnParts.h"
#include "host/selection/SnSelection.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace Vo {
namespace PiGraphTesting {

using Inputs = std::vector<RCShdPtr<PiInput>>;

Inputs collect(Iterator<RCShdPtr<PiInput>> inputs) {
    Inputs found;
    for (; !inputs.atEnd(); inputs.next()) {
        found.push_back(inputs.item());
    }
    return found;
}

std::vector<std::string> namesOf(const Inputs &inputs) {
    std::vector<std::string> names;
    for (const RCShdPtr<PiInput> &input : inputs) {
        names.push_back(input->getName());
    }
    return names;
}

// Every input held by input, itself included, whatever its class.
void gather(const RCShdPtr<PiInput> &input, Inputs &all) {
    all.push_back(input);
    if (const auto structured = rcDynamicCastOrNull<PiStructuredInput>(input);
        !structured.isNull()) {
        for (const RCShdPtr<PiInput> &sub : collect(structured->getInputs(1))) {
            gather(sub, all);
        }
    } else if (const auto composite = rcDynamicCastOrNull<PiCompositeInput>(input);
               !composite.isNull()) {
        for (const RCShdPtr<PiInput> &component : collect(composite->getInputs(1))) {
            gather(component, all);
        }
    } else if (input->isMultivalued()) {
        const auto multivalued = rcDynamicCast<PiMultivaluedInput>(input);
        for (int i = 0; i < multivalued->getNbElements(); ++i) {
            gather(multivalued->getElement(i), all);
        }
    }
}

// The ids of every node, owned object and input of graph.
std::vector<int> allIds(const PiGraph &graph) {
    std::vector<int> ids;
    for (int n = 0; n < graph.getNbNodes(); ++n) {
        const RCShdPtr<PiNode> node = graph.getNode(n);
        ids.push_back(node->getId());
        for (int o = 0; o < node->getNbObjects(); ++o) {
            ids.push_back(node->getObject(o)->getId());
        }
        Inputs inputs;
        for (int i = 0; i < node->getNbInputs(); ++i) {
            gather(node->getInput(i), inputs);
        }
        for (const RCShdPtr<PiInput> &input : inputs) {
            ids.push_back(input->getId());
        }
    }
    return ids;
}

bool allDistinct(const std::vector<int> &ids) {
    return std::set<int>(ids.begin(), ids.end()).size() == ids.size();
}

RCShdPtr<PiMultivaluedInput> pointsOf(const RCShdPtr<PiStructuredInput> &curve) {
    return rcDynamicCast<PiMultivaluedInput>(curve->getInput("Points", 0));
}

TEST(PiGraphTest, CurveAndGradientInputsHaveTheirStructure) {
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiNode> roto = graph->addNode("Roto", PiNode::Tool);

    const RCShdPtr<PiStructuredInput> curve = roto->addCurveInput("curve", 3);
    const RCShdPtr<PiMultivaluedInput> points = pointsOf(curve);
    EXPECT_TRUE(points->isMultivalued());
    EXPECT_EQ(points->getNbElements(), 3);
    EXPECT_TRUE(points->getElement(3).isNull());
    EXPECT_TRUE(points->getElement(-1).isNull());
    const RCShdPtr<PiCompositeInput> point = rcDynamicCast<PiCompositeInput>(points->getElement(2));
    EXPECT_EQ(namesOf(collect(point->getInputs(1))), (std::vector<std::string>{"x", "y"}));
    EXPECT_TRUE(curve->getInput("Closed", 0).isNull());

    const RCShdPtr<PiStructuredInput> plainCurve = roto->addSingleValuedCurveInput("plain");
    const RCShdPtr<PiInput> plainPoints = plainCurve->getInput("Points", 0);
    EXPECT_FALSE(plainPoints->isMultivalued());
    EXPECT_THROW(rcDynamicCast<PiMultivaluedInput>(plainPoints), RCExCastFailed);

    const RCShdPtr<PiMultivaluedInput> gradient = roto->addGradientInput("gradient", 2);
    const RCShdPtr<PiStructuredInput> handle =
        rcDynamicCast<PiStructuredInput>(gradient->getElement(1));
    EXPECT_EQ(namesOf(collect(handle->getInputs(1))),
              (std::vector<std::string>{"position", "color"}));
    EXPECT_EQ(handle->getInput("color", 0)->getName(), "color");

    EXPECT_EQ(namesOf({roto->getInput(0), roto->getInput(1), roto->getInput(2)}),
              (std::vector<std::string>{"curve", "plain", "gradient"}));
    EXPECT_EQ(roto->findInput("gradient"), gradient);
    EXPECT_TRUE(roto->getInput(3).isNull());
}

TEST(PiGraphTest, EveryObjectKnowsItsNode) {
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiNode> roto = graph->addNode("Roto", PiNode::Tool);
    roto->addCurveInput("curve", 2);
    roto->addGradientInput("gradient", 2);
    const RCShdPtr<PiGraphObject> shape = roto->addObject("shape");

    EXPECT_EQ(shape->getOwnerNode(), roto);
    EXPECT_EQ(roto->getOwnerNode(), roto);
    EXPECT_EQ(roto->asNode(), roto.get());
    EXPECT_EQ(shape->asNode(), nullptr);
    // The item of a graph object is a node's item exactly when the object is a node.
    EXPECT_NE(dynamic_cast<const PiSnItem<PiNode> *>(PiSnItemUtil::createFromBase(roto).get()),
              nullptr);
    EXPECT_EQ(dynamic_cast<const PiSnItem<PiNode> *>(PiSnItemUtil::createFromBase(shape).get()),
              nullptr);
    const RCShdPtr<SnItem const> ofNull = PiSnItemUtil::createFromBase(nullptr);
    EXPECT_TRUE(
        rcCheckedCast<const PiGraphObjectSnItemConst>(ofNull.get())->getGraphObject().isNull());
    EXPECT_EQ(roto->getGraph(), graph);
    Inputs inputs;
    gather(roto->getInput(0), inputs);
    gather(roto->getInput(1), inputs);
    EXPECT_EQ(inputs.size(), 1u + 1u + 2u * 3u + 1u + 2u * 3u);
    for (const RCShdPtr<PiInput> &input : inputs) {
        EXPECT_EQ(input->getNode(), roto) << input->getName();
        EXPECT_EQ(input->asNode(), nullptr) << input->getName();
    }
}

TEST(PiGraphTest, IdsAreUniqueAcrossNodesObjectsInputsAndElements) {
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiNode> roto = graph->addNode("Roto", PiNode::Tool);
    const RCShdPtr<PiNode> output = graph->addNode("Output", PiNode::PrimaryOutput);
    const RCShdPtr<PiMultivaluedInput> points = pointsOf(roto->addCurveInput("curve", 4));
    roto->addGradientInput("gradient", 3);
    roto->addObject("shape");
    output->addInput("image");

    const int removedId = points->getElement(1)->getId();
    ASSERT_TRUE(points->removeElement(1));
    const RCShdPtr<PiInput> inserted = points->insertElement(1);
    EXPECT_NE(inserted->getId(), removedId);
    EXPECT_EQ(points->getElement(1), inserted);
    EXPECT_EQ(points->getNbElements(), 4);

    const std::vector<int> ids = allIds(*graph);
    EXPECT_TRUE(allDistinct(ids));
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).count(removedId), 0u);
    // Ids count up from 1 and are never reused: the graph holds all it gave but the removed point
    // and its two components.
    EXPECT_EQ(graph->takeNextId(), static_cast<int>(ids.size()) + 3 + 1);
}

TEST(PiGraphTest, ElementsCanBeInsertedAndRemovedAtAnyIndex) {
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiNode> roto = graph->addNode("Roto", PiNode::Tool);
    const RCShdPtr<PiMultivaluedInput> points = pointsOf(roto->addCurveInput("curve", 2));
    const RCShdPtr<PiInput> first = points->getElement(0);
    const RCShdPtr<PiInput> second = points->getElement(1);

    const RCShdPtr<PiInput> front = points->insertElement(0);
    const RCShdPtr<PiInput> back = points->insertElement(3);
    EXPECT_TRUE(points->insertElement(5).isNull());
    EXPECT_TRUE(points->insertElement(-1).isNull());
    EXPECT_EQ(points->getNbElements(), 4);
    EXPECT_EQ(points->getElement(0), front);
    EXPECT_EQ(points->getElement(1), first);
    EXPECT_EQ(points->getElement(2), second);
    EXPECT_EQ(points->getElement(3), back);
    EXPECT_EQ(rcDynamicCast<PiCompositeInput>(front)->getNbInputs(), 2);

    EXPECT_TRUE(points->removeElement(1));
    EXPECT_FALSE(points->removeElement(3));
    EXPECT_FALSE(points->removeElement(-1));
    EXPECT_EQ(points->getElement(1), second);
    EXPECT_EQ(points->getNbElements(), 3);

    // A removed element, still held by a selection item say, belongs to no node any more.
    EXPECT_TRUE(first->getNode().isNull());
    for (const RCShdPtr<PiInput> &component :
         collect(rcDynamicCast<PiCompositeInput>(first)->getInputs(1))) {
        EXPECT_TRUE(component->getNode().isNull());
    }
    EXPECT_EQ(second->getNode(), roto);
}

TEST(PiGraphTest, NamesAreUniqueWithinOneContainer) {
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiNode> roto = graph->addNode("Roto");
    const RCShdPtr<PiStructuredInput> curve = roto->addCurveInput("curve", 1);

    EXPECT_TRUE(roto->addInput("curve").isNull());
    EXPECT_TRUE(roto->addCurveInput("curve", 5).isNull());
    EXPECT_TRUE(roto->addGradientInput("curve", 5).isNull());
    EXPECT_TRUE(curve->addInput("Points").isNull());
    EXPECT_EQ(roto->getNbInputs(), 1);
    EXPECT_EQ(pointsOf(curve)->getNbElements(), 1);

    EXPECT_FALSE(curve->addInput("Closed").isNull());
    EXPECT_EQ(curve->getNbInputs(), 2);
}

TEST(PiGraphTest, InputIteratorsDoNotSeeLaterAdditions) {
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiStructuredInput> curve = graph->addNode("Roto")->addCurveInput("curve", 1);
    const Iterator<RCShdPtr<PiInput>> before = curve->getInputs(1);
    curve->addInput("Closed");

    EXPECT_EQ(namesOf(collect(before)), (std::vector<std::string>{"Points"}));
    EXPECT_EQ(namesOf(collect(curve->getInputs(0))),
              (std::vector<std::string>{"Points", "Closed"}));
}

TEST(PiGraphTest, ConnectionsStayWithinOneGraph) {
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiGraph> other = PiGraph::create();
    const RCShdPtr<PiNode> a = graph->addNode("a");
    const RCShdPtr<PiNode> b = graph->addNode("b");
    const RCShdPtr<PiNode> stranger = other->addNode("stranger");

    EXPECT_TRUE(graph->connect(a, b));
    EXPECT_FALSE(graph->connect(a, b));
    EXPECT_TRUE(graph->connect(b, a));
    EXPECT_TRUE(graph->connect(a, a));
    EXPECT_FALSE(graph->connect(a, stranger));
    EXPECT_FALSE(other->connect(a, stranger));
    EXPECT_THROW(graph->connect(a, RCShdPtr<PiNode>()), RCExNullPtr);

    EXPECT_EQ(a->getNbDownstream(), 2);
    EXPECT_EQ(a->getDownstream(0), b);
    EXPECT_EQ(a->getDownstream(1), a);
    EXPECT_TRUE(a->getDownstream(2).isNull());
    EXPECT_EQ(stranger->getNbDownstream(), 0);
    EXPECT_EQ(graph->getNbNodes(), 2);
    EXPECT_EQ(graph->getNode(1), b);
    EXPECT_TRUE(graph->getNode(2).isNull());
}

TEST(PiGraphTest, CompositionGraphKeepsOneGlobalSelectionForItsLife) {
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCWeakPtr<PiNodeController const> weak = graph->getNodeController();
    RCShdPtr<SnSelection> selection;
    {
        const RCWeakAccessor<PiNodeController const> controller(weak);
        const auto &composition = dynamic_cast<const PiCompositionGraphInterface &>(*controller);
        selection = composition.getSelection();
        ASSERT_FALSE(selection.isNull());
        EXPECT_TRUE(selection->isEmpty());
        selection->replaceAllItems(SnSelection::create(
            {RCShdPtr<SnItem const>(new SnItemBasic<int>(RCShdPtr<SnParts>(), 7))}));
        EXPECT_EQ(composition.getSelection(), selection);
    }
    graph->addNode("later");
    const RCWeakAccessor<PiNodeController const> again(graph->getNodeController());
    const auto &composition = dynamic_cast<const PiCompositionGraphInterface &>(*again);
    EXPECT_EQ(composition.getSelection(), selection);
    EXPECT_EQ(composition.getSelection()->getNbItems(), 1);
    EXPECT_TRUE(weak == graph->getNodeController());
}

TEST(PiGraphTest, ControllerMayBeOfAnotherClassOrGone) {
    const RCShdPtr<PiGraph> plain = PiGraph::create(std::make_unique<PiNodeController>());
    {
        const RCWeakAccessor<PiNodeController const> controller(plain->getNodeController());
        ASSERT_FALSE(controller.isNull());
        EXPECT_THROW(rcCheckedCast<PiCompositionGraphInterface const>(controller.get()),
                     RCExCastFailed);
    }

    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCWeakPtr<PiNodeController const> weak = graph->getNodeController();
    graph->releaseNodeController();
    EXPECT_TRUE(weak.isNull());
    EXPECT_TRUE(graph->getNodeController().isNull());
    EXPECT_TRUE(RCWeakAccessor<PiNodeController const>(weak).isNull());

    EXPECT_TRUE(PiGraph::create(nullptr)->getNodeController().isNull());
}

TEST(PiGraphTest, NodesAndInputsThatOutliveTheirOwnersLetGoOfThem) {
    RCShdPtr<PiGraph> graph = PiGraph::create();
    RCShdPtr<PiNode> roto = graph->addNode("Roto", PiNode::Tool);
    const RCShdPtr<PiNode> output = graph->addNode("Output", PiNode::PrimaryOutput);
    graph->connect(roto, output);
    const RCShdPtr<PiMultivaluedInput> points = pointsOf(roto->addCurveInput("curve", 2));
    const RCShdPtr<PiInput> point = points->getElement(0);
    const RCShdPtr<PiGraphObject> shape = roto->addObject("shape");
    EXPECT_EQ(roto->getRefCount(), 2);

    graph = RCShdPtr<PiGraph>();
    EXPECT_EQ(roto->getRefCount(), 1);
    EXPECT_TRUE(roto->getGraph().isNull());
    EXPECT_EQ(roto->getNbDownstream(), 0);
    EXPECT_EQ(point->getNode(), roto);
    EXPECT_THROW(roto->addInput("late"), RCExNullPtr);
    EXPECT_THROW(points->appendElements(1), RCExNullPtr);
    EXPECT_EQ(points->getNbElements(), 2);

    roto = RCShdPtr<PiNode>();
    EXPECT_TRUE(point->getNode().isNull());
    EXPECT_TRUE(points->getNode().isNull());
    EXPECT_TRUE(shape->getOwnerNode().isNull());
    EXPECT_THROW(points->insertElement(0), RCExNullPtr);
    EXPECT_EQ(output->getRefCount(), 1);
}

TEST(PiGraphTest, DestroyingTheGraphReleasesItsSelectionAndWhatItsItemsHold) {
    RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiNode> roto = graph->addNode("Roto", PiNode::Tool);
    const RCShdPtr<PiInput> point = pointsOf(roto->addCurveInput("curve", 1))->getElement(0);
    {
        const RCWeakAccessor<PiNodeController const> controller(graph->getNodeController());
        const RCShdPtr<PiPath> path(new PiPath(Vector<RCShdPtr<PiNode const>>{roto}));
        dynamic_cast<const PiCompositionGraphInterface &>(*controller)
            .getSelection()
            ->replaceAllItems(SnSelection::create(
                {PiSnItemUtil::create(roto), PiSnItem<PiInput>::create(point, path)}));
    }
    EXPECT_EQ(roto->getRefCount(), 4);
    EXPECT_EQ(point->getRefCount(), 3);

    graph = RCShdPtr<PiGraph>();
    EXPECT_EQ(roto->getRefCount(), 1);
    EXPECT_EQ(point->getRefCount(), 2);
}

TEST(PiGraphTest, RemovalCutsConnectionsAndOwnersButNotWhatOthersHold) {
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiNode> roto = graph->addNode("Roto", PiNode::Tool);
    const RCShdPtr<PiNode> merge = graph->addNode("Merge");
    const RCShdPtr<PiNode> output = graph->addNode("Output", PiNode::PrimaryOutput);
    graph->connect(roto, merge);
    graph->connect(merge, output);
    graph->connect(output, merge);
    const RCShdPtr<PiStructuredInput> curve = roto->addCurveInput("A.curve", 2);
    const RCShdPtr<PiInput> point = pointsOf(curve)->getElement(1);
    const RCShdPtr<PiGraphObject> shape = roto->addObject("A");
    const RCShdPtr<PiGraphObject> kept = roto->addObject("B");
    const PrdPredicate<RCShdPtr<PiNode const>> isOutput = PiIsPrimaryOutputNode::getPredicate();
    const RCShdPtr<PiPath> found = PiGraphSearch::heightFirst(roto, isOutput);
    ASSERT_EQ(found->getNbNodes(), 3);
    const RCShdPtr<SnItem const> objectItem = PiSnItemUtil::createFromBase(shape);
    const RCShdPtr<SnItem const> inputItem = PiSnItem<PiInput>::create(point, found);

    // An object and an input leave their node with everything they hold; the items keep them.
    EXPECT_TRUE(roto->removeObject(*shape));
    EXPECT_FALSE(roto->removeObject(*shape));
    EXPECT_FALSE(roto->removeObject(*merge));
    EXPECT_FALSE(roto->removeInput(*point)) << "an element is removed by its container";
    EXPECT_TRUE(roto->removeInput(*curve));
    EXPECT_EQ(roto->getNbObjects(), 1);
    EXPECT_EQ(roto->getObject(0), kept);
    EXPECT_EQ(roto->getNbInputs(), 0);
    EXPECT_TRUE(shape->getOwnerNode().isNull());
    EXPECT_TRUE(curve->getNode().isNull());
    EXPECT_TRUE(point->getNode().isNull());
    EXPECT_TRUE(objectItem->isEqual(*PiSnItemUtil::createFromBase(shape)));
    EXPECT_TRUE(inputItem->isEqual(*PiSnItem<PiInput>::create(point, found)));
    EXPECT_EQ(kept->getId() + 1, roto->addObject("C")->getId()) << "ids are not reused";

    // A node leaves with its connections both ways; paths found before keep naming it.
    const PiNode *removed = merge.get();
    EXPECT_TRUE(graph->removeNode(*merge));
    EXPECT_FALSE(graph->removeNode(*merge));
    EXPECT_EQ(graph->getNbNodes(), 2);
    EXPECT_EQ(graph->getNode(1), output);
    EXPECT_EQ(roto->getNbDownstream(), 0);
    EXPECT_EQ(output->getNbDownstream(), 0);
    EXPECT_TRUE(merge->getGraph().isNull());
    EXPECT_EQ(merge->getNbDownstream(), 0);
    EXPECT_THROW(merge->addObject("late"), RCExNullPtr);
    EXPECT_TRUE(PiGraphSearch::heightFirst(roto, isOutput).isNull());
    EXPECT_EQ(found->getNode(1).get(), removed);
    EXPECT_FALSE(PiGraph::create()->removeNode(*roto)) << "a node of another graph";
}

} // namespace PiGraphTesting
} // namespace Vo
