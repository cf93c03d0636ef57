#include "foundation/RCPvtEngPtr.h"
#include "host/LkCounter.h"
#include "host/RCBase.h"
#include "host/RCExNullPtr.h"

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

// A private engine holding one value; clones copy the value.
class Engine : public RCBase<LkCounter<int>> {
public:
    Engine(Tally &record, int initial) : tally(record), value(initial) { ++tally.live; }
    ~Engine() override { --tally.live; }
    virtual Engine *clone() const {
        ++tally.clones;
        return new Engine(tally, value);
    }

    Tally &tally;
    int value;
};

// An engine whose clone fails.
class UncloneableEngine : public Engine {
public:
    using Engine::Engine;
    Engine *clone() const override { return nullptr; }
};

} // namespace PvtEngTesting

namespace {

using PvtEngTesting::Engine;
using PvtEngTesting::Tally;
using PvtEngTesting::UncloneableEngine;

static_assert(sizeof(RCPvtEngPtr<Engine>) == sizeof(void *), "one machine pointer");
static_assert(std::is_nothrow_copy_constructible<RCPvtEngPtr<Engine>>::value &&
                  std::is_nothrow_move_constructible<RCPvtEngPtr<Engine>>::value &&
                  std::is_nothrow_copy_assignable<RCPvtEngPtr<Engine>>::value &&
                  std::is_nothrow_destructible<RCPvtEngPtr<Engine>>::value,
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
    EXPECT_EQ(first.getShareCount(), 1);
    EXPECT_EQ(second.getShareCount(), 1);

    second.write();
    EXPECT_EQ(&first.write(), original);
    EXPECT_EQ(tally.clones, 1) << "once the copies have parted, writing clones no more";
    EXPECT_EQ(tally.live, 2);
}

TEST(RCPvtEngPtr, AssignmentAndReleaseCountTheEngines) {
    Tally tally;
    {
        RCPvtEngPtr<Engine> first(new Engine(tally, 1));
        RCPvtEngPtr<Engine> second(new Engine(tally, 2));
        const RCPvtEngPtr<Engine> &alias = first;
        first = alias;
        EXPECT_EQ(first.getShareCount(), 1);
        EXPECT_EQ(tally.live, 2);

        first = second;
        EXPECT_EQ(tally.live, 1) << "the last holder of the old engine must destroy it";
        EXPECT_EQ(first.read().value, 2);
        EXPECT_EQ(second.getShareCount(), 2);

        RCPvtEngPtr<Engine> moved(std::move(second));
        EXPECT_EQ(moved.getShareCount(), 2);
    }
    EXPECT_EQ(tally.live, 0);
}

TEST(RCPvtEngPtr, NullEngineRaisesOnAnyAccess) {
    RCPvtEngPtr<Engine> none;
    EXPECT_TRUE(none.isNull());
    EXPECT_EQ(none.getShareCount(), 0);
    try {
        (void)none.read();
        FAIL() << "reading a null engine did not raise";
    } catch (const RCExNullPtr &error) {
        EXPECT_EQ(error.getPointerType(), "Vo::PvtEngTesting::Engine*");
    }
    EXPECT_THROW(none.write(), RCExNullPtr);
}

TEST(RCPvtEngPtr, FailedCloneRaisesAndKeepsTheSharedEngine) {
    Tally tally;
    RCPvtEngPtr<Engine> first(new UncloneableEngine(tally, 3));
    RCPvtEngPtr<Engine> second(first);
    const Engine *shared = &first.read();
    try {
        second.write();
        FAIL() << "a null clone did not raise";
    } catch (const RCExNullPtr &error) {
        EXPECT_EQ(error.getPointerType(), "Vo::PvtEngTesting::Engine*");
    }
    EXPECT_EQ(&second.read(), shared);
    EXPECT_EQ(second.getShareCount(), 2);
    EXPECT_EQ(tally.live, 1);
}

} // namespace
} // namespace Vo
