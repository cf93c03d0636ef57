#include "SeSelectionHistory.h"
#include "SeExMissingElement.h"
#include "SeSelectionBatch.h"
#include "SeSelectorUpdaterScene.h"
#include "SeShapeItem.h"
#include "SeShapeParts.h"
#include "app/TestSpliceLog.h"

#include "base/CbEmptyType.h"
#include "base/RCExInvalidCall.h"
#include "base/RCExNullPtr.h"
#include "foundation/CbFunction.h"
#include "host/graph/PiGraphObjectSnItemConst.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Vo::SeSelectionBatch;
using Vo::SeSelectionHistory;

class SeSelectionHistoryTest : public VoTest::SeSelectorUpdaterScene {
protected:
    SeSelectionHistory history{selector};
};

// Steps come from the editor and from the application alike; undo and redo go through the
// updater (mirrored, callbacks as for any change) and are not recorded; a change after an undo
// drops the redo steps.
TEST_F(SeSelectionHistoryTest, UndoAndRedoRestoreEditorAndApplicationChanges) {
    select({A});
    selector->selectPoint(2);
    hostSelects({nodeItem(controller.toolNode()), objectItem(B), objectItem(C)});
    EXPECT_EQ(history.getNbUndoSteps(), 3);
    settle();

    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
    EXPECT_EQ(selectedPoints(), (std::vector<int>{2}));
    EXPECT_EQ(hostItems().size(), 4U); // node, A, point 2 (x, y)
    EXPECT_EQ(log, (std::vector<std::string>{"primary", "shapes", "selection"}));
    EXPECT_EQ(history.getNbUndoSteps(), 2);
    EXPECT_EQ(history.getNbRedoSteps(), 1);

    settle();
    EXPECT_TRUE(history.undo());
    EXPECT_TRUE(selectedPoints().empty());
    EXPECT_EQ(log, (std::vector<std::string>{"selection"}));
    EXPECT_TRUE(history.redo());
    EXPECT_TRUE(history.redo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B, C}));
    EXPECT_FALSE(history.redo());
    EXPECT_EQ(history.getNbUndoSteps(), 3);

    EXPECT_TRUE(history.undo());
    select({D});
    EXPECT_EQ(history.getNbRedoSteps(), 0);
    EXPECT_EQ(history.getNbUndoSteps(), 3);
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selectedPoints(), (std::vector<int>{2}));
    EXPECT_TRUE(history.undo());
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
    EXPECT_FALSE(history.undo());
}

// A batch is one step, and a batch that changes nothing is none.
TEST_F(SeSelectionHistoryTest, ABatchIsOneStep) {
    select({A});
    {
        SeSelectionBatch batch(selector);
        select({B, C});
        selector->selectPoint(1);
        controller.deleteShape(E);
    }
    {
        SeSelectionBatch batch(selector);
        select({A});
        select({B, C});
        selector->selectPoint(1);
    }
    EXPECT_EQ(history.getNbUndoSteps(), 2);
    EXPECT_THROW(
        {
            SeSelectionBatch batch(selector);
            history.undo();
        },
        Vo::RCExInvalidCall);
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
}

// A deleted shape never comes back: its items are left out of a restore, and a step that then
// changes nothing is skipped, in both directions.
TEST_F(SeSelectionHistoryTest, DeletedShapesNeverComeBack) {
    select({A});
    select({A, B});
    select({C});
    EXPECT_TRUE(history.undo());
    controller.deleteShape(B); // [A, B] -> [A], a step of its own after dropping the redo step
    EXPECT_EQ(history.getNbUndoSteps(), 3);
    EXPECT_TRUE(history.undo()); // [A, B] and [A] are both [A] now: on to []
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
    EXPECT_EQ(history.getNbUndoSteps(), 0);
    EXPECT_TRUE(history.redo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
    EXPECT_FALSE(history.redo()); // what is left to redo is [A] again
    select({C});
    controller.deleteShape(A);
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
    EXPECT_FALSE(history.undo());
}

// The depth bounds the steps kept, the oldest going first; a step holds only what changed, so a
// change of points among many selected shapes stores two items.
TEST_F(SeSelectionHistoryTest, DepthAndMemoryPerStepAreBounded) {
    EXPECT_EQ(history.getDepth(), SeSelectionHistory::defaultDepth);
    history.setDepth(2);
    select({A});
    select({B});
    select({C});
    EXPECT_EQ(history.getNbUndoSteps(), 2);
    EXPECT_TRUE(history.undo());
    EXPECT_TRUE(history.undo());
    EXPECT_FALSE(history.undo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
    EXPECT_THROW(history.setDepth(-1), Vo::RCExInvalidCall);
    EXPECT_EQ(history.getDepth(), 2);
    history.setDepth(1);
    EXPECT_EQ(history.getNbRedoSteps(), 1);

    history.setDepth(10);
    history.clear();
    EXPECT_EQ(history.getNbStoredItems(), 0U);
    select({A, B, C, D, E});
    const std::size_t before = history.getNbStoredItems();
    EXPECT_EQ(before, 4U); // A was selected: the step keeps the four that came after it
    selector->selectPoint(4);
    EXPECT_EQ(history.getNbStoredItems() - before, 2U);
    selector->selectPoint(5);
    EXPECT_EQ(history.getNbStoredItems() - before, 4U);

    // The depth given to the constructor bounds the steps as setDepth does; a negative one is
    // refused there too.
    SeSelectionHistory shallow(selector, 1);
    EXPECT_EQ(shallow.getDepth(), 1);
    const int deepSteps = history.getNbUndoSteps();
    select({B});
    select({C});
    EXPECT_EQ(shallow.getNbUndoSteps(), 1);
    EXPECT_EQ(history.getNbUndoSteps(), deepSteps + 2); // each history keeps its own depth
    EXPECT_THROW(SeSelectionHistory(selector, -1), Vo::RCExInvalidCall);
}

// Kept states are renumbered as the selection is when the application inserts or removes points,
// so that undo selects the same points; the renumbering is no step. (Undo used to put back the old
// indices, which could name points that no longer exist, and the restore then raised for ever.)
TEST_F(SeSelectionHistoryTest, KeptStatesFollowInsertedAndRemovedPoints) {
    select({A});
    Vo::Vector<int> points;
    points.push_back(1);
    points.push_back(4);
    selector->selectPoints(points);
    select({B});
    selector->updateSelectionPointDeleted(controller.weak(A), 1); // A is not selected now
    EXPECT_EQ(history.getNbUndoSteps(), 3);
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selectedPoints(), (std::vector<int>{3}));
    selector->updateSelectionPointAdded(controller.weak(A), 0);
    EXPECT_EQ(selectedPoints(), (std::vector<int>{4}));
    EXPECT_EQ(history.getNbUndoSteps(), 2);
    EXPECT_TRUE(history.redo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B}));
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selectedPoints(), (std::vector<int>{4}));
}

