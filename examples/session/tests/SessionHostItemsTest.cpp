#include "SessionHostItems.h"

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

} // namespace
