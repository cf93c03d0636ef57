#include "foundation/ChunkedList.h"
#include "NumberedObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <random>
#include <vector>

namespace Vo {
namespace ChunkedListTesting {

using VoTest::Numbered;
using Ptr = RCShdPtr<Numbered>;
using List = ChunkedList<Numbered>;

template <class It> std::vector<int> numbersOf(It first, It last) {
    std::vector<int> numbers;
    for (; first != last; ++first) {
        numbers.push_back(first->isNull() ? -1 : (*first)->number);
    }
    return numbers;
}

std::vector<int> backwards(const List &list) {
    std::vector<int> numbers;
    for (auto at = list.end(); at != list.begin();) {
        --at;
        numbers.push_back((*at)->number);
    }
    std::reverse(numbers.begin(), numbers.end());
    return numbers;
}

// Random splices across chunk boundaries, large enough to cut chunks and small enough to empty
// them, against a plain list: the same items both ways of walking, at every probed position, with
// every object counted once for each holder and the removed ones gone.
TEST(ChunkedListTest, SplicesAnywhereMatchAPlainListAndKeepEveryCount) {
    int live = 0;
    {
        std::mt19937 random(23);
        List list;
        std::vector<Ptr> model;
        int next = 0;
        const auto draw = [&random](std::size_t low, std::size_t high) {
            return std::uniform_int_distribution<std::size_t>(low, high)(random);
        };
        for (int step = 0; step < 700; ++step) {
            const std::size_t size = model.size();
            const std::size_t at = draw(0, size);
            const bool large = step % 7 == 0;
            const std::size_t count = draw(0, std::min<std::size_t>(size - at, large ? 900 : 3));
            std::vector<Ptr> added(draw(0, large ? 1500 : 3) + (size < 2000 ? 2 : 0));
            for (Ptr &slot : added) {
                slot = Ptr(new Numbered(next++, live));
            }
            const auto place = model.begin() + static_cast<std::ptrdiff_t>(at);
            model.insert(model.erase(place, place + static_cast<std::ptrdiff_t>(count)),
                         added.begin(), added.end());
            if (step % 2 == 0) {
                list.reserveSplice(at, count, added.size());
            } else if (step % 5 == 1) {
                list.reserveSplice(0, 0, 3000); // room for another splice, which this one ignores
            }
            list.splice(at, count, added.begin(), added.end());
            added.clear();
            ASSERT_EQ(list.size(), model.size()) << "step " << step;
            // No empty chunk, and none longer than twice kChunk (the list was never adopted).
            ASSERT_LE(list.getNbChunks(), list.size()) << "step " << step;
            ASSERT_GE(list.getNbChunks() * 2 * List::kChunk, list.size()) << "step " << step;
            const std::vector<int> expected = numbersOf(model.begin(), model.end());
            ASSERT_EQ(numbersOf(list.begin(), list.end()), expected) << "step " << step;
            ASSERT_EQ(backwards(list), expected) << "step " << step;
            for (std::size_t probe = 0; probe <= model.size(); probe += 1 + model.size() / 13) {
                ASSERT_EQ(numbersOf(list.iteratorAt(probe), list.end()),
                          std::vector<int>(expected.begin() + static_cast<std::ptrdiff_t>(probe),
                                           expected.end()))
                    << "step " << step << ", position " << probe;
            }
            for (const Ptr &held : model) {
                ASSERT_EQ(held->getRefCount(), 2) << "step " << step;
            }
            ASSERT_EQ(static_cast<std::size_t>(live), model.size()) << "a removed object lived on";
        }
        EXPECT_GT(model.size(), 3 * List::kChunk) << "the walk never held several chunks";
    }
    EXPECT_EQ(live, 0);
}

// The whole-list operations: assign in chunks, adopt one flat list that the next splice cuts,
// overwrite across a chunk boundary, the front, flat, and emptying to nothing and back.
TEST(ChunkedListTest, WholeListsAreTakenOverWrittenAndGivenBackInOrder) {
    int live = 0;
    {
        std::vector<Ptr> items;
        for (int i = 0; i < 1300; ++i) {
            items.emplace_back(new Numbered(i, live));
        }
        const std::vector<int> numbers = numbersOf(items.begin(), items.end());
        List list;
        EXPECT_TRUE(list.empty());
        EXPECT_TRUE(list.begin() == list.end());
        list.assign(items.begin(), items.end());
        EXPECT_EQ(numbersOf(list.begin(), list.end()), numbers);
        EXPECT_EQ(
            numbersOf(list.iteratorAt(List::kChunk), list.iteratorAt(List::kChunk + 2)),
            (std::vector<int>{static_cast<int>(List::kChunk), static_cast<int>(List::kChunk) + 1}));

        std::vector<Ptr> replacement;
        for (int i = 0; i < 4; ++i) {
            replacement.emplace_back(new Numbered(5000 + i, live));
        }
        list.overwrite(List::kChunk - 2, replacement.begin(), replacement.end());
        std::vector<int> overwritten = numbers;
        std::copy_n(numbersOf(replacement.begin(), replacement.end()).begin(), 4,
                    overwritten.begin() + List::kChunk - 2);
        EXPECT_EQ(numbersOf(list.begin(), list.end()), overwritten);
        EXPECT_EQ(replacement.front()->getRefCount(), 2);
        EXPECT_EQ(items[List::kChunk - 2]->getRefCount(), 1) << "overwritten items let go";

        list.setFront(replacement.back());
        EXPECT_EQ(list.front()->number, 5003);
        EXPECT_EQ(items.front()->getRefCount(), 1);

        std::vector<Ptr> flat = list.flat();
        EXPECT_EQ(flat.front()->number, 5003);
        EXPECT_EQ(flat.size(), items.size());
        list.adopt(std::move(items));
        EXPECT_TRUE(items.empty());
        EXPECT_EQ(numbersOf(list.begin(), list.end()), numbers);
        // 5003 stood twice in the chunks, which let go of it: replacement and flat's two are left.
        EXPECT_EQ(flat.front()->getRefCount(), 3);
        EXPECT_EQ(flat[1]->getRefCount(), 2);
        const std::vector<Ptr> one{replacement.front()};
        list.splice(700, 0, one.begin(), one.end()); // cuts the adopted list
        std::vector<int> withOne = numbers;
        withOne.insert(withOne.begin() + 700, 5000);
        EXPECT_EQ(numbersOf(list.begin(), list.end()), withOne);
        EXPECT_EQ(backwards(list), withOne);
        EXPECT_EQ(numbersOf(list.iteratorAt(1100), list.iteratorAt(1102)),
                  (std::vector<int>{1099, 1100}));

        list.splice(0, list.size(), one.begin(), one.begin());
        EXPECT_TRUE(list.empty());
        EXPECT_TRUE(list.begin() == list.end());
        list.splice(0, 0, one.begin(), one.end());
        EXPECT_EQ(numbersOf(list.begin(), list.end()), std::vector<int>{5000});
        list.clear();
        EXPECT_EQ(replacement.front()->getRefCount(), 3) << "replacement, flat and one";
        // flat and replacement hold the rest: all but the first item and the four overwritten.
        EXPECT_EQ(live, 1300 - 5 + 4);
    }
    EXPECT_EQ(live, 0);
}

TEST(ChunkedListDeathTest, ABuildWithChecksStopsAtASplicePastTheEnd) {
    if (!VO_CHECKS) {
        GTEST_SKIP() << "builds with the debug checks only";
    }
    int live = 0; // outlives the list
    List list;
    const std::vector<Ptr> three{Ptr(new Numbered(1, live)), Ptr(new Numbered(2, live)),
                                 Ptr(new Numbered(3, live))};
    list.splice(0, 0, three.begin(), three.end());
    EXPECT_DEATH(list.splice(2, 2, three.begin(), three.end()),
                 "check failed: ChunkedList: a splice past the list's end");
    EXPECT_DEATH(list.reserveSplice(4, 0, 1), "check failed: ChunkedList: a splice past");
}

} // namespace ChunkedListTesting
} // namespace Vo