// Kept states renumber the parts of every item of the shape, not only the primary one's: undo
// brings back the points the user selected on a shape that was not primary, where they now are.
TEST_F(SeSelectionHistoryTest, KeptStatesFollowTheElementsOfShapesThatAreNotPrimary) {
    const Vo::Vector<int> first{1, 3};
    const Vo::Vector<int> second{2};
    select({A, B});
    selector->setShapeParts(controller.shape(B), &first, nullptr);
    select({C});
    ASSERT_FALSE(
        Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(B))->insertElement(0).isNull());
    selector->updateSelectionPointAdded(controller.weak(B), 0);
    ASSERT_TRUE(history.undo());
    selector->unselectShape(controller.shape(A));
    EXPECT_EQ(selectedPoints(), (std::vector<int>{2, 4}));

    // The current state follows too: the renumbering of a selection holding B with parts beside
    // another shape is no step of its own.
    select({A, B});
    selector->setShapeParts(controller.shape(B), &second, nullptr);
    const int steps = history.getNbUndoSteps();
    ASSERT_TRUE(Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(B))->removeElement(0));
    selector->updateSelectionPointDeleted(controller.weak(B), 0);
    EXPECT_EQ(history.getNbUndoSteps(), steps);
    ASSERT_TRUE(history.undo());
    ASSERT_TRUE(history.redo());
    selector->unselectShape(controller.shape(A));
    EXPECT_EQ(selectedPoints(), std::vector<int>{1});

    // The same after an undo that restores the whole list (a gone shape leaves it).
    select({C, A, B});
    selector->setShapeParts(controller.shape(B), &second, nullptr);
    select({D});
    controller.deleteInterfaceOnly(C);
    ASSERT_TRUE(history.undo());
    const int kept = history.getNbUndoSteps();
    ASSERT_FALSE(
        Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(B))->insertElement(0).isNull());
    selector->updateSelectionPointAdded(controller.weak(B), 0);
    EXPECT_EQ(history.getNbUndoSteps(), kept);
    selector->unselectShape(controller.shape(A));
    EXPECT_EQ(selectedPoints(), std::vector<int>{3});

    // And after the history was cleared, which numbers its renumberings on from where it was.
    select({A, B});
    selector->setShapeParts(controller.shape(B), &second, nullptr);
    history.clear();
    ASSERT_FALSE(
        Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(B))->insertElement(0).isNull());
    selector->updateSelectionPointAdded(controller.weak(B), 0);
    EXPECT_EQ(history.getNbUndoSteps(), 0);
}

// A refused change after an undo that left a gone shape out costs the history nothing, as it does
// otherwise: it used to be recorded with its put-back as two steps, dropping the redo step, and the
// next undo brought the refused state back and raised.
TEST_F(SeSelectionHistoryTest, ARefusedChangeAfterAnUndoLeavingAGoneShapeOutAddsNoStep) {
    select({B, A});
    controller.deleteInterfaceOnly(B);
    selector->resetSelection();
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), std::vector<int>{A});
    const std::pair<int, int> counts{history.getNbUndoSteps(), history.getNbRedoSteps()};
    EXPECT_THROW(selector->selectPoint(99), Vo::SeExMissingElement);
    EXPECT_EQ(std::make_pair(history.getNbUndoSteps(), history.getNbRedoSteps()), counts);
    selector->selectPoint(1); // the state still tells where the items are
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedPoints(), std::vector<int>{});
    EXPECT_EQ(selectedIndices(), std::vector<int>{A});

    // The same while the gone shape is still selected (its removal event not sent yet).
    select({C, A});
    const int idOfC = controller.shape(C)->getId();
    controller.deleteInterfaceOnly(C);
    const int steps = history.getNbUndoSteps();
    const Vo::RCShdPtr<Vo::SeShapeParts> missing(new Vo::SeShapeParts);
    missing->appendPoint(99);
    const Vo::SnSelection::Items alone{Vo::RCShdPtr<Vo::SnItem const>(
        new Vo::SeShapeItem(Vo::RCShdPtr<Vo::SnParts>(missing), controller.weak(A)))};
    EXPECT_THROW(selector->replaceAllItems(Vo::SnSelection::create(alone)), Vo::SeExMissingElement);
    EXPECT_EQ(history.getNbUndoSteps(), steps);
    EXPECT_EQ(history.getNbRedoSteps(), 0);

    // A removal event that empties the selection of what is gone is a step, as any removal, and
    // so is a whole list that leaves a gone shape out.
    controller.sendRemoval(idOfC);
    EXPECT_EQ(selectedIndices(), std::vector<int>{A});
    EXPECT_EQ(history.getNbUndoSteps(), steps + 1);
    select({E, D, A});
    controller.deleteInterfaceOnly(D);
    hostSelects({objectItem(E), objectItem(A)});
    EXPECT_EQ(selectedIndices(), (std::vector<int>{E, A}));
    EXPECT_EQ(history.getNbUndoSteps(), steps + 3);
}

// The same with the history told of changes before the updater, which then refuses the change
// after the history recorded it: the recorded step goes again, and only that one.
TEST_F(SeSelectionHistoryTest, ARefusedChangeAfterAnUndoAddsNoStepWhateverTheAttachOrder) {
    updater = Vo::RCShdPtr<Vo::SeSelectorUpdater>();
    updater = makeUpdater(controller);
    select({B, A});
    controller.deleteInterfaceOnly(B);
    selector->resetSelection();
    ASSERT_TRUE(history.undo());
    const std::pair<int, int> counts{history.getNbUndoSteps(), history.getNbRedoSteps()};
    EXPECT_THROW(selector->selectPoint(99), Vo::SeExMissingElement);
    EXPECT_EQ(std::make_pair(history.getNbUndoSteps(), history.getNbRedoSteps()), counts);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), std::vector<int>{});
}

