#include "foundation/RCWeakPtr.h"
#include "base/RCSWCount.h"
#include "foundation/RCSWBase.h"
#include "foundation/RCWeakAccessor.h"
#include "host/RCOwner.h"

#include "LiveObject.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace Vo {
namespace WeakPtrTesting {

using Counter = RCSWCount<LkCounter<int>>;
using Node = VoTest::LiveObject;
using Leaf = VoTest::DerivedLiveObject;
class Other {};

// An object that keeps its own counter block, so a weak pointer can be made from it alone.
class SelfCounted : public RCSWBase<LkCounter<int>> {
public:
    explicit SelfCounted(const RCShdPtr<Counter> &block) : RCSWBase(block) {}
};

static_assert(sizeof(RCWeakPtr<Node>) == 2 * sizeof(void *), "a weak pointer is two pointers");
static_assert(std::is_convertible_v<RCWeakPtr<Leaf>, RCWeakPtr<Node>> &&
                  std::is_convertible_v<RCWeakPtr<Node>, RCWeakPtr<Node const>>,
              "derived to base, non-const to const");
static_assert(!std::is_constructible_v<RCWeakPtr<Leaf>, RCWeakPtr<Node>> &&
                  !std::is_constructible_v<RCWeakPtr<Node>, RCWeakPtr<Node const>> &&
                  !std::is_constructible_v<RCWeakPtr<Node>, RCWeakPtr<Other>>,
              "no base to derived, const to non-const or unrelated");
static_assert(!std::is_convertible_v<Node *, RCWeakPtr<Node>>,
              "made from a raw pointer only explicitly");
static_assert(std::is_nothrow_copy_constructible_v<RCWeakPtr<Node>> &&
                  std::is_nothrow_copy_assignable_v<RCWeakPtr<Node>> &&
                  std::is_nothrow_destructible_v<RCWeakPtr<Node>>,
              "counting never raises");
static_assert(noexcept(std::declval<RCWeakPtr<Node> &>().swap(std::declval<RCWeakPtr<Node> &>())));

int blockShares(const RCShdPtr<Counter> &block) { return block->getRefCount(); }

// The live counts of the application objects of one test.
class RCWeakPtrTest : public ::testing::Test {
protected:
    int live = 0;
    int leaves = 0;
};

TEST_F(RCWeakPtrTest, KeepsPointerAndBlockOnlyTogether) {
    Leaf leaf(live, leaves);
    RCShdPtr<Counter> block(new Counter(1));
    for (const RCWeakPtr<Node> &half :
         {RCWeakPtr<Node>(&leaf, RCShdPtr<Counter>()), RCWeakPtr<Node>(nullptr, block)}) {
        EXPECT_EQ(half.get(), nullptr);
        EXPECT_TRUE(half.getCounter().isNull());
        EXPECT_TRUE(half.isNull());
    }
    EXPECT_EQ(blockShares(block), 1) << "a rejected block must not be shared";

    RCWeakPtr<Node> both(&leaf, block);
    EXPECT_EQ(both.get(), &leaf);
    EXPECT_EQ(both.getCounter().get(), block.get());
    EXPECT_FALSE(both.isNull());
    EXPECT_EQ(blockShares(block), 2);
    EXPECT_EQ(block->getStrongCount(), 1) << "a weak pointer never holds the object";
    both.assign(&leaf, block);
    EXPECT_EQ(blockShares(block), 2) << "assigning the held block must not count it again";
    both.assign(&leaf, RCShdPtr<Counter>());
    EXPECT_EQ(both.get(), nullptr);
    EXPECT_EQ(blockShares(block), 1);

    // From the object alone: its own block when it keeps one, else nothing.
    EXPECT_TRUE(RCWeakPtr<Node>(&leaf).getCounter().isNull());
    EXPECT_EQ(RCWeakPtr<Node>(&leaf).get(), nullptr);
    SelfCounted keeper(block);
    RCWeakPtr<SelfCounted const> own(&keeper);
    EXPECT_EQ(own.getCounter().get(), block.get());
    EXPECT_EQ(own.get(), &keeper);
    EXPECT_EQ(blockShares(block), 3);
}

TEST_F(RCWeakPtrTest, VanishedObjectReadsNullButKeepsFieldsAndEquality) {
    RCOwner<Leaf> owner(new Leaf(live, leaves));
    Leaf *raw = owner.get();
    RCWeakPtr<Leaf> weak = owner.getWeak();
    RCWeakPtr<Leaf> twin(weak);
    const Counter *block = weak.getCounter().get();
    EXPECT_EQ(weak.lock().get(), raw);

    owner.reset();
    EXPECT_EQ(live, 0);
    EXPECT_TRUE(weak.isNull()) << "a weak pointer to a destroyed object must read as null";
    EXPECT_TRUE(weak.lock().isNull());
    EXPECT_EQ(weak.get(), raw);
    EXPECT_EQ(block->getRefCount(), 2) << "the block outlives the object for its weak pointers";

    RCWeakPtr<Node const> converted(weak);
    EXPECT_EQ(converted.get(), raw);
    EXPECT_EQ(converted.getCounter().get(), block);
    EXPECT_TRUE(converted.isNull());

    // Equal when they share one block, whatever they point to.
    EXPECT_TRUE(converted == twin);
    EXPECT_FALSE(converted != twin);
    Leaf other(live, leaves);
    EXPECT_TRUE(RCWeakPtr<Node>(&other, twin.getCounter()) == twin);
    EXPECT_TRUE(RCWeakPtr<Leaf>(raw, RCShdPtr<Counter>(new Counter(1))) != twin);
    EXPECT_TRUE(RCWeakPtr<Node>() == RCWeakPtr<Leaf>());
    EXPECT_FALSE(RCWeakPtr<Node>() == twin);
}

TEST_F(RCWeakPtrTest, AssignmentAndSwapShareTheNewBlockAndReleaseTheOldOne) {
    Leaf first(live, leaves);
    Leaf second(live, leaves);
    RCShdPtr<Counter> oldBlock(new Counter(1));
    RCShdPtr<Counter> newBlock(new Counter(1));
    RCWeakPtr<Node> weak(&first, oldBlock);
    RCWeakPtr<Node> sameBlock(&second, oldBlock);
    weak = sameBlock;
    EXPECT_EQ(weak.get(), &second);
    const RCWeakPtr<Node> &alias = weak;
    weak = alias;
    EXPECT_EQ(blockShares(oldBlock), 3);

    weak = RCWeakPtr<Node>(&first, newBlock);
    EXPECT_EQ(blockShares(oldBlock), 2) << "the old block must be released";
    EXPECT_EQ(weak.get(), &first);
    EXPECT_EQ(blockShares(newBlock), 2);

    weak.swap(sameBlock);
    EXPECT_EQ(sameBlock.get(), &first);
    EXPECT_EQ(sameBlock.getCounter().get(), newBlock.get());
    EXPECT_EQ(weak.getCounter().get(), oldBlock.get());
    EXPECT_EQ(blockShares(newBlock), 2);

    // A move hands pointer and block share over, and leaves the source null.
    RCWeakPtr<Node> moved(std::move(sameBlock));
    EXPECT_EQ(moved.get(), &first);
    EXPECT_EQ(moved.getCounter().get(), newBlock.get());
    EXPECT_TRUE(sameBlock.isNull());
    EXPECT_EQ(sameBlock.get(), nullptr);
    EXPECT_TRUE(sameBlock.getCounter().isNull());
    EXPECT_EQ(blockShares(newBlock), 2);
}

} // namespace WeakPtrTesting
} // namespace Vo
