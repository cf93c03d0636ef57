#include "base/RCSWEndTally.h"
#include "base/LkCounter.h"
#include "base/RCSWCount.h"
#include "foundation/RCShdPtr.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using Vo::RCSWEndTally;
using Block = Vo::RCSWCount<Vo::LkCounter<int>>;

// The counter block of an object with one strong unit; end() gives it up, as its owner does.
struct Life {
    Vo::RCShdPtr<Block> block{new Block(1)};
    void end() const { EXPECT_TRUE(block->releaseStrong()); }
};

} // namespace

// A tally moves with the ends of the objects enlisted with it, once each, and with those of objects
// two held tallies enlisted; not with any other.
TEST(RCSWEndTally, CountsTheEndsOfItsObjectsAndOfObjectsTwoTalliesHold) {
    RCSWEndTally &mine = RCSWEndTally::acquire();
    RCSWEndTally &other = RCSWEndTally::acquire();
    ASSERT_NE(&mine, &other);
    const Life own;
    const Life others;
    const Life shared;
    const Life unlisted;
    own.block->enlist(mine);
    own.block->enlist(mine);
    others.block->enlist(other);
    shared.block->enlist(mine);
    shared.block->enlist(other);
    const std::uint64_t mineBefore = mine.get();
    const std::uint64_t otherBefore = other.get();
    unlisted.end();
    others.end();
    EXPECT_EQ(mine.get(), mineBefore);
    EXPECT_EQ(other.get(), otherBefore + 1);
    own.end();
    EXPECT_EQ(mine.get(), mineBefore + 1);
    EXPECT_EQ(other.get(), otherBefore + 1);
    shared.end();
    EXPECT_EQ(mine.get(), mineBefore + 2);
    EXPECT_EQ(other.get(), otherBefore + 2);

    // A tally given back leaves its objects to the next tally that enlists them, alone, even once
    // it is handed out again.
    const Life handedOver;
    handedOver.block->enlist(other);
    other.release();
    handedOver.block->enlist(mine);
    RCSWEndTally &next = RCSWEndTally::acquire();
    const std::uint64_t mineThen = mine.get();
    const std::uint64_t nextThen = next.get();
    handedOver.end();
    EXPECT_EQ(mine.get(), mineThen + 1);
    EXPECT_EQ(next.get(), nextThen);
    next.release();
    mine.release();
}
