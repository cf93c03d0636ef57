#include "SeSelectorUpdater.h"

#include "SeSelectionChange.h"
#include "SeSelectorUpdaterScene.h"
#include "SeShapeItem.h"

#include "base/CbEmptyType.h"
#include "foundation/CbFunction.h"

#include "app/TestAllocator.h"
#include "app/TestSpliceLog.h"
#include "base/RCExCastFailed.h"
#include "base/RCExNullPtr.h"
#include "foundation/Iterator.h"
#include "host/IteratorImpVector.h"
#include "host/graph/PiCompositionGraphInterface.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/graph/PiNodeController.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace VoTest {
namespace {

using namespace Vo;
using Texts = std::vector<std::string>;
const std::string toOutput = "Roto>Output";

using SeSelectorUpdaterTest = SeSelectorUpdaterScene;

// The node controller of a graph that is not a composition graph.
class PlainNodeController : public PiNodeController {};

// The test controller, working in a graph of the test's choosing.
class OtherGraphController : public TestController {
public:
    explicit OtherGraphController(const RCShdPtr<PiGraph const> &graph) : other(graph) {}
    RCShdPtr<PiGraph const> getGraph() override { return other; }

private:
    RCShdPtr<PiGraph const> other;
};

// Nothing of a failed construction may stay attached to the selector or the controller: the
// selector's selection keeps its one observer of its own, the selector's key table.
void expectNothingLeftBehind(TestController &controller) {
    EXPECT_EQ(controller.getShapeSelector()->getSelection()->getSubject().getNbObservers(), 1);
    EXPECT_EQ(controller.removals().getNbHandlers(), 0);
}

TEST_F(SeSelectorUpdaterTest, ObservesBothSelectionsAndRemovalsUntilReleased) {
    const RCShdPtr<SnSelection> editorSelection = selector->getSelection();
    EXPECT_TRUE(host->getSubject().isAttached(updater.get()));
    EXPECT_TRUE(editorSelection->getSubject().isAttached(updater.get()));
    EXPECT_EQ(updater->getNbSubjects(), 2);
    EXPECT_EQ(controller.removals().getNbHandlers(), 1);
    EXPECT_TRUE(hostItems().empty()); // nothing is synchronised before the first change

    const int hostObservers = host->getSubject().getNbObservers();
    const int editorObservers = editorSelection->getSubject().getNbObservers();
    updater = RCShdPtr<SeSelectorUpdater>();
    EXPECT_EQ(host->getSubject().getNbObservers(), hostObservers - 1);
    EXPECT_EQ(editorSelection->getSubject().getNbObservers(), editorObservers - 1);
    EXPECT_EQ(controller.removals().getNbHandlers(), 0);

    // The selections live on; their changes and the removals reach no updater any more.
    select({A, B});
    controller.sendRemoval(controller.shape(A)->getId());
    hostSelects({objectItem(C)});
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, B}));
    EXPECT_EQ(hostItems(), Texts{object(C)});
    EXPECT_TRUE(log.empty());
}

TEST(SeSelectorUpdaterConstructionTest, RefusesAGraphWithoutAReachableCompositionController) {
    OtherGraphController foreign(PiGraph::create(std::make_unique<PlainNodeController>()));
    try {
        SeSelectorUpdaterScene::makeUpdater(foreign);
        ADD_FAILURE() << "a plain node controller was taken for a composition graph";
    } catch (const RCExCastFailed &failure) {
        EXPECT_NE(failure.getActualType().find("PlainNodeController"), std::string::npos);
        EXPECT_EQ(failure.getTargetType(), "Vo::PiCompositionGraphInterface");
    }
    expectNothingLeftBehind(foreign);

    TestController gone;
    gone.graph()->releaseNodeController();
    EXPECT_THROW(SeSelectorUpdaterScene::makeUpdater(gone), RCExNullPtr);
    expectNothingLeftBehind(gone);

    OtherGraphController none{RCShdPtr<PiGraph const>()};
    try {
        SeSelectorUpdaterScene::makeUpdater(none);
        ADD_FAILURE() << "a null graph was accepted";
    } catch (const RCExNullPtr &failure) {
        EXPECT_EQ(failure.getPointerType(), "Vo::PiGraph const*");
    }
    expectNothingLeftBehind(none);
}

