#include "foundation/FlatMap.h"
#include "foundation/PtrMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

using IntMap = Vo::FlatMap<std::int64_t, int, std::numeric_limits<std::int64_t>::min()>;
using PtrMap = Vo::PtrMap<const int *, int>;

// Every entry of the reference map is found with its value, and nothing else is.
template <class Map, class K>
void expectSame(const Map &map, const std::map<K, int> &reference, const std::vector<K> &keys) {
    ASSERT_EQ(map.size(), reference.size());
    for (const K &key : keys) {
        const auto expected = reference.find(key);
        const int *found = map.find(key);
        EXPECT_EQ(map.contains(key), expected != reference.end());
        if (expected == reference.end()) {
            EXPECT_EQ(found, nullptr);
        } else {
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(*found, expected->second);
        }
    }
}

// Random inserts, erases and erase-ifs over a pool of keys against a reference map, through
// growth, reserve, erase-then-reinsert, swap and clear. Pools of adjacent keys make long probe
// runs that wrap around the table.
template <class Map, class K> void matchReference(const std::vector<K> &keys, unsigned seed) {
    const std::size_t steps = 12 * keys.size() + 200;
    Map map;
    std::map<K, int> reference;
    std::mt19937 random(seed);
    for (std::size_t step = 0; step < steps; ++step) {
        const K key = keys[random() % keys.size()];
        const int value = static_cast<int>(step);
        const unsigned action = random() % 50;
        if (action < 20) {
            EXPECT_EQ(map.insert(key, value), reference.emplace(key, value).second);
        } else if (action < 32) { // made at 0 when absent, then counted up in place
            int &held = map.findOrInsert(key);
            int &expected = reference.try_emplace(key, 0).first->second;
            EXPECT_EQ(held, expected);
            held += value;
            expected += value;
        } else if (action < 49) {
            EXPECT_EQ(map.erase(key), reference.erase(key) == 1);
        } else { // drop the entries whose value is odd, as a scan that erases while it goes
            map.eraseIf([&](K candidate) { return *map.find(candidate) % 2 != 0; });
            for (auto it = reference.begin(); it != reference.end();) {
                it = it->second % 2 != 0 ? reference.erase(it) : std::next(it);
            }
        }
    }
    expectSame(map, reference, keys);
    map.reserve(4 * keys.size());
    expectSame(map, reference, keys);
    Map other;
    other.swap(map);
    EXPECT_TRUE(map.empty());
    expectSame(other, reference, keys);
    for (const K &key : keys) { // erase everything, then reinsert into the emptied cells
        EXPECT_EQ(other.erase(key), reference.erase(key) == 1);
    }
    EXPECT_TRUE(other.empty());
    for (std::size_t i = 0; i < keys.size(); i += 2) {
        other.insert(keys[i], -static_cast<int>(i));
        reference.emplace(keys[i], -static_cast<int>(i));
    }
    expectSame(other, reference, keys);
    other.clear();
    EXPECT_TRUE(other.empty());
    EXPECT_FALSE(other.contains(keys[0]));
    EXPECT_TRUE(other.insert(keys[0], 7));
    EXPECT_EQ(*other.find(keys[0]), 7);
}

} // namespace

TEST(FlatMapTest, MatchesReferenceMapWithPointerKeys) {
    for (std::size_t pool : {4, 17, 300, 5000}) {
        std::vector<int> objects(pool);
        std::vector<const int *> keys;
        for (const int &object : objects) {
            keys.push_back(&object);
        }
        matchReference<PtrMap>(keys, static_cast<unsigned>(pool));
    }
}

TEST(FlatMapTest, MatchesReferenceMapWithIntegerKeys) {
    // Negative, zero, strided and extreme keys; all of them but the free-cell mark are keys.
    std::vector<std::int64_t> keys{0,
                                   -1,
                                   1,
                                   std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max(),
                                   std::numeric_limits<std::int64_t>::min() + 1};
    for (std::int64_t i = 0; i < 3000; ++i) {
        keys.push_back(i % 3 == 0 ? -i * 1000 : i);
    }
    matchReference<IntMap>(keys, 9);
}