// The same with points selected: a renumbering after the refused change, which the history follows
// past the gone shape the undo left out, is no step either.
TEST_F(SeSelectionHistoryTest, ARenumberingAfterARefusedChangeLeavingAGoneShapeOutAddsNoStep) {
    select({B});
    selector->setPrimarySelectedShape(controller.shape(A), 1);
    selector->addSelectedShape(controller.shape(B));
    controller.deleteInterfaceOnly(B);
    selector->resetSelection();
    ASSERT_TRUE(history.undo());
    ASSERT_EQ(selectedIndices(), std::vector<int>{A});
    const std::pair<int, int> counts{history.getNbUndoSteps(), history.getNbRedoSteps()};
    EXPECT_THROW(selector->selectPoint(99), Vo::SeExMissingElement);
    ASSERT_FALSE(
        Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(A))->insertElement(0).isNull());
    selector->updateSelectionPointAdded(controller.weak(A), 0);
    EXPECT_EQ(selectedPoints(), std::vector<int>{2});
    EXPECT_EQ(std::make_pair(history.getNbUndoSteps(), history.getNbRedoSteps()), counts);
}

// A batch refused at its commit after the application renumbered points inside it leaves the
// history as before the batch, renumbered: the put-back (the start, which the replayed report then
// renumbers) used to be recorded as two more steps, one naming other points than the user's.
TEST_F(SeSelectionHistoryTest, ARefusedBatchAfterARenumberingInsideItAddsNoStep) {
    selector->setPrimarySelectedShape(controller.shape(B), 1);
    const int steps = history.getNbUndoSteps();
    const Vo::Vector<int> missing{nbPoints + 1};
    EXPECT_THROW(
        {
            Vo::SeSelectionBatch batch(selector);
            selector->setShapeParts(controller.shape(B), &missing, nullptr);
            ASSERT_FALSE(Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(B))
                             ->insertElement(0)
                             .isNull());
            selector->updateSelectionPointAdded(controller.weak(B), 0);
            batch.commit();
        },
        Vo::SeExMissingElement);
    EXPECT_EQ(selectedPoints(), std::vector<int>{2});
    EXPECT_EQ(history.getNbUndoSteps(), steps);
    EXPECT_EQ(history.getNbRedoSteps(), 0);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), std::vector<int>{});
}

// The application's renumbering of a kept list of indices, one report at a time: what the history
// must end with however it gets there.
void renumberModel(std::vector<int> &indices, int at, bool added) {
    if (!added) {
        indices.erase(std::remove(indices.begin(), indices.end(), at), indices.end());
    }
    for (int &index : indices) {
        index += index >= at ? (added ? 1 : (index > at ? -1 : 0)) : 0;
    }
}

// Many renumberings inside a batch (the application deleting or inserting points and handles one
// at a time) reach the kept states when the batch ends, all at once: undo then selects the same
// points and handles, where they now are, as if each report had been followed on its own. Reports
// on another shape pass the states by.
TEST_F(SeSelectionHistoryTest, ManyRenumberingsInABatchLeaveKeptStatesAsOneByOne) {
    const int F = controller.addShape("F", 400, 400);
    std::mt19937 random(7);
    const auto someOf = [&random](int count) {
        std::vector<int> all(200);
        for (int i = 0; i < 200; ++i) {
            all[static_cast<std::size_t>(i)] = i;
        }
        std::shuffle(all.begin(), all.end(), random);
        return std::vector<int>(all.begin(), all.begin() + count);
    };
    for (int round = 0; round < 4; ++round) {
        std::vector<int> points = someOf(120);
        std::vector<int> handles = someOf(60);
        select({F});
        selector->selectPoints(Vo::Vector<int>(points.begin(), points.end()));
        selector->selectHandles(Vo::Vector<int>(handles.begin(), handles.end()));
        std::vector<int> pointsOnly = points;
        {
            SeSelectionBatch batch(selector);
            for (int run = 0; run < 12; ++run) {
                const bool onPoints = random() % 2 == 0;
                const bool added = random() % 2 == 0;
                const int length = 1 + static_cast<int>(random() % 25);
                for (int i = 0; i < length; ++i) {
                    const int at = static_cast<int>(random() % 230);
                    if (onPoints) {
                        selector->updateSelectionPointAdded(controller.weak(F), at);
                        renumberModel(points, at, true);
                        renumberModel(pointsOnly, at, true);
                        if (!added) {
                            selector->updateSelectionPointDeleted(controller.weak(F), at);
                            renumberModel(points, at, false);
                            renumberModel(pointsOnly, at, false);
                        }
                    } else {
                        (added ? selector->updateSelectionHandleAdded(controller.weak(F), at)
                               : selector->updateSelectionHandleDeleted(controller.weak(F), at));
                        renumberModel(handles, at, added);
                    }
                    selector->updateSelectionPointDeleted(controller.weak(A), at);
                }
            }
            selector->selectPoints(Vo::Vector<int>{0});
        }
        ASSERT_TRUE(history.undo());
        EXPECT_EQ(selectedPoints(), points);
        EXPECT_EQ(selectedHandles(), handles);
        ASSERT_TRUE(history.undo());
        EXPECT_EQ(selectedPoints(), pointsOnly);
        EXPECT_TRUE(selectedHandles().empty());
        ASSERT_TRUE(history.redo());
        ASSERT_TRUE(history.redo());
        EXPECT_EQ(selectedPoints(), (std::vector<int>{0}));
    }
}

// Indices the insertions push past INT_MAX wrap round to INT_MIN, one report at a time; a long run
// of such reports inside a batch must leave the kept state so too. (A selector of its own, with no
// updater: the application has no points there.)
TEST_F(SeSelectionHistoryTest, ARunOfInsertionsPastTheLargestIndexWrapsAsOneByOne) {
    const Vo::RCShdPtr<Vo::SeShapeSelector> plain(new Vo::SeShapeSelector);
    SeSelectionHistory kept(plain);
    plain->setSelectedShapes(shapes({A}));
    std::vector<int> points{INT_MAX - 1, 5, INT_MAX - 30, INT_MAX};
    plain->selectPoints(Vo::Vector<int>(points.begin(), points.end()));
    {
        SeSelectionBatch batch(plain);
        for (int i = 0; i < 40; ++i) {
            plain->updateSelectionPointAdded(controller.weak(A), 3);
            for (int &index : points) {
                index = index >= 3 ? static_cast<int>(static_cast<unsigned>(index) + 1U) : index;
            }
        }
        plain->selectPoints(Vo::Vector<int>{0});
    }
    // The indices that met at INT_MIN are one index: the first in the order stays.
    std::vector<int> distinct;
    for (int index : points) {
        if (std::find(distinct.begin(), distinct.end(), index) == distinct.end()) {
            distinct.push_back(index);
        }
    }
    ASSERT_EQ(distinct, (std::vector<int>{INT_MIN, 45}));
    ASSERT_TRUE(kept.undo());
    Vo::Vector<int> restored;
    plain->getSelectedPoints(restored);
    EXPECT_EQ(std::vector<int>(restored.begin(), restored.end()), distinct);
}