TEST_F(SeSelectorUpdaterTest, SelectingAPointMirrorsItsInputsAndNotifiesTheSelectionOnly) {
    selector->setPrimarySelectedShape(controller.shape(A), -1);
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A)}));
    settle();

    selector->selectPoint(2);
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), pointComponent(A, 2, "x", toOutput),
                                  pointComponent(A, 2, "y", toOutput)}));
    EXPECT_EQ(log, Texts{"selection"});
    EXPECT_EQ(hostWrites->getNbWrites(), 1);
}

// The points' items name their path: once the graph leads the shape to another output, a mirror
// written again names the new path, though the shape, its input and its indices are the same.
TEST_F(SeSelectorUpdaterTest, PointItemsMirroredAgainFollowANewPathToTheOutput) {
    selector->setPrimarySelectedShape(controller.shape(A), 2);
    ASSERT_TRUE(controller.graph()->removeNode(*controller.outputNode()));
    const RCShdPtr<PiNode> finalNode = controller.graph()->addNode("Final", PiNode::PrimaryOutput);
    ASSERT_TRUE(controller.graph()->connect(controller.toolNode(), finalNode));
    settle();

    updater->republish();
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), pointComponent(A, 2, "x", "Roto>Final"),
                                  pointComponent(A, 2, "y", "Roto>Final")}));
    EXPECT_EQ(hostWrites->getNbWrites(), 1);
}

// The points' items are made when the application's selection is first read: the graph's points
// moving before that (one inserted in front of them, or one of them removed) leaves them the
// inputs of the points that were selected, as if they had been made at once.
TEST_F(SeSelectorUpdaterTest, PointItemsReadAfterThePointsMovedNameThePointsThatWereSelected) {
    selector->setPrimarySelectedShape(controller.shape(A), -1);
    const auto points = rcDynamicCast<PiMultivaluedInput>(pointsInput(A));
    const int count = points->getNbElements();
    for (const bool insert : {true, false}) {
        Texts expected{editorNode(), object(A)};
        for (int point = 0; point < count; ++point) {
            expected.push_back(pointComponent(A, point, "x", toOutput));
            expected.push_back(pointComponent(A, point, "y", toOutput));
        }
        selector->selectAllPoints(count);
        if (insert) {
            ASSERT_FALSE(points->insertElement(0).isNull());
        } else {
            // A removal cannot fail: the row keeps its elements in room it already has.
            VoTest::TestAllocator::arm(1);
            const bool removed = points->removeElement(1);
            VoTest::TestAllocator::disarm();
            ASSERT_TRUE(removed);
            EXPECT_EQ(VoTest::TestAllocator::allocations(), 0);
        }
        EXPECT_EQ(hostItems(), expected);
        selector->unselectPoints();
    }
}

TEST_F(SeSelectorUpdaterTest, ClearingTheEditorSelectionLeavesTheEditorNodeAndNotifiesAll) {
    select({A, B});
    settle();

    selector->resetSelection();
    EXPECT_EQ(hostItems(), Texts{editorNode()});
    EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));
}

TEST_F(SeSelectorUpdaterTest, ReorderedShapesAreAShapeChangeAndAPrimaryOneWhenTheFirstMoves) {
    select({A, B, C});
    settle();

    select({B, A, C});
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(B), object(A), object(C)}));
    EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));
    settle();

    select({B, C, A});
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(B), object(C), object(A)}));
    EXPECT_EQ(log, (Texts{"shapes", "selection"}));
}

TEST_F(SeSelectorUpdaterTest, SeveralSelectedShapesGiveNoPointItems) {
    selector->setPrimarySelectedShape(controller.shape(A), 1);
    const auto more = std::make_shared<const std::vector<RCShdPtr<SeShape>>>(
        std::vector<RCShdPtr<SeShape>>{controller.shape(A), controller.shape(B)});
    Iterator<RCShdPtr<SeShape>> iterator = IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(more);
    settle();

    selector->selectAllShapes(iterator);
    EXPECT_EQ(selectedPoints(), std::vector<int>{1});
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), object(B)}));
    EXPECT_EQ(log, (Texts{"shapes", "selection"}));
    settle();

    selector->selectPoint(3);
    EXPECT_EQ(hostWrites->getNbWrites(), 0);
    EXPECT_EQ(log, Texts{"selection"});

    // Nor with more shapes, unchanged from the second on: no shape change to tell.
    for (const auto &selected : {std::initializer_list<int>{A, B, C}, {B, C, D, E}}) {
        select(selected);
        settle();
        selector->selectPoint(1);
        EXPECT_EQ(hostWrites->getNbWrites(), 0);
        EXPECT_EQ(log, Texts{"selection"});
    }
    // The same for a whole list put back with other points and the same shapes.
    const RCShdPtr<SnSelection const> pointOne(selector->getSelection()->clone());
    selector->selectPoint(2);
    settle();
    selector->replaceAllItems(pointOne);
    EXPECT_EQ(selectedPoints(), std::vector<int>{1});
    EXPECT_EQ(log, Texts{"selection"});
}

