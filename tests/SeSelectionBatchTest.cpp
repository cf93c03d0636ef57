#include "SeSelectionBatch.h"
#include "SeSelectorUpdaterScene.h"
#include "app/TestAllocator.h"

#include "base/RCExInvalidCall.h"
#include "base/RCExNullPtr.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using Vo::SeSelectionBatch;

class SeSelectionBatchTest : public VoTest::SeSelectorUpdaterScene {
protected:
    int writes() const { return selectorWrites->getNbWrites() + hostWrites->getNbWrites(); }
};

// Reads inside see the working state while neither selection object is written; the inner end
// commits nothing, the outermost commits the net result once, mirrored once, each list once.
TEST_F(SeSelectionBatchTest, NestedScopesCommitOnceAtTheOutermostEnd) {
    select({A});
    settle();
    {
        SeSelectionBatch outer(selector);
        EXPECT_TRUE(outer.isOutermost());
        select({B, C});
        {
            SeSelectionBatch inner(selector);
            EXPECT_FALSE(inner.isOutermost());
            selector->setPrimarySelectedShape(controller.shape(E), 2);
            selector->selectHandle(1);
        }
        EXPECT_EQ(selectedIndices(), (std::vector<int>{E}));
        EXPECT_EQ(selectedPoints(), (std::vector<int>{2}));
        EXPECT_EQ(selector->getHandleSelectionRank(1), 1);
        EXPECT_EQ(selector->getSelection()->getNbItems(), 1);                 // still A
        EXPECT_NE(selector->getCurrentSelection(), selector->getSelection()); // the working one
        EXPECT_EQ(selector->getCurrentSelection()->getNbItems(), 1);          // E
        EXPECT_EQ(hostItems(), (std::vector<std::string>{editorNode(), object(A)}));
        EXPECT_EQ(writes(), 0);
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(selectedIndices(), (std::vector<int>{E}));
    EXPECT_EQ(selector->getCurrentSelection(), selector->getSelection()); // no batch: the selection
    EXPECT_EQ(selectorWrites->getNbWrites(), 1);
    EXPECT_EQ(hostWrites->getNbWrites(), 1);
    EXPECT_EQ(hostItems().size(), 2U + 2U * 1U + 2U); // node, E, point 2 (x, y), handle 1 (2)
    EXPECT_EQ(log, (std::vector<std::string>{"primary", "shapes", "selection"}));
}

// A batch whose changes cancel out writes nothing and notifies no one, also when the changes
// came from removal events for shapes that were not selected and from the application's writes.
TEST_F(SeSelectionBatchTest, NetNoOpNotifiesNoOne) {
    select({A, B});
    selector->selectPoint(1);
    settle();
    {
        SeSelectionBatch batch(selector);
        selector->resetSelection();
        EXPECT_EQ(selector->getNbSelectedShape(), 0);
        select({A, B});
        selector->selectPoint(1);
        controller.deleteShape(C);
        selector->replaceAllItems(
            Vo::RCShdPtr<Vo::SnSelection const>(selector->getSelection()->clone()));
    }
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, B}));
    EXPECT_EQ(writes(), 0);
    EXPECT_TRUE(log.empty());
}

