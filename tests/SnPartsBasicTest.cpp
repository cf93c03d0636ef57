#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"

#include "host/selection/SnParts.h"
#include "host/selection/SnPartsBasic.h"

#include "IndexModel.h"
#include "TestForeignParts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <unordered_map>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::SnParts;
using Indices = Vo::SnPartsBasic<int>;
using Model = std::vector<int>;

using OtherParts = VoTest::TestForeignParts;

RCShdPtr<Indices> makeSet(const Model &indices) {
    RCShdPtr<Indices> set(new Indices());
    for (int index : indices) {
        set->append(index);
    }
    return set;
}

Model partsOf(const RCShdPtr<Indices> &set) {
    return Model(set->getParts().begin(), set->getParts().end());
}

bool modelHas(const Model &model, int index) {
    return std::find(model.begin(), model.end(), index) != model.end();
}

// The documented append rule, on a plain vector.
bool modelAppend(Model &model, int index) {
    if (modelHas(model, index)) {
        return false;
    }
    model.push_back(index);
    return true;
}

// A reference to the order taken once must read the exact indices after every change: removal used
// to leave a removed index in the held vector until the next getParts call.
TEST(SnPartsBasicTest, HeldOrderFollowsEveryChange) {
    const RCShdPtr<Indices> set = makeSet({4, 1, 7});
    const Vo::Vector<int> &held = set->getParts();
    const auto heldModel = [&held] { return Model(held.begin(), held.end()); };

    set->remove(1);
    EXPECT_EQ(heldModel(), (Model{4, 7}));
    set->remove(7);
    EXPECT_EQ(heldModel(), (Model{4}));
    set->append(9);
    set->append(-5);
    set->append(3000000);
    set->remove(-5);
    EXPECT_EQ(heldModel(), (Model{4, 9, 3000000}));
    EXPECT_EQ(set->getRank(3000000), 3);
    set->insertAt(0, 5000000); // far outside the dense range
    set->insertAt(1, -7);
    EXPECT_EQ(heldModel(), (Model{5000000, -7, 4, 9, 3000000}));
    EXPECT_TRUE(set->hasPart(5000000) && set->hasPart(-7));
    set->removeAt(1); // -7, an outlier, by its place
    set->removeAt(9); // past the end: nothing
    EXPECT_FALSE(set->hasPart(-7));
    set->removeAt(0);
    EXPECT_FALSE(set->hasPart(5000000));

    Model model = heldModel();
    std::uint32_t seed = 7;
    for (int step = 0; step < 3000; ++step) {
        seed = seed * 1664525U + 1013904223U;
        const int index = static_cast<int>(seed >> 24) - 40;
        if ((seed >> 8) % 3 == 0) {
            set->remove(index);
            model.erase(std::remove(model.begin(), model.end(), index), model.end());
        } else if ((seed >> 10) % 2 == 0) {
            // A place past the end appends; a present index stays where it is.
            const std::size_t position = (seed >> 4) % (model.size() + 2);
            set->insertAt(position, index);
            if (!modelHas(model, index)) {
                model.insert(model.begin() +
                                 static_cast<std::ptrdiff_t>(std::min(position, model.size())),
                             index);
            }
            ASSERT_EQ(
                set->getRank(index),
                static_cast<int>(std::find(model.begin(), model.end(), index) - model.begin()) + 1);
        } else {
            set->append(index);
            modelAppend(model, index);
        }
        ASSERT_EQ(heldModel(), model) << "after step " << step;
        ASSERT_EQ(set->getSize(), static_cast<int>(model.size()));
        ASSERT_EQ(set->hasPart(index), modelHas(model, index));
    }
    EXPECT_TRUE(set->differenceWith(makeSet({model.front(), model.back()})));
    model.erase(model.begin());
    model.pop_back();
    EXPECT_EQ(heldModel(), model);
    set->clear();
    EXPECT_TRUE(held.empty());
    EXPECT_TRUE(set->isEmpty());
}