TEST_F(SeSelectorUpdaterTest, SingleValuedPointsGiveOneItemWhateverPointsAreSelected) {
    selector->setPrimarySelectedShape(controller.shape(D), 0);
    const Texts whole{editorNode(), object(D), name(*pointsInput(D)) + " via " + toOutput};
    EXPECT_EQ(hostItems(), whole);
    settle();

    Vector<int> others{4, 1, 3};
    selector->selectPoints(others);
    EXPECT_EQ(hostItems(), whole);
    EXPECT_EQ(hostWrites->getNbWrites(), 0);
    EXPECT_EQ(log, Texts{"selection"});
}

TEST_F(SeSelectorUpdaterTest, PointItemsPrecedeHandleItemsAndLendThemTheCurvePath) {
    selector->setPrimarySelectedShape(controller.shape(E), -1);
    selector->selectHandle(2);
    EXPECT_EQ(hostItems(),
              (Texts{editorNode(), object(E), handleComponent(E, 2, "position", toOutput),
                     handleComponent(E, 2, "color", toOutput)}));

    // A gradient on a node that leads to no primary output: only the curve's path reaches one.
    const RCShdPtr<PiNode> ramp = controller.graph()->addNode("Ramp");
    controller.editing(E).setGradientInput(ramp->addGradientInput("E.ramp", nbHandles));
    selector->selectHandle(1);
    EXPECT_EQ(hostItems(),
              (Texts{editorNode(), object(E), handleComponent(E, 1, "position", "none"),
                     handleComponent(E, 1, "color", "none")}));

    selector->selectPoint(5);
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(E), pointComponent(E, 5, "x", toOutput),
                                  pointComponent(E, 5, "y", toOutput),
                                  handleComponent(E, 1, "position", toOutput),
                                  handleComponent(E, 1, "color", toOutput)}));
}

