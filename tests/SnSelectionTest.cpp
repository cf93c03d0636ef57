#include "host/selection/SnSelection.h"

#include "foundation/List.h"
#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/PrdPredicate.h"
#include "host/PrdPredicateImp.h"
#include "base/RCExInvalidCall.h"
#include "base/RCExNullPtr.h"
#include "host/selection/Sn.h"
#include "host/selection/SnItemBasic.h"
#include "host/selection/SnPartsBasic.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <gtest/gtest.h>

#include <cstdint>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <random>
#include <utility>
#include <vector>

namespace Vo {
namespace SnSelectionTesting {

using Item = SnItemBasic<int>;
using ItemPtr = RCShdPtr<SnItem const>;
using Items = List<ItemPtr>;

RCShdPtr<SnParts> makeParts(std::initializer_list<int> indices) {
    auto *parts = new SnPartsBasic<int>();
    for (int index : indices) {
        parts->append(index);
    }
    return RCShdPtr<SnParts>(parts);
}

ItemPtr makeItem(int data, const RCShdPtr<SnParts> &parts = RCShdPtr<SnParts>()) {
    return ItemPtr(new Item(parts, data));
}

// The data of the items, in selection order.
std::vector<int> dataOf(const SnSelection &selection) {
    std::vector<int> data;
    for (const ItemPtr &item : selection) {
        data.push_back(rcDynamicCast<Item const>(item)->getData());
    }
    return data;
}

// The data of a run of items a hint names; -1 for an item without data.
std::vector<int> dataOf(const SnItemRun &run) {
    std::vector<int> data;
    for (const ItemPtr &item : run) {
        const RCShdPtr<Item const> withData = rcDynamicCastOrNull<Item const>(item);
        data.push_back(withData.isNull() ? -1 : withData->getData());
    }
    return data;
}

// An item that tells when it is destroyed: held by one selection only, it goes with it.
class LifeItem : public SnItem {
public:
    explicit LifeItem(bool &destroyed) : SnItem(RCShdPtr<SnParts>()), destroyed(destroyed) {}
    ~LifeItem() noexcept override { destroyed = true; }

    LifeItem *clone() const override { return new LifeItem(*this); }
    bool isEqualImp(const SnItem &other) const override { return this == &other; }

private:
    LifeItem(const LifeItem &other) = default;
    bool &destroyed;
};

// Records each update: the subjects named by the selection-change hints, and what the selection
// looked like at that moment; may act from inside the update.
class Watcher : public ObObserver<Sn> {
public:
    explicit Watcher(const SnSelection *watched = nullptr) : selection(watched) {}

    void update(ObSubject<Sn> *, const ObHints &hints) override {
        ++calls;
        for (const RCShdPtr<ObHint> &hint : hints.getContainer()) {
            hintSubjects.push_back(rcDynamicCast<SnSelectionChangeHint>(hint)->getSubject());
        }
        if (selection != nullptr) {
            seen = dataOf(*selection);
        }
        if (onUpdate) {
            onUpdate();
        }
    }

    int calls = 0;
    std::vector<const ObSubject<Sn> *> hintSubjects;
    std::vector<int> seen;
    std::function<void()> onUpdate;

private:
    const SnSelection *selection;
};

TEST(SnSelectionTest, ItemsKeepTheirOrderAndTheFirstIsPrimary) {
    const RCShdPtr<SnSelection> empty = SnSelection::create();
    EXPECT_TRUE(empty->isEmpty());
    EXPECT_EQ(empty->getNbItems(), 0);
    EXPECT_TRUE(empty->getPrimaryItem().isNull());

    const ItemPtr only = makeItem(9);
    empty->addItem(only);
    EXPECT_EQ(empty->getPrimaryItem(), only);

    const Items list{makeItem(3), makeItem(1), makeItem(2)};
    const RCShdPtr<SnSelection> selection = SnSelection::create(list);
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(selection->getNbItems(), 3);
    EXPECT_EQ(selection->getPrimaryItem(), list.front());

    selection->addItem(only);
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{3, 1, 2, 9}));
    EXPECT_EQ(selection->getPrimaryItem(), list.front());