// A fault in the updater during a restore: both selections stay as they were, no callback runs,
// and the history still stands where it did.
TEST_F(SeSelectionHistoryTest, AFaultDuringARestoreChangesNothing) {
    select({A});
    select({B});
    settle();
    hostWrites->raiseAtNextWrite();
    EXPECT_THROW(history.undo(), Vo::RCExNullPtr);
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B}));
    EXPECT_EQ(hostItems(), (std::vector<std::string>{editorNode(), object(B)}));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(history.getNbUndoSteps(), 2);
    EXPECT_EQ(history.getNbRedoSteps(), 0);
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
}

// The history and the selector may go in either order; a detached history does nothing.
TEST_F(SeSelectionHistoryTest, HistoryAndSelectorMayGoInEitherOrder) {
    Vo::RCShdPtr<Vo::SeShapeSelector> own(new Vo::SeShapeSelector);
    auto first = std::make_unique<SeSelectionHistory>(own);
    SeSelectionHistory second(own, 5);
    own->setSelectedShapes(shapes({A}));
    first.reset();
    own->setSelectedShapes(shapes({B}));
    EXPECT_EQ(second.getNbUndoSteps(), 2);
    own = Vo::RCShdPtr<Vo::SeShapeSelector>();
    EXPECT_FALSE(second.isAttached());
    EXPECT_FALSE(second.undo());
    EXPECT_EQ(second.getNbUndoSteps(), 0);

    history.detach();
    select({C});
    EXPECT_FALSE(history.undo());
    history.attach(selector);
    select({D});
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{C}));
    EXPECT_THROW(history.attach(Vo::RCShdPtr<Vo::SeShapeSelector>()), Vo::RCExNullPtr);
    EXPECT_TRUE(history.isAttached());
}

} // namespace

namespace {

// An application item that stands for a graph object and raises from its comparison while armed.
class RaisingObjectItem : public Vo::PiGraphObjectSnItemConst {
public:
    RaisingObjectItem(const Vo::RCShdPtr<Vo::PiGraphObject const> &object, const bool &armed)
        : Vo::PiGraphObjectSnItemConst(object), armed(armed) {}
    RaisingObjectItem *clone() const override { return new RaisingObjectItem(*this); }
    bool isEqualImp(const Vo::SnItem &other) const override {
        if (armed) {
            throw std::runtime_error("item comparison failed");
        }
        return Vo::PiGraphObjectSnItemConst::isEqualImp(other);
    }

private:
    RaisingObjectItem(const RaisingObjectItem &other) = default;
    const bool &armed;
};

// A change whose announcement raises still changed the selection, so it is a step, wherever the
// history stands among the selection's observers. Attached after the updater, the history used to
// miss such a change: the next undo skipped a state.
TEST_F(SeSelectionHistoryTest, AChangeAnnouncedWithAnErrorIsAStepWhateverTheAttachOrder) {
    bool raise = false;
    Vo::CbFunction<Vo::CbEmptyType> raising([&raise] {
        if (raise) {
            throw std::runtime_error("handler failed");
        }
    });
    selector->addSelectionChangedCallback(&raising);
    const std::vector<std::pair<std::string, std::function<void()>>> changes = {
        {"handler",
         [&] {
             select({B, C});
         }},
        {"batch commit",
         [&] {
             SeSelectionBatch batch(selector);
             select({C});
             select({B, C});
             batch.commit();
         }},
        {"item comparison",
         [&] {
             hostSelects({Vo::RCShdPtr<Vo::SnItem const>(
                 new RaisingObjectItem(controller.shape(D)->getGraphObject(), raise))});
             select({A});
             raise = true;
             select({B, C});
         }},
    };
    for (const bool historyFirst : {false, true}) {
        if (historyFirst) { // the updater again, now after the history
            updater = Vo::RCShdPtr<Vo::SeSelectorUpdater>();
            updater = makeUpdater(controller);
        }
        for (const auto &[name, change] : changes) {
            SCOPED_TRACE(name + (historyFirst ? ", history first" : ", history last"));
            raise = false;
            select({A});
            history.clear();
            raise = name != "item comparison";
            EXPECT_ANY_THROW(change());
            raise = false;
            EXPECT_EQ(selectedIndices(), (std::vector<int>{B, C}));
            EXPECT_EQ(history.getNbUndoSteps(), name == "item comparison" ? 3 : 1);
            ASSERT_TRUE(history.undo());
            EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
            EXPECT_TRUE(history.redo());
            EXPECT_EQ(selectedIndices(), (std::vector<int>{B, C}));
        }
    }
    selector->removeSelectionChangedCallback(&raising);
}

// A handler of an undo's change that undoes again would restore over a step still being put back:
// refused, and the restore, announced, stands.
TEST_F(SeSelectionHistoryTest, UndoFromACallbackOfAnUndoIsRefused) {
    bool armed = false;
    Vo::CbFunction<Vo::CbEmptyType> undoing([&] {
        if (armed) {
            armed = false;
            history.undo();
        }
    });
    selector->addSelectionChangedCallback(&undoing);
    for (const bool redo : {false, true}) {
        SCOPED_TRACE(redo ? "redo" : "undo");
        history.clear();
        select({A});
        select({A, B});
        if (redo) {
            ASSERT_TRUE(history.undo());
        }
        armed = true;
        EXPECT_THROW(redo ? history.redo() : history.undo(), Vo::RCExInvalidCall);
        const std::vector<int> restored = redo ? std::vector<int>{A, B} : std::vector<int>{A};
        EXPECT_EQ(selectedIndices(), restored);
        EXPECT_EQ(hostItems().size(), restored.size() + 1);
        ASSERT_TRUE(history.undo());
        EXPECT_EQ(selectedIndices(), redo ? std::vector<int>{A} : std::vector<int>{});
    }
    selector->removeSelectionChangedCallback(&undoing);
}

} // namespace

