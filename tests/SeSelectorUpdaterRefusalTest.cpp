#include "SeExMissingElement.h"
#include "SeSelectionBatch.h"
#include "SeSelectorUpdater.h"
#include "SeSelectorUpdaterScene.h"
#include "SeShapeParts.h"
#include "SeShapeItem.h"
#include "SeTwoEditorsScene.h"

#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiMultivaluedInput.h"
#include "base/DgReport.h"
#include "base/RCExNullPtr.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

namespace VoTest {
namespace {

using namespace Vo;
using Texts = std::vector<std::string>;
using SeSelectorUpdaterRefusalTest = SeSelectorUpdaterScene;
using SeTwoEditorsRefusalTest = SeTwoEditorsScene;

// A refused change used to leave the application's selection as the mirror of the editor's put-back
// selection, when the application had written it last: its own items gave way to the editor's
// node and shapes.
TEST_F(SeSelectorUpdaterRefusalTest, ARefusedChangeLeavesTheApplicationsOwnSelectionAsItWas) {
    struct Case {
        const char *what;
        std::vector<int> hostShapes;
        std::function<void()> change;
    };
    const std::vector<Case> cases = {
        {"selectPoint", {A}, [this] { selector->selectPoint(99); }},
        {"addSelectedPoint", {A}, [this] { selector->addSelectedPoint(6); }},
        {"selectHandle", {E}, [this] { selector->selectHandle(-2); }},
        {"a batch committing a point the shape lacks",
         {B, C},
         [this] {
             SeSelectionBatch batch(selector);
             selector->setPrimarySelectedShape(controller.shape(A), 7);
             batch.commit();
         }},
        {"a batch whose commit an application's view refuses",
         {B, C},
         [this] {
             SeSelectionBatch batch(selector);
             selector->setPrimarySelectedShape(controller.shape(A), 2);
             hostWrites->raiseAtNextWrite();
             batch.commit();
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<RCShdPtr<SnItem const>> items;
        for (int shape : c.hostShapes) {
            items.push_back(objectItem(shape));
        }
        hostSelects(items);
        const Texts hostBefore = hostItems();
        const RCShdPtr<SnSelection const> editorBefore(selector->getSelection()->clone());
        settle();
        EXPECT_ANY_THROW(c.change());
        EXPECT_EQ(hostItems(), hostBefore);
        EXPECT_TRUE(selector->getSelection()->isEqual(editorBefore));
        EXPECT_TRUE(log.empty());

        // Both still answer: the next change of the editor's is mirrored and notified.
        selector->setPrimarySelectedShape(controller.shape(D), -1);
        EXPECT_EQ(hostItems(), (Texts{editorNode(), object(D)}));
        EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));
    }

    // The application added an item the editor does not show (the tool node) after the editor's
    // last change was mirrored: the application's selection is no longer that mirror, and a
    // change refused once written there puts the item back with the rest.
    selector->setPrimarySelectedShape(controller.shape(A), -1);
    host->insertItem(host->getNbItems(), nodeItem(controller.toolNode()));
    const Texts hostBefore = hostItems();
    ASSERT_EQ(hostBefore.size(), 3U);
    EXPECT_ANY_THROW({
        SeSelectionBatch batch(selector);
        selector->setPrimarySelectedShape(controller.shape(B), -1);
        hostWrites->raiseAtNextWrite();
        batch.commit();
    });
    EXPECT_EQ(hostItems(), hostBefore);
    EXPECT_EQ(selectedIndices(), std::vector<int>{A});
}

// A refused change leaves the editor shown by the application's selection, and published or not,
// as it was: its put-back used to end what it had taken in (a removal event then left the deleted
// shape in the application's selection), and to publish it when the application's own items
// happened to equal its mirror.
TEST_F(SeSelectorUpdaterRefusalTest, ARefusedChangeLeavesTheEditorShownAndPublishedAsItWas) {
    hostSelects({objectItem(C)});
    EXPECT_THROW(selector->addSelectedHandle(1), SeExMissingElement); // C has no gradient
    EXPECT_FALSE(updater->isPublished());
    settle();
    controller.deleteShape(C);
    EXPECT_EQ(hostItems(), Texts{editorNode()});
    EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));
    EXPECT_TRUE(updater->isPublished());

    hostSelects({nodeItem(controller.getNode()), objectItem(A)}); // the mirror of [A], by the host
    EXPECT_EQ(selectedIndices(), std::vector<int>{A});
    EXPECT_FALSE(updater->isPublished());
    EXPECT_THROW(selector->selectHandle(0), SeExMissingElement);
    EXPECT_FALSE(updater->isPublished());