    // Taken over: the same items, the same objects, in the same order; the list is left empty.
    Vector<ItemPtr> taken(list.begin(), list.end());
    const RCShdPtr<SnSelection> took = SnSelection::createTaking(std::move(taken));
    EXPECT_TRUE(took->isEqual(SnSelection::create(list)));
    EXPECT_TRUE(std::equal(took->begin(), took->end(), list.begin(), list.end()));
    EXPECT_TRUE(taken.empty());
    EXPECT_NE(took->getRevision(), selection->getRevision());
}

TEST(SnSelectionTest, ReplaceItemTakesTheOldPlaceAndPrimaryRoleThenNotifies) {
    const Items list{makeItem(1), makeItem(2), makeItem(3)};
    const RCShdPtr<SnSelection> selection = SnSelection::create(list);
    Watcher watcher(selection.get());
    selection->getSubject().attachObserver(&watcher);

    const ItemPtr newFirst = makeItem(10);
    EXPECT_TRUE(selection->replaceItem(list.front(), newFirst));
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{10, 2, 3}));
    EXPECT_EQ(selection->getPrimaryItem(), newFirst);
    EXPECT_EQ(watcher.calls, 1);
    EXPECT_EQ(watcher.hintSubjects, (std::vector<const ObSubject<Sn> *>{&selection->getSubject()}));
    EXPECT_EQ(watcher.seen, (std::vector<int>{10, 2, 3})); // notified after the change

    EXPECT_TRUE(selection->replaceItem(list.back(), makeItem(30)));
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{10, 2, 30}));
    EXPECT_EQ(watcher.calls, 2);
}

TEST(SnSelectionTest, ReplaceItemAlwaysTakesTheFirstPlaceLeftOfThatItem) {
    // The places are looked up in an index that each replacement and addition must keep true.
    const ItemPtr x = makeItem(1);
    const ItemPtr y = makeItem(2);
    const ItemPtr z = makeItem(3);
    const RCShdPtr<SnSelection> selection = SnSelection::create(Items{x, y, x});
    const std::uint64_t before = selection->getRevision();
    struct Step {
        ItemPtr oldItem;
        ItemPtr newItem;
        bool replaced;
        std::vector<int> after;
    };
    const Step steps[] = {
        {x, z, true, {3, 2, 1}},  {x, x, true, {3, 2, 1}}, {x, z, true, {3, 2, 3}},
        {x, y, false, {3, 2, 3}}, {z, y, true, {2, 2, 3}}, {y, x, true, {1, 2, 3}},
        {z, x, true, {1, 2, 1}},  {y, z, true, {1, 3, 1}},
    };
    for (const Step &step : steps) {
        const std::uint64_t revision = selection->getRevision();
        EXPECT_EQ(selection->replaceItem(step.oldItem, step.newItem), step.replaced);
        EXPECT_EQ(dataOf(*selection), step.after);
        // Each replacement, even of an item by itself, is a change; a refused one is none.
        EXPECT_EQ(selection->getRevision() != revision, step.replaced);
    }
    selection->addItem(y);
    EXPECT_TRUE(selection->replaceItem(y, x));
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{1, 3, 1, 1}));
    // Three places of one item handed away one by one, the first each time.
    const std::vector<int> handedAway[] = {{2, 3, 1, 1}, {2, 3, 2, 1}, {2, 3, 2, 2}};
    for (const std::vector<int> &after : handedAway) {
        EXPECT_TRUE(selection->replaceItem(x, y));
        EXPECT_EQ(dataOf(*selection), after);
    }
    EXPECT_FALSE(selection->replaceItem(x, y));
    EXPECT_NE(selection->getRevision(), before);
    EXPECT_NE(SnSelection::create()->getRevision(), SnSelection::create()->getRevision());
}

TEST(SnSelectionTest, ReplacingAnItemThatIsNotThereChangesNothing) {
    const Items list{makeItem(1), makeItem(2)};
    const RCShdPtr<SnSelection> selection = SnSelection::create(list);
    Watcher watcher;
    selection->getSubject().attachObserver(&watcher);

    EXPECT_FALSE(selection->replaceItem(makeItem(1), makeItem(5))); // equal, but not that item
    EXPECT_FALSE(selection->replaceItem(ItemPtr(), makeItem(5)));
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{1, 2}));
    EXPECT_EQ(selection->getPrimaryItem(), list.front());
    EXPECT_EQ(watcher.calls, 0);
}