namespace {

// A commit that fails is put back by the selector, and the history forgets the step it recorded
// for it: neither a batch whose commit the application's selection refuses, nor a point without
// element (put back after SeExMissingElement), leaves a step. Whichever observer of the editor's
// selection comes first, the history or the updater.
TEST_F(SeSelectionHistoryTest, AFailedCommitLeavesNoStepAndClearLeavesNone) {
    const std::vector<std::pair<std::string, std::function<void()>>> failures = {
        {"batch commit",
         [&] {
             SeSelectionBatch batch(selector);
             select({C});
             hostWrites->raiseAtNextWrite();
             batch.commit();
         }},
        {"missing element", [&] { selector->selectPoint(nbPoints + 3); }},
    };
    for (const bool historyFirst : {false, true}) {
        if (historyFirst) {
            updater = Vo::RCShdPtr<Vo::SeSelectorUpdater>();
            updater = makeUpdater(controller);
        }
        for (const auto &[name, fail] : failures) {
            SCOPED_TRACE(name + (historyFirst ? ", history first" : ", history last"));
            select({B});
            history.clear();
            history.setDepth(2); // full: recording the refused change used to drop the oldest step
            select({D});
            select({A}); // multi-valued points: a point without element raises
            EXPECT_ANY_THROW(fail());
            EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
            EXPECT_EQ(history.getNbUndoSteps(), 2);
            EXPECT_EQ(history.getNbRedoSteps(), 0);
            EXPECT_TRUE(history.undo());
            EXPECT_EQ(selectedIndices(), (std::vector<int>{D}));
            EXPECT_TRUE(history.undo());
            EXPECT_EQ(selectedIndices(), (std::vector<int>{B}));
            EXPECT_FALSE(history.undo());
            history.setDepth(SeSelectionHistory::defaultDepth);

            // Nor does it cost the redo step (recording it used to drop the redo steps).
            history.clear();
            select({A});
            select({D});
            ASSERT_TRUE(history.undo());
            EXPECT_ANY_THROW(fail());
            EXPECT_EQ(history.getNbRedoSteps(), 1);
            EXPECT_TRUE(history.redo());
            EXPECT_EQ(selectedIndices(), (std::vector<int>{D}));
        }
    }

    // clear() forgets the undo and the redo steps alike; the next change is the first step.
    select({A});
    select({C});
    ASSERT_TRUE(history.undo());
    history.clear();
    EXPECT_EQ(history.getNbUndoSteps(), 0);
    EXPECT_EQ(history.getNbRedoSteps(), 0);
    EXPECT_FALSE(history.undo());
    EXPECT_FALSE(history.redo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
    select({E});
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
    EXPECT_FALSE(history.undo());
}

// A callback handler that raises during a restore: the restore was announced, so it stands and
// counts as done; the error reaches the caller, and the next restore goes on from there.
TEST_F(SeSelectionHistoryTest, ARestoreAnnouncedWithAnErrorStandsAndTheNextGoesOn) {
    bool raise = false;
    Vo::CbFunction<Vo::CbEmptyType> raising([&raise] {
        if (raise) {
            throw std::runtime_error("handler failed");
        }
    });
    selector->addShapeSelectionChangedCallback(&raising);
    select({A});
    select({B});
    select({C});
    settle();
    raise = true;
    EXPECT_THROW(history.undo(), std::runtime_error);
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B}));
    EXPECT_EQ(hostItems(), (std::vector<std::string>{editorNode(), object(B)}));
    EXPECT_EQ(log, (std::vector<std::string>{"primary", "shapes", "selection"}));
    EXPECT_EQ(history.getNbUndoSteps(), 2);
    EXPECT_EQ(history.getNbRedoSteps(), 1);
    EXPECT_THROW(history.redo(), std::runtime_error);
    EXPECT_EQ(selectedIndices(), (std::vector<int>{C}));
    EXPECT_EQ(history.getNbUndoSteps(), 3);
    EXPECT_EQ(history.getNbRedoSteps(), 0);
    EXPECT_THROW(history.undo(), std::runtime_error);
    raise = false;
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
    EXPECT_EQ(history.getNbUndoSteps(), 1);
    EXPECT_EQ(history.getNbRedoSteps(), 2);
    selector->removeShapeSelectionChangedCallback(&raising);
}

// The redo steps are renumbered too: undo, then the application inserts or removes a point, then
// redo selects the point the step selected, where it now is.
TEST_F(SeSelectionHistoryTest, KeptRedoStepsFollowInsertedAndRemovedPoints) {
    select({A});
    selector->selectPoints(Vo::Vector<int>{1, 4});
    selector->selectPoints(Vo::Vector<int>{3});
    ASSERT_TRUE(history.undo());
    selector->updateSelectionPointAdded(controller.weak(A), 2);
    EXPECT_EQ(selectedPoints(), (std::vector<int>{1, 5}));
    EXPECT_EQ(history.getNbRedoSteps(), 1);
    EXPECT_TRUE(history.redo());
    EXPECT_EQ(selectedPoints(), (std::vector<int>{4}));

    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selectedPoints(), (std::vector<int>{1, 5}));
    selector->updateSelectionPointDeleted(controller.weak(A), 1);
    EXPECT_EQ(selectedPoints(), (std::vector<int>{4}));
    EXPECT_TRUE(history.redo());
    EXPECT_EQ(selectedPoints(), (std::vector<int>{3}));
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(selectedPoints(), (std::vector<int>{4}));
}