    // Published, with a selected shape's editing side gone since (its event not sent yet): the
    // mirror of the editor's selection no longer equals the application's, which is as it was.
    select({A, B});
    controller.deleteInterfaceOnly(B);
    ASSERT_TRUE(updater->isPublished());
    const RCShdPtr<SeShapeParts> parts(new SeShapeParts);
    parts->appendHandle(0);
    SnSelection::Items one{
        RCShdPtr<SnItem const>(new SeShapeItem(RCShdPtr<SnParts>(parts), controller.weak(A)))};
    EXPECT_THROW(selector->replaceAllItems(SnSelection::create(one)), SeExMissingElement);
    EXPECT_TRUE(updater->isPublished());
}

// The part items of a refused selection of points must go with the refusal, and those of one that
// went in (made when the application's selection is read) with their points.
TEST_F(SeSelectorUpdaterRefusalTest, NoPartItemOutlivesTheMirroringThatBuiltIt) {
    select({A});
    settle();
    const auto points = rcDynamicCast<PiMultivaluedInput>(pointsInput(A));
    const RCShdPtr<PiInput> x =
        rcDynamicCast<PiCompositeInput>(points->getElement(0))->getSubInput(0);
    const int held = x->getRefCount();
    const Texts hostBefore = hostItems();

    EXPECT_THROW(selector->selectAllPoints(points->getNbElements() + 1), SeExMissingElement);
    EXPECT_EQ(x->getRefCount(), held) << "a refused mirroring's items must go with it";
    EXPECT_EQ(hostItems(), hostBefore);

    selector->selectAllPoints(points->getNbElements());
    EXPECT_EQ(hostItems().size(), hostBefore.size() + 2 * std::size_t(points->getNbElements()));
    EXPECT_EQ(x->getRefCount(), held + 1) << "the application's selection holds the one item";
    selector->unselectPoints();
    EXPECT_EQ(x->getRefCount(), held);
    EXPECT_EQ(hostItems(), hostBefore);
}

// The same refusal with the application's selection naming the shapes of two editors: neither the
// other editor's shapes in the application's selection nor the other editor's selection change.
TEST_F(SeTwoEditorsRefusalTest, ARefusedChangeOfOneEditorLeavesTheOtherEditorsShapesSelected) {
    const std::vector<std::function<void()>> refused = {
        [this] { layerL.selector->selectPoint(99); },
        [this] {
            SeSelectionBatch batch(layerL.selector);
            layerL.selector->setPrimarySelectedShape(layerL.shape(2), 1);
            hostWrites->raiseAtNextWrite();
            batch.commit();
        },
    };
    for (std::size_t i = 0; i < refused.size(); ++i) {
        SCOPED_TRACE(i);
        hostSelects({layerL.shape(1), layerM.shape(2)});
        EXPECT_EQ(layerL.held(), Texts{"A2"});
        EXPECT_EQ(layerM.held(), Texts{"B3"});
        const Texts hostBefore = hostItems();
        settle();
        EXPECT_ANY_THROW(refused[i]());
        EXPECT_EQ(hostItems(), hostBefore);
        EXPECT_EQ(layerL.held(), Texts{"A2"});
        EXPECT_EQ(layerM.held(), Texts{"B3"});
        EXPECT_TRUE(log.empty());
    }
}

// Two mistakes that used to fail late, far from where they were made: a selector kept by value
// (handed out as RCShdPtr(&selector), it aborted at teardown) no longer compiles, and debug builds
// name a renumbering that comes before its graph change, which leaves other points' inputs in the
// application's selection without any error.
static_assert(!std::is_destructible_v<SeShapeSelector>,
              "a selector is destroyed by its last RCShdPtr only");

TEST_F(SeSelectorUpdaterRefusalTest, DebugBuildsNameARenumberingBeforeItsGraphChange) {
#if !VO_CHECKS
    GTEST_SKIP() << "builds with the debug checks only";
#else
    selector->setPrimarySelectedShape(controller.shape(A), 1);
    selector->addSelectedPoint(4);
    testing::internal::CaptureStderr();
    selector->updateSelectionPointDeleted(controller.weak(A), 0); // the graph still has 6 points
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("updateSelectionPointDeleted(shape \"A\", 0) came before the graph "
                        "changed: its \"Points\" input still has 6 elements"),
              std::string::npos)
        << said;
#endif
}

} // namespace
} // namespace VoTest
