#include "SeShapeSelectorFixture.h"

#include "foundation/Set.h"
#include "foundation/Vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::SnItem;
using Vo::SnSelection;
using IndexSet = Vo::Set<int, std::less<int>>;

class SeShapeSelectorPointsTest : public VoTest::SeShapeSelectorFixture {
protected:
    Indices selectedPoints() const {
        Vo::Vector<int> points;
        selector->getSelectedPoints(points);
        return Indices(points.begin(), points.end());
    }
    Indices selectedHandles() const {
        Vo::Vector<int> handles;
        selector->getSelectedHandles(handles);
        return Indices(handles.begin(), handles.end());
    }
    // A alone with these points and no handle.
    void selectPointsOfA(const Indices &points) {
        select({item(a, points, {})});
        takeNotifications();
    }
};

TEST_F(SeShapeSelectorPointsTest, NoPrimaryShapeChangesNothing) {
    Vo::Vector<int> points{9};
    IndexSet ordered{9};
    const std::vector<std::function<void()>> changes{
        [&] { selector->selectPoint(1); },
        [&] { selector->selectHandle(1); },
        [&] {
            selector->selectPoints(Vo::Vector<int>{1, 2});
        },
        [&] { selector->selectAllPoints(3); },
        [&] { selector->selectAllHandles(3); },
        [&] { selector->selectNextPoint(5); },
        [&] { selector->selectPreviousHandle(5); },
        [&] { selector->unselectPoints(); },
        [&] { selector->unselectHandles(); },
        [&] { selector->updateSelectionPointAdded(weaks[a], 0); },
        [&] { selector->updateSelectionHandleDeleted(weaks[a], 0); }};
    for (const std::function<void()> &change : changes) {
        change();
    }
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
    EXPECT_EQ(takeNotifications(), 0);
    selector->getSelectedPoints(points);
    selector->getOrderedSelectedHandles(ordered);
    EXPECT_EQ(points, Vo::Vector<int>{9});
    EXPECT_EQ(ordered, IndexSet{9});
    EXPECT_EQ(selector->getPointSelectionRank(0), 0);

    // A gone primary shape: the same operations leave its item alone.
    selectPointsOfA({4});
    const RCShdPtr<SnItem const> itemOfA = itemAt(0);
    app.deleteInterfaceOnly(a);
    for (std::size_t i = 0; i + 2 < changes.size(); ++i) {
        changes[i]();
    }
    EXPECT_EQ(itemAt(0).get(), itemOfA.get());
    EXPECT_EQ(takeNotifications(), 0);
}

TEST_F(SeShapeSelectorPointsTest, SelectedIndicesKeepSelectionOrderAndRanks) {
    selector->setSelectedShapes(shapes({a}));
    selector->selectPoints(Vo::Vector<int>{4, 1, 7});
    Vo::Vector<int> points{9, 9, 9, 9};
    selector->getSelectedPoints(points);
    EXPECT_EQ(points, (Vo::Vector<int>{4, 1, 7}));
    IndexSet ordered;
    selector->getOrderedSelectedPoints(ordered);
    EXPECT_EQ(ordered, (IndexSet{1, 4, 7}));
    IndexSet added{2};
    selector->getOrderedSelectedPoints(added);
    EXPECT_EQ(added, (IndexSet{1, 2, 4, 7}));
    EXPECT_EQ(selector->getPointSelectionRank(4), 1);
    EXPECT_EQ(selector->getPointSelectionRank(1), 2);
    EXPECT_EQ(selector->getPointSelectionRank(7), 3);
    EXPECT_EQ(selector->getPointSelectionRank(5), 0);
    EXPECT_EQ(selector->getHandleSelectionRank(4), 0);

    select({item(a, {}, {4, 1, 7})});
    EXPECT_EQ(selectedHandles(), (Indices{4, 1, 7}));
    IndexSet handles;
    selector->getOrderedSelectedHandles(handles);
    EXPECT_EQ(handles, (IndexSet{1, 4, 7}));
    EXPECT_EQ(selector->getHandleSelectionRank(7), 3);
    EXPECT_EQ(selector->getPointSelectionRank(7), 0);

    // Repeated indices are kept once, at their first place; no index leaves empty parts behind.
    selector->selectPoints(Vo::Vector<int>{3, 3, 1});
    EXPECT_EQ(selectedPoints(), (Indices{3, 1}));
    EXPECT_EQ(selectedHandles(), (Indices{4, 1, 7}));
    selector->setSelectedShapes(shapes({a}));
    selector->selectPoints(Vo::Vector<int>());
    ASSERT_NE(partsAt(0), nullptr);
    EXPECT_TRUE(partsAt(0)->isEmpty());
}

