#include "host/graph/PiSnItem.h"

#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiGraphObjectPredicateSnItemAdapter.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/graph/PiIsToolNode.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiPath.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/graph/PiStructuredInput.h"
#include "host/PrdPredicate.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnItemBasic.h"
#include "host/selection/SnParts.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>

namespace Vo {
namespace PiSnItemTesting {

using NodePtr = RCShdPtr<PiNode const>;
using ItemPtr = RCShdPtr<SnItem const>;
using InputItem = PiSnItem<PiInput>;

// A tool node with one shape object and a curve of two points, feeding a primary output.
class PiSnItemTest : public ::testing::Test {
protected:
    RCShdPtr<PiGraph> graph = PiGraph::create();
    RCShdPtr<PiNode> roto = graph->addNode("Roto", PiNode::Tool);
    RCShdPtr<PiNode> output = graph->addNode("Output", PiNode::PrimaryOutput);
    RCShdPtr<PiGraphObject> shape = roto->addObject("shape");
    RCShdPtr<PiMultivaluedInput> points =
        rcDynamicCast<PiMultivaluedInput>(roto->addCurveInput("curve", 2)->getInput("Points", 0));

    RCShdPtr<PiPath> path(std::initializer_list<NodePtr> nodes) const {
        return RCShdPtr<PiPath>(new PiPath(Vector<NodePtr>(nodes)));
    }
};

template <class I> std::string dumped(const I &item) {
    std::ostringstream out;
    item.dump(out);
    return out.str();
}

std::string named(const RCShdPtr<PiGraphObject const> &object) {
    return object->getName() + "#" + std::to_string(object->getId());
}

TEST_F(PiSnItemTest, InputItemsAreEqualForTheSameInputAlongTheSamePath) {
    const RCShdPtr<PiInput> point = points->getElement(0);
    const RCShdPtr<PiInput> other = points->getElement(1);
    const RCShdPtr<InputItem> item = InputItem::create(point, path({roto, output}));

    EXPECT_TRUE(item->isEqual(*InputItem::create(point, path({roto, output}))));
    EXPECT_FALSE(item->isEqual(*InputItem::create(point, path({roto}))));
    EXPECT_FALSE(item->isEqual(*InputItem::create(point, path({output, roto}))));
    EXPECT_FALSE(item->isEqual(*InputItem::create(point, RCShdPtr<PiPath>())));
    EXPECT_FALSE(item->isEqual(*InputItem::create(other, path({roto, output}))));

    const RCShdPtr<InputItem> pathless = InputItem::create(point, RCShdPtr<PiPath>());
    EXPECT_TRUE(pathless->isEqual(*InputItem::create(point, RCShdPtr<PiPath>())));
    EXPECT_FALSE(pathless->isEqual(*item));

    const ItemPtr copy(item->clone());
    EXPECT_TRUE(copy->isEqual(*item));
    EXPECT_EQ(rcDynamicCast<InputItem const>(copy)->getInput(), point);
    EXPECT_EQ(rcDynamicCast<InputItem const>(copy)->getPath(), item->getPath());

    // An input item is never equal to the graph-object item of the same input.
    EXPECT_FALSE(item->isEqual(*PiSnItemUtil::createFromBase(point)));
    EXPECT_FALSE(PiSnItemUtil::createFromBase(point)->isEqual(*item));
}

TEST_F(PiSnItemTest, ObjectItemsAreEqualForTheSameObjectAndItemClass) {
    const auto shapeItem = PiSnItemUtil::createFromBase(shape);
    EXPECT_TRUE(shapeItem->isEqual(*PiSnItemUtil::createFromBase(shape)));
    EXPECT_FALSE(shapeItem->isEqual(*PiSnItemUtil::createFromBase(roto->addObject("shape"))));
    EXPECT_EQ(shapeItem->getGraphObject(), shape);
    EXPECT_FALSE(shapeItem->isEqual(*PiSnItemUtil::createFromBase(RCShdPtr<PiGraphObject>())));
    EXPECT_TRUE(PiSnItemUtil::createFromBase(RCShdPtr<PiGraphObject>())
                    ->isEqual(*PiSnItemUtil::createFromBase(RCShdPtr<PiGraphObject>())));

    // A node gives a node item either way.
    const RCShdPtr<PiSnItem<PiNode>> nodeItem = PiSnItemUtil::create(roto);
    const auto fromBase = PiSnItemUtil::createFromBase(roto);
    EXPECT_NE(dynamic_cast<const PiSnItem<PiNode> *>(fromBase.get()), nullptr);
    EXPECT_TRUE(nodeItem->isEqual(*fromBase));
    EXPECT_TRUE(fromBase->isEqual(*nodeItem));
    EXPECT_FALSE(nodeItem->isEqual(*PiSnItemUtil::create(output)));
    EXPECT_EQ(nodeItem->getNode(), roto);

    // Another item class over the same node is not equal.
    const RCShdPtr<PiGraphObjectSnItemConst const> plainItem(new PiGraphObjectSnItemConst(roto));
    EXPECT_FALSE(plainItem->isEqual(*nodeItem));
    EXPECT_FALSE(nodeItem->isEqual(*plainItem));

    const ItemPtr copy(nodeItem->clone());
    EXPECT_NE(dynamic_cast<const PiSnItem<PiNode> *>(copy.get()), nullptr);
    EXPECT_TRUE(copy->isEqual(*nodeItem));
}

TEST_F(PiSnItemTest, ToolNodeAdapterAcceptsOnlyObjectItemsOfToolNodes) {
    const PrdPredicate<ItemPtr> inTool(RCShdPtr<PrdPredicateImp<ItemPtr>>(
        new PiGraphObjectPredicateSnItemAdapter<PiNode>(PiIsToolNode::getPredicate())));
    const RCShdPtr<PiGraphObject> outputObject = output->addObject("matte");
    const RCShdPtr<PiInput> point = points->getElement(0);

    EXPECT_TRUE(inTool(PiSnItemUtil::createFromBase(shape)));
    EXPECT_TRUE(inTool(PiSnItemUtil::create(roto)));
    EXPECT_TRUE(inTool(PiSnItemUtil::createFromBase(point)));
    EXPECT_FALSE(inTool(PiSnItemUtil::createFromBase(outputObject)));
    EXPECT_FALSE(inTool(PiSnItemUtil::create(output)));
    EXPECT_FALSE(inTool(InputItem::create(point, path({roto}))));
    EXPECT_FALSE(inTool(PiSnItemUtil::createFromBase(RCShdPtr<PiGraphObject>())));
    EXPECT_FALSE(inTool(ItemPtr()));
    EXPECT_FALSE(inTool(ItemPtr(new SnItemBasic<int>(RCShdPtr<SnParts>(), 1))));

    // An element removed from its input has no node, so no tool node either.
    points->removeElement(0);
    EXPECT_FALSE(inTool(PiSnItemUtil::createFromBase(point)));
}

TEST_F(PiSnItemTest, DumpsNameTheObjectsAndThePath) {
    const RCShdPtr<PiInput> point = points->getElement(1);
    const std::string inputText = dumped(*InputItem::create(point, path({roto, output})));
    EXPECT_NE(inputText.find(named(point)), std::string::npos) << inputText;
    EXPECT_NE(inputText.find(named(roto) + " > " + named(output)), std::string::npos) << inputText;
    EXPECT_NE(dumped(*InputItem::create(point, RCShdPtr<PiPath>())).find("null"),
              std::string::npos);
    EXPECT_EQ(inputText.rfind("Parts:", 0), 0u) << inputText;

    const std::string shapeText = dumped(*PiSnItemUtil::createFromBase(shape));
    EXPECT_NE(shapeText.find(named(shape)), std::string::npos) << shapeText;
    // The item's own line follows the parts line that every selection item writes first.
    EXPECT_EQ(shapeText.rfind("Parts:", 0), 0u) << shapeText;
}

} // namespace PiSnItemTesting
} // namespace Vo