TEST(SnSelectionTest, NullItemsAreRefusedAndTheSelectionIsUnchanged) {
    const Items list{makeItem(1), makeItem(2)};
    const RCShdPtr<SnSelection> selection = SnSelection::create(list);
    Watcher watcher;
    selection->getSubject().attachObserver(&watcher);

    try {
        selection->addItem(ItemPtr());
        ADD_FAILURE() << "null item added";
    } catch (const RCExNullPtr &error) {
        EXPECT_EQ(error.getPointerType(), "Vo::SnItem const*");
    }
    EXPECT_THROW(selection->replaceItem(list.front(), ItemPtr()), RCExNullPtr);
    EXPECT_THROW(selection->replaceItem(makeItem(7), ItemPtr()), RCExNullPtr);
    EXPECT_THROW(selection->replaceAllItems(RCShdPtr<SnSelection const>()), RCExNullPtr);
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{1, 2}));
    EXPECT_EQ(selection->getPrimaryItem(), list.front());
    EXPECT_EQ(watcher.calls, 0);

    EXPECT_THROW(SnSelection::create(Items{makeItem(1), ItemPtr()}), RCExNullPtr);
    Vector<ItemPtr> taken{list.front(), ItemPtr()};
    EXPECT_THROW(SnSelection::createTaking(std::move(taken)), RCExNullPtr);
    EXPECT_EQ(taken, (Vector<ItemPtr>{list.front(), ItemPtr()})); // nothing taken
}

TEST(SnSelectionTest, ReplaceAllItemsTakesOverTheItemsThenNotifies) {
    const RCShdPtr<SnSelection> selection = SnSelection::create(Items{makeItem(1), makeItem(2)});
    const RCShdPtr<SnSelection> other = SnSelection::create(Items{makeItem(5), makeItem(6)});
    Watcher watcher(selection.get());
    selection->getSubject().attachObserver(&watcher);

    selection->replaceAllItems(other);
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{5, 6}));
    EXPECT_EQ(selection->getPrimaryItem(), other->getPrimaryItem());
    EXPECT_EQ(watcher.seen, (std::vector<int>{5, 6}));
    EXPECT_EQ(watcher.hintSubjects, (std::vector<const ObSubject<Sn> *>{&selection->getSubject()}));

    selection->replaceAllItems(selection);
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{5, 6}));
    EXPECT_EQ(watcher.calls, 2);

    selection->replaceAllItems(SnSelection::create());
    EXPECT_TRUE(selection->isEmpty());
    EXPECT_EQ(dataOf(*other), (std::vector<int>{5, 6}));
}

// A list handed over by its only holder moves in: the very item objects, no copy, the pointer
// left null. One held elsewhere, or observed, is copied and left as it was.
TEST(SnSelectionTest, ASelectionHandedOverGivesItsItemsUpAndAHeldOneIsCopied) {
    const RCShdPtr<SnSelection> selection = SnSelection::create(Items{makeItem(1)});
    Watcher watcher(selection.get());
    selection->getSubject().attachObserver(&watcher);
    const ItemPtr five = makeItem(5);
    RCShdPtr<SnSelection const> handed = SnSelection::create(Items{five, makeItem(6)});
    selection->replaceAllItems(std::move(handed));
    EXPECT_TRUE(handed.isNull());
    EXPECT_EQ(selection->getPrimaryItem(), five);
    EXPECT_EQ(five->getRefCount(), 2) << "moved in, not copied";
    EXPECT_EQ(watcher.seen, (std::vector<int>{5, 6}));
    EXPECT_EQ(watcher.calls, 1);

    const RCShdPtr<SnSelection> held = SnSelection::create(Items{makeItem(7)});
    RCShdPtr<SnSelection const> second(held);
    selection->replaceAllItems(std::move(second));
    EXPECT_EQ(second.get(), held.get());
    EXPECT_EQ(dataOf(*held), (std::vector<int>{7}));
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{7}));

    RCShdPtr<SnSelection> source = SnSelection::create(Items{makeItem(8)});
    Watcher other;
    source->getSubject().attachObserver(&other);
    SnSelection *const observedObject = source.get();
    RCShdPtr<SnSelection const> observed(std::move(source));
    selection->replaceAllItems(std::move(observed));
    EXPECT_EQ(observed.get(), observedObject);
    EXPECT_EQ(dataOf(*observed), (std::vector<int>{8})) << "an observed selection keeps its items";
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{8}));
    EXPECT_EQ(watcher.calls, 3);
    observedObject->getSubject().detachObserver(&other);
    selection->getSubject().detachObserver(&watcher);

    RCShdPtr<SnSelection const> none;
    EXPECT_THROW(selection->replaceAllItems(std::move(none)), RCExNullPtr);
}