// A renumbering moves the indices by a pass over the order and, depending on the set, by whole
// membership words, bit by bit, or by a membership built aside (negative and sparse indices). Each
// way must give the same order, membership and ranks as the rule, from every place, both ways,
// and report whether anything changed.
TEST(SnPartsBasicTest, RenumberingMovesTheIndicesFromThePlaceOnWhateverTheMembership) {
    std::uint32_t seed = 11;
    const auto next = [&seed](std::uint32_t bound) {
        seed = seed * 1664525U + 1013904223U;
        return (seed >> 8) % bound;
    };
    for (int trial = 0; trial < 400; ++trial) {
        Model model;
        const RCShdPtr<Indices> set(new Indices());
        // A dense run whose top index may end a bit word, a shuffled order, then a few removed.
        const int run = std::vector<int>{0, 64, 128, 1000, 1024, 3000}[next(6)];
        for (int index = 0; index < run; ++index) {
            model.push_back(index);
        }
        for (std::size_t i = model.size(); i > 1; --i) {
            std::swap(model[i - 1], model[next(static_cast<std::uint32_t>(i))]);
        }
        for (int index : model) {
            set->append(index);
        }
        const int kept = trial % 3 == 0 ? static_cast<int>(next(6)) : run; // few against many words
        while (static_cast<int>(model.size()) > kept) {
            set->remove(model.front());
            model.erase(model.begin());
        }
        const int extras = trial % 4 == 0 ? 3 : 0; // negative, sparse and extreme indices
        for (int extra = 0; extra < extras; ++extra) {
            const int index = std::vector<int>{-5, INT_MAX, INT_MIN, 900000}[next(4)];
            set->append(index);
            modelAppend(model, index);
        }
        for (int renumbering = 0; renumbering < 4; ++renumbering) {
            const bool added = next(2) == 0;
            // A selected index, the place just below one, or any place.
            const std::uint32_t kind = next(8);
            const int picked =
                model.empty() ? 0 : model[next(static_cast<std::uint32_t>(model.size()))];
            const int at = kind == 0                    ? -3
                           : kind < 3 && !model.empty() ? picked
                           : kind < 5 && !model.empty()
                               ? (picked > INT_MIN ? picked - 1 : picked)
                               : static_cast<int>(next(static_cast<std::uint32_t>(run + 70)));
            const bool changed = VoTest::IndexModel::renumber(model, at, added);
            ASSERT_EQ(set->renumber(at, added), changed) << "trial " << trial << " at " << at;
            ASSERT_EQ(partsOf(set), model)
                << "trial " << trial << " at " << at << " added " << added;
            std::unordered_map<int, int> rankOf;
            for (std::size_t place = 0; place < model.size(); ++place) {
                rankOf[model[place]] = static_cast<int>(place) + 1;
            }
            for (int probe = -6; probe < run + 72; ++probe) {
                const auto rank = rankOf.find(probe);
                ASSERT_EQ(set->getRank(probe), rank == rankOf.end() ? 0 : rank->second)
                    << "trial " << trial << " index " << probe;
            }
            for (const auto &[index, rank] : rankOf) {
                ASSERT_EQ(set->getRank(index), rank) << "trial " << trial;
            }
        }
    }
}

TEST(SnPartsBasicTest, SetOperationsFollowOrderRulesAndReportChanges) {
    using Operation = bool (SnParts::*)(const RCShdPtr<SnParts const> &);
    struct Row {
        const char *what;
        Operation operation;
        Model other;
        bool changed;
        Model after;
    };
    const Operation unite = &SnParts::unionWith, subtract = &SnParts::differenceWith,
                    exclude = &SnParts::xorWith;
    const Row rows[] = {
        // one set through every row, from {4, 1, 7}
        {"union appends in the other's order", unite, {7, 2, 4, 9}, true, {4, 1, 7, 2, 9}},
        {"union of present indices", unite, {9, 4}, false, {4, 1, 7, 2, 9}},
        {"union with nothing", unite, {}, false, {4, 1, 7, 2, 9}},
        {"difference", subtract, {9, 1, 100}, true, {4, 7, 2}},
        {"difference of absent indices", subtract, {100, -3}, false, {4, 7, 2}},
        {"xor removes the common, then appends", exclude, {2, 5, 4, 8}, true, {7, 5, 8}},
        {"xor with nothing", exclude, {}, false, {7, 5, 8}}};
    const RCShdPtr<Indices> set = makeSet({4, 1, 7});
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(((*set).*row.operation)(makeSet(row.other)), row.changed);
        EXPECT_EQ(partsOf(set), row.after);
        for (int index : row.other) {
            EXPECT_EQ(set->hasPart(index), modelHas(row.after, index)) << index;
        }
    }
    // The set given as its own argument.
    EXPECT_FALSE(set->unionWith(set));
    EXPECT_FALSE(set->contains(makeSet({7, 6})));
    EXPECT_TRUE(set->contains(set));
    EXPECT_TRUE(set->xorWith(set));
    EXPECT_TRUE(set->isEmpty());
    set->append(3);
    EXPECT_TRUE(set->differenceWith(set));
    EXPECT_TRUE(set->isEmpty());
    EXPECT_FALSE(set->differenceWith(set));
}