// A one-item change of either selection reaches the other as the one-item splice it is, with the
// items and callback lists a full mirroring gives.
TEST_F(SeSelectorUpdaterTest, OneItemChangesAreMirroredAsOneItemSplices) {
    TestSpliceLog hostChanges(*host);
    TestSpliceLog editorChanges(*selector->getSelection());
    select({A, B});
    settle();
    hostChanges.take();
    editorChanges.take();

    selector->addSelectedShape(controller.shape(C));
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), object(B), object(C)}));
    EXPECT_EQ(hostChanges.take(), Texts{"-0 +1 at 3"});
    EXPECT_EQ(log, (Texts{"shapes", "selection"}));
    settle();
    selector->unselectShape(controller.shape(A)); // the primary one
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(B), object(C)}));
    EXPECT_EQ(hostChanges.take(), Texts{"-1 +0 at 1"});
    EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));
    settle();
    selector->selectPoint(2); // parts of the primary among two: nothing to mirror
    EXPECT_EQ(hostChanges.take(), Texts{});
    EXPECT_EQ(log, Texts{"selection"});

    // One shape: its points and handles come and go by their own items.
    selector->setPrimarySelectedShape(controller.shape(E), 1);
    selector->addSelectedHandle(3);
    hostChanges.take();
    settle();
    selector->addSelectedPoint(4);
    EXPECT_EQ(hostChanges.take(), Texts{"-0 +2 at 4"});
    selector->unselectPoint(1);
    EXPECT_EQ(hostChanges.take(), Texts{"-2 +0 at 2"});
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(E), pointComponent(E, 4, "x", toOutput),
                                  pointComponent(E, 4, "y", toOutput),
                                  handleComponent(E, 3, "position", toOutput),
                                  handleComponent(E, 3, "color", toOutput)}));
    EXPECT_EQ(log, (Texts{"selection", "selection"}));
    settle();

    // The application inserts a point before the selected ones, then removes one of them.
    selector->addSelectedPoint(2);
    hostChanges.take();
    ASSERT_FALSE(rcDynamicCast<PiMultivaluedInput>(pointsInput(E))->insertElement(0).isNull());
    selector->updateSelectionPointAdded(controller.weak(E), 0);
    EXPECT_EQ(selectedPoints(), (std::vector<int>{5, 3}));
    EXPECT_EQ(hostChanges.take(), Texts{}); // the same elements, under other indices
    EXPECT_TRUE(rcDynamicCast<PiMultivaluedInput>(pointsInput(E))->removeElement(5));
    selector->updateSelectionPointDeleted(controller.weak(E), 5);
    EXPECT_EQ(hostChanges.take(), Texts{"-2 +0 at 2"});
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(E), pointComponent(E, 3, "x", toOutput),
                                  pointComponent(E, 3, "y", toOutput),
                                  handleComponent(E, 3, "position", toOutput),
                                  handleComponent(E, 3, "color", toOutput)}));
    // The same for a handle, whose items follow the points'.
    const auto handles =
        rcDynamicCast<PiMultivaluedInput>(controller.editing(E).getGradientInput());
    ASSERT_FALSE(handles->insertElement(0).isNull());
    selector->updateSelectionHandleAdded(controller.weak(E), 0);
    EXPECT_EQ(selectedHandles(), std::vector<int>{4});
    EXPECT_EQ(hostChanges.take(), Texts{});
    EXPECT_TRUE(handles->removeElement(4));
    selector->updateSelectionHandleDeleted(controller.weak(E), 4);
    EXPECT_EQ(hostChanges.take(), Texts{"-2 +0 at 4"});
    EXPECT_EQ(selectedHandles(), std::vector<int>{});

    // The application's one-item changes reach the editor as one-item splices too.
    hostSelects({objectItem(A), objectItem(B)});
    editorChanges.take();
    settle();
    host->insertItem(0, objectItem(C));
    EXPECT_EQ(selectedIndices(), (std::vector<int>{C, A, B}));
    EXPECT_EQ(editorChanges.take(), Texts{"-0 +1 at 0"});
    EXPECT_EQ(log, (Texts{"primary", "selection"}));
    settle();
    EXPECT_TRUE(host->removeItem(*std::next(host->begin(), 1)));
    EXPECT_EQ(selectedIndices(), (std::vector<int>{C, B}));
    EXPECT_EQ(editorChanges.take(), Texts{"-1 +0 at 1"});
    EXPECT_EQ(log, Texts{"selection"});

    // A removal event for a shape selected once, with every shape alive and none with parts,
    // takes its one item out; a shape selected twice leaves by the full walk.
    select({A, B, C});
    hostChanges.take();
    editorChanges.take();
    settle();
    controller.sendRemoval(controller.shape(B)->getId());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, C}));
    EXPECT_EQ(editorChanges.take(), Texts{"-1 +0 at 1"});
    EXPECT_EQ(hostChanges.take(), Texts{"-1 +0 at 2"});
    EXPECT_EQ(log, (Texts{"shapes", "selection"}));
    // A shape that left, by the editor or by the application, is no longer selected: its event
    // changes nothing.
    selector->unselectShape(controller.shape(C));
    host->insertItem(1, objectItem(D));
    host->removeItem(*std::next(host->begin(), 1));
    settle();
    editorChanges.take();
    controller.sendRemoval(controller.shape(C)->getId());
    controller.sendRemoval(controller.shape(D)->getId());
    EXPECT_EQ(editorChanges.take(), Texts{});
    EXPECT_TRUE(log.empty());
    // The primary shape's parts changed among two shapes: its item is another, and its removal
    // event still finds it and takes that one item out, parts and all.
    select({A, B, C});
    selector->addSelectedPoint(1);
    editorChanges.take();
    hostChanges.take();
    controller.sendRemoval(controller.shape(A)->getId());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B, C}));
    EXPECT_EQ(editorChanges.take(), Texts{"-1 +0 at 0"});
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(B), object(C)}));
    // The removal of another shape makes the primary one whole: the walk. The parts count both
    // when the one-item change brought them and when the whole selection was mirrored with them.
    select({A, B});
    selector->addSelectedPoint(1);
    editorChanges.take();
    controller.sendRemoval(controller.shape(B)->getId());
    EXPECT_EQ(selectedIndices(), std::vector<int>{A});
    EXPECT_TRUE(selectedPoints().empty());
    EXPECT_EQ(editorChanges.take(), Texts{"whole"});
    selector->setPrimarySelectedShape(controller.shape(A), 2);
    selector->addSelectedShape(controller.shape(B));
    controller.sendRemoval(controller.shape(B)->getId());
    EXPECT_EQ(selectedIndices(), std::vector<int>{A});
    EXPECT_TRUE(selectedPoints().empty());
    select({A, B, A});
    editorChanges.take();
    controller.sendRemoval(controller.shape(A)->getId());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B, A}));
    EXPECT_EQ(editorChanges.take(), Texts{"-1 +0 at 0"}); // the rest stays: one splice
    selector->addSelectedPoint(1); // parts on the primary: the walk makes every shape whole
    controller.sendRemoval(controller.shape(A)->getId());
    EXPECT_EQ(selectedIndices(), std::vector<int>{B});
    EXPECT_TRUE(selectedPoints().empty());

    // One item replaced by another is mirrored in full: the shapes, not a splice of them.
    hostSelects({objectItem(A), objectItem(B)});
    ASSERT_TRUE(host->replaceItem(*host->begin(), objectItem(C)));
    EXPECT_EQ(selectedIndices(), (std::vector<int>{C, B}));

    // An item of a shape gone before the last full mirroring comes in: left out, as in full.
    controller.deleteInterfaceOnly(D);
    select({A, B});
    const RCShdPtr<SnItem const> gone(new SeShapeItem(RCShdPtr<SnParts>(), controller.weak(D)));
    ASSERT_TRUE(
        selector->getSelection()->replaceItem(*std::next(selector->getSelection()->begin()), gone));
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A)}));

    // A shape gone before the whole selection was mirrored leaves with the next removal event,
    // even one for a shape that is not selected.
    select({A, B});
    controller.deleteInterfaceOnly(B);
    selector->replaceAllItems(Vo::SnSelection::create(Vo::SnSelection::Items{
        *std::next(selector->getSelection()->begin()), *selector->getSelection()->begin()}));
    ASSERT_EQ(selector->getNbSelectedShape(), 2);
    controller.sendRemoval(controller.shape(C)->getId());
    EXPECT_EQ(selector->getNbSelectedShape(), 1);
}