// A replacement passed as an rvalue gives its items up and keeps its room, so a caller may fill
// it again; one passed as an lvalue is copied. A refused one is left as it was. The removed items
// of a splice no one kept go with the splice.
TEST(SnSelectionTest, AReplacementListGivesItsItemsUpAndKeepsItsRoom) {
    const RCShdPtr<SnSelection> selection = SnSelection::create(Items{makeItem(1), makeItem(2)});
    Watcher watcher; // no reading of the data: a LifeItem has none
    selection->getSubject().attachObserver(&watcher);
    Vector<ItemPtr> list{makeItem(3), makeItem(9)};
    list.reserve(16);
    const ItemPtr three = list.front();
    selection->replaceRange(1, 1, std::move(list));
    EXPECT_TRUE(list.empty());
    EXPECT_LT(list.capacity(), 16u) << "the larger room serves the selection; its own comes back";
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{1, 3, 9}));
    EXPECT_EQ(three->getRefCount(), 2);
    Vector<ItemPtr> small{makeItem(4)};
    small.reserve(4);
    selection->replaceRange(2, 1, std::move(small));
    EXPECT_TRUE(small.empty());
    EXPECT_GE(small.capacity(), 4u) << "a selection with room enough leaves the list its own";
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{1, 3, 4}));

    const Vector<ItemPtr> kept{makeItem(5)};
    selection->replaceRange(0, 1, kept);
    EXPECT_EQ(kept.size(), 1u);
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{5, 3, 4}));

    Vector<ItemPtr> refused{makeItem(6), ItemPtr()};
    EXPECT_THROW(selection->replaceRange(0, 1, std::move(refused)), RCExNullPtr);
    EXPECT_EQ(refused.size(), 2u);
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{5, 3, 4}));

    bool destroyed = false;
    selection->replaceRange(3, 0, {ItemPtr(new LifeItem(destroyed))});
    selection->replaceRange(3, 1, {});
    EXPECT_TRUE(destroyed) << "a removed item must not stay in the room kept for the next splice";
    EXPECT_EQ(watcher.calls, 5);
    selection->getSubject().detachObserver(&watcher);
}

