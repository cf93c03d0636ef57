#include "host/RCOwner.h"
#include "foundation/RCWeakAccessor.h"
#include "foundation/RCWeakPtr.h"

#include "LiveObject.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

namespace Vo {
namespace {

using Document = VoTest::LiveObject;

static_assert(!std::is_copy_constructible_v<RCOwner<Document>> &&
                  !std::is_copy_assignable_v<RCOwner<Document>>,
              "an object has one owner");
static_assert(std::is_nothrow_move_constructible_v<RCOwner<Document>> &&
                  std::is_nothrow_move_assignable_v<RCOwner<Document>>,
              "handing ownership on never raises");

TEST(RCOwner, HoldsTheOnlyStrongUnitUntilResetUnlessAnAccessorStillHoldsIt) {
    int live = 0;
    RCOwner<Document> owner(new Document(live));
    ASSERT_FALSE(owner.getCounter().isNull());
    EXPECT_EQ(owner.getCounter()->getStrongCount(), 1);
    EXPECT_EQ(owner.getCounter()->getRefCount(), 1);
    RCWeakPtr<Document> weak = owner.getWeak();
    EXPECT_EQ(weak.get(), owner.get());
    EXPECT_FALSE(weak.isNull());
    {
        RCWeakAccessor<Document> accessor(weak);
        owner.reset();
        EXPECT_TRUE(owner.isNull());
        EXPECT_TRUE(owner.getCounter().isNull());
        EXPECT_EQ(live, 1) << "the object must survive while an accessor holds it";
    }
    EXPECT_EQ(live, 0);
    EXPECT_TRUE(weak.isNull());

    RCOwner<Document> none(nullptr);
    EXPECT_TRUE(none.isNull());
    EXPECT_TRUE(none.getCounter().isNull());
    EXPECT_TRUE(none.getWeak().isNull());
}

TEST(RCOwner, DestructionAndMovesGiveUpTheReplacedObjectAtOnce) {
    int live = 0;
    RCWeakPtr<Document> gone;
    {
        RCOwner<Document> owner(new Document(live));
        gone = owner.getWeak();
    }
    EXPECT_EQ(live, 0);
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(gone.getCounter()->getRefCount(), 1) << "the block stays for the weak pointer";

    RCOwner<Document> first(new Document(live));
    RCWeakPtr<Document> firstWeak = first.getWeak();
    RCOwner<Document> second(std::move(first));
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(second.get(), firstWeak.get());
    EXPECT_EQ(second.getCounter().get(), firstWeak.getCounter().get());

    RCOwner<Document> third(new Document(live));
    RCWeakPtr<Document> thirdWeak = third.getWeak();
    second = std::move(third);
    EXPECT_EQ(live, 1);
    EXPECT_TRUE(firstWeak.isNull()) << "the object replaced by a move must be given up";
    EXPECT_FALSE(thirdWeak.isNull());
    EXPECT_EQ(second.get(), thirdWeak.get());
}

} // namespace
} // namespace Vo
