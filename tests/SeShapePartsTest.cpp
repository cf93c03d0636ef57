#include "SeShapeParts.h"

#include "foundation/RCShdPtr.h"

#include "host/RCExNullPtr.h"
#include "host/SnParts.h"
#include "host/SnPartsBasic.h"

#include "TestForeignParts.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::SeShapeParts;
using Vo::SnParts;
using Model = std::vector<int>;

using OtherParts = VoTest::TestForeignParts;

RCShdPtr<SeShapeParts> makeParts(const Model &points, const Model &handles) {
    RCShdPtr<SeShapeParts> parts(new SeShapeParts());
    for (int index : points) {
        parts->appendPoint(index);
    }
    for (int index : handles) {
        parts->appendHandle(index);
    }
    return parts;
}

Model pointsOf(const RCShdPtr<SeShapeParts> &parts) {
    return Model(parts->getPoints().begin(), parts->getPoints().end());
}

Model handlesOf(const RCShdPtr<SeShapeParts> &parts) {
    return Model(parts->getHandles().begin(), parts->getHandles().end());
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TEST(SeShapePartsTest, PointsAndHandlesAreIndependentSets) {
    const RCShdPtr<SeShapeParts> parts(new SeShapeParts());
    EXPECT_TRUE(parts->isEmpty());
    EXPECT_EQ(parts->getSize(), 0);
    EXPECT_TRUE(parts->getPoints().empty());
    EXPECT_TRUE(parts->getHandles().empty());

    parts->appendPoint(3);
    EXPECT_TRUE(parts->hasPoint(3));
    EXPECT_FALSE(parts->hasHandle(3));
    EXPECT_TRUE(parts->isHandleEmpty());
    EXPECT_FALSE(parts->isEmpty());
    parts->appendHandle(3);
    parts->appendHandle(8);
    parts->appendPoint(3);
    EXPECT_EQ(parts->getSize(), 3);

    const Vo::Vector<int> &points = parts->getPoints();
    const Vo::Vector<int> &handles = parts->getHandles();
    parts->appendPoint(-4);
    parts->appendPoint(5);
    parts->removePoint(-4);
    EXPECT_EQ(points, (Vo::Vector<int>{3, 5})) << "the reference follows later changes";
    parts->removeHandle(3);
    EXPECT_EQ(handles, (Vo::Vector<int>{8})) << "the reference follows later changes";
    parts->clearPoints();
    EXPECT_TRUE(parts->isPointEmpty());
    EXPECT_EQ(handlesOf(parts), (Model{8}));
    parts->appendPoint(1);
    parts->clearHandles();
    EXPECT_EQ(pointsOf(parts), (Model{1}));
    parts->clear();
    EXPECT_TRUE(parts->isEmpty());

    parts->appendPointRange(0, 3);
    parts->appendHandleRange(5, 2);
    EXPECT_EQ(pointsOf(parts), (Model{0, 1, 2}));
    EXPECT_EQ(handlesOf(parts), (Model{5, 6}));
    parts->appendPointRange(2, 2);
    EXPECT_EQ(pointsOf(parts), (Model{0, 1, 2, 3}));
    parts->clear();

    parts->reservePoints(-1);
    parts->reserveHandles(std::numeric_limits<int>::min());
    parts->reservePoints(64);
    EXPECT_TRUE(parts->isEmpty());
    EXPECT_GE(parts->getPoints().capacity(), 64U);
}

TEST(SeShapePartsTest, NullAndForeignArgumentsChangeNothing) {
    const RCShdPtr<SeShapeParts> parts = makeParts({1, 2}, {5});
    const RCShdPtr<SnParts const> foreign(new OtherParts());
    const RCShdPtr<SnParts const> none;
    const RCShdPtr<SnParts const> basic(new Vo::SnPartsBasic<int>());
    for (const RCShdPtr<SnParts const> &other : {foreign, none, basic}) {
        EXPECT_FALSE(parts->isEqual(other));
        EXPECT_FALSE(parts->unionWith(other));
        EXPECT_FALSE(parts->differenceWith(other));
        EXPECT_FALSE(parts->xorWith(other));
        parts->replaceAllParts(other);
        parts->replaceAllPoints(other);
        parts->replaceAllHandles(other);
        EXPECT_EQ(pointsOf(parts), (Model{1, 2}));
        EXPECT_EQ(handlesOf(parts), (Model{5}));
    }
    EXPECT_TRUE(parts->contains(none));
    EXPECT_FALSE(parts->contains(foreign));
    EXPECT_FALSE(parts->contains(basic));
    EXPECT_EQ(foreign->getRefCount(), 1) << "the argument is only held for the call";
}

TEST(SeShapePartsTest, ContainmentTreatsTwoEmptySetsAsContained) {
    const RCShdPtr<SeShapeParts> empty = makeParts({}, {});
    EXPECT_TRUE(empty->contains(makeParts({}, {})));
    EXPECT_FALSE(empty->contains(makeParts({1}, {})));
    EXPECT_FALSE(empty->contains(makeParts({}, {1})));

    const RCShdPtr<SeShapeParts> parts = makeParts({4, 1, 7}, {2});
    EXPECT_TRUE(parts->contains(makeParts({7, 4}, {})));
    EXPECT_TRUE(parts->contains(makeParts({}, {2})));
    EXPECT_TRUE(parts->contains(parts));
    EXPECT_FALSE(parts->contains(makeParts({4, 9}, {2})));
    EXPECT_FALSE(parts->contains(makeParts({4}, {2, 3})));
    EXPECT_FALSE(parts->contains(makeParts({2}, {}))) << "a handle index is no point";
}

TEST(SeShapePartsTest, EqualityComparesPointsThenHandlesInOrder) {
    const RCShdPtr<SeShapeParts> parts = makeParts({1, 2}, {3, 4});
    EXPECT_TRUE(parts->isEqual(makeParts({1, 2}, {3, 4})));
    EXPECT_FALSE(parts->isEqual(makeParts({2, 1}, {3, 4})));
    EXPECT_FALSE(parts->isEqual(makeParts({1, 2}, {4, 3})));
    EXPECT_FALSE(parts->isEqual(makeParts({1, 2, 3, 4}, {})));
    EXPECT_TRUE(makeParts({}, {})->isEqual(makeParts({}, {})));
}

TEST(SeShapePartsTest, SetOperationsApplyToBothSetsWhateverThePointsReport) {
    const RCShdPtr<SeShapeParts> parts = makeParts({1}, {});
    EXPECT_TRUE(parts->unionWith(makeParts({2}, {5})));
    EXPECT_EQ(pointsOf(parts), (Model{1, 2}));
    EXPECT_EQ(handlesOf(parts), (Model{5})) << "handles united although the points changed";
    EXPECT_TRUE(parts->unionWith(makeParts({2}, {6})));
    EXPECT_EQ(handlesOf(parts), (Model{5, 6}));
    EXPECT_FALSE(parts->unionWith(makeParts({1}, {6})));

    EXPECT_TRUE(parts->differenceWith(makeParts({1}, {6})));
    EXPECT_EQ(pointsOf(parts), (Model{2}));
    EXPECT_EQ(handlesOf(parts), (Model{5}));
    EXPECT_TRUE(parts->differenceWith(makeParts({9}, {5})));
    EXPECT_TRUE(parts->isHandleEmpty());
    EXPECT_FALSE(parts->differenceWith(makeParts({5}, {2})));

    EXPECT_TRUE(parts->xorWith(makeParts({2, 3}, {7})));
    EXPECT_EQ(pointsOf(parts), (Model{3}));
    EXPECT_EQ(handlesOf(parts), (Model{7}));
    EXPECT_FALSE(parts->xorWith(makeParts({}, {})));

    EXPECT_TRUE(parts->xorWith(parts));
    EXPECT_TRUE(parts->isEmpty());
}

TEST(SeShapePartsTest, CopiesShareNoSet) {
    const RCShdPtr<SeShapeParts> source = makeParts({4, 1}, {2});
    const RCShdPtr<SeShapeParts> copy(new SeShapeParts(*source));
    SnParts *const raw = source->clone();
    EXPECT_EQ(raw->getRefCount(), 0);
    const RCShdPtr<SeShapeParts> clone = Vo::rcDynamicCast<SeShapeParts>(RCShdPtr<SnParts>(raw));

    for (const RCShdPtr<SeShapeParts> &duplicate : {copy, clone}) {
        EXPECT_TRUE(duplicate->isEqual(source));
        EXPECT_NE(&duplicate->getPoints(), &source->getPoints());
        EXPECT_NE(&duplicate->getHandles(), &source->getHandles());
        duplicate->appendPoint(9);
        duplicate->appendHandle(9);
        duplicate->removePoint(4);
    }
    EXPECT_EQ(pointsOf(source), (Model{4, 1}));
    EXPECT_EQ(handlesOf(source), (Model{2}));
    EXPECT_FALSE(source->hasPoint(9));
    EXPECT_TRUE(copy->isEqual(clone));
}

TEST(SeShapePartsTest, ReplaceOperationsTakeTheNamedSets) {
    const RCShdPtr<SeShapeParts> other = makeParts({7, 3}, {1, 0});

    const RCShdPtr<SeShapeParts> points = makeParts({1}, {9});
    points->replaceAllPoints(other);
    EXPECT_EQ(pointsOf(points), (Model{7, 3}));
    EXPECT_EQ(handlesOf(points), (Model{9}));

    const RCShdPtr<SeShapeParts> handles = makeParts({1}, {9});
    handles->replaceAllHandles(other);
    EXPECT_EQ(pointsOf(handles), (Model{1}));
    EXPECT_EQ(handlesOf(handles), (Model{1, 0}));

    const RCShdPtr<SeShapeParts> both = makeParts({1}, {9});
    both->replaceAllParts(other);
    EXPECT_TRUE(both->isEqual(other));
    other->appendPoint(5);
    EXPECT_FALSE(both->hasPoint(5)) << "the indices were copied, not shared";
}

TEST(SeShapePartsTest, DumpIsPointsTextThenHandlesText) {
    const RCShdPtr<SeShapeParts> parts = makeParts({4, 1, 7}, {2});
    std::ostringstream expected;
    for (const Model &indices : {Model{4, 1, 7}, Model{2}}) {
        Vo::SnPartsBasic<int> set;
        for (int index : indices) {
            set.append(index);
        }
        set.dump(expected);
    }
    std::ostringstream text;
    parts->dump(text);
    EXPECT_EQ(text.str(), expected.str());
}

// Gradient-handle validators ---------------------------------------------------------------------

struct Handle {
    float offset;
    float position;
};

Handle position(float offset, float position, int count, bool closed, bool keepOffsetSign) {
    SeShapeParts::validateGradientHandlePosition(offset, position, count, closed, keepOffsetSign);
    return {offset, position};
}

float closedCurve(float position, int count) {
    SeShapeParts::validateGradientHandleClosedCurve(position, count);
    return position;
}

Handle openedCurve(float offset, float position, int count) {
    SeShapeParts::validateGradientHandleOpenedCurve(offset, position, count);
    return {offset, position};
}

TEST(SeShapePartsTest, ClosedCurveWrapsPositions) {
    EXPECT_EQ(closedCurve(4.0f, 4), 0.0f);
    EXPECT_EQ(closedCurve(-0.5f, 4), 3.5f);
    EXPECT_EQ(closedCurve(9.25f, 4), 1.25f);
    EXPECT_EQ(closedCurve(2.5f, 1), 0.0f);

    const Handle flipped = position(2.0f, 1.0f, 4, true, false);
    EXPECT_EQ(flipped.position, 1.0f);
    EXPECT_EQ(flipped.offset, -2.0f) << "the sign changes even when the position stays";
    const Handle kept = position(2.0f, -0.5f, 4, true, true);
    EXPECT_EQ(kept.position, 3.5f);
    EXPECT_EQ(kept.offset, 2.0f);
    const Handle single = position(2.0f, 3.0f, 1, true, false);
    EXPECT_EQ(single.position, 0.0f);
    EXPECT_EQ(single.offset, 2.0f);
    EXPECT_EQ(bitsOf(position(-0.0f, 1.0f, 4, true, false).offset), bitsOf(0.0f));

    // -1e-9 + 4 rounds to 4 in single precision: used to leave the handle at the curve's end,
    // outside [0, 4), instead of at its start.
    EXPECT_EQ(bitsOf(closedCurve(-1e-9f, 4)), bitsOf(0.0f));
    EXPECT_EQ(bitsOf(position(1.0f, -1e-9f, 4, true, true).position), bitsOf(0.0f));
}

TEST(SeShapePartsTest, OpenCurveReflectsAtBothEnds) {
    const Handle past = position(1.0f, 5.5f, 5, false, true);
    EXPECT_EQ(past.position, 2.5f);
    EXPECT_EQ(past.offset, -1.0f);
    const Handle before = position(1.0f, -1.0f, 5, false, true);
    EXPECT_EQ(before.position, 1.0f);
    EXPECT_EQ(before.offset, -1.0f);
    const Handle twice = position(1.0f, 9.0f, 5, false, false);
    EXPECT_EQ(twice.position, 1.0f);
    EXPECT_EQ(twice.offset, 1.0f) << "two reflections keep the sign; keepOffsetSign is unread";
    const Handle start = position(1.0f, 0.0f, 5, false, false);
    EXPECT_EQ(start.position, 0.0f);
    EXPECT_EQ(start.offset, 1.0f);
    const Handle end = position(1.0f, 4.0f, 5, false, true);
    EXPECT_EQ(end.position, 4.0f);
    EXPECT_EQ(end.offset, -1.0f);
    const Handle single = position(1.0f, 4.0f, 1, false, true);
    EXPECT_EQ(single.position, 0.0f);
    EXPECT_EQ(single.offset, 1.0f);
}

TEST(SeShapePartsTest, OpenedCurveFoldsIntoTwiceTheLength) {
    const Handle once = openedCurve(1.0f, 5.0f, 4);
    EXPECT_EQ(once.position, -3.0f);
    EXPECT_EQ(once.offset, 1.0f);
    const Handle negativeOffset = openedCurve(-1.0f, 5.0f, 4);
    EXPECT_EQ(negativeOffset.position, 3.0f);
    EXPECT_EQ(negativeOffset.offset, 1.0f);
    EXPECT_EQ(openedCurve(1.0f, -1.0f, 4).position, -1.0f);
    EXPECT_EQ(openedCurve(1.0f, 4.0f, 4).position, -4.0f);
    EXPECT_EQ(openedCurve(1.0f, 8.0f, 4).position, 0.0f);
    const Handle inside = openedCurve(-2.0f, 1.5f, 4);
    EXPECT_EQ(inside.offset, 2.0f);
    EXPECT_EQ(inside.position, -1.5f);
    const Handle none = openedCurve(-2.0f, 1.5f, 0);
    EXPECT_EQ(none.position, 0.0f);
    EXPECT_EQ(none.offset, -2.0f);
    EXPECT_EQ(openedCurve(1.0f, 0.5f, 1).position, 0.5f) << "one point is enough here";
}

// The remainder of an integral float by modulus, exactly: |value| = m * 2^e with e >= 0.
std::uint64_t exactRemainder(float value, std::uint64_t modulus) {
    int exponent = 0;
    const float fraction = std::frexp(std::fabs(value), &exponent);
    auto remainder = static_cast<std::uint64_t>(std::ldexp(fraction, 24)) % modulus;
    for (int i = 24; i < exponent; ++i) {
        remainder = remainder * 2 % modulus;
    }
    return value < 0 && remainder != 0 ? modulus - remainder : remainder;
}

TEST(SeShapePartsTest, HugePositionsReduceExactlyAndPromptly) {
    const std::vector<float> huge = {1e30f,   -1e30f,   3e9f,    -3e9f,
                                     FLT_MAX, -FLT_MAX, 1.5e12f, -7.0e10f};
    for (int count : {2, 3, 4, 5, 7, 100, 1000}) {
        for (float value : huge) {
            SCOPED_TRACE(::testing::Message() << value << " count " << count);
            const auto length = static_cast<std::uint64_t>(count);
            EXPECT_EQ(closedCurve(value, count),
                      static_cast<float>(exactRemainder(value, 2 * length) % length));

            const std::uint64_t span = length - 1;
            const std::uint64_t folded = exactRemainder(value, 2 * span);
            const Handle open = position(1.0f, value, count, false, true);
            EXPECT_EQ(open.position,
                      static_cast<float>(folded >= span ? 2 * span - folded : folded));
            EXPECT_EQ(open.offset, folded >= span ? -1.0f : 1.0f);

            const std::uint64_t twice = exactRemainder(value, 2 * length);
            const Handle opened = openedCurve(1.0f, value, count);
            EXPECT_EQ(opened.position, twice >= length ? static_cast<float>(twice) - 2.0f * count
                                                       : static_cast<float>(twice));
        }
    }
}

TEST(SeShapePartsTest, InfiniteAndNaNPositionsReturnDefinedResults) {
    const float infinity = std::numeric_limits<float>::infinity();
    for (float value : {infinity, -infinity}) {
        EXPECT_EQ(bitsOf(closedCurve(value, 4)), bitsOf(0.0f));
        const Handle open = position(2.0f, value, 5, false, true);
        EXPECT_EQ(bitsOf(open.position), bitsOf(0.0f));
        EXPECT_EQ(open.offset, 2.0f);
        const Handle closed = position(2.0f, value, 5, true, false);
        EXPECT_EQ(bitsOf(closed.position), bitsOf(0.0f));
        EXPECT_EQ(closed.offset, -2.0f);
        const Handle opened = openedCurve(2.0f, value, 4);
        EXPECT_EQ(bitsOf(opened.position), bitsOf(0.0f));
        EXPECT_EQ(opened.offset, 2.0f);
    }

    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(bitsOf(closedCurve(nan, 4)), bitsOf(nan));
    const Handle open = position(2.0f, nan, 5, false, true);
    EXPECT_EQ(bitsOf(open.position), bitsOf(nan));
    EXPECT_EQ(open.offset, 2.0f) << "no step, so no reflection";
    const Handle opened = openedCurve(2.0f, nan, 4);
    EXPECT_TRUE(std::isnan(opened.position));
    EXPECT_EQ(opened.offset, 2.0f);
}

} // namespace
