#include "host/selection/SnItemSlice.h"

#include "app/TestAllocator.h"
#include "base/RCExNullPtr.h"
#include "foundation/List.h"
#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/selection/SnItemBasic.h"
#include "host/selection/SnItemSource.h"
#include "host/selection/SnParts.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <new>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::SnItemSlice;
using Vo::SnSelection;
using Item = Vo::SnItemBasic<int>;
using ItemPtr = RCShdPtr<Vo::SnItem const>;

ItemPtr makeItem(int data) { return ItemPtr(new Item(RCShdPtr<Vo::SnParts>(), data)); }

// A row whose item i holds base + i; counts the items it makes. Two such rows tell that their
// items are equal when their data are, unless told to leave that to the items.
class NumberRow : public Vo::SnItemSource {
public:
    NumberRow(int first, std::size_t count, bool tells = true)
        : SnItemSource(count), base(first), tells(tells) {}
    bool isSameRun(const SnItemSource &other, std::size_t first, std::size_t otherFirst,
                   std::size_t) const override {
        const auto *row = dynamic_cast<const NumberRow *>(&other);
        return tells && row != nullptr && row->tells &&
               base + static_cast<int>(first) == row->base + static_cast<int>(otherFirst);
    }
    mutable int made = 0;

private:
    ItemPtr makeItem(std::size_t i) const override {
        ++made;
        return ::makeItem(base + static_cast<int>(i));
    }
    int base;
    bool tells;
};

RCShdPtr<NumberRow> row(int first, std::size_t count, bool tells = true) {
    return RCShdPtr<NumberRow>(new NumberRow(first, count, tells));
}

SnSelection::Slices slicesOf(std::initializer_list<SnItemSlice> slices) { return slices; }

// A selection of the items first, first + 1, ..., last - 1, one by one.
RCShdPtr<SnSelection> singles(int first, int last) {
    Vo::List<ItemPtr> items;
    for (int data = first; data < last; ++data) {
        items.push_back(makeItem(data));
    }
    return SnSelection::create(items);
}

std::vector<int> dataOf(const Vo::SnItemRun &run) {
    std::vector<int> data;
    for (const ItemPtr &item : run) {
        data.push_back(Vo::rcDynamicCast<Item const>(item)->getData());
    }
    return data;
}

std::vector<int> range(int first, int last) {
    std::vector<int> data;
    for (int value = first; value < last; ++value) {
        data.push_back(value);
    }
    return data;
}

// Keeps the last hint it was told.
class LastHint : public Vo::ObObserver<Vo::Sn> {
public:
    void update(Vo::ObSubject<Vo::Sn> *, const Vo::ObHints &hints) override {
        hint = Vo::rcDynamicCast<Vo::SnSelectionChangeHint>(hints.getContainer().front());
    }
    RCShdPtr<Vo::SnSelectionChangeHint> hint;
};

// A selection holding a run equals the same items held one by one, either way round, and the
// rows that can tell make no item to say so; rows that cannot are compared item by item, and one
// item that differs inside a run makes them differ.
TEST(SnItemSliceTest, ARunEqualsTheSameItemsHeldOneByOne) {
    const RCShdPtr<NumberRow> numbers = row(10, 6);
    const RCShdPtr<SnSelection> sliced = SnSelection::create();
    sliced->replaceRangeBySlices(0, 0, slicesOf({SnItemSlice(makeItem(1)), SnItemSlice(numbers, 2, 4)}));
    EXPECT_EQ(sliced->getNbItems(), 5);
    RCShdPtr<SnSelection> same = singles(12, 16);
    same->insertItem(0, makeItem(1));
    EXPECT_TRUE(sliced->isEqual(same));
    EXPECT_TRUE(same->isEqual(sliced));
    same->replaceRange(3, 1, {makeItem(99)});
    EXPECT_FALSE(sliced->isEqual(same));
    EXPECT_FALSE(same->isEqual(sliced));

    // Another row of the same numbers, in two slices cut elsewhere: told without making any.
    numbers->made = 0;
    const RCShdPtr<NumberRow> again = row(0, 100);
    const RCShdPtr<SnSelection> other = SnSelection::create();
    other->replaceRangeBySlices(0, 0, slicesOf({SnItemSlice(makeItem(1)), SnItemSlice(again, 12, 1),
                                                 SnItemSlice(again, 13, 3)}));
    EXPECT_TRUE(sliced->isEqual(other));
    EXPECT_TRUE(sliced->isRangeEqual(2, 3, slicesOf({SnItemSlice(again, 13, 3)})));
    EXPECT_EQ(numbers->made + again->made, 0);
    EXPECT_FALSE(sliced->isRangeEqual(2, 3, slicesOf({SnItemSlice(again, 14, 3)})));
    const RCShdPtr<NumberRow> mute = row(12, 4, false);
    EXPECT_TRUE(sliced->isRangeEqual(1, 4, slicesOf({SnItemSlice(mute, 0, 4)})));
    EXPECT_EQ(mute->made, 4);

    // Read, the items are the row's own objects, made once.
    const ItemPtr second = *(sliced->begin() + 1);
    EXPECT_EQ(second.get(), numbers->itemAt(2).get());
    EXPECT_EQ(dataOf(Vo::SnItemRun(&*sliced->begin(), 5)), (std::vector<int>{1, 12, 13, 14, 15}));
}

