#include "SessionHostItems.h"
#include "SessionPlaces.h"

#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiSnItem.h"
#include "host/graph/PiStructuredInput.h"

#include "PiInputComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace Vo;

std::string describedName(const RCShdPtr<PiInput> &input) {
    return VoSession::SessionHostItems::describe(*PiSnItem<PiInput>::create(input, nullptr)).name;
}

// The place read from an input's parents, as the driver prints it, also after elements moved and
// once the input, or an input holding it, has left its node.
TEST(SessionHostItemsTest, AnInputIsNamedByItsPlaceOrAsDetached) {
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiNode> node = graph->addNode("Roto", PiNode::Tool);
    const RCShdPtr<PiInput> opacity = node->addInput("opacity");
    const RCShdPtr<PiStructuredInput> curve = node->addCurveInput("A.curve", 4);
    const auto points = rcDynamicCast<PiMultivaluedInput>(curve->getInput("Points", 0));
    const RCShdPtr<PiInput> point1 = points->getElement(1);
    const RCShdPtr<PiInput> point3 = points->getElement(3);
    const RCShdPtr<PiInput> point3y = componentOf(point3, 1);
    const RCShdPtr<PiInput> point1x = componentOf(point1, 0);

    struct Case {
        const char *what;
        RCShdPtr<PiInput> input;
        std::string name;
    };
    const auto check = [](const std::vector<Case> &cases) {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.what);
            EXPECT_EQ(describedName(c.input), c.name);
        }
    };
    check({{"a node's input", opacity, "opacity"},
           {"a sub-input", points, "A.curve/Points"},
           {"an element", point3, "A.curve/Points[3]"},
           {"a component", point3y, "A.curve/Points[3]/y"}});

    points->insertElement(0);
    points->insertElement(0);
    ASSERT_TRUE(points->removeElement(3)); // point1, now at 3
    check({{"an element moved back", point3, "A.curve/Points[4]"},
           {"its component", point3y, "A.curve/Points[4]/y"},
           {"a removed element", point1, point1->getName() + " (detached)"},
           {"a removed element's component", point1x, point1x->getName() + " (detached)"}});

    ASSERT_TRUE(node->removeInput(*curve));
    check({{"an input of a removed input", point3y, point3y->getName() + " (detached)"},
           {"a removed input of the node", curve, "A.curve (detached)"},
           {"a node's input after another left", opacity, "opacity"}});
}

// The places made in one pass, each parent's kept for the inputs after it, are the ones each
// input's own walk gives: in any order, also once inputs or an input holding them left the node.
TEST(SessionHostItemsTest, PlacesMadeInOnePassAreEachInputsOwn) {
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiNode> node = graph->addNode("Roto", PiNode::Tool);
    const RCShdPtr<PiStructuredInput> curve = node->addCurveInput("A.curve", 4);
    const auto points = rcDynamicCast<PiMultivaluedInput>(curve->getInput("Points", 0));
    std::vector<RCShdPtr<PiInput>> inputs{node->addInput("opacity"), curve, points};
    for (const int element : {0, 3, 1, 3}) {
        inputs.push_back(points->getElement(element));
        inputs.push_back(componentOf(points->getElement(element), 0));
        inputs.push_back(componentOf(points->getElement(element), 1));
    }
    // Another curve's point, which stays, between inputs of the first: what was kept for one
    // parent must not be taken for the next.
    const RCShdPtr<PiStructuredInput> other = node->addCurveInput("B.curve", 2);
    const auto otherPoints = rcDynamicCast<PiMultivaluedInput>(other->getInput("Points", 0));
    inputs.push_back(componentOf(otherPoints->getElement(0), 0));
    inputs.push_back(points);
    inputs.push_back(otherPoints);
    inputs.push_back(componentOf(points->getElement(3), 1));
    const auto agree = [&inputs](const char *when) {
        SCOPED_TRACE(when);
        VoSession::SessionPlaces places;
        std::string place = "left over";
        for (const RCShdPtr<PiInput> &input : inputs) {
            places.placeOf(*input, place);
            EXPECT_EQ(place, VoSession::SessionHostItems::placeOf(*input));
        }
    };
    agree("in place");
    points->insertElement(0);
    ASSERT_TRUE(points->removeElement(2)); // element 1, now at 2
    agree("an element moved, another removed");
    ASSERT_TRUE(node->removeInput(*curve));
    agree("the curve taken from the node");
}

} // namespace
