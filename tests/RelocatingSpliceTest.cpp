#include "foundation/RelocatingSplice.h"
#include "NumberedObject.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <iterator>
#include <random>
#include <vector>

namespace Vo {
namespace RelocatingSpliceTesting {

using VoTest::Numbered;
using Ptr = RCShdPtr<Numbered>;

std::vector<int> numbersOf(const std::vector<Ptr> &list) {
    std::vector<int> numbers;
    for (const Ptr &held : list) {
        numbers.push_back(held.isNull() ? -1 : held->number);
    }
    return numbers;
}

// Random splices of every shape (growing, shrinking, same size, at either end, with and without
// room), copied and moved in, against the same splice made by erase and insert: the same pointers
// in the same order, every object counted once for each holder, the removed ones gone.
TEST(RelocatingSpliceTest, SplicesMatchEraseAndInsertAndKeepEveryCount) {
    int live = 0;
    {
        std::mt19937 random(17);
        std::vector<Ptr> list;
        std::vector<Ptr> model;
        int next = 0;
        for (int step = 0; step < 2000; ++step) {
            const std::size_t size = list.size();
            const std::size_t at = std::uniform_int_distribution<std::size_t>(0, size)(random);
            const std::size_t count = std::uniform_int_distribution<std::size_t>(
                0, std::min<std::size_t>(size - at, 6))(random);
            std::vector<Ptr> added(std::uniform_int_distribution<std::size_t>(0, 7)(random));
            for (Ptr &slot : added) {
                slot = Ptr(new Numbered(next++, live));
            }
            if (step % 3 == 0) {
                list.reserve(list.size() + added.size()); // room: no allocation on the way
            }
            const auto place = model.begin() + static_cast<std::ptrdiff_t>(at);
            model.insert(model.erase(place, place + static_cast<std::ptrdiff_t>(count)),
                         added.begin(), added.end());
            if (step % 2 == 0) {
                replaceRelocating(list, at, count, added.begin(), added.end());
            } else {
                replaceRelocating(list, at, count, std::make_move_iterator(added.begin()),
                                  std::make_move_iterator(added.end()));
            }
            ASSERT_EQ(numbersOf(list), numbersOf(model)) << "step " << step;
            // Held by the list and the model, and by `added` when copied in at this step.
            const int firstNew = next - static_cast<int>(added.size());
            for (const Ptr &held : list) {
                const bool copiedNow = step % 2 == 0 && held->number >= firstNew;
                ASSERT_EQ(held->getRefCount(), copiedNow ? 3 : 2) << "step " << step;
            }
        }
        EXPECT_EQ(static_cast<std::size_t>(live), list.size()) << "a removed object lived on";
    }
    EXPECT_EQ(live, 0);
}

} // namespace RelocatingSpliceTesting
} // namespace Vo
