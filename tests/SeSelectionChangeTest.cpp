#include "SeSelectionChange.h"

#include "SeExMissingElement.h"
#include "SeSelectionBatch.h"
#include "SeSelectorUpdaterScene.h"

#include "base/CbEmptyType.h"
#include "base/RCExNullPtr.h"
#include "foundation/CbFunction.h"
#include "foundation/Iterator.h"
#include "host/IteratorImpVector.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace VoTest {
namespace {

using namespace Vo;
using Shapes = std::vector<int>;

// The selector's last change, checked against the selection as a view applying it would: the
// removed places taken out from the last, the added shapes put in at their places from the first.
class SeSelectionChangeTest : public SeSelectorUpdaterScene {
protected:
    const SeSelectionChange &last() const { return selector->getLastChange(); }

    // Adds `count` shapes S0, S1, ... after A to E; gives the index of the first.
    int addShapes(int count) {
        const int first = controller.getNbShapes();
        for (int i = 0; i < count; ++i) {
            controller.addShape("S" + std::to_string(i), 2);
        }
        return first;
    }
    static Shapes range(int first, int count) {
        Shapes shapes;
        for (int i = 0; i < count; ++i) {
            shapes.push_back(first + i);
        }
        return shapes;
    }
    void selectList(const Shapes &indices) {
        Vector<RCShdPtr<SeShape>> list;
        for (int index : indices) {
            list.push_back(controller.shape(index));
        }
        selector->setSelectedShapes(list);
    }

