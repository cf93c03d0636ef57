#include "SeShapeItem.h"
#include "SeShapeParts.h"

#include "TestController.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace Vo;

// Another item class carrying the same kind of data: never the same item as a shape item.
class OtherItem : public SeShapeItem {
public:
    using SeShapeItem::SeShapeItem;
    OtherItem *clone() const override { return new OtherItem(*this); }
};

RCShdPtr<SnParts> pointParts(int point) {
    RCShdPtr<SeShapeParts> parts(new SeShapeParts);
    parts->appendPoint(point);
    return parts;
}

TEST(SeShapeItem, SameShapeIsTheSameItemWhateverItsPartsButNotEqualWithOtherParts) {
    VoTest::TestController app;
    app.addShape("A", 4);
    app.addShape("B", 4);
    const SeShapeItem whole(RCShdPtr<SnParts>(), app.weak(0));
    const SeShapeItem withPoint(pointParts(2), app.weak(0));
    const SeShapeItem other(RCShdPtr<SnParts>(), app.weak(1));
    EXPECT_TRUE(whole.isEqualImp(withPoint));
    EXPECT_FALSE(whole.isEqual(withPoint));
    EXPECT_TRUE(withPoint.isEqual(SeShapeItem(pointParts(2), app.weak(0))));
    EXPECT_FALSE(whole.isEqualImp(other));
    EXPECT_FALSE(whole.isEqualImp(OtherItem(RCShdPtr<SnParts>(), app.weak(0))));

    const SeShapeItem nullA{RCShdPtr<SnParts>(), RCWeakPtr<SeShapeInterface>()};
    const SeShapeItem nullB(pointParts(1), RCWeakPtr<SeShapeInterface>());
    EXPECT_TRUE(nullA.isEqualImp(nullB));

    const RCShdPtr<SnItem const> copy(withPoint.clone());
    EXPECT_TRUE(copy->isEqual(withPoint));
    EXPECT_EQ(copy->getRefCount(), 1);

    // Items of a deleted shape stay the same item through the shared counter block.
    app.deleteInterfaceOnly(0);
    EXPECT_TRUE(whole.getData().isNull());
    EXPECT_TRUE(SeShapeItem(RCShdPtr<SnParts>(), whole.getData()).isEqual(whole));
}

TEST(SeShapeItem, DumpWritesThePartsLineThenTheInterfacePointer) {
    VoTest::TestController app;
    app.addShape("A", 4);
    for (const RCWeakPtr<SeShapeInterface> &weak : {app.weak(0), RCWeakPtr<SeShapeInterface>()}) {
        const SeShapeItem item(pointParts(3), weak);
        std::ostringstream base;
        item.SnItem::dump(base);
        std::ostringstream pointer;
        pointer << static_cast<const void *>(weak.get());
        std::ostringstream dumped;
        item.dump(dumped);
        EXPECT_EQ(dumped.str(), base.str() + "Data:      " + pointer.str() + "\n");
    }
}

} // namespace