// A step of one item goes back and forth as the one-item splice it was, in the editor's selection
// and, mirrored, in the application's; a kept step follows the renumberings made after it when it
// is used. A step that would bring back a gone shape takes the full restore, which leaves it out.
TEST_F(SeSelectionHistoryTest, OneItemStepsGoBackAndForthAsOneItemSplices) {
    VoTest::TestSpliceLog editorChanges(*selector->getSelection());
    VoTest::TestSpliceLog hostChanges(*host);
    select({A, B});
    selector->addSelectedShape(controller.shape(C));
    editorChanges.take();
    hostChanges.take();
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, B}));
    EXPECT_EQ(editorChanges.take(), std::vector<std::string>{"-1 +0 at 2"});
    EXPECT_EQ(hostChanges.take(), std::vector<std::string>{"-1 +0 at 3"});
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, B, C}));
    EXPECT_EQ(editorChanges.take(), std::vector<std::string>{"-0 +1 at 2"});

    select({E});
    selector->addSelectedPoint(1);
    selector->addSelectedPoint(4);
    hostChanges.take();
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(hostChanges.take(), std::vector<std::string>{"-2 +0 at 4"});
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(hostChanges.take(), std::vector<std::string>{"-0 +2 at 4"});
    ASSERT_TRUE(Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(E))->removeElement(0));
    selector->updateSelectionPointDeleted(controller.weak(E), 0); // no step: renumbered
    EXPECT_EQ(selectedPoints(), (std::vector<int>{0, 3}));
    ASSERT_TRUE(history.undo()); // the kept steps follow the renumbering when used
    EXPECT_EQ(selectedPoints(), std::vector<int>{0});
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), std::vector<int>{E});
    EXPECT_EQ(selectedPoints(), std::vector<int>{});
    ASSERT_TRUE(history.redo());
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(selectedPoints(), (std::vector<int>{0, 3}));

    select({A, B, C});
    selector->unselectShape(controller.shape(B));
    controller.deleteInterfaceOnly(B);
    editorChanges.take();
    // B is gone: its step would change nothing and is skipped; the one before it is restored in
    // full.
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), std::vector<int>{E});
    EXPECT_EQ(editorChanges.take(), std::vector<std::string>{"whole"});
}

// One-index changes hand the parts' sets from item to item instead of copying them. Every state
// must come back on undo and redo, in the editor's selection and in the application's; every old
// item must still read as its own state; a callback must read the items before and after a change
// each with its own indices.
TEST_F(SeSelectionHistoryTest, OneIndexStepsRestoreEveryStateAndOldItemsKeepTheirIndices) {
    struct State {
        std::vector<int> points;
        std::vector<int> handles;
        std::vector<std::string> host;
        Vo::RCShdPtr<Vo::SnItem const> item;
    };
    using Indices = std::vector<int>;
    const auto pointsOf = [](const Vo::RCShdPtr<Vo::SnItem const> &item) {
        if (!item->hasParts()) {
            return Indices();
        }
        const Vo::Vector<int> &points =
            Vo::rcDynamicCast<Vo::SeShapeParts const>(item->getParts())->getPoints();
        return Indices(points.begin(), points.end());
    };
    std::vector<std::pair<Indices, Indices>> heard;
    Vo::CbFunction<Vo::CbEmptyType> reading([&] {
        const Vo::SeShapeSelector::PartsChange &change = selector->getLastPartsChange();
        if (!change.from.isNull() && change.from->hasParts()) {
            heard.emplace_back(pointsOf(change.from), pointsOf(change.to));
        }
    });
    selector->addSelectionChangedCallback(&reading);
    select({E});
    std::vector<State> states;
    const auto record = [&] {
        states.push_back({selectedPoints(), selectedHandles(), hostItems(),
                          selector->getSelection()->getPrimaryItem()});
    };
    record();
    const std::vector<std::function<void()>> changes{
        [&] { selector->addSelectedPoint(1); },  [&] { selector->addSelectedPoint(4); },
        [&] { selector->addSelectedHandle(2); }, [&] { selector->addSelectedPoint(0); },
        [&] { selector->unselectPoint(4); },     [&] { selector->addSelectedHandle(3); },
        [&] { selector->unselectHandle(2); },    [&] { selector->unselectPoint(0); },
        [&] { selector->addSelectedPoint(5); }};
    for (const std::function<void()> &change : changes) {
        heard.clear();
        change();
        record();
        const State &before = states[states.size() - 2];
        if (before.item->hasParts() && before.points != states.back().points) {
            ASSERT_EQ(heard.size(), 1U);
            EXPECT_EQ(heard.front().first, before.points);
            EXPECT_EQ(heard.front().second, states.back().points);
        }
    }
    ASSERT_EQ(states.back().points, (Indices{1, 5}));
    ASSERT_EQ(states.back().handles, (Indices{3}));
    for (auto state = states.rbegin(); state != states.rend(); ++state) {
        EXPECT_EQ(pointsOf(state->item), state->points) << "an old item, read newest first";
    }
    for (int step = static_cast<int>(states.size()) - 2; step >= 0; --step) {
        ASSERT_TRUE(history.undo());
        EXPECT_EQ(selectedPoints(), states[step].points) << "undo to state " << step;
        EXPECT_EQ(selectedHandles(), states[step].handles) << "undo to state " << step;
        EXPECT_EQ(hostItems(), states[step].host) << "undo to state " << step;
    }
    for (std::size_t step = 1; step < states.size(); ++step) {
        ASSERT_TRUE(history.redo());
        EXPECT_EQ(selectedPoints(), states[step].points) << "redo to state " << step;
        EXPECT_EQ(selectedHandles(), states[step].handles) << "redo to state " << step;
        EXPECT_EQ(hostItems(), states[step].host) << "redo to state " << step;
    }
    for (const State &state : states) {
        EXPECT_EQ(pointsOf(state.item), state.points) << "an old item, read oldest first";
    }
    selector->removeSelectionChangedCallback(&reading);
}

// The history takes the selector's renumbered item instead of renumbering its own copy of the
// state; a renumbering that changes nothing sends no change to take, and the state must then still
// follow it. Either way every kept state comes back renumbered.
TEST_F(SeSelectionHistoryTest, RenumberingsReachTheStateWhetherOrNotTheyChangeTheSelection) {
    using Indices = std::vector<int>;
    const auto removeElement = [this](int element) {
        ASSERT_TRUE(
            Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(A))->removeElement(element));
        selector->updateSelectionPointDeleted(controller.weak(A), element);
    };
    select({A});
    selector->addSelectedPoint(1);
    selector->addSelectedPoint(2);
    removeElement(5); // above every selected point: nothing changes
    EXPECT_EQ(selectedPoints(), (Indices{1, 2}));
    selector->addSelectedPoint(3);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedPoints(), (Indices{1, 2}));
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedPoints(), (Indices{1}));
    ASSERT_TRUE(history.redo());
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(selectedPoints(), (Indices{1, 2, 3}));

    removeElement(0); // below every selected point: all of them move
    EXPECT_EQ(selectedPoints(), (Indices{0, 1, 2}));
    removeElement(1); // a selected one leaves
    EXPECT_EQ(selectedPoints(), (Indices{0, 1}));
    const std::vector<std::string> mirrored = hostItems();
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedPoints(), (Indices{0}));
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedPoints(), (Indices{}));
    ASSERT_TRUE(history.redo());
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(selectedPoints(), (Indices{0, 1}));
    EXPECT_EQ(hostItems(), mirrored);
    selector->unselectPoint(0);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedPoints(), (Indices{0, 1}));
}

