#include "foundation/RCWeakPtr.h"
#include "foundation/RCWeakAccessor.h"
#include "host/RCOwner.h"
#include "host/RCSWBase.h"
#include "host/RCSWCount.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace Vo {
namespace WeakPtrTesting {

using Counter = RCSWCount<LkCounter<int>>;

// An application-owned object that counts the live instances of one test.
class Node {
public:
    explicit Node(int &liveCount) : live(liveCount) { ++live; }
    virtual ~Node() { --live; }

private:
    int &live;
};

class Leaf : public Node {
public:
    using Node::Node;
};

class Other {};

// A counter block that reports its own destruction.
class TrackedCounter : public Counter {
public:
    TrackedCounter(int strong, bool &destroyedFlag) : Counter(strong), destroyed(destroyedFlag) {}
    ~TrackedCounter() override { destroyed = true; }

private:
    bool &destroyed;
};

// An object that keeps its own counter block, so a weak pointer can be made from it alone.
class SelfCounted : public RCSWBase<LkCounter<int>> {
public:
    explicit SelfCounted(const RCShdPtr<Counter> &block) : RCSWBase(block) {}
};

} // namespace WeakPtrTesting

namespace {

using WeakPtrTesting::Counter;
using WeakPtrTesting::Leaf;
using WeakPtrTesting::Node;
using WeakPtrTesting::Other;
using WeakPtrTesting::SelfCounted;
using WeakPtrTesting::TrackedCounter;

static_assert(sizeof(RCWeakPtr<Node>) == 2 * sizeof(void *), "a weak pointer is two pointers");
static_assert(std::is_convertible<RCWeakPtr<Leaf>, RCWeakPtr<Node>>::value, "derived to base");
static_assert(std::is_convertible<RCWeakPtr<Node>, RCWeakPtr<Node const>>::value,
              "non-const to const");
static_assert(!std::is_constructible<RCWeakPtr<Leaf>, RCWeakPtr<Node>>::value, "base to derived");
static_assert(!std::is_constructible<RCWeakPtr<Node>, RCWeakPtr<Node const>>::value,
              "const to non-const");
static_assert(!std::is_constructible<RCWeakPtr<Node>, RCWeakPtr<Other>>::value, "unrelated");
static_assert(!std::is_convertible<Node *, RCWeakPtr<Node>>::value, "made from a raw pointer only "
                                                                    "explicitly");
static_assert(std::is_nothrow_copy_constructible<RCWeakPtr<Node>>::value &&
                  std::is_nothrow_copy_assignable<RCWeakPtr<Node>>::value &&
                  std::is_nothrow_destructible<RCWeakPtr<Node>>::value,
              "counting never raises");
static_assert(noexcept(std::declval<RCWeakPtr<Node> &>().swap(std::declval<RCWeakPtr<Node> &>())),
              "swap never raises");

int blockShares(const RCShdPtr<Counter> &block) { return block->getRefCount(); }

TEST(RCWeakPtr, KeepsPointerAndBlockOnlyTogether) {
    int live = 0;
    Leaf leaf(live);
    RCShdPtr<Counter> block(new Counter(1));

    RCWeakPtr<Node> noBlock(&leaf, RCShdPtr<Counter>());
    EXPECT_EQ(noBlock.get(), nullptr);
    EXPECT_TRUE(noBlock.getCounter().isNull());
    EXPECT_TRUE(noBlock.isNull());

    RCWeakPtr<Node> noObject(nullptr, block);
    EXPECT_EQ(noObject.get(), nullptr);
    EXPECT_TRUE(noObject.getCounter().isNull());
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
}

TEST(RCWeakPtr, FromObjectAloneUsesTheObjectsOwnBlockOrNone) {
    int live = 0;
    Node plain(live);
    EXPECT_TRUE(RCWeakPtr<Node>(&plain).getCounter().isNull());
    EXPECT_EQ(RCWeakPtr<Node>(&plain).get(), nullptr);

    RCShdPtr<Counter> block(new Counter(1));
    SelfCounted keeper(block);
    RCWeakPtr<SelfCounted const> weak(&keeper);
    EXPECT_EQ(weak.getCounter().get(), block.get());
    EXPECT_EQ(weak.get(), &keeper);
    EXPECT_FALSE(weak.isNull());
    EXPECT_EQ(blockShares(block), 3);
}

TEST(RCWeakPtr, VanishedObjectReadsNullButKeepsFieldsAndEquality) {
    int live = 0;
    RCOwner<Leaf> owner(new Leaf(live));
    Leaf *raw = owner.get();
    RCWeakPtr<Leaf> weak = owner.getWeak();
    RCWeakPtr<Leaf> twin(weak);
    const Counter *block = weak.getCounter().get();

    owner.reset();
    EXPECT_EQ(live, 0);
    EXPECT_TRUE(weak.isNull()) << "a weak pointer to a destroyed object must read as null";
    EXPECT_EQ(weak.get(), raw);
    EXPECT_EQ(weak.getCounter().get(), block);
    EXPECT_TRUE(weak == twin);
    EXPECT_EQ(block->getRefCount(), 2) << "the block outlives the object for its weak pointers";
    EXPECT_TRUE(RCWeakAccessor<Leaf>(weak).isNull());

    RCWeakPtr<Node const> converted(weak);
    EXPECT_EQ(converted.get(), raw);
    EXPECT_EQ(converted.getCounter().get(), block);
    EXPECT_TRUE(converted.isNull());
    EXPECT_TRUE(converted == weak);
}

TEST(RCWeakPtr, EqualityComparesCounterBlocksNotPointers) {
    int live = 0;
    RCOwner<Leaf> owner(new Leaf(live));
    RCWeakPtr<Leaf> asLeaf = owner.getWeak();
    RCWeakPtr<Node> asNode(asLeaf);
    EXPECT_TRUE(asNode == asLeaf);
    EXPECT_FALSE(asNode != asLeaf);

    RCShdPtr<Counter> otherBlock(new Counter(1));
    RCWeakPtr<Leaf> sameObjectOtherBlock(owner.get(), otherBlock);
    EXPECT_FALSE(sameObjectOtherBlock == asLeaf);

    Leaf otherLeaf(live);
    RCWeakPtr<Node> otherObjectSameBlock(&otherLeaf, owner.getCounter());
    EXPECT_TRUE(otherObjectSameBlock == asNode);

    EXPECT_TRUE(RCWeakPtr<Node>() == RCWeakPtr<Leaf>());
    EXPECT_FALSE(RCWeakPtr<Node>() == asLeaf);
}

TEST(RCWeakPtr, AssignmentSharesNewBlockAndReleasesOldOne) {
    int live = 0;
    Leaf first(live);
    Leaf second(live);
    bool oldBlockDestroyed = false;
    RCShdPtr<Counter> oldBlock(new TrackedCounter(1, oldBlockDestroyed));
    RCShdPtr<Counter> newBlock(new Counter(1));

    RCWeakPtr<Node> weak(&first, oldBlock);
    RCWeakPtr<Node> sameBlock(&second, oldBlock);
    weak = sameBlock;
    EXPECT_EQ(weak.get(), &second);
    EXPECT_EQ(blockShares(oldBlock), 3);

    const RCWeakPtr<Node> &alias = weak;
    weak = alias;
    EXPECT_EQ(blockShares(oldBlock), 3);

    sameBlock = RCWeakPtr<Node>();
    oldBlock = nullptr;
    EXPECT_FALSE(oldBlockDestroyed);
    weak = RCWeakPtr<Node>(&first, newBlock);
    EXPECT_TRUE(oldBlockDestroyed) << "the last weak pointer must release the old block";
    EXPECT_EQ(weak.get(), &first);
    EXPECT_EQ(blockShares(newBlock), 2);
    EXPECT_EQ(newBlock->getStrongCount(), 1);
}

TEST(RCWeakPtr, SwapExchangesPointersAndBlocksWithoutCounting) {
    int live = 0;
    Leaf leaf(live);
    RCShdPtr<Counter> block(new Counter(1));
    RCWeakPtr<Leaf> full(&leaf, block);
    RCWeakPtr<Leaf> empty;
    full.swap(empty);
    EXPECT_EQ(empty.get(), &leaf);
    EXPECT_EQ(empty.getCounter().get(), block.get());
    EXPECT_EQ(full.getCounter().get(), nullptr);
    EXPECT_EQ(blockShares(block), 2);
}

TEST(RCWeakPtr, LockHoldsTheObjectForItsScopeOnly) {
    int live = 0;
    RCOwner<Leaf> owner(new Leaf(live));
    RCWeakPtr<Node> weak(owner.getWeak());
    {
        RCWeakAccessor<Node> locked = weak.lock();
        EXPECT_EQ(locked.get(), owner.get());
        EXPECT_EQ(owner.getCounter()->getStrongCount(), 2);
        EXPECT_EQ(blockShares(owner.getCounter()), 3);
    }
    EXPECT_EQ(owner.getCounter()->getStrongCount(), 1);
    EXPECT_EQ(blockShares(owner.getCounter()), 2);

    owner.reset();
    EXPECT_TRUE(weak.lock().isNull());
}

} // namespace
} // namespace Vo
