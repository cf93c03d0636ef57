#include "AppLayerInterface.h"
#include "AppEditorController.h"
#include "AppShapeInterface.h"

#include "SeShape.h"

#include "foundation/RCShdPtr.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiGraphObject.h"
#include "host/graph/PiNode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Vo::PiGraphObject;
using Vo::RCShdPtr;
using VoExample::AppLayerInterface;
using VoExample::AppShapeInterface;

std::vector<std::string> namesInOrder(const AppLayerInterface &layer) {
    std::vector<std::string> names;
    for (int index = 0; index < layer.getNbShapes(); ++index) {
        names.push_back(layer.getShapeAt(index).getName());
    }
    return names;
}

// The layer's shapes found by name and by graph object, and both tables kept in step with the
// creation order as shapes come and go, a name coming back included, also after a shape that
// could not be built.
TEST(AppLayerInterfaceTest, LookupsFollowAddsAndRemovals) {
    VoExample::AppEditorController controller;
    AppLayerInterface &layer = controller.getLayer();
    const Vo::PiNode &tool = *layer.getToolNode();
    std::vector<RCShdPtr<PiGraphObject const>> objects;
    for (const char *name : {"A", "B", "C", "D"}) {
        AppShapeInterface *shape = layer.addShape(name, 2, 0, false);
        ASSERT_NE(shape, nullptr) << name;
        objects.push_back(shape->getShape()->getGraphObject());
    }
    EXPECT_EQ(layer.addShape("B", 7, 1, false), nullptr);
    EXPECT_EQ(tool.getNbObjects(), 4) << "a taken name builds nothing";
    EXPECT_EQ(layer.findShape("B")->getNbPoints(), 2);

    ASSERT_TRUE(layer.removeShape("B")); // its object and inputs wait in the tool node
    EXPECT_FALSE(layer.removeShape("B"));
    ASSERT_TRUE(controller.deleteShape("D")); // the last one, out of the tool node too
    EXPECT_EQ(namesInOrder(layer), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(layer.findShape("B"), nullptr);
    EXPECT_EQ(layer.findShape("D"), nullptr);
    EXPECT_TRUE(layer.findShape(objects[1]).isNull()) << "B's object, still in the tool node";
    EXPECT_TRUE(layer.findShape(objects[3]).isNull());
    for (const int kept : {0, 2}) {
        const RCShdPtr<Vo::SeShape> model = layer.findShape(objects[kept]);
        ASSERT_FALSE(model.isNull());
        EXPECT_TRUE(PiGraphObject::areEqual(model->getGraphObject(), objects[kept]));
        EXPECT_EQ(layer.findShape(objects[kept]->getName())->getShape().get(), model.get());
    }

    EXPECT_ANY_THROW(layer.addShape("B", 3, 1, false)) << "B's curve input is still there";
    EXPECT_EQ(layer.findShape("B"), nullptr);
    EXPECT_EQ(layer.getNbShapes(), 2);
    ASSERT_TRUE(layer.removeFromGraph(objects[1]->getId()));
    AppShapeInterface *again = layer.addShape("B", 3, 1, false);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(layer.findShape("B"), again);
    EXPECT_EQ(layer.findShape(again->getShape()->getGraphObject()).get(), again->getShape().get());
    EXPECT_TRUE(layer.findShape(objects[1]).isNull()) << "the first B stays gone";
    EXPECT_EQ(namesInOrder(layer), (std::vector<std::string>{"A", "C", "B"}));

    // An object of another graph with the id of a shape's object stands for no shape.
    const RCShdPtr<Vo::PiGraph> other = Vo::PiGraph::create();
    const RCShdPtr<Vo::PiNode> node = other->addNode("Elsewhere");
    RCShdPtr<PiGraphObject const> stranger;
    while (stranger.isNull() || stranger->getId() < objects[0]->getId()) {
        stranger = node->addObject("stranger");
    }
    ASSERT_EQ(stranger->getId(), objects[0]->getId());
    EXPECT_TRUE(layer.findShape(stranger).isNull());
    EXPECT_TRUE(layer.findShape(RCShdPtr<PiGraphObject const>()).isNull());
}

} // namespace
