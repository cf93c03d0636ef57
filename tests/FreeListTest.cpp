#include "foundation/FreeList.h"
#include "host/PiSnItem.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/selection/SnItemBasic.h"
#include "host/selection/SnParts.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// Each test takes a size of its own, so that no test sees another's blocks. Sanitizer builds
// send every block to the heap: there is nothing to look at then.
#define SKIP_WITHOUT_FREE_LIST(Size)                                                               \
    if (!Vo::FreeList<Size>::enabled) {                                                            \
        GTEST_SKIP() << "sanitizer build: blocks go to the heap";                                  \
    }

TEST(FreeListTest, ReusesFreedBlocksLastInFirstOutAndLeavesOtherSizesToTheHeap) {
    using List = Vo::FreeList<48>;
    SKIP_WITHOUT_FREE_LIST(48)
    void *first = List::allocate(48);
    void *second = List::allocate(48);
    List::release(first, 48);
    List::release(second, 48);
    EXPECT_EQ(List::getNbKept(), 2u);
    EXPECT_EQ(List::allocate(48), second);
    EXPECT_EQ(List::allocate(48), first);
    EXPECT_EQ(List::getNbKept(), 0u);

    // A derived class's larger block neither comes from the list nor goes to it.
    void *larger = List::allocate(64);
    List::release(first, 48);
    EXPECT_NE(larger, first);
    List::release(larger, 64);
    EXPECT_EQ(List::getNbKept(), 1u);
    EXPECT_EQ(List::allocate(48), first);
    List::release(first, 48);
    List::release(second, 48);
}

TEST(FreeListTest, KeepsAtMostItsBoundAndEachThreadItsOwnBlocks) {
    using List = Vo::FreeList<56>;
    SKIP_WITHOUT_FREE_LIST(56)
    std::vector<void *> blocks(List::maxBlocks + 3);
    for (void *&block : blocks) {
        block = List::allocate(56);
    }
    for (void *block : blocks) {
        List::release(block, 56);
    }
    EXPECT_EQ(List::getNbKept(), List::maxBlocks);

    // Another thread starts with nothing kept and gives its blocks back when it ends.
    std::size_t keptThere = 1;
    std::size_t keptAfterRelease = 0;
    std::thread other([&] {
        keptThere = List::getNbKept();
        List::release(List::allocate(56), 56);
        keptAfterRelease = List::getNbKept();
    });
    other.join();
    EXPECT_EQ(keptThere, 0u);
    EXPECT_EQ(keptAfterRelease, 1u);
    EXPECT_EQ(List::getNbKept(), List::maxBlocks);
    for (std::size_t i = 0; i < List::maxBlocks; ++i) {
        List::release(List::allocate(56), 56);
    }
}

// Object items (one a selected shape) keep their blocks as well.
TEST(FreeListTest, ObjectItemsReuseTheBlocksOfFreedOnes) {
    using Item = Vo::PiGraphObjectSnItemConst;
    SKIP_WITHOUT_FREE_LIST(sizeof(Item))
    const void *freed = nullptr;
    {
        const Vo::RCShdPtr<Vo::SnItem const> item(new Item({}));
        freed = item.get();
    }
    const Vo::RCShdPtr<Item const> next(new Item({}));
    EXPECT_EQ(static_cast<const void *>(next.get()), freed);
    EXPECT_TRUE(next->getGraphObject().isNull());
}

// Input items are the most numerous items of a selection: the block of one freed is the next one's.
TEST(FreeListTest, InputItemsReuseTheBlocksOfFreedOnes) {
    SKIP_WITHOUT_FREE_LIST(sizeof(Vo::PiSnItem<Vo::PiInput>))
    const void *freed = nullptr;
    {
        const auto item = Vo::PiSnItem<Vo::PiInput>::create({}, {});
        freed = item.get();
    }
    const auto next = Vo::PiSnItem<Vo::PiInput>::create({}, {});
    EXPECT_EQ(static_cast<const void *>(next.get()), freed);
    EXPECT_TRUE(next->getInput().isNull());
    const void *copied = nullptr;
    {
        const Vo::RCShdPtr<Vo::SnItem const> copy(next->clone());
        EXPECT_TRUE(copy->isEqual(*next));
        copied = copy.get();
    }
    EXPECT_EQ(static_cast<const void *>(Vo::PiSnItem<Vo::PiInput>::create({}, {}).get()), copied);
}

// Shape items are SnItemBasic items: theirs are kept too, while a derived class's larger blocks go
// to the heap and back, leaving the list as it was.
TEST(FreeListTest, BasicItemsReuseTheBlocksOfFreedOnesButNotOfLargerDerivedOnes) {
    using Item = Vo::SnItemBasic<int>;
    struct Larger : Item {
        Larger() : Item({}, 3) {}
        double more[4] = {};
    };
    using List = Vo::FreeList<sizeof(Item)>;
    SKIP_WITHOUT_FREE_LIST(sizeof(Item))
    const void *freed = nullptr;
    {
        const Vo::RCShdPtr<Vo::SnItem const> item(new Item({}, 1));
        freed = item.get();
    }
    const std::size_t kept = List::getNbKept();
    EXPECT_GE(kept, 1u);
    const Vo::RCShdPtr<Item const> next(new Item({}, 2));
    EXPECT_EQ(static_cast<const void *>(next.get()), freed);
    EXPECT_EQ(next->getData(), 2);
    EXPECT_EQ(List::getNbKept(), kept - 1);
    {
        const Vo::RCShdPtr<Vo::SnItem const> larger(new Larger);
        EXPECT_NE(static_cast<const void *>(larger.get()), freed);
    }
    EXPECT_EQ(List::getNbKept(), kept - 1);
}

} // namespace