// A list with more room than the selection takes the items around it, and the selection's room
// goes back to the caller; either way the selection, its hints and its places are the same.
TEST(SnSelectionTest, ASpliceIntoALargerListGivesTheSameSelectionHintsAndPlaces) {
    std::mt19937 random(23);
    const RCShdPtr<SnSelection> selection = SnSelection::create();
    std::vector<ItemPtr> model;
    Watcher watcher(selection.get());
    class Reader : public ObObserver<Sn> {
    public:
        void update(ObSubject<Sn> *, const ObHints &hints) override {
            const auto hint = rcDynamicCast<SnSelectionChangeHint>(hints.getContainer().front());
            added = dataOf(hint->getAddedItems());
            removed = dataOf(hint->getRemovedItems());
        }
        std::vector<int> added;
        std::vector<int> removed;
    } reader;
    selection->getSubject().attachObserver(&reader);
    selection->getSubject().attachObserver(&watcher);
    int next = 0;
    int handedBack = 0;
    for (int step = 0; step < 300; ++step) {
        const int size = static_cast<int>(model.size());
        const int at = std::uniform_int_distribution<int>(0, size)(random);
        const int count = std::uniform_int_distribution<int>(0, size - at)(random);
        Vector<ItemPtr> list;
        list.reserve(std::uniform_int_distribution<std::size_t>(0, 1)(random) == 0 ? 0
                                                                                   : 4 * size + 8);
        const int length =
            std::uniform_int_distribution<int>(0, step % 50 == 0 ? 3 * size + 5 : 3)(random);
        for (int i = 0; i < length; ++i) {
            list.push_back(makeItem(next++));
        }
        const std::size_t room = list.capacity();
        std::vector<int> expectedAdded;
        for (const ItemPtr &item : list) {
            expectedAdded.push_back(rcDynamicCast<Item const>(item)->getData());
        }
        std::vector<int> expectedRemoved;
        for (int i = at; i < at + count; ++i) {
            expectedRemoved.push_back(rcDynamicCast<Item const>(model[i])->getData());
        }
        const std::vector<ItemPtr> leaving(model.begin() + at, model.begin() + at + count);
        model.erase(model.begin() + at, model.begin() + at + count);
        model.insert(model.begin() + at, list.begin(), list.end());
        selection->replaceRange(at, count, std::move(list));
        ASSERT_TRUE(list.empty());
        handedBack += list.capacity() < room ? 1 : 0;
        std::vector<int> expected;
        for (const ItemPtr &item : model) {
            expected.push_back(rcDynamicCast<Item const>(item)->getData());
        }
        ASSERT_EQ(dataOf(*selection), expected) << "step " << step;
        if (count + length > 0) {
            EXPECT_EQ(watcher.seen, expected) << "step " << step;
            EXPECT_EQ(reader.added, expectedAdded) << "step " << step;
            EXPECT_EQ(reader.removed, expectedRemoved) << "step " << step;
        }
        for (const ItemPtr &item : leaving) {
            EXPECT_EQ(item->getRefCount(), 1) << "a removed item stayed in a room, step " << step;
        }
        if (!model.empty() && step % 7 == 0) { // the places found after the splice
            const std::size_t gone =
                std::uniform_int_distribution<std::size_t>(0, model.size() - 1)(random);
            ASSERT_TRUE(selection->removeItem(model[gone]));
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(gone));
        }
    }
    EXPECT_GT(handedBack, 0) << "no list ever took the selection's items in";
    selection->getSubject().detachObserver(&watcher);
    selection->getSubject().detachObserver(&reader);
}

TEST(SnSelectionTest, IsEqualComparesItemsInOrderWithTheirParts) {
    const auto of = [](std::initializer_list<ItemPtr> items) {
        return RCShdPtr<SnSelection const>(SnSelection::create(Items(items)));
    };
    const auto base = of({makeItem(1, makeParts({4, 5})), makeItem(2)});

    EXPECT_TRUE(base->isEqual(base));
    EXPECT_TRUE(base->isEqual(of({makeItem(1, makeParts({4, 5})), makeItem(2)})));
    EXPECT_FALSE(base->isEqual(of({makeItem(2), makeItem(1, makeParts({4, 5}))})));
    EXPECT_FALSE(base->isEqual(of({makeItem(1, makeParts({5, 4})), makeItem(2)})));
    EXPECT_FALSE(base->isEqual(of({makeItem(1), makeItem(2)})));
    EXPECT_FALSE(base->isEqual(of({makeItem(1, makeParts({4, 5}))})));
    EXPECT_FALSE(base->isEqual(of({makeItem(1, makeParts({4, 5})), makeItem(2), makeItem(3)})));
    EXPECT_TRUE(of({})->isEqual(SnSelection::create()));
    EXPECT_THROW(base->isEqual(RCShdPtr<SnSelection const>()), RCExNullPtr);
}

// Accepts the items whose data is even.
class EvenData : public PrdPredicateImp<ItemPtr> {
public:
    bool evaluate(const ItemPtr &item) const override {
        return rcDynamicCast<Item const>(item)->getData() % 2 == 0;
    }
};

