#include "SeShapeInterface.h"
#include "SeShape.h"
#include "SeShapeEditorControllerInterface.h"

#include "TestController.h"
#include "TestShape.h"

#include "foundation/CbHandler.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiTimePath.h"
#include "base/RCExNullPtr.h"
#include "host/RCOwner.h"

#include <gtest/gtest.h>

namespace {

using namespace Vo;

// A shape and a controller that give only what they must: every default body answers.
class BareShapeInterface : public SeShapeInterface {
public:
    RCShdPtr<SeShape> getShape() override { return {}; }
    RCShdPtr<PiInput> getCurveInput() override { return {}; }
};

class BareController : public SeShapeEditorControllerInterface {
public:
    RCShdPtr<PiNode> getNode() override { return {}; }
    RCShdPtr<PiGraph const> getGraph() override { return {}; }
    RCShdPtr<SeShapeSelector> getShapeSelector() override { return {}; }
    RCShdPtr<SeShape> findShape(const RCShdPtr<PiGraphObject const> &) override { return {}; }
    void addShapeEventCb(const SeShapeEvent &, CbHandler<SeShapeEvent const> *) override {}
};

class CountingHandler : public CbHandler<CbEmptyType> {
public:
    void call(const CbEmptyType &) override { ++calls; }
    int calls = 0;
};

TEST(SeShapeInterface, DefaultBodiesDescribeAPlainEditableShapeWithoutGradient) {
    BareShapeInterface shape;
    EXPECT_TRUE(shape.arePointsEditable());
    EXPECT_TRUE(shape.isEdgeActive());
    EXPECT_FALSE(shape.areLinksActive());
    EXPECT_FALSE(shape.areLinksVisible(RCShdPtr<PiTimePath const>()));
    EXPECT_TRUE(shape.getEdgeColorObject().isNull());
    EXPECT_TRUE(shape.getEdgeVisibleObject().isNull());
    EXPECT_TRUE(shape.getCurveVisibleObject().isNull());
    EXPECT_TRUE(shape.getGradientInput().isNull());
    const CoRgbColorTyped<float> colour = shape.getLinkLineColor();
    EXPECT_EQ(colour.red, 0.0f);
    EXPECT_EQ(colour.green, 0.0f);
    EXPECT_EQ(colour.blue, 0.0f);

    CountingHandler handler;
    shape.addCurveRepresentationChangedCb(&handler);
    EXPECT_EQ(handler.getNbDispatchers(), 0);
    shape.removeCurveRepresentationChangedCb(&handler);
    EXPECT_EQ(handler.getNbDispatchers(), 0);

    BareController controller;
    EXPECT_EQ(controller.getCreationEdgeIn(), 0);
    EXPECT_EQ(controller.getCreationEdgeOut(), 0);
}

TEST(SeShape, EqualityAndIdComeFromTheGraphObject) {
    VoTest::TestController app;
    app.addShape("A", 3);
    app.addShape("B", 3);
    const RCShdPtr<SeShape> a = app.shape(0);
    const RCShdPtr<SeShape> b = app.shape(1);
    EXPECT_FALSE(a->isEqual(*b));
    EXPECT_EQ(a->getId(), a->getGraphObject()->getId());
    EXPECT_NE(a->getId(), b->getId());

    // A second model object standing for the same graph object is the same shape.
    const RCShdPtr<SeShape> twin(new VoTest::TestShape(a->getGraphObject(), app.weak(1)));
    EXPECT_TRUE(twin->isEqual(*a));
    EXPECT_TRUE(a->isEqual(*twin));

    const RCShdPtr<SeShape> detached(new VoTest::TestShape(RCShdPtr<PiGraphObject>(), app.weak(0)));
    try {
        detached->getId();
        FAIL() << "getId without a graph object must raise";
    } catch (const RCExNullPtr &error) {
        EXPECT_EQ(error.getPointerType(), "Vo::PiGraphObject const*");
    }
}

TEST(SeShape, ObjectInterfaceSharesTheShapeInterfaceBlockAndReadsNullOnceGone) {
    VoTest::TestController app;
    app.addShape("A", 3);
    const RCShdPtr<SeShape> shape = app.shape(0);
    const RCWeakPtr<SeObjectInterface> owner = shape->getObjectInterface();
    EXPECT_FALSE(owner.isNull());
    EXPECT_EQ(owner.getCounter().get(), shape->getShapeInterface().getCounter().get());
    EXPECT_EQ(owner.get(), static_cast<SeObjectInterface *>(&app.editing(0)));

    app.deleteInterfaceOnly(0);
    EXPECT_TRUE(shape->getObjectInterface().isNull());
    EXPECT_TRUE(RCWeakAccessor<SeObjectInterface>(shape->getObjectInterface()).isNull());
}

} // namespace
