#include "SeSelectorUpdater.h"

#include "SeSelectorUpdaterScene.h"
#include "SeShapeItem.h"

#include "base/CbEmptyType.h"
#include "foundation/CbFunction.h"
#include "foundation/CbHandler.h"
#include "foundation/Vector.h"
#include "host/ObHint.h"
#include "host/ObHints.h"
#include "host/graph/PiSnItem.h"
#include "base/RCExNullPtr.h"
#include "host/selection/SnParts.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace VoTest {
namespace {

using namespace Vo;
using Texts = std::vector<std::string>;
using Indices = std::vector<int>;

using SeSelectorUpdaterEventsTest = SeSelectorUpdaterScene;

// News that is not about a selection.
class OtherHint : public ObHint {};

// The application's updater, telling when it is destroyed.
class LifeUpdater : public SeSelectorUpdater {
public:
    LifeUpdater(SeShapeEditorControllerInterface &controller, bool &destroyed)
        : SeSelectorUpdater(controller, ItemTestPtr(new TestItemPredicate)), destroyed(destroyed) {}

protected:
    ~LifeUpdater() override { destroyed = true; }

private:
    bool &destroyed;
};

// A callback by which the application closes the editor: it lets go of the updater.
class UpdaterCloser : public CbHandler<CbEmptyType> {
public:
    explicit UpdaterCloser(RCShdPtr<SeSelectorUpdater> &updater) : updater(updater) {}

    using CbHandler<CbEmptyType>::call;
    void call(const CbEmptyType &) override { updater = RCShdPtr<SeSelectorUpdater>(); }

private:
    RCShdPtr<SeSelectorUpdater> &updater;
};

TEST_F(SeSelectorUpdaterEventsTest, ApplicationSelectionsWithoutShapesChangeNothing) {
    select({A});
    settle();

    const RCShdPtr<SnItem const> input(
        PiSnItem<PiInput>::create(pointsInput(A), RCShdPtr<PiPath>()));
    const RCShdPtr<SnItem const> mask(
        new PiGraphObjectSnItemConst(controller.toolNode()->addObject("Mask")));
    hostSelects({nodeItem(controller.toolNode()), nodeItem(controller.getNode()), input, mask});
    hostSelects({});
    EXPECT_EQ(selectedIndices(), Indices{A});
    EXPECT_EQ(selectorWrites->getNbWrites(), 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(SeSelectorUpdaterEventsTest, ApplicationSelectingTheSelectedShapesWritesNothing) {
    select({A, B});
    settle();

    hostSelects({objectItem(A), nodeItem(controller.getNode()), objectItem(B)});
    EXPECT_EQ(hostWrites->getNbWrites(), 1); // the application's own
    EXPECT_EQ(selectorWrites->getNbWrites(), 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(SeSelectorUpdaterEventsTest, ApplicationChangesNeverNotifyTheShapeSelection) {
    select({A, B});
    settle();

    hostSelects({objectItem(B), objectItem(A)});
    EXPECT_EQ(selectedIndices(), (Indices{B, A}));
    EXPECT_EQ(log, (Texts{"primary", "selection"}));
    settle();

    hostSelects({objectItem(B), objectItem(A), objectItem(C)});
    EXPECT_EQ(selectedIndices(), (Indices{B, A, C}));
    EXPECT_EQ(log, Texts{"selection"});
}

TEST_F(SeSelectorUpdaterEventsTest, EchoesOfItsOwnWritesAreIgnored) {
    selector->setPrimarySelectedShape(controller.shape(A), 3);
    settle();

    // Were the echo of the host write handled, A would come back from the host without its point.
    selector->selectPoint(4);
    EXPECT_EQ(selectedPoints(), Indices{4});
    EXPECT_EQ(selectorWrites->getNbWrites(), 1);
    settle();

    // Were the echo of the selector write handled, the editor node would be written to the host.
    hostSelects({objectItem(B)});
    EXPECT_EQ(selectedIndices(), Indices{B});
    EXPECT_EQ(hostItems(), Texts{object(B)});
    EXPECT_EQ(hostWrites->getNbWrites(), 1);
}

TEST_F(SeSelectorUpdaterEventsTest, OnlyHintsAboutItsSelectionsCountAndEachListRunsOnce) {
    // A selection change that told no one yet.
    const RCShdPtr<SnSelection> editorSelection = selector->getSelection();
    editorSelection->addItem(
        RCShdPtr<SnItem const>(new SeShapeItem(RCShdPtr<SnParts>(), controller.weak(A))));
    const RCShdPtr<SnSelection> elsewhere = SnSelection::create();
    ObHints unrelated;
    unrelated.add(RCShdPtr<ObHint>(new OtherHint));
    unrelated.add(RCShdPtr<ObHint>(new SnSelectionChangeHint(&elsewhere->getSubject())));

    updater->update(&editorSelection->getSubject(), unrelated);
    updater->update(&editorSelection->getSubject(), ObHints());
    EXPECT_TRUE(hostItems().empty());
    EXPECT_TRUE(log.empty());

    ObHints mixed(unrelated);
    mixed.add(RCShdPtr<ObHint>(new SnSelectionChangeHint(&editorSelection->getSubject())));
    mixed.add(RCShdPtr<ObHint>(new SnSelectionChangeHint(&host->getSubject())));
    updater->update(&editorSelection->getSubject(), mixed);
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A)}));
    EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));
}