TEST(SnSelectionTest, CloneAndFilterGiveIndependentSelectionsWithoutObservers) {
    const RCShdPtr<SnSelection> selection =
        SnSelection::create(Items{makeItem(4), makeItem(1), makeItem(2), makeItem(6)});
    Watcher watcher;
    selection->getSubject().attachObserver(&watcher);

    const RCShdPtr<SnSelection> copy(selection->clone());
    EXPECT_EQ(copy->getRefCount(), 1);
    EXPECT_TRUE(std::equal(copy->begin(), copy->end(), selection->begin(), selection->end()));
    EXPECT_EQ(copy->getSubject().getNbObservers(), 0);
    copy->addItem(makeItem(8));
    copy->replaceItem(copy->getPrimaryItem(), makeItem(0));
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{4, 1, 2, 6}));
    EXPECT_EQ(watcher.calls, 0);

    const PrdPredicate<ItemPtr> even(RCShdPtr<PrdPredicateImp<ItemPtr>>(new EvenData()));
    const RCShdPtr<SnSelection> kept = selection->filter(even);
    EXPECT_EQ(dataOf(*kept), (std::vector<int>{4, 2, 6}));
    EXPECT_EQ(kept->getSubject().getNbObservers(), 0);
    EXPECT_EQ(dataOf(*selection->filter(PrdPredicate<ItemPtr>())), (std::vector<int>{4, 1, 2, 6}));
}

TEST(SnSelectionTest, ObserversMayDetachOrReleaseTheSelectionWhileNotified) {
    RCShdPtr<SnSelection> selection = SnSelection::create(Items{makeItem(1)});
    Watcher first, second, third;
    selection->getSubject().attachObserver(&first);
    selection->getSubject().attachObserver(&second);
    selection->getSubject().attachObserver(&third);
    first.onUpdate = [&] {
        selection->getSubject().detachObserver(&first);
        selection->getSubject().detachObserver(&second);
    };

    selection->replaceItem(selection->getPrimaryItem(), makeItem(2));
    EXPECT_EQ(first.calls, 1);
    EXPECT_EQ(second.calls, 0);
    EXPECT_EQ(third.calls, 1);
    EXPECT_EQ(selection->getSubject().getNbObservers(), 1);

    // The last pointer goes during the notification: the selection lives until it is over, every
    // observer being called, then its destruction detaches them. An item that nothing else holds
    // tells when the selection goes.
    bool destroyed = false;
    selection->addItem(ItemPtr(new LifeItem(destroyed)));
    Watcher fourth;
    selection->getSubject().attachObserver(&fourth);
    third.onUpdate = [&] {
        selection = RCShdPtr<SnSelection>();
        EXPECT_FALSE(destroyed);
    };
    fourth.onUpdate = [&] { EXPECT_FALSE(destroyed); };
    selection->replaceItem(selection->getPrimaryItem(), makeItem(3));
    EXPECT_TRUE(selection.isNull());
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(third.calls, 2);
    EXPECT_EQ(fourth.calls, 1);
    EXPECT_EQ(third.getNbSubjects(), 0);
    EXPECT_EQ(fourth.getNbSubjects(), 0);
}

// Records the splice each hint describes, applied to a copy of the items as they were before.
class SpliceWatcher : public ObObserver<Sn> {
public:
    explicit SpliceWatcher(const SnSelection &watched)
        : selection(watched), replayed(watched.begin(), watched.end()),
          revision(watched.getRevision()) {}

    void update(ObSubject<Sn> *, const ObHints &hints) override {
        for (const RCShdPtr<ObHint> &hint : hints.getContainer()) {
            const auto &change = *rcDynamicCast<SnSelectionChangeHint>(hint);
            ASSERT_EQ(change.getRevisionBefore(), revision);
            ASSERT_EQ(change.getRevisionAfter(), selection.getRevision());
            revision = change.getRevisionAfter();
            if (change.isWhole()) {
                replayed.assign(selection.begin(), selection.end());
                continue;
            }
            const auto at = replayed.begin() + change.getPosition();
            const auto &removed = change.getRemovedItems();
            ASSERT_LE(removed.size(), static_cast<std::size_t>(replayed.end() - at));
            ASSERT_TRUE(std::equal(removed.begin(), removed.end(), at));
            const auto rest = replayed.erase(at, at + static_cast<std::ptrdiff_t>(removed.size()));
            replayed.insert(rest, change.getAddedItems().begin(), change.getAddedItems().end());
        }
    }

    const SnSelection &selection;
    std::vector<ItemPtr> replayed;
    std::uint64_t revision;
};