// A renumbering that changes no selected index sends no change, so the history's state follows it
// when it next travels. A state left behind would take the renumbering again at the next change
// and name another point once a restore rebuilds the selection from it (past a gone shape here).
TEST_F(SeSelectionHistoryTest, AStateBehindARenumberingCatchesUpBeforeItTravels) {
    using Indices = std::vector<int>;
    select({A});
    selector->addSelectedPoint(1);
    selector->addSelectedPoint(4);
    selector->unselectPoint(4);
    ASSERT_FALSE(
        Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(A))->insertElement(3).isNull());
    selector->updateSelectionPointAdded(controller.weak(A), 3); // above point 1: nothing changes
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedPoints(), (Indices{1, 5}));
    selector->addSelectedShape(controller.shape(C));
    controller.deleteShape(C);
    ASSERT_EQ(selectedIndices(), std::vector<int>{A});
    ASSERT_TRUE(history.undo()); // past the gone shape: rebuilt from the kept state
    EXPECT_EQ(selectedIndices(), std::vector<int>{A});
    EXPECT_EQ(selectedPoints(), (Indices{1, 5}));
}

// The log of renumberings forgets, once it has doubled, what every kept step and the state follow
// already: after hundreds of insertions the steps still come back renumbered by all of them.
TEST_F(SeSelectionHistoryTest, AnOldRenumberingIsForgottenOnlyOnceEveryStepFollowsIt) {
    using Indices = std::vector<int>;
    const auto insertFirst = [this] {
        ASSERT_FALSE(
            Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(A))->insertElement(0).isNull());
        selector->updateSelectionPointAdded(controller.weak(A), 0);
    };
    select({A});
    selector->addSelectedPoint(2);
    insertFirst();
    ASSERT_TRUE(history.undo() && history.undo()); // the steps follow the first insertion now
    ASSERT_TRUE(history.redo() && history.redo());
    constexpr int inserted = 300;
    for (int more = 1; more < inserted; ++more) {
        insertFirst();
    }
    EXPECT_EQ(selectedPoints(), Indices{2 + inserted});
    ASSERT_TRUE(history.undo());
    EXPECT_TRUE(selectedPoints().empty());
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(selectedPoints(), Indices{2 + inserted});
}

// After an undo that left a deleted shape out, the kept state still holds it; an abandoned batch
// whose working selection took the application's shapes is then put back. That put-back is no
// failed step of the history's: it used to take the last step for one and drop it.
TEST_F(SeSelectionHistoryTest, AnAbandonedBatchAfterAnUndoPastAGoneShapeKeepsEveryStep) {
    select({A});
    hostSelects({objectItem(B)});
    controller.deleteShape(A);
    ASSERT_TRUE(history.undo()); // back to A, which is gone: nothing selected
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
    ASSERT_EQ(history.getNbUndoSteps(), 1);
    {
        SeSelectionBatch batch(selector);
        hostSelects({objectItem(C)});
        EXPECT_EQ(selectedIndices(), std::vector<int>{C});
        batch.cancel();
    }
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
    EXPECT_EQ(history.getNbUndoSteps(), 1);
    EXPECT_EQ(history.getNbRedoSteps(), 1);
    EXPECT_TRUE(history.redo());
    EXPECT_EQ(selectedIndices(), std::vector<int>{B});
}

// A shape that ends after an undo or redo restored it is part of that state: a change leaving it
// out is a step (it used to be taken for a gone shape the restore had left out, and followed).
// A batch abandoned after inserting and removing a point puts back items equal to the kept ones:
// that is no change, and the step before it stays (it used to be forgotten as a failed commit's).
TEST_F(SeSelectionHistoryTest, ChangesAfterARestoreAndAnAbandonedBatchKeepTheirSteps) {
    select({B, A});
    selector->resetSelection();
    controller.deleteShape(E); // an unrelated end: the restores below are whole ones
    ASSERT_TRUE(history.undo());
    ASSERT_TRUE(history.redo());
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B, A}));
    controller.deleteInterfaceOnly(B);
    hostSelects({objectItem(A)});
    EXPECT_EQ(selectedIndices(), std::vector<int>{A});
    EXPECT_EQ(history.getNbUndoSteps(), 2);
    EXPECT_EQ(history.getNbRedoSteps(), 0);

    selector->setPrimarySelectedShape(controller.shape(C), 3);
    const int steps = history.getNbUndoSteps();
    {
        SeSelectionBatch batch(selector);
        hostSelects({objectItem(D)});
        const auto points = Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(C));
        ASSERT_FALSE(points->insertElement(1).isNull());
        selector->updateSelectionPointAdded(controller.weak(C), 1);
        ASSERT_TRUE(points->removeElement(1));
        selector->updateSelectionPointDeleted(controller.weak(C), 1);
        batch.cancel();
    }
    EXPECT_EQ(selectedIndices(), std::vector<int>{C});
    EXPECT_EQ(selectedPoints(), std::vector<int>{3});
    EXPECT_EQ(history.getNbUndoSteps(), steps);
    EXPECT_EQ(history.getNbRedoSteps(), 0);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selectedIndices(), std::vector<int>{A});
}