// The application's one-item changes are followed past the editor's node item, which heads its
// selection once the editor wrote it (they used to be mirrored in full whenever an item stood for
// no shape); and a removal event for a shape whose editing side was released first takes its one
// item out, as for a live shape, when that end is the only one since every shape was known alive.
TEST_F(SeSelectorUpdaterTest, OneItemChangesBesideTheEditorNodeAndOfAShapeReleasedFirst) {
    TestSpliceLog hostChanges(*host);
    TestSpliceLog editorChanges(*selector->getSelection());
    select({A, B});
    host->insertItem(3, objectItem(C)); // taken in once: the whole list
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, B, C}));
    editorChanges.take();
    settle();
    EXPECT_TRUE(host->removeItem(*std::next(host->begin(), 1)));
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B, C}));
    EXPECT_EQ(editorChanges.take(), Texts{"-1 +0 at 0"});
    EXPECT_EQ(log, (Texts{"primary", "selection"}));
    settle();
    host->insertItem(2, objectItem(A));
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B, A, C}));
    EXPECT_EQ(editorChanges.take(), Texts{"-0 +1 at 1"});
    EXPECT_EQ(log, Texts{"selection"});
    host->insertItem(0, objectItem(D)); // before the node item: in full
    EXPECT_EQ(selectedIndices(), (std::vector<int>{D, B, A, C}));
    EXPECT_EQ(editorChanges.take(), Texts{"whole"});

    select({A, B, C});
    settle();
    hostChanges.take();
    editorChanges.take();
    controller.deleteShape(B);
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, C}));
    EXPECT_EQ(editorChanges.take(), Texts{"-1 +0 at 1"});
    EXPECT_EQ(hostChanges.take(), Texts{"-1 +0 at 2"});
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), object(C)}));
    EXPECT_EQ(log, (Texts{"shapes", "selection"}));
    EXPECT_TRUE(selector->areShapesKnownAlive());
    // Two ends since: the walk takes out the shape of the event and the other one gone.
    controller.deleteInterfaceOnly(A);
    controller.deleteShape(C);
    EXPECT_TRUE(selectedIndices().empty());
    EXPECT_EQ(hostItems(), Texts{editorNode()});
}

