#include "foundation/FreeList.h"
#include "host/graph/PiSnItem.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/selection/SnItemBasic.h"
#include "host/selection/SnParts.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include <pthread.h>

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

// What a list of 64-byte blocks keeps, as another thread key's destructor sees it on the thread's
// way out: it runs in the same rounds as the list's own, and asks for one more round so that it
// looks again after the list's destructor whichever of the two runs first.
struct SeenAtThreadEnd {
    using List = Vo::FreeList<64>;
    static void look(void *round) {
        kept = List::getNbKept();
        List::release(List::allocate(64), 64);
        keptAfterRelease = List::getNbKept();
        if (round == &first) {
            pthread_setspecific(key, &second);
        }
    }
    static inline pthread_key_t key;
    static inline int first;
    static inline int second;
    static inline std::size_t kept = 1;
    static inline std::size_t keptAfterRelease = 1;
};

// A thread's blocks go back to the heap as it ends, and a block freed after that goes straight
// back too.
TEST(FreeListTest, GivesAThreadsBlocksBackAsItEnds) {
    using List = SeenAtThreadEnd::List;
    SKIP_WITHOUT_FREE_LIST(64)
    ASSERT_EQ(pthread_key_create(&SeenAtThreadEnd::key, &SeenAtThreadEnd::look), 0);
    std::thread ending([] {
        List::release(List::allocate(64), 64);
        List::release(List::allocate(64), 64);
        pthread_setspecific(SeenAtThreadEnd::key, &SeenAtThreadEnd::first);
    });
    ending.join();
    pthread_key_delete(SeenAtThreadEnd::key);
    EXPECT_EQ(SeenAtThreadEnd::kept, 0u);
    EXPECT_EQ(SeenAtThreadEnd::keptAfterRelease, 0u);
}

// With no thread key to be had, a list keeps nothing: its blocks go back to the heap. The
// thread's end used to be registered by the C library, which ended the process when it ran out of
// memory doing so.
TEST(FreeListTest, KeepsNothingWithoutAThreadKey) {
    using List = Vo::FreeList<72>;
    SKIP_WITHOUT_FREE_LIST(72)
    std::vector<pthread_key_t> taken;
    for (pthread_key_t key; pthread_key_create(&key, nullptr) == 0;) {
        taken.push_back(key);
    }
    List::release(List::allocate(72), 72);
    const std::size_t keptWithoutKey = List::getNbKept();
    for (const pthread_key_t key : taken) {
        pthread_key_delete(key);
    }
    EXPECT_EQ(keptWithoutKey, 0u);
    // The key is tried once: the list keeps nothing for the rest of the process.
    List::release(List::allocate(72), 72);
    EXPECT_EQ(List::getNbKept(), 0u);
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