// However the batch is left without a commit, both selections stay as at its start and no one is
// notified: an exception through the outermost scope, an exception through an inner scope that
// the outer one catches, a cancel of either.
TEST_F(SeSelectionBatchTest, AbandonedBatchesLeaveBothSelectionsAsTheyWere) {
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"exception through the outermost",
         [&] {
             try {
                 SeSelectionBatch batch(selector);
                 select({B});
                 throw std::runtime_error("script error");
             } catch (const std::runtime_error &) {
             }
         }},
        {"exception through an inner scope",
         [&] {
             SeSelectionBatch outer(selector);
             select({C});
             try {
                 SeSelectionBatch inner(selector);
                 select({B});
                 throw std::runtime_error("script error");
             } catch (const std::runtime_error &) {
             }
             EXPECT_EQ(selectedIndices(), (std::vector<int>{B})); // still read until the end
         }},
        {"cancel of the outermost",
         [&] {
             SeSelectionBatch batch(selector);
             select({B});
             batch.cancel();
         }},
        {"cancel of an inner scope",
         [&] {
             SeSelectionBatch outer(selector);
             select({B});
             SeSelectionBatch inner(selector);
             inner.cancel();
         }},
        {"library error inside",
         [&] {
             try {
                 SeSelectionBatch batch(selector);
                 select({B});
                 Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> withNull = shapes({C});
                 withNull.push_back(Vo::RCShdPtr<Vo::SeShape>());
                 selector->setSelectedShapes(withNull);
             } catch (const Vo::RCExNullPtr &) {
             }
         }},
    };
    for (const auto &[name, run] : cases) {
        select({A});
        selector->selectPoint(3);
        settle();
        run();
        EXPECT_EQ(selectedIndices(), (std::vector<int>{A})) << name;
        EXPECT_EQ(selectedPoints(), (std::vector<int>{3})) << name;
        EXPECT_EQ(hostItems().size(), 4U) << name; // node, A, point 3 (x, y)
        EXPECT_EQ(writes(), 0) << name;
        EXPECT_TRUE(log.empty()) << name;
        EXPECT_FALSE(selector->isBatchOpen()) << name;
    }
}

// The application's own write of its selection inside an abandoned batch is undone as well: the
// updater writes the start state back into it, and no callback runs. (Its items used to stay,
// leaving the two selections out of step.)
TEST_F(SeSelectionBatchTest, AnAbandonedBatchPutsTheApplicationsSelectionBack) {
    select({A});
    selector->selectPoint(3);
    settle();
    const std::vector<std::string> before = hostItems();
    {
        SeSelectionBatch batch(selector);
        hostSelects({objectItem(B)});
        EXPECT_EQ(selectedIndices(), (std::vector<int>{B}));
        batch.cancel();
    }
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
    EXPECT_EQ(selectedPoints(), (std::vector<int>{3}));
    EXPECT_EQ(hostItems(), before);
    EXPECT_TRUE(log.empty());
}

// Removal events inside a batch are queued and applied at the next read, with the rule of a
// removal event outside one: the first shape with the id leaves, gone shapes leave with it, and
// the rest are selected as wholes. The end commits once.
TEST_F(SeSelectionBatchTest, RemovalEventsApplyAtTheNextReadAndCommitOnce) {
    select({A, B, C, D});
    selector->selectPoint(1);
    settle();
    {
        SeSelectionBatch batch(selector);
        controller.deleteShape(B);
        controller.deleteShape(E); // not selected
        controller.deleteInterfaceOnly(D);
        EXPECT_EQ(selectedIndices(), (std::vector<int>{A, C}));
        EXPECT_TRUE(selectedPoints().empty());
        controller.deleteShape(A);
        select({C});
        EXPECT_EQ(writes(), 0);
    }
    EXPECT_EQ(selectedIndices(), (std::vector<int>{C}));
    EXPECT_EQ(hostItems(), (std::vector<std::string>{editorNode(), object(C)}));
    EXPECT_EQ(selectorWrites->getNbWrites(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"primary", "shapes", "selection"}));
}

// The removed shape's editing side may still be alive when its event comes inside a batch: it
// leaves all the same, and stays out at the end.
TEST_F(SeSelectionBatchTest, ARemovedShapeLeavesWhileItsEditingSideLives) {
    select({A, B, C});
    settle();
    {
        SeSelectionBatch batch(selector);
        controller.sendRemoval(controller.shape(B)->getId());
        EXPECT_EQ(selectedIndices(), (std::vector<int>{A, C}));
        EXPECT_EQ(writes(), 0);
    }
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, C}));
    EXPECT_FALSE(controller.shape(B).isNull());
    EXPECT_EQ(hostItems(), (std::vector<std::string>{editorNode(), object(A), object(C)}));
    EXPECT_EQ(log, (std::vector<std::string>{"shapes", "selection"}));
}