// Only shapes' items that end the application's selection are followed one item at a time: with an
// item for no shape (an object of no shape) between two shapes' items, the application's next
// one-item change is read in full, never taken for a shape's at a place counted from the wrong
// item. So is the editor's next change mirrored: as the whole list, the editor's node first.
TEST_F(SeSelectorUpdaterTest, AnItemForNoShapeBetweenShapesIsFollowedByTheWholeList) {
    const Vo::RCShdPtr<Vo::SnItem const> mask(
        new Vo::PiGraphObjectSnItemConst(controller.toolNode()->addObject("Mask")));
    hostSelects({objectItem(A), mask, objectItem(B)});
    ASSERT_EQ(selectedIndices(), (std::vector<int>{A, B}));
    ASSERT_TRUE(host->removeItem(mask));
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, B}));
    hostSelects({objectItem(A), mask, objectItem(B)});
    selector->addSelectedShape(controller.shape(C));
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), object(B), object(C)}));
}

// A view reads from a callback what the change was: shapes in and out, the primary shape before and
// after, the indices of its points and handles in and out; a whole change says so.
// A whole list passed in that keeps items at either end changes the editor's selection by the
// difference: one shape more is a one-item change all the way to the application's selection, and
// views read what came and went. A list that keeps nothing is a change of the whole list.
TEST_F(SeSelectorUpdaterTest, WholeListsThatKeepTheirEndsChangeByTheDifference) {
    TestSpliceLog hostChanges(*host);
    TestSpliceLog editorChanges(*selector->getSelection());
    std::vector<SeSelectionChange> seen;
    CbFunction<CbEmptyType> view([&] { seen.push_back(selector->getLastChange()); });
    selector->addSelectionChangedCallback(&view);
    const auto weak = [this](int shape) { return controller.weak(shape); };
    using Shapes = Vector<RCWeakPtr<SeShapeInterface>>;

    select({A, B});
    EXPECT_EQ(editorChanges.take(), Texts{"whole"});
    settle();
    hostChanges.take();
    select({A, B, C});
    EXPECT_EQ(editorChanges.take(), Texts{"-0 +1 at 2"});
    EXPECT_EQ(hostChanges.take(), Texts{"-0 +1 at 3"});
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), object(B), object(C)}));
    EXPECT_EQ(seen.back().getShapesAdded(), Shapes{weak(C)});
    EXPECT_EQ(log, (Texts{"shapes", "selection"}));
    settle();

    select({A, D, E, C}); // the middle differs
    EXPECT_EQ(editorChanges.take(), Texts{"-1 +2 at 1"});
    EXPECT_EQ(hostChanges.take(), Texts{"-1 +2 at 2"});
    EXPECT_EQ(seen.back().getShapesRemoved(), Shapes{weak(B)});
    EXPECT_EQ(seen.back().getShapesAdded(), (Shapes{weak(D), weak(E)}));
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), object(D), object(E), object(C)}));
    EXPECT_EQ(log, (Texts{"shapes", "selection"}));
    settle();
    select({D, E, C}); // the primary one leaves
    EXPECT_EQ(editorChanges.take(), Texts{"-1 +0 at 0"});
    EXPECT_EQ(hostChanges.take(), Texts{"-1 +0 at 1"});
    EXPECT_TRUE(seen.back().getPrimaryBefore() == weak(A) &&
                seen.back().getPrimaryAfter() == weak(D));
    EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));
    settle();

    select({D, B, C}); // one shape for another, twice: a removal event finds the new one
    select({D, A, C});
    EXPECT_EQ(editorChanges.take(), (Texts{"-1 +1 at 1", "-1 +1 at 1"}));
    controller.sendRemoval(controller.shape(A)->getId());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{D, C}));
    select({D, B, A, C}); // the same number of other shapes in the middle
    editorChanges.take();
    settle();
    hostChanges.take();
    select({D, A, B, C});
    EXPECT_EQ(editorChanges.take(), Texts{"-2 +2 at 1"});
    EXPECT_EQ(hostChanges.take(), Texts{"-2 +2 at 2"});
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(D), object(A), object(B), object(C)}));
    EXPECT_EQ(log, (Texts{"shapes", "selection"}));

    selector->resetSelection(); // nothing kept: a whole write, small enough to be described
    EXPECT_EQ(editorChanges.take(), Texts{"whole"});
    EXPECT_EQ(seen.back().getPlacesRemoved(), (Vector<int>{0, 1, 2, 3}));
    select({B, D});
    const auto all =
        std::make_shared<const std::vector<RCShdPtr<SeShape>>>(std::vector<RCShdPtr<SeShape>>{
            controller.shape(A), controller.shape(B), controller.shape(C)});
    Iterator<RCShdPtr<SeShape>> walk = IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(all);
    selector->selectAllShapes(walk); // the others come in after B and D
    EXPECT_EQ(editorChanges.take(), (Texts{"whole", "-0 +2 at 2"}));
    EXPECT_EQ(hostChanges.take(), (Texts{"whole", "whole", "-0 +2 at 3"}));
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B, D, A, C}));
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(B), object(D), object(A), object(C)}));
    EXPECT_EQ(seen.back().getShapesAdded(), (Shapes{weak(A), weak(C)}));
    selector->removeSelectionChangedCallback(&view);
}

