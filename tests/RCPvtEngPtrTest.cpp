#include "foundation/RCPvtEngPtr.h"
#include "base/LkCounter.h"
#include "base/RCBase.h"

#include "NullPointerError.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

namespace Vo {
namespace PvtEngTesting {

// What the engines of one test did: how many exist and how many clones were made.
struct Tally {
    int live = 0;
    int clones = 0;
};

// A private engine holding one value; clones copy the value, or fail when the engine says so.
class Engine : public RCBase<LkCounter<int>> {
public:
    Engine(Tally &record, int initial, bool failClone = false)
        : tally(record), value(initial), nullClone(failClone) {
        ++tally.live;
    }
    ~Engine() override { --tally.live; }
    Engine *clone() const {
        ++tally.clones;
        return nullClone ? nullptr : new Engine(tally, value);
    }

    Tally &tally;
    int value;
    bool nullClone;
};

} // namespace PvtEngTesting

namespace {

using PvtEngTesting::Engine;
using PvtEngTesting::Tally;

static_assert(sizeof(RCPvtEngPtr<Engine>) == sizeof(void *), "one machine pointer");
static_assert(std::is_nothrow_copy_constructible_v<RCPvtEngPtr<Engine>> &&
                  std::is_nothrow_move_constructible_v<RCPvtEngPtr<Engine>> &&
                  std::is_nothrow_copy_assignable_v<RCPvtEngPtr<Engine>> &&
                  std::is_nothrow_destructible_v<RCPvtEngPtr<Engine>>,
              "sharing an engine never raises");

TEST(RCPvtEngPtr, WriteClonesOnlyWhileShared) {
    Tally tally;
    RCPvtEngPtr<Engine> first(new Engine(tally, 7));
    Engine *original = &first.write();
    EXPECT_EQ(tally.clones, 0) << "a sole holder writes its own engine";

    RCPvtEngPtr<Engine> second(first);
    EXPECT_EQ(&second.read(), original);
    EXPECT_EQ(first.getShareCount(), 2);
    EXPECT_EQ(tally.clones, 0) << "reading a shared engine must not clone it";

    second.write().value = 8;
    EXPECT_EQ(tally.clones, 1);
    EXPECT_NE(&second.read(), original);
    EXPECT_EQ(first.read().value, 7) << "a write through one copy must not show in the other";
    EXPECT_EQ(second.getShareCount(), 1);

    second.write();
    EXPECT_EQ(&first.write(), original);
    EXPECT_EQ(tally.clones, 1) << "once the copies have parted, writing clones no more";

    first = second;
    EXPECT_EQ(tally.live, 1) << "the last holder of the old engine must destroy it";
    EXPECT_EQ(first.read().value, 8);
    RCPvtEngPtr<Engine> moved(std::move(second));
    EXPECT_EQ(moved.getShareCount(), 2);
}

TEST(RCPvtEngPtr, NullEngineOrFailedCloneRaisesAndKeepsWhatWasHeld) {
    RCPvtEngPtr<Engine> none;
    EXPECT_TRUE(none.isNull());
    EXPECT_EQ(none.getShareCount(), 0);
    expectNullPointerError([&] { (void)none.read(); }, "Vo::PvtEngTesting::Engine*");
    EXPECT_THROW(none.write(), RCExNullPtr);

    Tally tally;
    RCPvtEngPtr<Engine> first(new Engine(tally, 3, true));
    RCPvtEngPtr<Engine> second(first);
    const Engine *shared = &first.read();
    expectNullPointerError([&] { second.write(); }, "Vo::PvtEngTesting::Engine*");
    EXPECT_EQ(&second.read(), shared);
    EXPECT_EQ(second.getShareCount(), 2);
    EXPECT_EQ(tally.live, 1);
}

} // namespace
} // namespace Vo
