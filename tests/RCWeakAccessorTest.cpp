#include "foundation/RCWeakAccessor.h"
#include "foundation/RCWeakPtr.h"
#include "host/RCOwner.h"

#include "LiveObject.h"
#include "NullPointerError.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

namespace Vo {
namespace AccessorTesting {

using Editor = VoTest::LiveObject;
using CurveEditor = VoTest::DerivedLiveObject;

static_assert(sizeof(RCWeakAccessor<Editor>) == 2 * sizeof(void *), "two pointers");
static_assert(!std::is_copy_constructible_v<RCWeakAccessor<Editor>> &&
                  !std::is_copy_assignable_v<RCWeakAccessor<Editor>>,
              "an accessor is not shared");
static_assert(
    std::is_nothrow_move_constructible_v<RCWeakAccessor<Editor>> &&
        std::is_nothrow_destructible_v<RCWeakAccessor<Editor>> &&
        std::is_nothrow_constructible_v<RCWeakAccessor<Editor>, const RCWeakPtr<Editor> &>,
    "moving, releasing and a failed lock never raise");
static_assert(!std::is_convertible_v<const RCWeakPtr<Editor> &, RCWeakAccessor<Editor>>,
              "locking is spelled out");

// One owned curve editor and a weak pointer to it, with the counts of its block.
class RCWeakAccessorTest : public ::testing::Test {
protected:
    int strongCount() const { return weak.getCounter()->getStrongCount(); }
    int blockShares() const { return weak.getCounter()->getRefCount(); }

    int live = 0;
    int curves = 0;
    RCOwner<CurveEditor> owner{new CurveEditor(live, curves)};
    RCWeakPtr<Editor> weak{owner.getWeak()};
};

TEST_F(RCWeakAccessorTest, LockTakesOneStrongUnitAndOneBlockShareAndMovesThem) {
    {
        RCWeakAccessor<Editor> first(weak);
        RCWeakAccessor<Editor const> second{RCWeakPtr<Editor const>(weak)};
        EXPECT_FALSE(first.isNull());
        EXPECT_EQ(first.get(), owner.get());
        EXPECT_EQ(&*second, owner.get());
        EXPECT_EQ(second->getLive(), 1);
        EXPECT_EQ(strongCount(), 3);
        EXPECT_EQ(blockShares(), 4);

        RCWeakAccessor<Editor> moved(std::move(first));
        EXPECT_TRUE(first.isNull());
        EXPECT_EQ(moved.get(), owner.get());
        EXPECT_EQ(strongCount(), 3);
        EXPECT_EQ(blockShares(), 4);
    }
    EXPECT_EQ(strongCount(), 1);
    EXPECT_EQ(blockShares(), 2);
}

TEST_F(RCWeakAccessorTest, OutlivingTheOwnerDestroysTheObjectOnRelease) {
    {
        RCWeakAccessor<Editor> locked(weak);
        RCWeakAccessor<Editor> accessor(std::move(locked)); // the one to destroy the object
        owner.reset();
        EXPECT_EQ(live, 1) << "the owner let go while an accessor still held the object";
        EXPECT_FALSE(weak.isNull());
        EXPECT_EQ(strongCount(), 1);
        EXPECT_FALSE(RCWeakAccessor<Editor>(weak).isNull()) << "a held object can still be locked";
    }
    EXPECT_EQ(live, 0);
    EXPECT_EQ(curves, 0) << "the accessor of a base class must run the whole destructor";
    EXPECT_TRUE(weak.isNull());
    EXPECT_EQ(blockShares(), 1) << "the block stays for the remaining weak pointer";

    RCOwner<CurveEditor> second(new CurveEditor(live, curves));
    {
        RCWeakAccessor<Editor> sole{RCWeakPtr<Editor>(second.getWeak())};
        second.reset();
        EXPECT_EQ(live, 1);
    } // the sole holder of object and block releases the object first, then the block
    EXPECT_EQ(live, 0);
}

TEST_F(RCWeakAccessorTest, LockOfVanishedObjectFailsAndTakesNothing) {
    owner.reset();
    RCWeakAccessor<Editor> late(weak);
    EXPECT_TRUE(late.isNull());
    EXPECT_EQ(late.get(), nullptr);
    EXPECT_EQ(strongCount(), 0) << "the strong count never rises from 0";
    EXPECT_EQ(blockShares(), 1) << "a failed lock must not keep the block";

    expectNullPointerError(
        [] {
            (void)RCWeakAccessor<Editor const> { RCWeakPtr<Editor const>() } -> getLive();
        },
        "VoTest::LiveObject const*");
    expectNullPointerError([] { (void)*RCWeakAccessor<CurveEditor>(); },
                           "VoTest::DerivedLiveObject*");
}

} // namespace AccessorTesting
} // namespace Vo