TEST(SnSelectionTest, OneItemChangesNotifyTheSpliceTheyMade) {
    RCShdPtr<SnSelection> selection = SnSelection::create(Items{makeItem(1), makeItem(2)});
    SpliceWatcher watcher(*selection);
    selection->getSubject().attachObserver(&watcher);

    const ItemPtr front = makeItem(0);
    selection->insertItem(0, front); // a new primary item
    const ItemPtr back = makeItem(9);
    selection->insertItem(3, back);
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{0, 1, 2, 9}));
    EXPECT_EQ(selection->getPrimaryItem().get(), front.get());

    EXPECT_TRUE(selection->removeItem(front)); // the next one becomes primary
    EXPECT_FALSE(selection->removeItem(front));
    EXPECT_FALSE(selection->removeItem(makeItem(1))); // equal, but not that very object
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{1, 2, 9}));
    selection->replaceRange(1, 2, {makeItem(5), makeItem(6), makeItem(7)});
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{1, 5, 6, 7}));
    selection->replaceItem(selection->getPrimaryItem(), makeItem(4));
    selection->replaceAllItems(SnSelection::create(Items{makeItem(8)}));
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{8}));
    EXPECT_TRUE(std::equal(watcher.replayed.begin(), watcher.replayed.end(), selection->begin(),
                           selection->end()));

    // Refused: nothing changes, no one hears, the revision stays.
    const std::uint64_t revision = selection->getRevision();
    EXPECT_THROW(selection->insertItem(2, makeItem(3)), RCExInvalidCall);
    EXPECT_THROW(selection->insertItem(-1, makeItem(3)), RCExInvalidCall);
    EXPECT_THROW(selection->insertItem(0, ItemPtr()), RCExNullPtr);
    EXPECT_THROW(selection->replaceRange(1, 1, {}), RCExInvalidCall);
    EXPECT_THROW(selection->replaceRange(0, -1, {}), RCExInvalidCall);
    EXPECT_THROW(selection->replaceRange(0, 1, {makeItem(1), ItemPtr()}), RCExNullPtr);
    selection->replaceRange(1, 0, {}); // an empty splice is no change
    EXPECT_EQ(selection->getRevision(), revision);
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{8}));
    EXPECT_EQ(watcher.revision, revision);
}

