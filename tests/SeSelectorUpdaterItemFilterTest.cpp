#include "SeSelectorUpdater.h"

#include "SeSelectorUpdaterScene.h"
#include "SeShapeItem.h"

#include "foundation/RCShdPtr.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/graph/PiSnItem.h"
#include "base/RCExNullPtr.h"
#include "host/selection/SnParts.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace VoTest {
namespace {

using namespace Vo;
using Texts = std::vector<std::string>;
using SeSelectorUpdaterItemFilterTest = SeSelectorUpdaterScene;

// Refuses the graph object of one shape.
class AllBut : public SeSelectorUpdater::ItemTest {
public:
    explicit AllBut(RCShdPtr<PiGraphObject const> refused) : refused(std::move(refused)) {}
    bool evaluate(const RCShdPtr<SnItem const> &item) const override {
        const auto *object = dynamic_cast<const PiGraphObjectSnItemConst *>(item.get());
        return object == nullptr || !PiGraphObject::areEqual(object->getGraphObject(), refused);
    }

private:
    RCShdPtr<PiGraphObject const> refused;
};

TEST_F(SeSelectorUpdaterItemFilterTest, TheReadyMadeTestTakesGraphObjectsAndRefusesNodes) {
    const SeSelectorUpdater::ItemTestPtr test = SeSelectorUpdater::graphObjectsNotNodes();
    const RCShdPtr<PiInput> points = pointsInput(A);
    struct Case {
        const char *what;
        RCShdPtr<SnItem const> item;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"a shape's object", objectItem(A), true},
        {"an input item",
         RCShdPtr<SnItem const>(PiSnItem<PiInput>::create(points, RCShdPtr<PiPath>())), false},
        {"the tool node", nodeItem(controller.toolNode()), false},
        {"another node", nodeItem(controller.outputNode()), false},
        {"no graph object",
         RCShdPtr<SnItem const>(new PiGraphObjectSnItemConst(RCShdPtr<PiGraphObject const>())),
         false},
        {"a shape item",
         RCShdPtr<SnItem const>(new SeShapeItem(RCShdPtr<SnParts>(), controller.weak(A))), false},
        {"null", RCShdPtr<SnItem const>(), false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(test->evaluate(c.item), c.accepted) << c.what;
    }
}

// The updater's own tool-node test lets a selected tool node through (a node is its own owner):
// then it stands first among the application's items and every change of the editor's points is
// reported as a change of the primary shape and of the shapes. A test that refuses nodes keeps
// those lists quiet.
TEST_F(SeSelectorUpdaterItemFilterTest, ANodeFilterKeepsASelectedToolNodeFromCountingAsAShape) {
    struct Case {
        const char *what;
        SeSelectorUpdater::ItemTestPtr predicate;
        Texts callbacks;
    };
    const std::vector<Case> cases = {
        {"no predicate", SeSelectorUpdater::ItemTestPtr(), {"primary", "shapes", "selection"}},
        {"graphObjectsNotNodes", SeSelectorUpdater::graphObjectsNotNodes(), {"selection"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        selector->resetSelection();
        updater = RCShdPtr<SeSelectorUpdater>(new SeSelectorUpdater(controller, c.predicate));
        hostSelects({nodeItem(controller.toolNode()), objectItem(A)});
        EXPECT_EQ(selectedIndices(), std::vector<int>{A});
        settle();
        selector->selectPoint(1);
        EXPECT_EQ(log, c.callbacks);
    }
}

TEST_F(SeSelectorUpdaterItemFilterTest, CombinedTestsAllHaveToAcceptAnItem) {
    const SeSelectorUpdater::ItemPredicate both =
        SeSelectorUpdater::ItemPredicate(SeSelectorUpdater::graphObjectsNotNodes()) &
        SeSelectorUpdater::ItemPredicate(
            SeSelectorUpdater::ItemTestPtr(new AllBut(controller.shape(B)->getGraphObject())));
    updater = RCShdPtr<SeSelectorUpdater>(new SeSelectorUpdater(controller, both));
    hostSelects({nodeItem(controller.toolNode()), objectItem(B), objectItem(C), objectItem(A)});
    EXPECT_EQ(selectedIndices(), (std::vector<int>{C, A}));
    // A selected shape whose object the test refuses: the application's items are then no mirror
    // of the editor's shapes one for one, and a change of them is read from the accepted ones.
    selector->setSelectedShapes(shapes({A, B}));
    host->insertItem(host->getNbItems(), objectItem(C));
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, C}));

    // The default predicate value accepts every item the tool-node test lets through.
    updater = RCShdPtr<SeSelectorUpdater>(
        new SeSelectorUpdater(controller, SeSelectorUpdater::ItemPredicate()));
    hostSelects({objectItem(B), objectItem(C)});
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B, C}));
}

// The layer's test takes only the objects its tool node owns; a lambda is a test as a class is.
TEST_F(SeSelectorUpdaterItemFilterTest, TheLayerTestAndALambdaTestTakeOnlyTheirItems) {
    const SeSelectorUpdater::ItemTestPtr layer =
        SeSelectorUpdater::graphObjectsOf(controller.toolNode());
    TestController other(controller.graph(), "2");
    other.addShape("Z", 3);
    const RCShdPtr<PiGraphObject> removed = controller.toolNode()->addObject("Removed");
    controller.toolNode()->removeObject(*removed);
    EXPECT_TRUE(layer->evaluate(objectItem(A)));
    EXPECT_FALSE(layer->evaluate(nodeItem(controller.toolNode())));
    EXPECT_FALSE(layer->evaluate(
        RCShdPtr<SnItem const>(new PiGraphObjectSnItemConst(other.shape(0)->getGraphObject()))));
    EXPECT_FALSE(layer->evaluate(RCShdPtr<SnItem const>(new PiGraphObjectSnItemConst(removed))));
    EXPECT_FALSE(layer->evaluate(RCShdPtr<SnItem const>()));
    EXPECT_THROW(SeSelectorUpdater::graphObjectsOf(RCShdPtr<PiNode const>()), RCExNullPtr);

    int asked = 0;
    const RCShdPtr<PiGraphObject const> refused = controller.shape(B)->getGraphObject();
    const SeSelectorUpdater::ItemTestPtr lambda =
        SeSelectorUpdater::itemTest([&](const RCShdPtr<SnItem const> &item) {
            ++asked;
            const auto *object = dynamic_cast<const PiGraphObjectSnItemConst *>(item.get());
            return object != nullptr && !PiGraphObject::areEqual(object->getGraphObject(), refused);
        });
    updater = RCShdPtr<SeSelectorUpdater>(new SeSelectorUpdater(
        controller, SeSelectorUpdater::ItemPredicate(lambda) &
                        SeSelectorUpdater::ItemPredicate(
                            SeSelectorUpdater::graphObjectsOf(controller.toolNode()))));
    hostSelects({objectItem(B), objectItem(C), objectItem(A)});
    EXPECT_EQ(selectedIndices(), (std::vector<int>{C, A}));
    EXPECT_GE(asked, 3);
    EXPECT_THROW(SeSelectorUpdater::itemTest(SeSelectorUpdater::ItemFunction()), RCExNullPtr);
}

TEST_F(SeSelectorUpdaterItemFilterTest, TheControllerGivesTheApplicationSelectionItself) {
    EXPECT_EQ(controller.getApplicationSelection().get(), host.get());
}

} // namespace
} // namespace VoTest
