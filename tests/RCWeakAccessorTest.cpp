#include "foundation/RCWeakAccessor.h"
#include "foundation/RCWeakPtr.h"
#include "host/RCExNullPtr.h"
#include "host/RCOwner.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

namespace Vo {
namespace AccessorTesting {

// An application-owned object; the derived class reports its own destruction separately, so that a
// release through the base pointer is seen to run the whole destructor.
class Editor {
public:
    explicit Editor(int &liveCount) : live(liveCount) { ++live; }
    virtual ~Editor() { --live; }
    int getLive() const { return live; }

private:
    int &live;
};

class CurveEditor : public Editor {
public:
    CurveEditor(int &liveCount, int &curveLiveCount)
        : Editor(liveCount), curveLive(curveLiveCount) {
        ++curveLive;
    }
    ~CurveEditor() override { --curveLive; }

private:
    int &curveLive;
};

} // namespace AccessorTesting

namespace {

using AccessorTesting::CurveEditor;
using AccessorTesting::Editor;
using Counter = RCOwner<CurveEditor>::Counter;

static_assert(sizeof(RCWeakAccessor<Editor>) == 2 * sizeof(void *), "two pointers");
static_assert(!std::is_copy_constructible<RCWeakAccessor<Editor>>::value &&
                  !std::is_copy_assignable<RCWeakAccessor<Editor>>::value,
              "an accessor is not shared");
static_assert(std::is_nothrow_move_constructible<RCWeakAccessor<Editor>>::value &&
                  std::is_nothrow_destructible<RCWeakAccessor<Editor>>::value,
              "moving and releasing never raise");
static_assert(
    std::is_nothrow_constructible<RCWeakAccessor<Editor>, const RCWeakPtr<Editor> &>::value,
    "a failed lock is no error");
static_assert(!std::is_convertible<const RCWeakPtr<Editor> &, RCWeakAccessor<Editor>>::value,
              "locking is spelled out");

int strongCount(const RCOwner<CurveEditor> &owner) { return owner.getCounter()->getStrongCount(); }
int blockShares(const RCOwner<CurveEditor> &owner) { return owner.getCounter()->getRefCount(); }

TEST(RCWeakAccessor, LockTakesOneStrongUnitAndOneBlockShare) {
    int live = 0;
    int curves = 0;
    RCOwner<CurveEditor> owner(new CurveEditor(live, curves));
    RCWeakPtr<Editor> weak(owner.getWeak());
    {
        RCWeakAccessor<Editor> first(weak);
        RCWeakAccessor<Editor const> second{RCWeakPtr<Editor const>(weak)};
        EXPECT_FALSE(first.isNull());
        EXPECT_EQ(first.get(), owner.get());
        EXPECT_EQ(&*second, owner.get());
        EXPECT_EQ(second->getLive(), 1);
        EXPECT_EQ(strongCount(owner), 3);
        EXPECT_EQ(blockShares(owner), 4);
    }
    EXPECT_EQ(strongCount(owner), 1);
    EXPECT_EQ(blockShares(owner), 2);
}

TEST(RCWeakAccessor, OutlivingTheOwnerDestroysTheObjectOnRelease) {
    int live = 0;
    int curves = 0;
    RCOwner<CurveEditor> owner(new CurveEditor(live, curves));
    RCWeakPtr<Editor> weak(owner.getWeak());
    const Counter *block = weak.getCounter().get();
    {
        RCWeakAccessor<Editor> accessor(weak);
        owner.reset();
        EXPECT_EQ(live, 1) << "the owner let go while an accessor still held the object";
        EXPECT_FALSE(weak.isNull());
        EXPECT_EQ(block->getStrongCount(), 1);
        RCWeakAccessor<Editor> nested(weak);
        EXPECT_FALSE(nested.isNull()) << "a held object can still be locked";
    }
    EXPECT_EQ(live, 0);
    EXPECT_EQ(curves, 0) << "the accessor of a base class must run the whole destructor";
    EXPECT_TRUE(weak.isNull());
    EXPECT_EQ(block->getRefCount(), 1) << "the block stays for the remaining weak pointer";

    RCOwner<CurveEditor> second(new CurveEditor(live, curves));
    {
        RCWeakAccessor<Editor> sole{RCWeakPtr<Editor>(second.getWeak())};
        second.reset();
        EXPECT_EQ(live, 1);
    } // the sole holder of object and block releases the object first, then the block
    EXPECT_EQ(live, 0);
}

TEST(RCWeakAccessor, LockOfVanishedObjectFailsAndTakesNothing) {
    int live = 0;
    int curves = 0;
    RCOwner<CurveEditor> owner(new CurveEditor(live, curves));
    RCWeakPtr<CurveEditor> weak = owner.getWeak();
    owner.reset();

    RCWeakAccessor<CurveEditor> late(weak);
    EXPECT_TRUE(late.isNull());
    EXPECT_EQ(late.get(), nullptr);
    EXPECT_EQ(weak.getCounter()->getStrongCount(), 0) << "the strong count never rises from 0";
    EXPECT_EQ(weak.getCounter()->getRefCount(), 1) << "a failed lock must not keep the block";
}

TEST(RCWeakAccessor, TestedAccessThroughNullRaisesNamingThePointerType) {
    RCWeakAccessor<Editor const> fromNull{RCWeakPtr<Editor const>()};
    EXPECT_TRUE(fromNull.isNull());
    try {
        (void)fromNull->getLive();
        FAIL() << "tested access through a null accessor did not raise";
    } catch (const RCExNullPtr &error) {
        EXPECT_EQ(error.getPointerType(), "Vo::AccessorTesting::Editor const*");
    }
    RCWeakAccessor<CurveEditor> empty;
    try {
        (void)*empty;
        FAIL() << "tested access through a null accessor did not raise";
    } catch (const RCExNullPtr &error) {
        EXPECT_EQ(error.getPointerType(), "Vo::AccessorTesting::CurveEditor*");
    }
}

TEST(RCWeakAccessor, MovingKeepsTheSingleStrongUnit) {
    int live = 0;
    int curves = 0;
    RCOwner<CurveEditor> owner(new CurveEditor(live, curves));
    RCWeakPtr<CurveEditor> weak = owner.getWeak();
    RCWeakAccessor<CurveEditor> source(weak);
    {
        RCWeakAccessor<CurveEditor> target(std::move(source));
        EXPECT_TRUE(source.isNull());
        EXPECT_EQ(target.get(), owner.get());
        EXPECT_EQ(strongCount(owner), 2);
        EXPECT_EQ(blockShares(owner), 3);
        owner.reset();
        EXPECT_EQ(live, 1);
    }
    EXPECT_EQ(live, 0);
    EXPECT_EQ(weak.getCounter()->getRefCount(), 1);
}

} // namespace
} // namespace Vo