    // What the last change makes of `before`; fails the test when it does not apply.
    Shapes applied(Shapes before) const {
        const SeSelectionChange &change = last();
        EXPECT_FALSE(change.isWhole());
        EXPECT_EQ(change.getPlacesRemoved().size(), change.getShapesRemoved().size());
        EXPECT_EQ(change.getPlacesAdded().size(), change.getShapesAdded().size());
        for (std::size_t i = change.getPlacesRemoved().size(); i-- > 0;) {
            const auto place = static_cast<std::size_t>(change.getPlacesRemoved()[i]);
            EXPECT_LT(place, before.size());
            if (place >= before.size()) {
                return {};
            }
            EXPECT_EQ(before[place], indexOf(change.getShapesRemoved()[i]));
            before.erase(before.begin() + static_cast<std::ptrdiff_t>(place));
        }
        for (std::size_t i = 0; i < change.getPlacesAdded().size(); ++i) {
            const auto place = static_cast<std::size_t>(change.getPlacesAdded()[i]);
            EXPECT_LE(place, before.size());
            if (place > before.size()) {
                return {};
            }
            before.insert(before.begin() + static_cast<std::ptrdiff_t>(place),
                          indexOf(change.getShapesAdded()[i]));
        }
        return before;
    }
    // Runs `operation` and expects the last change to lead from the selection before it to the
    // one after it.
    template <class Operation> void expectDescribed(Operation operation) {
        const Shapes before = selectedIndices();
        operation();
        EXPECT_EQ(applied(before), selectedIndices());
        EXPECT_EQ(last().getRevisionAfter(), selector->getSelection()->getRevision());
    }
    template <class Operation> void expectWhole(Operation operation) {
        const std::uint64_t revision = selector->getSelection()->getRevision();
        operation();
        EXPECT_TRUE(last().isWhole());
        EXPECT_TRUE(last().getPlacesRemoved().empty() && last().getPlacesAdded().empty());
        EXPECT_NE(selector->getSelection()->getRevision(), revision);
    }
    void selectAll(const Shapes &indices) {
        std::vector<RCShdPtr<SeShape>> list;
        for (int index : indices) {
            list.push_back(controller.shape(index));
        }
        selector->selectAllShapes(IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(
            std::make_shared<const std::vector<RCShdPtr<SeShape>>>(list)));
    }
};

TEST_F(SeSelectionChangeTest, SmallChangesOfTheWholeListGiveTheirPlaces) {
    expectDescribed([&] { selectAll({C, A, E}); }); // into an empty selection
    EXPECT_EQ(last().getPlacesAdded(), (Vector<int>{0, 1, 2}));
    EXPECT_TRUE(last().getPrimaryBefore().isNull() &&
                last().getPrimaryAfter() == controller.weak(C));
    expectDescribed([&] { selector->resetSelection(); });
    EXPECT_EQ(last().getPlacesRemoved(), (Vector<int>{0, 1, 2}));
    EXPECT_TRUE(last().getPrimaryBefore() == controller.weak(C) &&
                last().getPrimaryAfter().isNull());

    select({A, B, C, D, E});
    expectDescribed([&] { select({A, C, E}); }); // several out of the middle
    EXPECT_EQ(last().getPlacesRemoved(), (Vector<int>{1, 3}));
    EXPECT_TRUE(last().getPlacesAdded().empty());
    expectDescribed([&] { select({B, A, D, C, E}); });
    expectDescribed([&] { selector->setPrimarySelectedShape(controller.shape(D), -1); });
    EXPECT_EQ(last().getPlacesRemoved(), (Vector<int>{0, 1, 3, 4}));
    expectDescribed([&] { selector->setPrimarySelectedShape(controller.shape(B), 2); });
    EXPECT_EQ(selectedPoints(), (std::vector<int>{2}));
    expectDescribed([&] { selector->setPrimarySelectedShape(controller.shape(B), 3); });
    EXPECT_TRUE(last().arePartsChanged() && last().arePartsRewritten()); // the primary's parts
    EXPECT_TRUE(last().getShapesRemoved().empty() && last().getShapesAdded().empty());

    select({A, B});
    expectDescribed([&] { // a batch's commit writes the whole list
        SeSelectionBatch batch(selector);
        selector->addSelectedShape(controller.shape(C));
        selector->addSelectedShape(controller.shape(D));
        batch.commit();
    });
    EXPECT_TRUE(last().getPlacesRemoved().empty());
    EXPECT_EQ(last().getPlacesAdded(), (Vector<int>{2, 3}));
    expectDescribed([&] { // neither middle within the other: both listed
        SeSelectionBatch batch(selector);
        selector->unselectShape(controller.shape(A));
        selector->unselectShape(controller.shape(C));
        selector->addSelectedShape(controller.shape(E));
        batch.commit();
    });
    EXPECT_EQ(last().getPlacesRemoved(), (Vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(last().getPlacesAdded(), (Vector<int>{0, 1, 2}));
}

TEST_F(SeSelectionChangeTest, LargeChangesOfTheWholeListStayWhole) {
    const int first = addShapes(260);
    expectDescribed([&] { selectAll(range(first, 64)); }); // the least limit
    selector->resetSelection();
    expectWhole([&] { selectAll(range(first, 65)); });
    expectWhole([&] { selector->resetSelection(); });
    expectWhole([&] { selectList(range(first, 100)); });
    expectWhole([&] { selector->setPrimarySelectedShape(controller.shape(A), -1); });
    selectList(range(first, 32)); // nothing in common: both lists' places, 64 at most
    expectDescribed([&] { selectList(range(first + 32, 32)); });
    EXPECT_EQ(last().getPlacesRemoved().size() + last().getPlacesAdded().size(), 64U);
    expectWhole([&] { selectList(range(first + 64, 33)); });

    // A quarter of the longer list: 65 of 260 out, both ends among them.
    const Shapes all = range(first, 260);
    Shapes kept(all.begin() + 1, all.end() - 1);
    kept.erase(kept.begin() + 10, kept.begin() + 73);
    selectList(all);
    expectDescribed([&] { selectList(kept); });
    EXPECT_EQ(last().getPlacesRemoved().size(), 65U);
    selectList(all);
    kept.erase(kept.begin() + 10);
    expectWhole([&] { selectList(kept); });

    selectList(all);
    expectWhole([&] {
        SeSelectionBatch batch(selector);
        selector->resetSelection();
        selector->addSelectedShape(controller.shape(A));
        batch.commit();
    });
    // Kept in the middle: a whole write, yet two places.
    Shapes framed = all;
    framed.insert(framed.begin(), B);
    framed.push_back(C);
    selectList(framed);
    expectDescribed([&] { selectList(all); });
    EXPECT_EQ(last().getPlacesRemoved(), (Vector<int>{0, 261}));
}

TEST_F(SeSelectionChangeTest, ARenumberingIsAChangeOfItsOwn) {
    selector->setPrimarySelectedShape(controller.shape(A), 1);
    selector->addSelectedPoint(3);
    selector->setShapeParts(controller.shape(B), nullptr, nullptr);
    const Vector<int> points{4, 2};
    selector->setShapeParts(controller.shape(C), &points, nullptr);
    selector->updateSelectionPointAdded(controller.weak(A), 2);
    EXPECT_EQ(selectedPoints(), (std::vector<int>{1, 4}));
    EXPECT_TRUE(last().isRenumbering() && !last().isWhole());
    EXPECT_TRUE(last().getRenumberedShape() == controller.weak(A));
    EXPECT_TRUE(last().areRenumberedPoints() && last().isRenumberingInsertion());
    EXPECT_EQ(last().getRenumberedIndex(), 2);
    EXPECT_TRUE(last().arePartsChanged() && last().arePartsRewritten());
    EXPECT_TRUE(last().getShapesAdded().empty() && last().getPlacesRemoved().empty());
    EXPECT_EQ(last().getRevisionAfter(), selector->getSelection()->getRevision());

    // C is not primary: the primary's parts stay.
    selector->updateSelectionPointDeleted(controller.weak(C), 2);
    EXPECT_TRUE(last().isRenumbering() && !last().isRenumberingInsertion());
    EXPECT_TRUE(last().getRenumberedShape() == controller.weak(C));
    EXPECT_FALSE(last().arePartsChanged());
    EXPECT_EQ(last().getPlacesRemoved(), Vector<int>{2}); // for views that read parts again
    EXPECT_EQ(last().getPlacesAdded(), Vector<int>{2});

    const std::uint64_t revision = last().getRevisionAfter();
    selector->updateSelectionHandleAdded(controller.weak(B), 0); // B has no parts: no change
    EXPECT_EQ(last().getRevisionAfter(), revision);
    selector->addSelectedPoint(5); // the next change is no renumbering
    EXPECT_FALSE(last().isRenumbering());
    EXPECT_EQ(last().getPointsAdded(), Vector<int>{5});
}

TEST_F(SeSelectionChangeTest, ARefusedOperationLeavesTheLastChangeAsItWas) {
    select({A, E});
    selector->unselectShape(controller.shape(A));
    selector->selectHandle(1);
    const SeSelectionChange before = last();
    EXPECT_THROW(selector->selectHandle(nbHandles + 2), SeExMissingElement); // a one-item write
    EXPECT_THROW(selector->setPrimarySelectedShape(controller.shape(E), nbPoints + 1),
                 SeExMissingElement); // a whole one
    EXPECT_EQ(selectedHandles(), std::vector<int>{1});
    EXPECT_EQ(last().getRevisionBefore(), before.getRevisionBefore());
    EXPECT_EQ(last().getRevisionAfter(), before.getRevisionAfter());
    EXPECT_EQ(last().getHandlesAdded(), before.getHandlesAdded());
    EXPECT_TRUE(last().arePartsChanged() && !last().isWhole());
    // Views keep following: the next change names the primary shape the refusals left.
    select({B});
    EXPECT_TRUE(last().getPrimaryBefore() == controller.weak(E));
}

// An index listed as added is appended: one put back at its rank before the last (an undo) makes
// the parts read as rewritten.
TEST_F(SeSelectionChangeTest, AnIndexPutBackBeforeTheLastRewritesTheParts) {
    selector->setPrimarySelectedShape(controller.shape(A), 4);
    selector->addSelectedPoint(2);
    const RCShdPtr<SnItem const> both = selector->getSelection()->getPrimaryItem();
    selector->unselectPoint(4);
    selector->restoreRange(0, 1, {both});
    EXPECT_EQ(selectedPoints(), (std::vector<int>{4, 2}));
    EXPECT_TRUE(last().arePartsChanged() && last().arePartsRewritten());
    EXPECT_TRUE(last().getPointsAdded().empty());
    selector->unselectPoint(2);
    selector->restoreRange(0, 1, {both});
    EXPECT_FALSE(last().arePartsRewritten());
    EXPECT_EQ(last().getPointsAdded(), Vector<int>{2});
}

// A history's restore writes the items back as they were; the origin of a batch's commit is not
// shown meanwhile.
TEST_F(SeSelectionChangeTest, ARestoreIsDescribedAndShowsNoCommitOrigin) {
    select({A, B, C});
    const RCShdPtr<SnSelection const> earlier(selector->getSelection()->clone());
    select({A, D, E, B, C});
    bool originShown = true;
    CbFunction<CbEmptyType> view([&] { originShown = !selector->getCommitOrigin().isNull(); });
    selector->addSelectionChangedCallback(&view);
    expectDescribed([&] { selector->restoreSelection(earlier); });
    EXPECT_EQ(last().getPlacesRemoved(), (Vector<int>{1, 2}));
    EXPECT_FALSE(originShown);
    selector->removeSelectionChangedCallback(&view);
    EXPECT_THROW(selector->restoreSelection(RCShdPtr<SnSelection const>()), RCExNullPtr);
    EXPECT_THROW(selector->replaceAllItems(RCShdPtr<SnSelection const>()), RCExNullPtr);
}

// A shape's parts that change away from the front are its item taken out and put in again, so
// that views do not take them for the primary shape's.
TEST_F(SeSelectionChangeTest, PartsOfAnotherShapeChangeAsItsItem) {
    select({A, B, C});
    const Vector<int> points{2};
    expectDescribed([&] { selector->setShapeParts(controller.shape(B), &points, nullptr); });
    EXPECT_EQ(last().getPlacesRemoved(), Vector<int>{1});
    EXPECT_EQ(last().getPlacesAdded(), Vector<int>{1});
    EXPECT_FALSE(last().arePartsChanged());
}

} // namespace
} // namespace VoTest