TEST_F(SeShapeSelectorPointsTest, NextAndPreviousStepFromTheFirstRankedIndex) {
    selectPointsOfA({4, 1, 7});
    selector->selectNextPoint(8);
    EXPECT_EQ(selectedPoints(), Indices{5});
    selectPointsOfA({4, 1, 7});
    selector->selectPreviousPoint(8);
    EXPECT_EQ(selectedPoints(), Indices{3});
    EXPECT_EQ(takeNotifications(), 1);

    selectPointsOfA({7});
    selector->selectNextPoint(8);
    EXPECT_EQ(selectedPoints(), Indices{0});
    selector->selectPreviousPoint(8);
    EXPECT_EQ(selectedPoints(), Indices{7});

    // The first index is not checked against the count.
    selectPointsOfA({7});
    selector->selectNextPoint(5);
    EXPECT_EQ(selectedPoints(), Indices{0});
    selectPointsOfA({7});
    selector->selectPreviousPoint(5);
    EXPECT_EQ(selectedPoints(), Indices{6});

    selectPointsOfA({1});
    selector->selectNextPoint(0);
    selector->selectPreviousPoint(0);
    EXPECT_EQ(selectedPoints(), Indices{1});
    EXPECT_EQ(takeNotifications(), 0);

    // One point (handle): index 0 only, in both directions, whether one is selected or none.
    selectPointsOfA({0});
    selector->selectNextPoint(1);
    selector->selectPreviousPoint(1);
    EXPECT_EQ(selectedPoints(), Indices{0});
    EXPECT_EQ(takeNotifications(), 0);
    select({item(a, {2}, {})});
    selector->selectNextHandle(1);
    EXPECT_EQ(selectedHandles(), Indices{0});
    selector->selectPreviousHandle(1);
    EXPECT_EQ(selectedHandles(), Indices{0});
    selector->selectHandle(1);
    selector->selectNextHandle(4);
    EXPECT_EQ(selectedHandles(), Indices{2});
    selector->selectPreviousHandle(4);
    selector->selectPreviousHandle(4);
    EXPECT_EQ(selectedHandles(), Indices{0});
    EXPECT_EQ(selectedPoints(), Indices{2});

    // Nothing selected in the set: both directions start at 0.
    selector->setSelectedShapes(shapes({a}));
    selector->selectPreviousPoint(8);
    EXPECT_EQ(selectedPoints(), Indices{0});
    select({item(a, {}, {2})});
    selector->selectNextPoint(8);
    EXPECT_EQ(selectedPoints(), Indices{0});
    EXPECT_EQ(selectedHandles(), Indices{2});

    selector->selectPreviousHandle(4);
    EXPECT_EQ(selectedHandles(), Indices{1});
    selector->selectNextHandle(2);
    EXPECT_EQ(selectedHandles(), Indices{0});
    EXPECT_EQ(selectedPoints(), Indices{0});

    // A count of 0 or less steps nowhere and notifies no one (a negative count used to select
    // index 0 or -1).
    selectPointsOfA({4});
    takeNotifications();
    for (const int count : {0, -1, -3}) {
        selector->selectNextPoint(count);
        selector->selectPreviousPoint(count);
        selector->selectNextHandle(count);
        selector->selectPreviousHandle(count);
    }
    EXPECT_EQ(selectedPoints(), Indices{4});
    EXPECT_EQ(takeNotifications(), 0);
}

TEST_F(SeShapeSelectorPointsTest, RenumberingFollowsInsertedAndRemovedIndices) {
    select({item(a, {2, 5, 9}, {5})});
    selector->updateSelectionPointAdded(weaks[a], 5);
    EXPECT_EQ(selectedPoints(), (Indices{2, 6, 10}));
    EXPECT_EQ(selectedHandles(), Indices{5});

    select({item(a, {2, 5, 9}, {5})});
    selector->updateSelectionPointDeleted(weaks[a], 5);
    EXPECT_EQ(selectedPoints(), (Indices{2, 8}));
    EXPECT_EQ(selectedHandles(), Indices{5});

    select({item(a, {2, 5, 9}, {5})});
    takeNotifications();
    selector->updateSelectionPointDeleted(weaks[a], 1);
    EXPECT_EQ(selectedPoints(), (Indices{1, 4, 8}));
    EXPECT_EQ(takeNotifications(), 1);

    // Ranks stay; the handle forms renumber only the handles.
    select({item(a, {9, 2}, {3, 0})});
    selector->updateSelectionHandleAdded(weaks[a], 1);
    EXPECT_EQ(selectedHandles(), (Indices{4, 0}));
    selector->updateSelectionHandleDeleted(weaks[a], 0);
    EXPECT_EQ(selectedHandles(), Indices{3});
    EXPECT_EQ(selectedPoints(), (Indices{9, 2}));

    takeNotifications();
    selector->updateSelectionPointAdded(weaks[b], 0);
    selector->updateSelectionHandleDeleted(weaks[b], 0);
    selector->updateSelectionPointAdded(weaks[a], 10);
    EXPECT_EQ(selectedPoints(), (Indices{9, 2}));
    EXPECT_EQ(selectedHandles(), Indices{3});
    EXPECT_EQ(takeNotifications(), 0);

    // The far end of the index range wraps instead of overflowing.
    select({item(a, {INT_MAX}, {})});
    selector->updateSelectionPointAdded(weaks[a], 0);
    EXPECT_EQ(selectedPoints(), Indices{INT_MIN});
}