// The updater used to read its own selector pointer for the later notifications after a callback
// had destroyed it. It now lives until its update is over: the last list still finds it alive.
TEST_F(SeSelectorUpdaterEventsTest, CallbackMayLetGoOfTheUpdaterAndTheOtherListsStillRun) {
    bool destroyed = false;
    updater = RCShdPtr<SeSelectorUpdater>();
    updater = RCShdPtr<SeSelectorUpdater>(new LifeUpdater(controller, destroyed));
    UpdaterCloser closer(updater);
    selector->addPrimarySelectionChangedCallback(&closer);
    int aliveAtTheEnd = 0;
    CbFunction<CbEmptyType> lastList([&] { aliveAtTheEnd += destroyed ? 0 : 1; });
    selector->addSelectionChangedCallback(&lastList);

    select({A});
    EXPECT_TRUE(updater.isNull());
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(aliveAtTheEnd, 1);
    EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));
    EXPECT_EQ(controller.removals().getNbHandlers(), 0);
    selector->removeSelectionChangedCallback(&lastList);
}

TEST_F(SeSelectorUpdaterEventsTest, RemovalTakesOutTheFirstOccurrenceOfASelectedShapeOnly) {
    select({A, B, A});
    settle();

    controller.sendRemoval(controller.shape(C)->getId());
    EXPECT_EQ(selectedIndices(), (Indices{A, B, A}));
    EXPECT_EQ(selectorWrites->getNbWrites(), 0);
    EXPECT_TRUE(log.empty());

    controller.sendRemoval(controller.shape(A)->getId());
    EXPECT_EQ(selectedIndices(), (Indices{B, A}));
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(B), object(A)}));
    EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));

    // Removals of shapes that are not selected, one still alive and one gone, while points of
    // the selected shape are: its points stay, and no one is told of anything.
    selector->setPrimarySelectedShape(controller.shape(A), 2);
    selector->selectPoints(Vector<int>{2, 4});
    const Texts mirrored = hostItems();
    settle();
    controller.sendRemoval(controller.shape(C)->getId());
    controller.deleteShape(D);
    EXPECT_EQ(selectedIndices(), Indices{A});
    EXPECT_EQ(selectedPoints(), (Indices{2, 4}));
    EXPECT_EQ(hostItems(), mirrored);
    EXPECT_EQ(selectorWrites->getNbWrites() + hostWrites->getNbWrites(), 0);
    EXPECT_TRUE(log.empty());
}