TEST(SnPartsBasicTest, ForeignAndNullArgumentsChangeNothing) {
    const RCShdPtr<Indices> set = makeSet({3, 1});
    const RCShdPtr<SnParts const> foreign(new OtherParts());
    const RCShdPtr<SnParts const> none;
    for (const RCShdPtr<SnParts const> &other : {foreign, none}) {
        EXPECT_FALSE(set->isEqual(other));
        EXPECT_FALSE(set->unionWith(other));
        EXPECT_FALSE(set->differenceWith(other));
        EXPECT_FALSE(set->xorWith(other));
        set->replaceAllParts(other);
        EXPECT_EQ(partsOf(set), (Model{3, 1}));
    }
    EXPECT_FALSE(set->contains(foreign));
    EXPECT_TRUE(set->contains(none));
    EXPECT_TRUE(makeSet({})->contains(none));
}

TEST(SnPartsBasicTest, EqualityRegardsOrderAndContainmentDoesNot) {
    const RCShdPtr<Indices> set = makeSet({1, 2, 3});
    EXPECT_TRUE(set->isEqual(makeSet({1, 2, 3})));
    EXPECT_FALSE(set->isEqual(makeSet({2, 1, 3}))) << "a new order is a new selection";
    EXPECT_FALSE(set->isEqual(makeSet({1, 2})));
    EXPECT_TRUE(makeSet({})->isEqual(makeSet({})));

    EXPECT_TRUE(set->contains(makeSet({3, 1})));
    EXPECT_TRUE(set->contains(makeSet({})));
    EXPECT_TRUE(makeSet({})->contains(makeSet({})));
    EXPECT_FALSE(set->contains(makeSet({3, 4})));
    EXPECT_FALSE(makeSet({1})->contains(makeSet({1, 2})));
}

TEST(SnPartsBasicTest, NegativeAndSparseIndicesMixWithDenseOnes) {
    const Model outliers = {-5, 2000000000, INT_MIN, INT_MAX, 5000, -1};
    const RCShdPtr<Indices> set = makeSet(outliers);
    for (int index : outliers) {
        EXPECT_TRUE(set->hasPart(index)) << index;
    }
    // Dense indices up to and past 5000 widen the dense range over an index first kept outside it.
    for (int index = 0; index <= 6000; ++index) {
        set->append(index);
    }
    EXPECT_EQ(set->getSize(), 6001 + 5);
    EXPECT_EQ(std::count(set->getParts().begin(), set->getParts().end(), 5000), 1);
    EXPECT_TRUE(set->hasPart(5000));
    EXPECT_TRUE(set->hasPart(2000000000));
    EXPECT_FALSE(set->hasPart(6001));
    EXPECT_FALSE(set->hasPart(-2));
    EXPECT_EQ(set->getParts()[4], 5000) << "the index keeps its first rank";

    set->remove(5000);
    set->remove(INT_MIN);
    EXPECT_FALSE(set->hasPart(5000));
    EXPECT_FALSE(set->hasPart(INT_MIN));
    EXPECT_EQ(set->getSize(), 6001 + 3);

    set->clear();
    EXPECT_TRUE(set->isEmpty());
    for (int index : {-5, 0, 3000, 2000000000, INT_MAX}) {
        EXPECT_FALSE(set->hasPart(index)) << index;
    }
    set->append(INT_MAX);
    set->append(0);
    EXPECT_EQ(partsOf(set), (Model{INT_MAX, 0}));
}

TEST(SnPartsBasicTest, AppendRangeActsAsAppendsInOrder) {
    const RCShdPtr<Indices> set = makeSet({70, 3, -1, 130});
    set->appendRange(0, 200);
    Model expected = {70, 3, -1, 130};
    for (int index = 0; index < 200; ++index) {
        modelAppend(expected, index);
    }
    EXPECT_EQ(partsOf(set), expected);
    EXPECT_TRUE(set->hasPart(199));
    EXPECT_FALSE(set->hasPart(200));

    set->appendRange(-3, 5);
    set->appendRange(500, 0);
    set->appendRange(600, -4);
    set->appendRange(INT_MAX - 1, 10);
    expected.insert(expected.end(), {-3, -2, INT_MAX - 1, INT_MAX});
    EXPECT_EQ(partsOf(set), expected);

    set->appendRange(1000000, 3);
    EXPECT_TRUE(set->hasPart(1000002));
    set->appendRange(1000001, 4);
    EXPECT_EQ(set->getSize(), static_cast<int>(expected.size()) + 5);
    EXPECT_EQ(set->getParts().back(), 1000004);
}