// Renumbering one index at a time, as the rule states it; a repeat is kept once, at its first
// place.
std::vector<int> renumberedOneByOne(const std::vector<int> &old, int at, bool added) {
    std::vector<int> result;
    for (int index : old) {
        int moved = index;
        if (index >= at && added) {
            moved = index == INT_MAX ? INT_MIN : index + 1;
        } else if (index > at) {
            moved = index - 1;
        } else if (index == at) {
            continue;
        }
        if (std::find(result.begin(), result.end(), moved) == result.end()) {
            result.push_back(moved);
        }
    }
    return result;
}

// Selections made of runs (ascending, descending, single, at both ends of the int range) in any
// order, renumbered at indices before, inside and after the runs.
TEST_F(SeShapeSelectorPointsTest, RenumberingRunsMatchesRenumberingOneByOne) {
    std::mt19937 random(20240611);
    const std::vector<int> starts{-6, 0, 3, 17, 40, INT_MAX - 3, INT_MIN};
    for (int round = 0; round < 300; ++round) {
        Indices old;
        const int nbRuns = std::uniform_int_distribution<int>(1, 5)(random);
        for (int run = 0; run < nbRuns; ++run) {
            const int start = starts[random() % starts.size()] + static_cast<int>(random() % 3);
            const int length = std::uniform_int_distribution<int>(1, 8)(random);
            const bool descending = random() % 4 == 0;
            for (int step = 0; step < length; ++step) {
                if (descending ? start < INT_MIN + step : start > INT_MAX - step) {
                    break;
                }
                const int index = descending ? start - step : start + step;
                if (std::find(old.begin(), old.end(), index) == old.end()) {
                    old.push_back(index);
                }
            }
        }
        const int at = static_cast<int>(std::clamp<std::int64_t>(
            std::int64_t(old[random() % old.size()]) + std::int64_t(random() % 3) - 1, INT_MIN,
            INT_MAX));
        const bool added = random() % 2 == 0;
        SCOPED_TRACE(testing::Message() << "round " << round << " at " << at << " added " << added);

        select({item(a, old, {1})});
        if (added) {
            selector->updateSelectionPointAdded(weaks[a], at);
        } else {
            selector->updateSelectionPointDeleted(weaks[a], at);
        }
        EXPECT_EQ(selectedPoints(), renumberedOneByOne(old, at, added));
        EXPECT_EQ(selectedHandles(), Indices{1});

        select({item(a, {1}, old)});
        if (added) {
            selector->updateSelectionHandleAdded(weaks[a], at);
        } else {
            selector->updateSelectionHandleDeleted(weaks[a], at);
        }
        EXPECT_EQ(selectedHandles(), renumberedOneByOne(old, at, added));
        EXPECT_EQ(selectedPoints(), Indices{1});
    }
}

TEST_F(SeShapeSelectorPointsTest, RemovingTheOnlyPointKeepsEmptyPartsWhileUnselectDropsThem) {
    selectPointsOfA({3});
    selector->updateSelectionPointDeleted(weaks[a], 3);
    ASSERT_TRUE(itemAt(0)->hasParts());
    EXPECT_TRUE(partsAt(0)->isPointEmpty());
    EXPECT_TRUE(partsAt(0)->isHandleEmpty());
    EXPECT_EQ(takeNotifications(), 1);

    selectPointsOfA({3});
    selector->unselectPoints();
    EXPECT_FALSE(itemAt(0)->hasParts());
    EXPECT_EQ(takeNotifications(), 1);
}