// A callback run by an undo may change the selection again: that change is a step of its own,
// also when the undo went as a splice.
TEST_F(SeSelectionHistoryTest, ACallbackChangingTheSelectionDuringAnUndoMakesAStep) {
    for (const bool whole : {false, true}) {
        select({A, B});
        selector->addSelectedShape(controller.shape(C));
        if (whole) {
            controller.deleteShape(E); // an unrelated end: the undo restores the whole list
        }
        bool armed = true;
        Vo::CbFunction<Vo::CbEmptyType> addsD([&] {
            if (std::exchange(armed, false)) {
                selector->addSelectedShape(controller.shape(D));
            }
        });
        selector->addSelectionChangedCallback(&addsD);
        const int steps = history.getNbUndoSteps();
        ASSERT_TRUE(history.undo());
        selector->removeSelectionChangedCallback(&addsD);
        EXPECT_EQ(selectedIndices(), (std::vector<int>{A, B, D})) << whole;
        EXPECT_EQ(history.getNbUndoSteps(), steps) << whole;
        EXPECT_EQ(history.getNbRedoSteps(), 0) << whole;
        ASSERT_TRUE(history.undo());
        EXPECT_EQ(selectedIndices(), (std::vector<int>{A, B})) << whole;
    }
}

} // namespace

namespace {

// A selection longer than the history's chunks of its current state: shapes leaving from anywhere,
// coming in at the end, windows reordered by a whole list, and shapes made primary; every state
// comes back on undo and redo, in the editor's selection and in the application's, and a change
// after undoing half of them leaves the earlier states as they were.
TEST_F(SeSelectionHistoryTest, StatesOfALongSelectionComeBackAfterChangesAnywhere) {
    static constexpr int nbShapes = 1400;
    Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> all;
    for (int i = 0; i < nbShapes; ++i) {
        all.push_back(controller.shape(controller.addShape("S" + std::to_string(i), 1)));
    }
    std::vector<int> model(nbShapes - 100);
    std::iota(model.begin(), model.end(), 0);
    const auto selectModel = [&] {
        Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> shapes;
        for (int i : model) {
            shapes.push_back(all[static_cast<std::size_t>(i)]);
        }
        selector->setSelectedShapes(shapes);
    };
    selectModel();
    history.clear();
    struct State {
        Vo::RCShdPtr<Vo::SnSelection> editor;
        Vo::RCShdPtr<Vo::SnSelection> application;
    };
    const auto now = [&] {
        return State{Vo::RCShdPtr<Vo::SnSelection>(selector->getSelection()->clone()),
                     Vo::RCShdPtr<Vo::SnSelection>(host->clone())};
    };
    std::vector<State> states{now()};
    std::mt19937 random(5);
    const auto anyOf = [&random](std::size_t size) {
        return std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
    };
    for (int step = 0; step < 70; ++step) {
        const std::size_t place = anyOf(model.size() - 8);
        if (step % 5 < 3) {
            selector->unselectShape(all[static_cast<std::size_t>(model[place])]);
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(place));
        } else if (step % 5 == 3) {
            int shape = static_cast<int>(anyOf(nbShapes));
            while (std::find(model.begin(), model.end(), shape) != model.end()) {
                shape = (shape + 1) % nbShapes;
            }
            selector->addSelectedShape(all[static_cast<std::size_t>(shape)]);
            model.push_back(shape);
        } else if (step % 10 == 4) {
            std::reverse(model.begin() + static_cast<std::ptrdiff_t>(place),
                         model.begin() + static_cast<std::ptrdiff_t>(place) + 5);
            selectModel();
        } else { // a shape made primary
            std::rotate(model.begin(), model.begin() + static_cast<std::ptrdiff_t>(place),
                        model.begin() + static_cast<std::ptrdiff_t>(place) + 1);
            selectModel();
        }
        ASSERT_EQ(selector->getNbSelectedShape(), static_cast<int>(model.size()));
        states.push_back(now());
    }
    ASSERT_EQ(history.getNbUndoSteps(), 70);
    const auto expectState = [&](std::size_t at) {
        ASSERT_TRUE(selector->getSelection()->isEqual(states[at].editor)) << "state " << at;
        ASSERT_TRUE(host->isEqual(states[at].application)) << "state " << at;
    };
    for (std::size_t at = states.size() - 1; at-- > 0;) {
        ASSERT_TRUE(history.undo());
        expectState(at);
    }
    EXPECT_FALSE(history.undo());
    for (std::size_t at = 1; at < states.size(); ++at) {
        ASSERT_TRUE(history.redo());
        expectState(at);
    }
    for (int i = 0; i < 35; ++i) {
        ASSERT_TRUE(history.undo());
    }
    Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> selected;
    selector->getSelectedShapes(selected);
    selector->unselectShape(selected[700]);
    EXPECT_EQ(history.getNbRedoSteps(), 0);
    ASSERT_TRUE(history.undo());
    expectState(35);
    for (std::size_t at = 35; at-- > 0;) {
        ASSERT_TRUE(history.undo());
        expectState(at);
    }
}

} // namespace

namespace {

// The steps a change drops (the oldest beyond the depth) are kept until the next change stands,
// then their items are let go over the changes that follow, not held on.
TEST_F(SeSelectionHistoryTest, DroppedStepsLetGoOfTheirItems) {
    history.setDepth(1);
    select({D});
    const Vo::RCShdPtr<Vo::SnItem const> item = selector->getSelection()->getPrimaryItem();
    select({E}); // drops the step that brought D
    select({A}); // drops the step from D to E
    const int held = item->getRefCount();
    EXPECT_GT(held, 1) << "the last step dropped is kept until the next change stands";
    select({B});
    selector->addSelectedShape(controller.shape(C));
    EXPECT_EQ(item->getRefCount(), 1) << "only this test holds D's item";
    EXPECT_EQ(history.getNbUndoSteps(), 1);
}

// A shape whose editing side went after the last step never comes back by the one-item way either:
// the undo of a step that did not hold it still leaves it out. Detaching lets go of every item,
// also of the steps a change dropped.
TEST_F(SeSelectionHistoryTest, AGoneShapeLeavesOnUndoAndDetachingLetsGoOfEveryItem) {
    select({A, B});
    selector->addSelectedShape(controller.shape(C));
    controller.deleteInterfaceOnly(B);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(selector->getNbSelectedShape(), 1);
    EXPECT_EQ(selectedIndices(), std::vector<int>{A});

    select({D});
    const Vo::RCShdPtr<Vo::SnItem const> item = selector->getSelection()->getPrimaryItem();
    select({E});
    ASSERT_TRUE(history.undo());
    ASSERT_TRUE(history.undo());
    select({C}); // drops the redo steps, which hold D's item
    const int held = item->getRefCount();
    history.detach();
    EXPECT_LT(item->getRefCount(), held);
    EXPECT_EQ(item->getRefCount(), 1) << "only this test holds D's item";
}

} // namespace