// The application's own writes inside a batch are mirrored into the working selection. At the
// end the host view already shows the new primary shape; the callbacks still tell that the
// primary shape and the shapes changed since the start.
TEST_F(SeSelectionBatchTest, ApplicationWritesInsideABatchCountAtItsEnd) {
    select({A});
    settle();
    {
        SeSelectionBatch batch(selector);
        hostSelects({nodeItem(controller.toolNode()), objectItem(B)});
        EXPECT_EQ(selectedIndices(), (std::vector<int>{B}));
        EXPECT_EQ(selectorWrites->getNbWrites(), 0);
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B}));
    EXPECT_EQ(selectorWrites->getNbWrites(), 1);
    EXPECT_EQ(hostItems(), (std::vector<std::string>{editorNode(), object(B)}));
    EXPECT_EQ(log, (std::vector<std::string>{"primary", "shapes", "selection"}));
}

// What the application reported inside an abandoned batch still holds afterwards, in one change:
// a shape deleted leaves the selection, indices follow points removed. (An abandoned batch used to
// drop those reports, leaving a gone shape selected for good, or indices of points that moved.)
TEST_F(SeSelectionBatchTest, AnAbandonedBatchStillAppliesRemovalsAndRenumberings) {
    select({A, B});
    selector->selectPoint(2);
    settle();
    {
        SeSelectionBatch batch(selector);
        select({C});
        selector->updateSelectionPointDeleted(controller.weak(A), 0);
        batch.cancel();
    }
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, B}));
    EXPECT_EQ(selectedPoints(), (std::vector<int>{1}));
    EXPECT_EQ(selectorWrites->getNbWrites(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"selection"}));

    settle();
    try {
        SeSelectionBatch batch(selector);
        controller.deleteShape(B);
        throw std::runtime_error("script error");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
    EXPECT_TRUE(selectedPoints().empty()); // as after any removal event
    EXPECT_EQ(selectorWrites->getNbWrites(), 1);

    // The event alone, its shape's editing side still alive: the event is what takes it out.
    select({A, C});
    settle();
    {
        SeSelectionBatch batch(selector);
        controller.sendRemoval(controller.shape(C)->getId());
        batch.cancel();
    }
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
    EXPECT_EQ(selectorWrites->getNbWrites(), 1);
}

// The replay of an abandoned batch's reports may run out of memory at any allocation: the end of
// the scope raises nothing all the same, and leaves no batch open behind it.
TEST_F(SeSelectionBatchTest, AReplayRunningOutOfMemoryLeavesNoBatchOpen) {
    for (long nth = 1;; ++nth) {
        SCOPED_TRACE("allocation " + std::to_string(nth));
        select({A, B});
        selector->selectPoint(2);
        settle();
        std::optional<SeSelectionBatch> batch(std::in_place, selector);
        select({C});
        selector->updateSelectionPointDeleted(controller.weak(A), 0);
        batch->cancel();
        VoTest::TestAllocator::arm(nth);
        batch.reset();
        VoTest::TestAllocator::disarm();
        ASSERT_FALSE(selector->isBatchOpen());
        if (VoTest::TestAllocator::allocations() < nth) {
            EXPECT_EQ(selectedPoints(), (std::vector<int>{1})); // the last run did all its work
            break;
        }
    }
}