// A row that says nothing of its own (the base class) tells only the same row at the same place
// without making items; the same row at another place is compared item by item.
TEST(SnItemSliceTest, ARowOfItsOwnIsTheSameRunOnlyAtTheSamePlace) {
    class PlainRow : public Vo::SnItemSource {
    public:
        explicit PlainRow(std::size_t length) : SnItemSource(length) {}
        mutable int made = 0;

    private:
        ItemPtr makeItem(std::size_t i) const override {
            ++made;
            return ::makeItem(static_cast<int>(i));
        }
    };
    const RCShdPtr<PlainRow> plain(new PlainRow(8));
    const RCShdPtr<SnSelection> sliced = SnSelection::create();
    sliced->replaceRangeBySlices(0, 0, slicesOf({SnItemSlice(plain, 2, 4)}));
    EXPECT_TRUE(sliced->isRangeEqual(0, 4, slicesOf({SnItemSlice(plain, 2, 4)})));
    EXPECT_EQ(plain->made, 0);
    EXPECT_FALSE(sliced->isRangeEqual(0, 4, slicesOf({SnItemSlice(plain, 3, 4)})));
    EXPECT_GT(plain->made, 0);
}

// A row that makes a null item is refused where the item is read, and the selection stays sliced.
TEST(SnItemSliceTest, ANullItemOfARowIsRefusedWhenRead) {
    class NullRow : public Vo::SnItemSource {
    public:
        NullRow() : SnItemSource(2) {}

    private:
        ItemPtr makeItem(std::size_t) const override { return ItemPtr(); }
    };
    const RCShdPtr<SnSelection> selection = SnSelection::create();
    selection->replaceRangeBySlices(
        0, 0, slicesOf({SnItemSlice(RCShdPtr<Vo::SnItemSource const>(new NullRow), 0, 2)}));
    EXPECT_THROW(selection->begin(), Vo::RCExNullPtr);
    EXPECT_EQ(selection->getNbItems(), 2);
}

// A splice that cuts a run in the middle tells what left and what came, with the objects the
// selection gives when read; one point out of 10^6 makes none of the others.
TEST(SnItemSliceTest, ASpliceInTheMiddleOfARunTellsItsItemsAndMakesNoOther) {
    const std::size_t million = 1000000;
    const RCShdPtr<NumberRow> numbers = row(0, million);
    const RCShdPtr<SnSelection> selection = SnSelection::create();
    selection->replaceRangeBySlices(0, 0, slicesOf({SnItemSlice(numbers, 0, million)}));
    LastHint told;
    selection->getSubject().attachObserver(&told);

    const std::uint64_t before = selection->getRevision();
    selection->replaceRange(500000, 2, {});
    EXPECT_EQ(selection->getNbItems(), 999998);
    EXPECT_EQ(numbers->made, 0);
    ASSERT_FALSE(told.hint.isNull());
    EXPECT_EQ(told.hint->getRevisionBefore(), before);
    EXPECT_EQ(told.hint->getRevisionAfter(), selection->getRevision());
    EXPECT_EQ(told.hint->getPosition(), 500000);
    EXPECT_EQ(dataOf(told.hint->getRemovedItems()), (std::vector<int>{500000, 500001}));
    EXPECT_TRUE(told.hint->getAddedItems().empty());
    EXPECT_EQ(numbers->made, 2);

    // Three items of another row in the middle of the first part.
    selection->replaceRangeBySlices(10, 3, slicesOf({SnItemSlice(row(-3, 3), 0, 3)}));
    EXPECT_EQ(dataOf(told.hint->getRemovedItems()), range(10, 13));
    EXPECT_EQ(dataOf(told.hint->getAddedItems()), range(-3, 0));
    EXPECT_EQ(told.hint->getRemovedItems()[1].get(), numbers->itemAt(11).get());
    const RCShdPtr<NumberRow> expected = row(0, million);
    SnSelection::Slices whole = slicesOf({SnItemSlice(expected, 0, 10), SnItemSlice(row(-3, 3), 0, 3),
                                          SnItemSlice(expected, 13, 499987),
                                          SnItemSlice(expected, 500002, 499998)});
    EXPECT_TRUE(selection->isRangeEqual(0, selection->getNbItems(), whole));
    EXPECT_EQ(numbers->made, 5);
    EXPECT_EQ(expected->made, 0);
    selection->getSubject().detachObserver(&told);
}