// A map refilled to about the same size keeps its cells; one refilled much smaller or larger is
// sized again. Either way nothing of the old entries is found.
TEST(FlatMapTest, ClearForKeepsCellsOnlyWhenTheyFit) {
    IntMap map;
    const auto fill = [&map](std::int64_t from, std::int64_t count) {
        for (std::int64_t key = from; key < from + count; ++key) {
            map.findOrInsert(key) = static_cast<int>(key);
        }
    };
    fill(0, 1000);
    const std::size_t cells = map.capacity();
    EXPECT_EQ(cells, 2048u);
    map.clearFor(700);
    EXPECT_EQ(map.capacity(), cells);
    EXPECT_TRUE(map.empty());
    EXPECT_FALSE(map.contains(0));
    EXPECT_FALSE(map.contains(999));
    fill(5000, 1000);
    EXPECT_EQ(map.size(), 1000u);
    EXPECT_EQ(map.capacity(), cells);
    EXPECT_EQ(*map.find(5999), 5999);
    EXPECT_FALSE(map.contains(0));

    map.clearFor(0); // emptied: the cells stay for the refill
    EXPECT_EQ(map.capacity(), cells);
    EXPECT_TRUE(map.empty());
    EXPECT_FALSE(map.contains(5999));
    fill(5000, 1);
    map.clearFor(10); // 2048 cells are more than four times the 32 that 10 entries need
    EXPECT_EQ(map.capacity(), 32u);
    EXPECT_TRUE(map.empty());
    EXPECT_FALSE(map.contains(5999));
    map.clearFor(128); // 256 cells needed: grown at once, so the refill does not rehash
    EXPECT_EQ(map.capacity(), 256u);
    fill(0, 128);
    EXPECT_EQ(map.capacity(), 256u);
    EXPECT_EQ(*map.find(127), 127);
    map.clearFor(32); // 64 needed, 256 held: kept at exactly four times
    EXPECT_EQ(map.capacity(), 256u);
}

TEST(FlatMapTest, InsertKeepsExistingValueAndTheFreeMarkIsNeverAKey) {
    int a = 0;
    PtrMap map;
    EXPECT_EQ(map.find(nullptr), nullptr);
    EXPECT_FALSE(map.erase(&a));
    EXPECT_TRUE(map.insert(&a, 1));
    EXPECT_FALSE(map.insert(&a, 2));
    EXPECT_EQ(*map.find(&a), 1);
    EXPECT_FALSE(map.insert(nullptr, 3));
    EXPECT_EQ(map.find(nullptr), nullptr);
    EXPECT_FALSE(map.erase(nullptr));
    EXPECT_EQ(map.size(), 1u);

    IntMap indices;
    EXPECT_FALSE(indices.insert(std::numeric_limits<std::int64_t>::min(), 1));
    EXPECT_THROW(indices.findOrInsert(std::numeric_limits<std::int64_t>::min()),
                 std::invalid_argument);
    EXPECT_TRUE(indices.empty());
    EXPECT_TRUE(indices.insert(0, 1));
    EXPECT_FALSE(indices.contains(std::numeric_limits<std::int64_t>::min()));
    EXPECT_EQ(indices.size(), 1u);
}

// Used as a multimap: random insertions and erasures of (key, value) pairs over a few keys, most of
// them sharing probe runs, against a reference multimap; each key's values are what the reference
// holds after every step that changes them.
TEST(FlatMapTest, SeveralEntriesUnderOneKeyMatchAReferenceMultimap) {
    std::mt19937 random(5);
    IntMap map;
    std::multimap<std::int64_t, int> reference;
    const auto valuesOf = [&map](std::int64_t key) {
        std::vector<int> values;
        EXPECT_FALSE(map.anyWith(key, [&values](int value) {
            values.push_back(value);
            return false;
        }));
        std::sort(values.begin(), values.end());
        return values;
    };
    for (int step = 0; step < 6000; ++step) {
        const auto key = static_cast<std::int64_t>(random() % 24) - 12;
        const int value = static_cast<int>(random() % 5);
        if (random() % 3 != 0) {
            map.insertAnother(key, value);
            reference.emplace(key, value);
        } else {
            const auto range = reference.equal_range(key);
            const auto held = std::find_if(range.first, range.second, [value](const auto &entry) {
                return entry.second == value;
            });
            EXPECT_EQ(map.eraseFirstWith(key, [value](int stored) { return stored == value; }),
                      held != range.second);
            if (held != range.second) {
                reference.erase(held);
            }
        }
        std::vector<int> expected;
        const auto range = reference.equal_range(key);
        for (auto entry = range.first; entry != range.second; ++entry) {
            expected.push_back(entry->second);
        }
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(valuesOf(key), expected) << "key " << key << " at step " << step;
        ASSERT_EQ(map.size(), reference.size());
    }
    EXPECT_TRUE(map.anyWith(reference.begin()->first, [](int) { return true; }));
    EXPECT_FALSE(map.anyWith(99, [](int) { return true; }));
    EXPECT_THROW(map.insertAnother(std::numeric_limits<std::int64_t>::min(), 1),
                 std::invalid_argument);
}