// A commit whose mirroring raises: the selector puts its selection back, the updater mirrors
// that without callbacks, and the error leaves commit(). The end of a scope never raises (a
// batch may be ended while an exception unwinds, or sit in a container): it leaves the same
// state and reports nothing.
TEST_F(SeSelectionBatchTest, ARaisingCommitLeavesBothSelectionsAsTheyWere) {
    static_assert(std::is_nothrow_destructible<SeSelectionBatch>::value,
                  "the end of a scope never raises");
    for (const bool explicitCommit : {true, false}) {
        SCOPED_TRACE(explicitCommit ? "commit()" : "end of scope");
        select({A});
        settle();
        bool raised = false;
        try {
            std::optional<SeSelectionBatch> batch(std::in_place, selector);
            select({B, C});
            hostWrites->raiseAtNextWrite();
            if (explicitCommit) {
                batch->commit();
            }
        } catch (const std::exception &) {
            raised = true;
        }
        EXPECT_EQ(raised, explicitCommit);
        EXPECT_FALSE(selector->isBatchOpen());
        EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
        EXPECT_EQ(hostItems(), (std::vector<std::string>{editorNode(), object(A)}));
        EXPECT_TRUE(log.empty());
        select({C});
        EXPECT_EQ(hostItems(), (std::vector<std::string>{editorNode(), object(C)}));
    }
}

// commit() ends its scope once: the outermost commits there, an inner one only ends its level,
// the destructor then does nothing, and a second commit() is refused.
TEST_F(SeSelectionBatchTest, CommitEndsTheScopeOnce) {
    select({A});
    settle();
    SeSelectionBatch outer(selector);
    {
        SeSelectionBatch inner(selector);
        select({B});
        inner.commit();
        EXPECT_TRUE(inner.isEnded());
        EXPECT_TRUE(selector->isBatchOpen());
        EXPECT_THROW(inner.commit(), Vo::RCExInvalidCall);
        inner.cancel(); // an ended scope has no batch left to cancel: the outer one stays
    }
    EXPECT_TRUE(selector->isBatchOpen());
    EXPECT_EQ(selectedIndices(), (std::vector<int>{B}));
    EXPECT_EQ(hostItems(), (std::vector<std::string>{editorNode(), object(A)}));
    outer.commit();
    EXPECT_FALSE(selector->isBatchOpen());
    EXPECT_EQ(hostItems(), (std::vector<std::string>{editorNode(), object(B)}));
    EXPECT_EQ(log, (std::vector<std::string>{"primary", "shapes", "selection"}));
    EXPECT_THROW(outer.commit(), Vo::RCExInvalidCall);
}

// A commit that raises while the batch removed a shape or renumbered points: the selector puts its
// selection back, then what the application reported still applies, in one ordinary change.
TEST_F(SeSelectionBatchTest, ARaisingCommitStillAppliesRemovalsAndRenumberings) {
    const auto commitRefused = [&](const std::function<void()> &reports) {
        select({A, B});
        selector->selectPoint(2);
        settle();
        EXPECT_ANY_THROW({
            SeSelectionBatch batch(selector);
            select({C});
            reports();
            hostWrites->raiseAtNextWrite();
            batch.commit();
        });
        EXPECT_FALSE(selector->isBatchOpen());
    };
    commitRefused([&] { selector->updateSelectionPointDeleted(controller.weak(A), 0); });
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, B}));
    EXPECT_EQ(selectedPoints(), (std::vector<int>{1}));
    EXPECT_EQ(hostItems(), (std::vector<std::string>{editorNode(), object(A), object(B)}));
    EXPECT_EQ(log, (std::vector<std::string>{"selection"}));

    commitRefused([&] { controller.deleteShape(B); });
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A}));
    EXPECT_TRUE(selectedPoints().empty()); // as after any removal event
    EXPECT_EQ(hostItems(), (std::vector<std::string>{editorNode(), object(A)}));
    EXPECT_EQ(log, (std::vector<std::string>{"shapes", "selection"}));
}

TEST_F(SeSelectionBatchTest, ANullSelectorIsRefused) {
    EXPECT_THROW(SeSelectionBatch(Vo::RCShdPtr<Vo::SeShapeSelector>()), Vo::RCExNullPtr);
}

} // namespace