// Every allocation of a splice by slices, of one cutting a run, of a whole copy and of the first
// read fails in turn: the selection is left as it was, at its revision, and no one is told.
TEST(SnItemSliceTest, AFailedAllocationLeavesASlicedSelectionAsItWas) {
    const RCShdPtr<NumberRow> numbers = row(0, 40);
    const RCShdPtr<SnSelection> selection = singles(100, 103);
    selection->replaceRangeBySlices(1, 1, slicesOf({SnItemSlice(numbers, 0, 40)}));
    const RCShdPtr<SnSelection> kept(selection->clone());
    const RCShdPtr<SnSelection> source = singles(7, 9);
    LastHint told;
    selection->getSubject().attachObserver(&told);
    const std::function<void()> operations[] = {
        [&] { selection->replaceRangeBySlices(5, 20, slicesOf({SnItemSlice(row(50, 3), 0, 3)})); },
        [&] { selection->replaceRange(20, 1, {makeItem(1)}); },
        [&] { selection->replaceAllItems(source); },
        [&] { selection->begin(); },
    };
    for (const auto &operation : operations) {
        long failures = 0;
        for (long nth = 1;; ++nth) {
            selection->getSubject().detachObserver(&told);
            selection->replaceAllItems(kept);
            told.hint = nullptr;
            selection->getSubject().attachObserver(&told);
            const std::uint64_t revision = selection->getRevision();
            const bool raised = VoTest::TestAllocator::raisesAt(nth, operation);
            if (VoTest::TestAllocator::allocations() < nth) {
                break;
            }
            failures += raised ? 1 : 0;
            if (raised) {
                EXPECT_EQ(selection->getRevision(), revision) << "allocation " << nth;
                EXPECT_TRUE(told.hint.isNull()) << "allocation " << nth;
                EXPECT_TRUE(selection->isEqual(kept)) << "allocation " << nth;
            }
        }
        EXPECT_GT(failures, 0);
    }
    selection->getSubject().detachObserver(&told);
}

// Preconditions the code takes on trust; a build with checks stops where one is broken.
TEST(SnItemSliceDeathTest, ABuildWithChecksStopsAtAnItemOrRunOutsideItsRow) {
    if (!VO_CHECKS) {
        GTEST_SKIP() << "builds with the debug checks only";
    }
    const RCShdPtr<NumberRow> numbers = row(0, 4);
    EXPECT_EQ(SnItemSlice(numbers, 0, 4).size(), 4u); // the ranges at the ends are valid
    EXPECT_EQ(SnItemSlice(numbers, 4, 0).size(), 0u);
    EXPECT_DEATH(SnItemSlice(numbers, 3, 2), "check failed: SnItemSlice: a run outside its row");
    const SnItemSlice slice(numbers, 1, 3);
    EXPECT_DEATH((void)slice.at(3), "check failed: SnItemSlice: an item past the slice's end");
    EXPECT_EQ(slice.part(1, 2).size(), 2u);
    EXPECT_EQ(slice.part(3, 0).size(), 0u);
    EXPECT_DEATH((void)slice.part(2, 2), "check failed: SnItemSlice: a part outside the slice");
    const std::vector<ItemPtr> items{makeItem(1), makeItem(2)};
    const Vo::SnItemRun run(items.data(), items.size());
    EXPECT_EQ(&run[1], &items[1]);
    EXPECT_EQ(&run.front(), &items[0]);
    EXPECT_DEATH((void)run[2], "check failed: SnItemRun: an item past the run's end");
    EXPECT_DEATH((void)Vo::SnItemRun().front(), "check failed: SnItemRun: an item past");
}

} // namespace