// A splice's hint reads its added items from the selection while observers are told. It must still
// name them when an observer changes the selection from inside its update (a later observer reads
// the hint after that), and when an observer keeps the hint past its notification. The removed
// items live as long as the hint.
TEST(SnSelectionTest, ASpliceHintNamesItsItemsWhateverChangesTheSelectionAfterIt) {
    bool destroyed = false; // outlives the hints kept below, which hold an item that sets it
    const RCShdPtr<SnSelection> selection = SnSelection::create(Items{makeItem(1), makeItem(2)});
    std::vector<RCShdPtr<SnSelectionChangeHint>> kept;
    Watcher changer;
    changer.onUpdate = [&] { // once: the first change brings a second one at the front
        if (kept.size() == 1) {
            kept.push_back(RCShdPtr<SnSelectionChangeHint>());
            selection->insertItem(0, makeItem(0));
        }
    };
    class Keeper : public ObObserver<Sn> {
    public:
        explicit Keeper(std::vector<RCShdPtr<SnSelectionChangeHint>> &into) : into(into) {}
        void update(ObSubject<Sn> *, const ObHints &hints) override {
            const auto hint = rcDynamicCast<SnSelectionChangeHint>(hints.getContainer().front());
            seen.push_back(dataOf(hint->getAddedItems()));
            into.push_back(hint);
        }
        std::vector<std::vector<int>> seen;

    private:
        std::vector<RCShdPtr<SnSelectionChangeHint>> &into;
    };
    Keeper keeper(kept);
    selection->getSubject().attachObserver(&keeper);  // told first
    selection->getSubject().attachObserver(&changer); // then changes the selection
    Watcher late;                                     // reads after the change from inside
    std::vector<std::vector<int>> lateSeen;
    late.onUpdate = [&] { lateSeen.push_back(dataOf(kept.front()->getAddedItems())); };
    selection->getSubject().attachObserver(&late);

    selection->replaceRange(2, 0, {makeItem(3), makeItem(4)});
    EXPECT_EQ(dataOf(*selection), (std::vector<int>{0, 1, 2, 3, 4}));
    // The nested change was told to everyone before the late observer heard of the first.
    EXPECT_EQ(keeper.seen, (std::vector<std::vector<int>>{{3, 4}, {0}}));
    EXPECT_EQ(lateSeen, (std::vector<std::vector<int>>{{3, 4}, {3, 4}}));

    const ItemPtr leaving(new LifeItem(destroyed));
    selection->replaceRange(1, 2, {leaving});
    selection->getSubject().detachObserver(&changer);
    selection->getSubject().detachObserver(&late);
    selection->replaceAllItems(SnSelection::create());
    selection->replaceRange(0, 0, {makeItem(7), makeItem(8), makeItem(9)});
    selection->replaceRange(0, 3, {});
    ASSERT_EQ(kept.size(), 7u); // the second is the mark left by the observer that changed it
    EXPECT_EQ(dataOf(kept[0]->getAddedItems()), (std::vector<int>{3, 4}));
    EXPECT_EQ(dataOf(kept[2]->getAddedItems()), (std::vector<int>{0}));
    EXPECT_EQ(kept[3]->getAddedItems().front().get(), leaving.get());
    EXPECT_EQ(dataOf(kept[3]->getRemovedItems()), (std::vector<int>{1, 2}));
    EXPECT_TRUE(kept[4]->isWhole());
    const RCShdPtr<SnSelectionChangeHint> unknown(
        new SnSelectionChangeHint(&selection->getSubject()));
    EXPECT_TRUE(unknown->isWhole() && unknown->getAddedItems().empty());
    EXPECT_EQ(unknown->getRevisionBefore() + unknown->getRevisionAfter(), 0u);
    EXPECT_EQ(dataOf(kept[5]->getAddedItems()), (std::vector<int>{7, 8, 9}));
    EXPECT_TRUE(kept[6]->getAddedItems().empty());
    EXPECT_EQ(dataOf(kept[6]->getRemovedItems()), (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(keeper.seen, (std::vector<std::vector<int>>{{3, 4}, {0}, {-1}, {}, {7, 8, 9}, {}}));
    EXPECT_TRUE(selection->isEmpty());
    EXPECT_FALSE(destroyed); // held by the hint of the change that took it out
}

// Random splices, removals and replacements, with items that appear several times, against a plain
// vector: the place index must stay exact whether it is kept along a change or built again.
TEST(SnSelectionTest, OneItemChangesAgreeWithAPlainListWhateverTheirMix) {
    std::mt19937 random(7);
    std::vector<ItemPtr> pool;
    for (int i = 0; i < 12; ++i) {
        pool.push_back(makeItem(i));
    }
    const RCShdPtr<SnSelection> selection = SnSelection::create();
    SpliceWatcher watcher(*selection);
    selection->getSubject().attachObserver(&watcher);
    std::vector<ItemPtr> model;
    for (int step = 0; step < 4000; ++step) {
        const ItemPtr &item = pool[random() % pool.size()];
        const ItemPtr &other = pool[random() % pool.size()];
        const auto first = std::find(model.begin(), model.end(), item);
        switch (random() % 4) {
        case 0: {
            const auto at = static_cast<int>(random() % (model.size() + 1));
            selection->insertItem(at, item);
            model.insert(model.begin() + at, item);
            break;
        }
        case 1:
            ASSERT_EQ(selection->removeItem(item), first != model.end());
            if (first != model.end()) {
                model.erase(first);
            }
            break;
        case 2:
            ASSERT_EQ(selection->replaceItem(item, other), first != model.end());
            if (first != model.end()) {
                *first = other;
            }
            break;
        default:
            selection->insertItem(static_cast<int>(model.size()), item); // appended
            model.push_back(item);
            break;
        }
        ASSERT_TRUE(std::equal(model.begin(), model.end(), selection->begin(), selection->end()))
            << "step " << step;
    }
    EXPECT_TRUE(
        std::equal(model.begin(), model.end(), watcher.replayed.begin(), watcher.replayed.end()));
}

} // namespace SnSelectionTesting
} // namespace Vo
