#include "foundation/PtrList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <random>
#include <vector>

using Vo::PtrList;

namespace {

std::vector<const int *> entriesOf(const PtrList<const int *> &list) {
    std::vector<const int *> entries;
    for (std::size_t i = 0; i < list.size(); ++i) {
        entries.push_back(list[i]);
    }
    return entries;
}

} // namespace

// Random appends and removals against a plain vector: the inline first entry must hand over to the
// next one, in order, whichever entry goes.
TEST(PtrListTest, MatchesReferenceVector) {
    std::array<int, 6> pool{};
    std::mt19937 random(5);
    PtrList<const int *> list;
    std::vector<const int *> reference;
    for (int step = 0; step < 3000; ++step) {
        const int *entry = &pool[random() % pool.size()];
        if (random() % 2 == 0) {
            list.push_back(entry);
            reference.push_back(entry);
        } else {
            const auto found = std::find(reference.begin(), reference.end(), entry);
            EXPECT_EQ(list.erase(entry), found != reference.end());
            if (found != reference.end()) {
                reference.erase(found);
            }
        }
        ASSERT_EQ(entriesOf(list), reference);
        EXPECT_EQ(list.empty(), reference.empty());
        EXPECT_EQ(list.contains(entry),
                  std::find(reference.begin(), reference.end(), entry) != reference.end());
    }
    PtrList<const int *> other;
    other.push_back(&pool[0]);
    list.swap(other);
    EXPECT_EQ(entriesOf(list), std::vector<const int *>{&pool[0]});
    EXPECT_EQ(entriesOf(other), reference);
    other.clear();
    EXPECT_TRUE(other.empty());
    EXPECT_FALSE(other.contains(&pool[0]));
    EXPECT_FALSE(list.erase(nullptr));
    EXPECT_FALSE(list.contains(nullptr));
}
