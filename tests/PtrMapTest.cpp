#include "foundation/PtrMap.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <map>
#include <random>
#include <vector>

using Vo::PtrMap;

namespace {

// Every entry of the reference map is found with its value, and nothing else is.
void expectSame(const PtrMap<const int *, int> &map, const std::map<const int *, int> &reference,
                const std::vector<int> &keys) {
    ASSERT_EQ(map.size(), reference.size());
    for (const int &key : keys) {
        const auto expected = reference.find(&key);
        const int *found = map.find(&key);
        if (expected == reference.end()) {
            EXPECT_EQ(found, nullptr);
        } else {
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(*found, expected->second);
        }
    }
}

} // namespace

// Random inserts and erases over a pool of adjacent addresses (long probe runs that wrap around
// the table) against a reference map, through growth, erase-then-reinsert and clear.
TEST(PtrMapTest, MatchesReferenceMap) {
    struct Case {
        std::size_t pool;
        std::size_t steps;
        unsigned seed;
    };
    for (const Case &c :
         std::array<Case, 4>{{{4, 200, 1}, {17, 2000, 2}, {300, 20000, 3}, {5000, 60000, 4}}}) {
        std::vector<int> keys(c.pool);
        PtrMap<const int *, int> map;
        std::map<const int *, int> reference;
        std::mt19937 random(c.seed);
        for (std::size_t step = 0; step < c.steps; ++step) {
            const int *key = &keys[random() % c.pool];
            const int value = static_cast<int>(step);
            if (random() % 3 != 0) {
                EXPECT_EQ(map.insert(key, value), reference.emplace(key, value).second);
            } else {
                EXPECT_EQ(map.erase(key), reference.erase(key) == 1);
            }
        }
        expectSame(map, reference, keys);
        for (const int &key : keys) { // erase everything, then reinsert into the emptied slots
            EXPECT_EQ(map.erase(&key), reference.erase(&key) == 1);
        }
        EXPECT_TRUE(map.empty());
        for (std::size_t i = 0; i < c.pool; i += 2) {
            map.insert(&keys[i], -static_cast<int>(i));
            reference.emplace(&keys[i], -static_cast<int>(i));
        }
        expectSame(map, reference, keys);
        map.clear();
        EXPECT_TRUE(map.empty());
        EXPECT_EQ(map.find(&keys[0]), nullptr);
        EXPECT_TRUE(map.insert(&keys[0], 7));
        EXPECT_EQ(*map.find(&keys[0]), 7);
    }
}

TEST(PtrMapTest, InsertKeepsExistingValueAndNullIsNeverFound) {
    int a = 0;
    PtrMap<const int *, int> map;
    EXPECT_EQ(map.find(nullptr), nullptr);
    EXPECT_FALSE(map.erase(&a));
    EXPECT_TRUE(map.insert(&a, 1));
    EXPECT_FALSE(map.insert(&a, 2));
    EXPECT_EQ(*map.find(&a), 1);
    EXPECT_EQ(map.find(nullptr), nullptr);
    EXPECT_FALSE(map.erase(nullptr));
    EXPECT_EQ(map.size(), 1u);
}
