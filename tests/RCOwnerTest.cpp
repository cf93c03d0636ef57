#include "host/RCOwner.h"
#include "foundation/RCWeakAccessor.h"
#include "foundation/RCWeakPtr.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

namespace Vo {
namespace OwnerTesting {

// An application object that counts the live instances of one test.
class Document {
public:
    explicit Document(int &liveCount) : live(liveCount) { ++live; }
    virtual ~Document() { --live; }

private:
    int &live;
};

} // namespace OwnerTesting

namespace {

using OwnerTesting::Document;

static_assert(!std::is_copy_constructible<RCOwner<Document>>::value &&
                  !std::is_copy_assignable<RCOwner<Document>>::value,
              "an object has one owner");
static_assert(std::is_nothrow_move_constructible<RCOwner<Document>>::value &&
                  std::is_nothrow_move_assignable<RCOwner<Document>>::value,
              "handing ownership on never raises");

TEST(RCOwner, HoldsTheOnlyStrongUnitAndOneBlockShare) {
    int live = 0;
    RCOwner<Document> owner(new Document(live));
    ASSERT_FALSE(owner.getCounter().isNull());
    EXPECT_EQ(owner.getCounter()->getStrongCount(), 1);
    EXPECT_EQ(owner.getCounter()->getRefCount(), 1);
    RCWeakPtr<Document> weak = owner.getWeak();
    EXPECT_EQ(weak.get(), owner.get());
    EXPECT_FALSE(weak.isNull());

    RCOwner<Document> none(nullptr);
    EXPECT_TRUE(none.isNull());
    EXPECT_TRUE(none.getCounter().isNull());
    EXPECT_TRUE(none.getWeak().isNull());
}

TEST(RCOwner, ResetWhileAnAccessorLivesDefersDestructionToTheAccessor) {
    int live = 0;
    RCOwner<Document> owner(new Document(live));
    RCWeakPtr<Document> weak = owner.getWeak();
    {
        RCWeakAccessor<Document> accessor(weak);
        owner.reset();
        EXPECT_TRUE(owner.isNull());
        EXPECT_TRUE(owner.getCounter().isNull());
        EXPECT_EQ(live, 1) << "the object must survive while an accessor holds it";
        EXPECT_FALSE(accessor.isNull());
    }
    EXPECT_EQ(live, 0);
    EXPECT_TRUE(weak.isNull());
    owner.reset();
    EXPECT_EQ(live, 0);
}

TEST(RCOwner, ResetWithoutAccessorsDestroysAtOnce) {
    int live = 0;
    RCWeakPtr<Document> weak;
    {
        RCOwner<Document> owner(new Document(live));
        weak = owner.getWeak();
    }
    EXPECT_EQ(live, 0);
    EXPECT_TRUE(weak.isNull());
    EXPECT_EQ(weak.getCounter()->getRefCount(), 1) << "the block stays for the weak pointer";
}

TEST(RCOwner, MovingHandsOnObjectAndReleasesThePreviousOne) {
    int live = 0;
    RCOwner<Document> first(new Document(live));
    RCWeakPtr<Document> firstWeak = first.getWeak();
    RCOwner<Document> second(std::move(first));
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(second.get(), firstWeak.get());
    EXPECT_EQ(second.getCounter().get(), firstWeak.getCounter().get());

    RCOwner<Document> third(new Document(live));
    RCWeakPtr<Document> thirdWeak = third.getWeak();
    EXPECT_EQ(live, 2);
    second = std::move(third);
    EXPECT_EQ(live, 1);
    EXPECT_TRUE(firstWeak.isNull()) << "the object replaced by a move must be given up";
    EXPECT_FALSE(thirdWeak.isNull());
    EXPECT_EQ(second.get(), thirdWeak.get());
}

} // namespace
} // namespace Vo
