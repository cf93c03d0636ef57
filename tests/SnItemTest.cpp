#include "host/selection/SnItem.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "host/RCOwner.h"
#include "host/selection/SnItemBasic.h"
#include "host/selection/SnPartsBasic.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>

namespace Vo {
namespace SnItemTesting {

using Item = SnItemBasic<int>;

RCShdPtr<SnParts> makeParts(std::initializer_list<int> indices) {
    auto *parts = new SnPartsBasic<int>();
    for (int index : indices) {
        parts->append(index);
    }
    return RCShdPtr<SnParts>(parts);
}

// Another item class over the same data: never equal to an Item.
class OtherItem : public SnItemBasic<int> {
public:
    using SnItemBasic<int>::SnItemBasic;
    OtherItem *clone() const override { return new OtherItem(*this); }
};

template <class I> std::string dumped(const I &item) {
    std::ostringstream out;
    item.dump(out);
    return out.str();
}

TEST(SnItemTest, EqualityNeedsTheSameClassDataAndParts) {
    const RCShdPtr<Item> plain(new Item(RCShdPtr<SnParts>(), 1));
    const RCShdPtr<Item> withParts(new Item(makeParts({3, 4}), 1));

    EXPECT_TRUE(plain->isEqual(Item(RCShdPtr<SnParts>(), 1)));
    EXPECT_FALSE(plain->isEqual(Item(RCShdPtr<SnParts>(), 2)));
    EXPECT_FALSE(plain->isEqual(OtherItem(RCShdPtr<SnParts>(), 1)));
    EXPECT_FALSE(OtherItem(RCShdPtr<SnParts>(), 1).isEqual(*plain));

    EXPECT_TRUE(plain->isEqualImp(*withParts));
    EXPECT_FALSE(plain->isEqual(*withParts));
    EXPECT_FALSE(withParts->isEqual(*plain));
    EXPECT_TRUE(withParts->isEqual(Item(makeParts({3, 4}), 1)));
    EXPECT_FALSE(withParts->isEqual(Item(makeParts({4, 3}), 1)));
    EXPECT_FALSE(withParts->isEqual(Item(makeParts({3, 4}), 2)));
}

TEST(SnItemTest, ClonesKeepTheClassDataAndSharedParts) {
    const RCShdPtr<SnItem const> item(new OtherItem(makeParts({2}), 5));
    const RCShdPtr<SnItem const> copy(item->clone());
    EXPECT_EQ(copy->getRefCount(), 1);
    EXPECT_NE(dynamic_cast<const OtherItem *>(copy.get()), nullptr);
    EXPECT_TRUE(copy->isEqual(*item));
    EXPECT_EQ(copy->getParts(), item->getParts());
}

TEST(SnItemTest, DumpWritesThePartsLineThenTheData) {
    EXPECT_EQ(dumped(Item(RCShdPtr<SnParts>(), 5)), "Parts:     none\nData:      5\n");

    const RCShdPtr<SnParts> parts = makeParts({7, 1});
    std::ostringstream partsText;
    parts->dump(partsText);
    EXPECT_EQ(dumped(Item(parts, -2)), partsText.str() + "Data:      -2\n");
}

// An application object that the selection holds weakly.
class Shape {
public:
    virtual ~Shape() = default;
};

TEST(SnItemTest, WeaklyHeldDataIsDumpedAsItsAddress) {
    RCOwner<Shape> owner(new Shape());
    std::ostringstream address;
    address << static_cast<const void *>(owner.get());
    const SnItemBasic<RCWeakPtr<Shape>> item(RCShdPtr<SnParts>(), owner.getWeak());
    EXPECT_EQ(dumped(item), "Parts:     none\nData:      " + address.str() + "\n");

    std::ostringstream nullAddress;
    nullAddress << static_cast<const void *>(nullptr);
    const SnItemBasic<RCWeakPtr<Shape>> none{RCShdPtr<SnParts>(), RCWeakPtr<Shape>()};
    EXPECT_EQ(dumped(none), "Parts:     none\nData:      " + nullAddress.str() + "\n");

    // Two items of one shape are the same item, even once the shape is gone.
    owner.reset();
    EXPECT_TRUE(item.isEqual(SnItemBasic<RCWeakPtr<Shape>>(RCShdPtr<SnParts>(), item.getData())));
    EXPECT_FALSE(item.isEqual(none));
}

TEST(SnItemTest, SnapshotAndRestoreCopyTheParts) {
    Item item(makeParts({1, 2}), 3);
    const RCShdPtr<SnParts> saved = item.snapshot();
    ASSERT_FALSE(saved.isNull());
    EXPECT_NE(saved.get(), item.getParts().get());
    EXPECT_TRUE(saved->isEqual(item.getParts()));

    Item fresh(RCShdPtr<SnParts>(), 3);
    EXPECT_TRUE(fresh.snapshot().isNull());
    fresh.restore(saved);
    EXPECT_TRUE(fresh.isEqual(item));
    saved->clear();
    EXPECT_TRUE(fresh.isEqual(item)); // the restored parts are the item's own

    fresh.restore(RCShdPtr<SnParts const>());
    EXPECT_FALSE(fresh.hasParts());
}

} // namespace SnItemTesting
} // namespace Vo