TEST_F(SeSelectorUpdaterTest, CallbacksReadWhatTheChangeWas) {
    std::vector<SeSelectionChange> seen;
    CbFunction<CbEmptyType> view([&] { seen.push_back(selector->getLastChange()); });
    selector->addSelectionChangedCallback(&view);
    const auto last = [&seen]() -> const SeSelectionChange & { return seen.back(); };
    const auto weak = [this](int shape) { return controller.weak(shape); };

    select({A, B});
    EXPECT_EQ(last().getPlacesAdded(), (Vector<int>{0, 1}));
    selector->addSelectedShape(controller.shape(C));
    EXPECT_FALSE(last().isWhole());
    EXPECT_EQ(last().getShapesAdded(), Vector<RCWeakPtr<SeShapeInterface>>{weak(C)});
    EXPECT_TRUE(last().getShapesRemoved().empty());
    EXPECT_TRUE(last().getPrimaryBefore() == weak(A) && last().getPrimaryAfter() == weak(A));
    EXPECT_EQ(last().getRevisionAfter(), selector->getSelection()->getRevision());
    selector->unselectShape(controller.shape(A));
    EXPECT_EQ(last().getShapesRemoved(), Vector<RCWeakPtr<SeShapeInterface>>{weak(A)});
    EXPECT_TRUE(last().getPrimaryBefore() == weak(A) && last().getPrimaryAfter() == weak(B));
    EXPECT_FALSE(last().arePartsChanged());

    selector->addSelectedPoint(3);
    selector->addSelectedHandle(1); // B has no gradient: stored all the same
    EXPECT_TRUE(last().arePartsChanged() && !last().arePartsRewritten());
    EXPECT_EQ(last().getHandlesAdded(), Vector<int>{1});
    EXPECT_TRUE(last().getShapesAdded().empty() && last().getPointsAdded().empty());
    selector->unselectPoint(3);
    EXPECT_EQ(last().getPointsRemoved(), Vector<int>{3});
    const RCShdPtr<SnItem const> withoutPoints = selector->getSelection()->getPrimaryItem();
    selector->addSelectedPoint(5);
    const RCShdPtr<SnItem const> withFive = selector->getSelection()->getPrimaryItem();
    selector->restoreRange(0, 1, {withoutPoints}); // the last parts change backwards
    EXPECT_EQ(last().getPointsRemoved(), Vector<int>{5});
    selector->selectPoints(Vector<int>{1, 2}); // no single index: read the parts again
    EXPECT_TRUE(last().arePartsChanged() && last().arePartsRewritten());
    selector->restoreRange(0, 1, {withoutPoints}); // from other parts than the change made
    EXPECT_TRUE(last().arePartsRewritten());
    selector->restoreRange(0, 1, {withFive});
    EXPECT_EQ(last().getPointsAdded(), Vector<int>{5});
    EXPECT_FALSE(last().arePartsRewritten());

    // The application's one-item change, mirrored: the editor's side tells it the same way.
    // A whole change lists no item, yet names the primary shape it replaced.
    const RCWeakPtr<SeShapeInterface> shown = selector->getPrimarySelectedShapeInterface();
    ASSERT_FALSE(shown.isNull());
    hostSelects({objectItem(D)});
    EXPECT_TRUE(last().isWhole());
    EXPECT_TRUE(last().getPrimaryBefore() == shown && last().getPrimaryAfter() == weak(D));
    select({A, B});
    EXPECT_TRUE(last().getPrimaryBefore() == weak(D) && last().getPrimaryAfter() == weak(A));
    hostSelects({objectItem(D)});
    host->insertItem(0, objectItem(E));
    EXPECT_EQ(last().getShapesAdded(), Vector<RCWeakPtr<SeShapeInterface>>{weak(E)});
    EXPECT_TRUE(last().getPrimaryBefore() == weak(D) && last().getPrimaryAfter() == weak(E));
    selector->removeSelectionChangedCallback(&view);
}