TEST_F(SeShapeSelectorPointsTest, SelectAllAddsMissingIndicesAfterEarlierRanks) {
    selector->setSelectedShapes(shapes({a}));
    selector->selectAllPoints(3);
    EXPECT_EQ(selectedPoints(), (Indices{0, 1, 2}));
    EXPECT_EQ(selectedHandles(), Indices{});

    select({item(a, {5, 1}, {2})});
    takeNotifications();
    selector->selectAllPoints(3);
    EXPECT_EQ(selectedPoints(), (Indices{5, 1, 0, 2}));
    EXPECT_EQ(selector->getPointSelectionRank(5), 1);
    EXPECT_EQ(selector->getPointSelectionRank(1), 2);
    EXPECT_EQ(selectedHandles(), Indices{2});
    EXPECT_EQ(takeNotifications(), 1);
    selector->selectAllHandles(2);
    EXPECT_EQ(selectedHandles(), (Indices{2, 0, 1}));
    EXPECT_EQ(selectedPoints(), (Indices{5, 1, 0, 2}));

    selectPointsOfA({1});
    selector->selectAllPoints(0);
    selector->selectAllPoints(2);
    EXPECT_EQ(selectedPoints(), (Indices{1, 0}));
    EXPECT_EQ(takeNotifications(), 1);
}

// A negative count used to reach reservePoints (reserveHandles) widened to an enormous size, and
// the select-all operations failed allocating; it now counts as 0.
TEST_F(SeShapeSelectorPointsTest, NegativeSelectAllCountsSelectNothing) {
    selectPointsOfA({1});
    EXPECT_NO_THROW(selector->selectAllPoints(-1));
    EXPECT_NO_THROW(selector->selectAllHandles(INT_MIN));
    EXPECT_EQ(selectedPoints(), Indices{1});
    EXPECT_EQ(selectedHandles(), Indices{});
    EXPECT_EQ(takeNotifications(), 0);

    selector->setSelectedShapes(shapes({b}));
    EXPECT_NO_THROW(selector->selectAllHandles(-3));
    const RCShdPtr<SnSelection> negative(selection->clone());
    selector->setSelectedShapes(shapes({b}));
    selector->selectAllHandles(0);
    EXPECT_TRUE(selection->isEqual(negative));
}

TEST_F(SeShapeSelectorPointsTest, PointsAndHandlesNeverTouchEachOther) {
    selector->setSelectedShapes(shapes({a}));
    takeNotifications();
    selector->selectPoint(2);
    EXPECT_EQ(selectedPoints(), Indices{2});
    EXPECT_EQ(selectedHandles(), Indices{});
    selector->selectHandle(1);
    EXPECT_EQ(selectedPoints(), Indices{2});
    EXPECT_EQ(selectedHandles(), Indices{1});
    selector->selectPoint(4);
    EXPECT_EQ(selectedHandles(), Indices{1});
    selector->selectPoints(Vo::Vector<int>{6, 5});
    EXPECT_EQ(selectedHandles(), Indices{1});
    selector->unselectPoints();
    EXPECT_EQ(selectedPoints(), Indices{});
    EXPECT_EQ(selectedHandles(), Indices{1});
    selector->unselectPoints();
    selector->unselectHandles();
    EXPECT_FALSE(itemAt(0)->hasParts());
    EXPECT_EQ(selectedShapes(), Indices{a});
    EXPECT_EQ(takeNotifications(), 6);
}

// The primary shape's operations leave the other items alone; the application's renumbering of
// another shape reaches that shape's item.
TEST_F(SeShapeSelectorPointsTest, OtherSelectedShapesKeepTheirParts) {
    select({item(a), item(b, {8}, {3}), item(c)});
    const RCShdPtr<SnItem const> itemOfB = itemAt(1);
    selector->selectPoint(1);
    selector->selectHandle(2);
    selector->selectPoints(Vo::Vector<int>{4, 5});
    selector->selectAllPoints(6);
    selector->selectAllHandles(3);
    selector->selectNextPoint(6);
    selector->selectPreviousHandle(3);
    selector->updateSelectionPointAdded(weaks[a], 0);
    selector->updateSelectionHandleDeleted(weaks[a], 0);
    selector->unselectPoints();
    EXPECT_EQ(itemAt(1).get(), itemOfB.get());
    selector->updateSelectionPointDeleted(weaks[b], 0);
    EXPECT_EQ(selectedShapes(), (Indices{a, b, c}));
    EXPECT_EQ(pointsAt(1), Indices{7});
    EXPECT_EQ(handlesAt(1), Indices{3});
    EXPECT_FALSE(itemAt(2)->hasParts());
    EXPECT_EQ(handlesAt(0), Indices{0});
}

} // namespace