TEST(SnPartsBasicTest, ReplaceAndCloneCopyWithoutSharing) {
    const RCShdPtr<Indices> set = makeSet({5, -2});
    const RCShdPtr<Indices> source = makeSet({9, 3, 700000, -8});
    set->replaceAllParts(source);
    EXPECT_EQ(partsOf(set), partsOf(source));
    EXPECT_FALSE(set->hasPart(5));
    EXPECT_FALSE(set->hasPart(-2));
    source->append(4);
    EXPECT_FALSE(set->hasPart(4));

    SnParts *const raw = set->clone();
    EXPECT_EQ(raw->getRefCount(), 0);
    const RCShdPtr<SnParts> copy(raw);
    EXPECT_TRUE(copy->isEqual(set));
    const RCShdPtr<Indices> basicCopy = Vo::rcDynamicCast<Indices>(copy);
    basicCopy->append(11);
    basicCopy->remove(700000);
    EXPECT_EQ(partsOf(set), (Model{9, 3, 700000, -8}));
    EXPECT_TRUE(set->hasPart(700000));
    EXPECT_FALSE(set->hasPart(11));
}

TEST(SnPartsBasicTest, DumpWritesOneLineInSelectionOrder) {
    std::ostringstream text;
    makeSet({4, 1, 7})->dump(text);
    makeSet({})->dump(text);
    makeSet({-3})->dump(text);
    EXPECT_EQ(text.str(), "Indices: 4 1 7\nIndices:\nIndices: -3\n");
}

TEST(SnPartsBasicTest, ReserveTreatsNegativeCountsAsZero) {
    const RCShdPtr<Indices> set = makeSet({2});
    set->reserve(-1);
    set->reserve(INT64_MIN);
    EXPECT_EQ(partsOf(set), (Model{2}));
    set->reserve(1000);
    EXPECT_GE(set->getParts().capacity(), 1000U);
    for (int index = 999; index >= 0; --index) {
        set->append(index);
    }
    EXPECT_EQ(set->getSize(), 1000);
    EXPECT_EQ(set->getParts()[1], 999);
}

// Sizing the index once from the largest index (dense, sparse, far off, negative, past what was
// announced) gives the same set as appending without it: order, membership, removal and ranks.
TEST(SnPartsBasicTest, ReserveUpToALargestIndexChangesNoResult) {
    struct Case {
        const char *what;
        int stride;
        int offset;
        int largest;
    };
    const int count = 3000;
    const std::vector<Case> cases = {{"dense", 1, 0, count - 1},
                                     {"every third", 3, 0, 3 * (count - 1)},
                                     {"every 1000th", 1000, 0, 1000 * (count - 1)},
                                     {"negative", 7, -10000, 7 * count},
                                     {"largest too small", 5, 0, 10},
                                     {"largest INT_MAX", 2, 0, INT_MAX}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const RCShdPtr<Indices> plain = makeSet({});
        const RCShdPtr<Indices> sized = makeSet({c.stride});
        plain->append(c.stride);
        sized->reserve(count, c.largest);
        for (int i = count - 1; i >= 0; --i) { // a scattered order: 7 and count share no factor
            plain->append(c.offset + c.stride * ((i * 7) % count));
            sized->append(c.offset + c.stride * ((i * 7) % count));
        }
        EXPECT_EQ(partsOf(sized), partsOf(plain));
        EXPECT_TRUE(sized->isEqual(plain));
        for (int probe : {c.offset, c.offset + c.stride, c.offset + c.stride + 1, c.largest, -1}) {
            EXPECT_EQ(sized->hasPart(probe), plain->hasPart(probe)) << probe;
            EXPECT_EQ(sized->getRank(probe), plain->getRank(probe)) << probe;
        }
        sized->remove(c.offset + c.stride);
        plain->remove(c.offset + c.stride);
        EXPECT_EQ(partsOf(sized), partsOf(plain));
        EXPECT_FALSE(sized->hasPart(c.offset + c.stride));
    }
}

} // namespace
