#include "foundation/EpochIterator.h"

#include "foundation/RCShdPtr.h"
#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/selection/SnItemBasic.h"
#include "host/selection/SnParts.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::SnSelection;
using ItemPtr = RCShdPtr<Vo::SnItem const>;
using Numbers = std::vector<int>;
using It = Vo::EpochIterator<Numbers::const_iterator>;

ItemPtr makeItem(int data) {
    return ItemPtr(new Vo::SnItemBasic<int>(RCShdPtr<Vo::SnParts>(), data));
}

int dataOf(const ItemPtr &item) {
    return static_cast<const Vo::SnItemBasic<int> &>(*item).getData();
}

TEST(EpochIteratorTest, WalksAsTheIteratorItWrapsWhileTheOwnerIsUnchanged) {
    const Numbers numbers{5, 1, 4};
    const std::uint64_t epoch = 3;
    const It first(numbers.begin(), &epoch);
    const It last(numbers.end(), &epoch);
    EXPECT_EQ(last - first, 3);
    EXPECT_EQ(std::vector<int>(first, last), numbers);
    EXPECT_EQ(*std::max_element(first, last), 5);
    EXPECT_EQ(first[2], 4);
    It walk = first;
    EXPECT_EQ(*++walk, 1);
    EXPECT_EQ(*walk--, 1);
    EXPECT_EQ(*walk++, 5);
    EXPECT_EQ(*walk--, 1);
    EXPECT_TRUE(walk == first && walk < last && last > walk && walk <= first && last >= walk);
    EXPECT_FALSE(first > walk || first < walk || first != walk);
    EXPECT_EQ(*(2 + walk), 4);
    EXPECT_EQ(*(last - 1), 4);
    It back = last;
    EXPECT_EQ(*--back, 4);
    EXPECT_FALSE(walk.isStale());
    EXPECT_FALSE(It().isStale());
}

TEST(EpochIteratorTest, ASelectionsIteratorsGoStaleAtItsNextChangeOnly) {
    const RCShdPtr<SnSelection> selection = SnSelection::create({makeItem(1), makeItem(2)});
    const SnSelection::const_iterator held = selection->begin();
    EXPECT_EQ(dataOf(*std::next(held)), 2);
    EXPECT_FALSE(held.isStale()) << "reading changed nothing";
    selection->insertItem(0, makeItem(0));
    EXPECT_TRUE(held.isStale());
    const SnSelection::const_iterator fresh = selection->begin();
    EXPECT_FALSE(fresh.isStale());
    EXPECT_EQ(dataOf(*fresh), 0);
    EXPECT_EQ(selection->end() - fresh, 3);
    selection->removeItem(*fresh);
    EXPECT_TRUE(fresh.isStale());
}

// Keeps the run of added items a selection lends its observers, not the hint that lends it.
class RunKeeper : public Vo::ObObserver<Vo::Sn> {
public:
    void update(Vo::ObSubject<Vo::Sn> *, const Vo::ObHints &hints) override {
        run = Vo::rcDynamicCast<Vo::SnSelectionChangeHint>(hints.getContainer().front())
                  ->getAddedItems();
    }
    Vo::SnItemRun run;
};

TEST(EpochIteratorTest, ARunOfAddedItemsGoesStaleAtTheSelectionsNextChangeOnly) {
    const RCShdPtr<SnSelection> selection = SnSelection::create({makeItem(1), makeItem(2)});
    RunKeeper keeper;
    selection->getSubject().attachObserver(&keeper);
    selection->insertItem(1, makeItem(7));
    ASSERT_EQ(keeper.run.size(), 1u);
    EXPECT_FALSE(keeper.run.isStale()) << "lent by the change just made";
    EXPECT_EQ(dataOf(keeper.run.front()), 7);
    const Vo::SnItemRun part = keeper.run.part(1, 0);
    EXPECT_EQ(part.size(), 0u);
    EXPECT_FALSE(part.isStale());
    const Vo::SnItemRun kept = keeper.run;
    (void)selection->getNbItems();
    EXPECT_FALSE(kept.isStale()) << "reading changed nothing";
    selection->removeItem(*selection->begin());
    EXPECT_TRUE(kept.isStale());
    EXPECT_TRUE(part.isStale()) << "a part is lent as the run it was cut from";
    EXPECT_FALSE(keeper.run.isStale()) << "the run of the removal, lent afresh";
    EXPECT_FALSE(Vo::SnItemRun().isStale());
    selection->getSubject().detachObserver(&keeper);
}

// In builds with checks, a run kept past the lending selection's next change stops at its use.
TEST(EpochIteratorDeathTest, ABuildWithChecksStopsAtAStaleRunOfAddedItems) {
    if (!VO_CHECKS) {
        GTEST_SKIP() << "builds with the debug checks only";
    }
    const RCShdPtr<SnSelection> selection = SnSelection::create({makeItem(1)});
    RunKeeper keeper;
    selection->getSubject().attachObserver(&keeper);
    selection->insertItem(1, makeItem(2));
    selection->getSubject().detachObserver(&keeper);
    const Vo::SnItemRun run = keeper.run;
    selection->insertItem(0, makeItem(3));
    const char *const stale = "check failed: SnItemRun: a run read after its owner changed";
    EXPECT_DEATH((void)run.begin(), stale);
    EXPECT_DEATH((void)run.front(), stale);
    EXPECT_DEATH((void)run.end(), stale);
}

// In builds with checks, the use of a stale iterator stops at the use: reading, moving, comparing.
TEST(EpochIteratorDeathTest, ABuildWithChecksStopsAtAStaleIterator) {
    if (!VO_CHECKS) {
        GTEST_SKIP() << "builds with the debug checks only";
    }
    const RCShdPtr<SnSelection> selection = SnSelection::create({makeItem(1), makeItem(2)});
    SnSelection::const_iterator held = selection->begin();
    selection->replaceItem(*held, makeItem(3)); // in place: no memory moved, still a change
    const char *const stale = "check failed: an iterator was used after the container it reads";
    EXPECT_DEATH((void)*held, stale);
    EXPECT_DEATH((void)held->get(), stale);
    EXPECT_DEATH((void)held[1], stale);
    EXPECT_DEATH(++held, stale);
    EXPECT_DEATH((void)(held == selection->end()), stale);
    EXPECT_DEATH((void)(selection->end() - held), stale);
}

} // namespace