// The removal used to raise RCExNullPtr out of the event dispatch: it looked up every selected
// shape, and the editing side of one of them had been deleted earlier.
// A shape the application took out of its selection is no longer counted as selected: its removal
// event then finds nothing to take out, and must not reach for the item that left with it.
TEST_F(SeSelectorUpdaterEventsTest, RemovalOfAShapeTheApplicationTookOutChangesNothing) {
    select({A, B, C});
    settle();
    ASSERT_TRUE(host->removeItem(*std::next(host->begin(), 1)));
    EXPECT_EQ(selectedIndices(), (Indices{B, C}));
    settle();
    controller.sendRemoval(controller.shape(A)->getId());
    EXPECT_EQ(selectedIndices(), (Indices{B, C}));
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(B), object(C)}));
    EXPECT_EQ(selectorWrites->getNbWrites() + hostWrites->getNbWrites(), 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(SeSelectorUpdaterEventsTest, RemovalPassesOverShapesDeletedEarlier) {
    select({A, B, C});
    controller.deleteInterfaceOnly(A);
    settle();

    EXPECT_NO_THROW(controller.sendRemoval(controller.shape(B)->getId()));
    EXPECT_EQ(selectedIndices(), Indices{C});
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(C)}));
    EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));
}

// The removal of a shape that is not selected used to be passed over at once, though a selected
// shape's editing side had gone meanwhile: that shape stayed in both selections.
TEST_F(SeSelectorUpdaterEventsTest, RemovalOfAnUnselectedShapeTakesOutShapesGoneMeanwhile) {
    select({A, B});
    settle();
    controller.deleteInterfaceOnly(B);

    controller.sendRemoval(controller.shape(C)->getId());
    EXPECT_EQ(selectedIndices(), Indices{A});
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A)}));
    EXPECT_EQ(log, (Texts{"shapes", "selection"}));
}

// A shape whose editing side the application deleted before sending its removal used to stay
// selected for good: its id could no longer be read, so the removal found nothing to take out.
TEST_F(SeSelectorUpdaterEventsTest, RemovedShapeLeavesEvenWhenItsEditingSideWentFirst) {
    select({A, B});
    settle();

    controller.deleteShape(A);
    EXPECT_EQ(selectedIndices(), Indices{B});
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(B)}));
    EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));
    settle();

    controller.deleteShape(C);
    EXPECT_EQ(selectedIndices(), Indices{B});
    EXPECT_TRUE(log.empty());
}

TEST_F(SeSelectorUpdaterEventsTest, FailureMirroringTheEditorWritesAndNotifiesNothing) {
    selector->setPrimarySelectedShape(controller.shape(A), -1);
    const Texts before = hostItems();
    const RCShdPtr<PiInput> curve = controller.editing(A).getCurveInput();
    controller.editing(A).setCurveInput(RCShdPtr<PiInput>());
    settle();

    EXPECT_THROW(selector->selectPoint(1), RCExNullPtr);
    EXPECT_EQ(hostItems(), before);
    EXPECT_EQ(hostWrites->getNbWrites(), 0);
    EXPECT_TRUE(log.empty());

    controller.editing(A).setCurveInput(curve);
    selector->selectPoint(2);
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), pointComponent(A, 2, "x", "Roto>Output"),
                                  pointComponent(A, 2, "y", "Roto>Output")}));
    EXPECT_EQ(log, Texts{"selection"});
}

TEST_F(SeSelectorUpdaterEventsTest, FailureMirroringTheApplicationWritesAndNotifiesNothing) {
    select({A});
    settle();

    controller.raiseAtFindShapeCall(2);
    EXPECT_THROW(hostSelects({objectItem(B), objectItem(C)}), RCExNullPtr);
    EXPECT_EQ(selectedIndices(), Indices{A});
    EXPECT_EQ(selectorWrites->getNbWrites(), 0);
    EXPECT_TRUE(log.empty());

    hostSelects({objectItem(C)});
    EXPECT_EQ(selectedIndices(), Indices{C});
    EXPECT_EQ(log, (Texts{"primary", "selection"}));
}

TEST_F(SeSelectorUpdaterEventsTest, FailingWriteLowersTheGuardAgain) {
    select({A});
    settle();

    hostWrites->raiseAtNextWrite();
    EXPECT_THROW(select({B}), RCExNullPtr);
    EXPECT_TRUE(log.empty());

    // A guard left up would make the updater deaf to the application's next change.
    hostSelects({objectItem(C)});
    EXPECT_EQ(selectedIndices(), Indices{C});
    EXPECT_EQ(log, (Texts{"primary", "selection"}));
}

} // namespace
} // namespace VoTest
