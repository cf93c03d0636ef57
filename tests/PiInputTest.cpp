#include "host/graph/PiInput.h"

#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiStructuredInput.h"

#include "PiInputComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace Vo;

class PiInputTest : public ::testing::Test {
protected:
    RCShdPtr<PiGraph> graph = PiGraph::create();
    RCShdPtr<PiNode> node = graph->addNode("Roto", PiNode::Tool);
    RCShdPtr<PiInput> opacity = node->addInput("opacity");
    RCShdPtr<PiStructuredInput> curve = node->addCurveInput("A.curve", 4);
    RCShdPtr<PiMultivaluedInput> points =
        rcDynamicCast<PiMultivaluedInput>(curve->getInput("Points", 0));
    RCShdPtr<PiMultivaluedInput> gradient = node->addGradientInput("A.gradient", 2);
};

TEST_F(PiInputTest, EveryInputTellsItsParentIndexAndPlace) {
    struct Case {
        const char *what;
        RCShdPtr<PiInput> input;
        RCShdPtr<PiInput> parent;
        int index;
        std::string place;
    };
    const RCShdPtr<PiInput> point2 = points->getElement(2);
    const RCShdPtr<PiInput> handle1 = gradient->getElement(1);
    const std::vector<Case> cases = {
        {"a node's input", opacity, RCShdPtr<PiInput>(), 0, "opacity"},
        {"a node's curve", curve, RCShdPtr<PiInput>(), 1, "A.curve"},
        {"a sub-input", points, curve, 0, "A.curve/Points"},
        {"an element", point2, points, 2, "A.curve/Points[2]"},
        {"a component", componentOf(point2, 1), point2, 1, "A.curve/Points[2]/y"},
        {"a handle", handle1, gradient, 1, "A.gradient[1]"},
        {"a handle's sub-input", rcDynamicCast<PiStructuredInput>(handle1)->getInput("color", 0),
         handle1, 1, "A.gradient[1]/color"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.input->getParentInput().get(), c.parent.get());
        EXPECT_EQ(c.input->getIndex(), c.index);
        EXPECT_EQ(c.input->getPlace(), c.place);
    }
}

// The in-place reading of what an input is made of gives what its iterator gives, in order, and
// nothing past the end or for inputs made of nothing.
TEST_F(PiInputTest, SubInputsReadInPlaceAsTheirIteratorsGiveThem) {
    const RCShdPtr<PiInput> point = points->getElement(1);
    const RCShdPtr<PiInput> handle = gradient->getElement(0);
    const auto iterated = [](Iterator<RCShdPtr<PiInput>> inputs) {
        std::vector<PiInput *> all;
        for (; !inputs.atEnd(); inputs.next()) {
            all.push_back(inputs.item().get());
        }
        return all;
    };
    const auto inPlace = [](const PiInput &input) {
        std::vector<PiInput *> all;
        for (int i = 0; i < input.getNbSubInputs(); ++i) {
            all.push_back(input.getSubInput(i).get());
        }
        EXPECT_TRUE(input.getSubInput(input.getNbSubInputs()).isNull());
        EXPECT_TRUE(input.getSubInput(-1).isNull());
        return all;
    };
    EXPECT_EQ(inPlace(*point), iterated(rcDynamicCast<PiCompositeInput>(point)->getInputs(0)));
    EXPECT_EQ(inPlace(*point).size(), 2u);
    EXPECT_EQ(inPlace(*handle), iterated(rcDynamicCast<PiStructuredInput>(handle)->getInputs(0)));
    EXPECT_GE(inPlace(*handle).size(), 2u);
    EXPECT_EQ(inPlace(*curve), iterated(curve->getInputs(0)));
    EXPECT_EQ(opacity->getNbSubInputs(), 0);
    EXPECT_EQ(points->getNbSubInputs(), 0);
    EXPECT_TRUE(points->getSubInput(0).isNull());
}

TEST_F(PiInputTest, IndicesFollowInsertionsAndRemovals) {
    const RCShdPtr<PiInput> first = points->getElement(0);
    const RCShdPtr<PiInput> last = points->getElement(3);
    const RCShdPtr<PiInput> inserted = points->insertElement(1);
    EXPECT_EQ(inserted->getIndex(), 1);
    EXPECT_EQ(first->getIndex(), 0);
    EXPECT_EQ(last->getIndex(), 4);
    EXPECT_EQ(componentOf(last, 0)->getPlace(), "A.curve/Points[4]/x");

    ASSERT_TRUE(points->removeElement(0));
    EXPECT_EQ(inserted->getIndex(), 0);
    EXPECT_EQ(last->getIndex(), 3);
    for (int i = 0; i < points->getNbElements(); ++i) {
        EXPECT_EQ(points->getElement(i)->getIndex(), i);
    }
    // The removed element has left: no parent, no index; its components still know it.
    EXPECT_TRUE(first->getParentInput().isNull());
    EXPECT_EQ(first->getIndex(), -1);
    EXPECT_EQ(componentOf(first, 0)->getParentInput().get(), first.get());
    EXPECT_EQ(componentOf(first, 0)->getPlace(), "Points/x");
}

// Indices are brought up to date when asked for, after any run of changes, and a node's own
// inputs, which have no parent to ask, at once.
TEST_F(PiInputTest, IndicesAreRightAfterAnyRunOfChanges) {
    for (int i = 0; i < 5; ++i) {
        points->insertElement(0);
    }
    points->removeElement(7);
    points->insertElement(points->getNbElements());
    for (int i = 0; i < points->getNbElements(); ++i) {
        EXPECT_EQ(points->getElement(i)->getIndex(), i);
        EXPECT_EQ(points->getElement(i)->getParentInput().get(), points.get());
    }
    ASSERT_TRUE(node->removeInput(*opacity));
    EXPECT_EQ(curve->getIndex(), 0);
    EXPECT_EQ(gradient->getIndex(), 1);
    EXPECT_EQ(opacity->getIndex(), -1);
}

TEST_F(PiInputTest, AnInputOutlivingItsContainerHasNoParent) {
    RCShdPtr<PiInput> x = componentOf(points->getElement(1), 0);
    ASSERT_TRUE(points->removeElement(1)); // the element goes with the list, its last owner
    EXPECT_TRUE(x->getParentInput().isNull());
    EXPECT_EQ(x->getIndex(), -1);
    EXPECT_EQ(x->getPlace(), "x");
}

} // namespace