// Refuses the object of one shape, as an application's filter of, say, locked shapes might.
class RefusesObject : public SeSelectorUpdater::ItemTest {
public:
    explicit RefusesObject(RCShdPtr<PiGraphObject const> object) : refused(std::move(object)) {}
    bool evaluate(const RCShdPtr<SnItem const> &item) const override {
        const auto *graphItem = dynamic_cast<const PiGraphObjectSnItemConst *>(item.get());
        return graphItem == nullptr ||
               !PiGraphObject::areEqual(graphItem->getGraphObject(), refused);
    }

private:
    RCShdPtr<PiGraphObject const> refused;
};

// A shape whose object the item filter refuses is no longer in the host view: the next one-item
// change is mirrored in full, with the lists a full mirroring decides.
TEST_F(SeSelectorUpdaterTest, AShapeTheFilterRefusesEndsTheOneItemMirroring) {
    updater = RCShdPtr<SeSelectorUpdater>();
    updater = RCShdPtr<SeSelectorUpdater>(new SeSelectorUpdater(
        controller, SeSelectorUpdater::ItemPredicate(SeSelectorUpdater::graphObjectsNotNodes()) &
                        SeSelectorUpdater::ItemPredicate(SeSelectorUpdater::ItemTestPtr(
                            new RefusesObject(controller.shape(C)->getGraphObject())))));
    select({A, B});
    selector->addSelectedShape(controller.shape(C));
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), object(B), object(C)}));
    settle();
    // The host view was A, B: the editor's A, B after C leaves are the same shapes.
    selector->unselectShape(controller.shape(C));
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), object(B)}));
    EXPECT_EQ(log, Texts{"selection"});
}

// Handles whose elements differ in their inputs: the items of one handle are found by counting,
// not by a width they do not share.
TEST_F(SeSelectorUpdaterTest, HandlesOfDifferentWidthsAreMirroredInputByInput) {
    const RCShdPtr<PiMultivaluedInput> gradient =
        rcDynamicCast<PiMultivaluedInput>(controller.editing(E).getGradientInput());
    ASSERT_FALSE(
        rcDynamicCast<PiStructuredInput>(gradient->getElement(2))->addInput("extra").isNull());
    selector->setPrimarySelectedShape(controller.shape(E), -1);
    selector->selectHandle(1);
    selector->addSelectedHandle(2);
    selector->addSelectedHandle(3);
    selector->unselectHandle(3);
    EXPECT_EQ(hostItems(),
              (Texts{editorNode(), object(E), handleComponent(E, 1, "position", toOutput),
                     handleComponent(E, 1, "color", toOutput),
                     handleComponent(E, 2, "position", toOutput),
                     handleComponent(E, 2, "color", toOutput),
                     handleComponent(E, 2, "extra", toOutput)}));
    selector->addSelectedHandle(0);
    selector->unselectHandle(2);
    EXPECT_EQ(hostItems(),
              (Texts{editorNode(), object(E), handleComponent(E, 1, "position", toOutput),
                     handleComponent(E, 1, "color", toOutput),
                     handleComponent(E, 0, "position", toOutput),
                     handleComponent(E, 0, "color", toOutput)}));
}

TEST_F(SeSelectorUpdaterTest, GoneShapesAreLeftOutAndCountAsAShapeChange) {
    select({A, B, C});
    controller.deleteInterfaceOnly(B); // no event: the application deletes it quietly
    settle();

    selector->selectPoint(0);
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), object(C)}));
    EXPECT_EQ(log, (Texts{"shapes", "selection"}));
}

// The application takes a shape out and puts it back: the count of its items follows, so its
// removal event then takes out its one item.
TEST_F(SeSelectorUpdaterTest, AShapeTheApplicationTakesOutAndPutsBackIsCountedOnce) {
    TestSpliceLog editorChanges(*selector->getSelection());
    hostSelects({objectItem(A), objectItem(B), objectItem(C)});
    settle();
    ASSERT_TRUE(host->removeItem(*host->begin()));
    settle();
    host->insertItem(2, objectItem(A));
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B, C, A}));
    editorChanges.take();
    settle();
    controller.sendRemoval(controller.shape(A)->getId());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B, C}));
    EXPECT_EQ(editorChanges.take(), Texts{"-1 +0 at 2"});
}

} // namespace
} // namespace VoTest
