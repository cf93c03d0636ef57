#include "SeShapeParts.h"

#include "foundation/RCShdPtr.h"

#include "host/selection/SnParts.h"
#include "host/selection/SnPartsBasic.h"

#include "IndexModel.h"
#include "StepModel.h"
#include "TestForeignParts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
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

bool has(const Model &model, int index) {
    return std::find(model.begin(), model.end(), index) != model.end();
}

int rankIn(const Model &model, int index) {
    const auto at = std::find(model.begin(), model.end(), index);
    return at == model.end() ? 0 : static_cast<int>(at - model.begin()) + 1;
}

// One set of parts through every row; the order it gave out at the start must follow each change.
TEST(SeShapePartsTest, PointsAndHandlesAreIndependentSets) {
    using Parts = SeShapeParts;
    struct Row {
        const char *what;
        void (*change)(Parts &);
        Model points;
        Model handles;
    };
    const Row rows[] = {
        {"a point", [](Parts &p) { p.appendPoint(3); }, {3}, {}},
        {"a handle of the same index", [](Parts &p) { p.appendHandle(3); }, {3}, {3}},
        {"another handle", [](Parts &p) { p.appendHandle(8); }, {3}, {3, 8}},
        {"the point again", [](Parts &p) { p.appendPoint(3); }, {3}, {3, 8}},
        {"a negative point", [](Parts &p) { p.appendPoint(-4); }, {3, -4}, {3, 8}},
        {"another point", [](Parts &p) { p.appendPoint(5); }, {3, -4, 5}, {3, 8}},
        {"a point removed", [](Parts &p) { p.removePoint(-4); }, {3, 5}, {3, 8}},
        {"a handle removed", [](Parts &p) { p.removeHandle(3); }, {3, 5}, {8}},
        {"points cleared", [](Parts &p) { p.clearPoints(); }, {}, {8}},
        {"a point", [](Parts &p) { p.appendPoint(1); }, {1}, {8}},
        {"handles cleared", [](Parts &p) { p.clearHandles(); }, {1}, {}},
        {"all cleared", [](Parts &p) { p.clear(); }, {}, {}},
        {"a range of points", [](Parts &p) { p.appendPointRange(0, 3); }, {0, 1, 2}, {}},
        {"a range of handles", [](Parts &p) { p.appendHandleRange(5, 2); }, {0, 1, 2}, {5, 6}},
        {"an overlapping range", [](Parts &p) { p.appendPointRange(2, 2); }, {0, 1, 2, 3}, {5, 6}},
        {"a negative reservation", [](Parts &p) { p.reservePoints(-1); }, {0, 1, 2, 3}, {5, 6}},
        {"INT_MIN reserved", [](Parts &p) { p.reserveHandles(INT_MIN); }, {0, 1, 2, 3}, {5, 6}},
        {"a reservation", [](Parts &p) { p.reservePoints(64); }, {0, 1, 2, 3}, {5, 6}},
    };
    const RCShdPtr<SeShapeParts> parts(new SeShapeParts());
    EXPECT_TRUE(parts->isEmpty());
    const Vo::Vector<int> &points = parts->getPoints();
    const Vo::Vector<int> &handles = parts->getHandles();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        row.change(*parts);
        EXPECT_EQ(Model(points.begin(), points.end()), row.points);
        EXPECT_EQ(Model(handles.begin(), handles.end()), row.handles);
        EXPECT_EQ(parts->getSize(), static_cast<int>(row.points.size() + row.handles.size()));
        EXPECT_EQ(parts->isPointEmpty(), row.points.empty());
        EXPECT_EQ(parts->isHandleEmpty(), row.handles.empty());
        EXPECT_EQ(parts->isEmpty(), row.points.empty() && row.handles.empty());
        for (int index : {-4, 1, 3, 5, 8}) {
            EXPECT_EQ(parts->hasPoint(index), has(row.points, index)) << index;
            EXPECT_EQ(parts->hasHandle(index), has(row.handles, index)) << index;
        }
    }
    EXPECT_GE(points.capacity(), 64U);
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
    using Operation = bool (SnParts::*)(const RCShdPtr<SnParts const> &);
    struct Row {
        const char *what;
        Operation operation;
        Model otherPoints;
        Model otherHandles;
        bool changed;
        Model points;
        Model handles;
    };
    const Operation unite = &SnParts::unionWith, subtract = &SnParts::differenceWith,
                    exclude = &SnParts::xorWith;
    const Row rows[] = {
        // one set of parts through every row, from points {1}
        {"both, the points changed", unite, {2}, {5}, true, {1, 2}, {5}},
        {"both, the points unchanged", unite, {2}, {6}, true, {1, 2}, {5, 6}},
        {"nothing new", unite, {1}, {6}, false, {1, 2}, {5, 6}},
        {"difference of both", subtract, {1}, {6}, true, {2}, {5}},
        {"difference, the points unchanged", subtract, {9}, {5}, true, {2}, {}},
        {"difference, the other kind's indices", subtract, {5}, {2}, false, {2}, {}},
        {"xor", exclude, {2, 3}, {7}, true, {3}, {7}},
        {"xor with nothing", exclude, {}, {}, false, {3}, {7}},
    };
    const RCShdPtr<SeShapeParts> parts = makeParts({1}, {});
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(((*parts).*row.operation)(makeParts(row.otherPoints, row.otherHandles)),
                  row.changed);
        EXPECT_EQ(pointsOf(parts), row.points);
        EXPECT_EQ(handlesOf(parts), row.handles);
    }
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

// Parts made one index apart hand one pair of sets to whichever is read. Every member of such a
// family must read as its own indices whatever was read before it, compare with the others as
// values, and a change of one member must leave the others as they were.
TEST(SeShapePartsTest, OneIndexVersionsReadAsTheirOwnIndicesInAnyOrder) {
    struct Version {
        RCShdPtr<SeShapeParts> parts;
        Model points;
        Model handles;
    };
    const auto expectReads = [](const Version &version, const char *when) {
        ASSERT_EQ(pointsOf(version.parts), version.points) << when;
        ASSERT_EQ(handlesOf(version.parts), version.handles) << when;
        ASSERT_EQ(version.parts->getSize(),
                  static_cast<int>(version.points.size() + version.handles.size()));
        for (int index = -3; index < 11; ++index) {
            const auto at = std::find(version.points.begin(), version.points.end(), index);
            ASSERT_EQ(version.parts->hasPoint(index), at != version.points.end()) << when;
            ASSERT_EQ(version.parts->getPointRank(index),
                      at == version.points.end() ? 0 : 1 + (at - version.points.begin()));
            ASSERT_EQ(version.parts->hasHandle(index), has(version.handles, index)) << when;
        }
    };
    std::vector<Version> family{
        {makeParts({0, 1, 2, 3, 4, 5}, {3, 1}), {0, 1, 2, 3, 4, 5}, {3, 1}}};
    std::uint32_t seed = 3;
    for (int step = 0; step < 300; ++step) {
        seed = seed * 1664525U + 1013904223U;
        const std::size_t fromAt = (seed >> 8) % family.size();
        const Version &from = family[fromAt];
        const int index = static_cast<int>((seed >> 20) % 12) - 2;
        const bool points = (seed >> 4) % 3 != 0;
        Version made{RCShdPtr<SeShapeParts>(), from.points, from.handles};
        Model &model = points ? made.points : made.handles;
        if ((seed >> 6) % 4 == 3) { // renumbered, the caller's rank given right, wrong or not
            const bool added = (seed >> 9) % 2 == 0;
            const int rank = static_cast<int>((seed >> 14) % 3) - 1 + rankIn(model, index);
            made.parts = points ? from.parts->renumberedPoints(index, added, rank)
                                : from.parts->renumberedHandles(index, added);
            VoTest::IndexModel::renumber(model, index, added);
        } else if ((seed >> 6) % 2 == 0) {
            made.parts = points ? from.parts->withPointAppended(index)
                                : from.parts->withHandleAppended(index);
            if (!has(model, index)) {
                model.push_back(index);
            }
        } else { // removed, the caller's rank given right, wrong or not
            const int rank = (seed >> 14) % 4 == 3
                                 ? 0
                                 : static_cast<int>((seed >> 14) % 3) - 1 + rankIn(model, index);
            made.parts = points ? from.parts->withPointRemoved(index, rank)
                                : from.parts->withHandleRemoved(index, rank);
            model.erase(std::remove(model.begin(), model.end(), index), model.end());
        }
        family.push_back(made);
        expectReads(family[(seed >> 12) % family.size()], "an earlier one");
        expectReads(family[fromAt], "the one it was made from");
        expectReads(family.back(), "the new one");
    }
    for (auto version = family.rbegin(); version != family.rend(); ++version) {
        expectReads(*version, "newest first");
    }
    const auto contained = [](const Model &mine, const Model &theirs) {
        return std::all_of(theirs.begin(), theirs.end(),
                           [&mine](int index) { return has(mine, index); });
    };
    int equalPairs = 0;
    for (std::size_t i = 0; i < family.size(); ++i) {
        for (std::size_t j = i; j < std::min(family.size(), i + 40); ++j) {
            const Version &one = family[i];
            const Version &other = family[j];
            const bool equal = one.points == other.points && one.handles == other.handles;
            equalPairs += equal && i != j ? 1 : 0;
            ASSERT_EQ(one.parts->isEqual(other.parts), equal) << i << " and " << j;
            ASSERT_EQ(other.parts->contains(one.parts),
                      contained(other.points, one.points) && contained(other.handles, one.handles))
                << j << " contains " << i;
        }
    }
    EXPECT_GT(equalPairs, 0) << "no two members came to the same indices: equality not tried";

    // Changes go to the changed member alone, whichever member its argument is.
    Version &changed = family[family.size() / 2];
    const Version &argument = family[family.size() / 2 + 1]; // no push_back from here on
    EXPECT_EQ(changed.parts->unionWith(argument.parts),
              !contained(changed.points, argument.points) ||
                  !contained(changed.handles, argument.handles));
    for (const auto &[mine, theirs] :
         {std::pair<Model *, const Model *>{&changed.points, &argument.points},
          {&changed.handles, &argument.handles}}) {
        for (int index : *theirs) {
            if (!has(*mine, index)) {
                mine->push_back(index);
            }
        }
    }
    family.front().parts->appendPoint(50);
    family.front().points.push_back(50);
    family[2].parts->appendHandle(60); // a change of handles alone
    family[2].handles.push_back(60);
    family.back().parts->replaceAllParts(family[1].parts);
    family.back().points = family[1].points;
    family.back().handles = family[1].handles;
    const RCShdPtr<SeShapeParts> copy(new SeShapeParts(*family[7].parts));
    copy->removePoint(family[7].points.empty() ? 0 : family[7].points.front());
    for (const Version &version : family) {
        expectReads(version, "after the changes");
    }

    // INT_MAX wraps on the way up, which no step could turn back: those parts copy the sets.
    const RCShdPtr<SeShapeParts> extreme = makeParts({INT_MAX, 3}, {});
    const RCShdPtr<SeShapeParts> wrapped = extreme->renumberedPoints(0, true);
    EXPECT_EQ(pointsOf(wrapped), (Model{INT_MIN, 4}));
    EXPECT_EQ(pointsOf(extreme), (Model{INT_MAX, 3}));
    EXPECT_EQ(pointsOf(wrapped), (Model{INT_MIN, 4}));
}

// Reading the first of a long run of one-index versions walks back to it, and letting the run go
// releases its versions one after another: by recursion, 400000 of them overflowed the stack.
TEST(SeShapePartsTest, ALongRunOfOneIndexVersionsIsReadAndReleasedWithoutRecursion) {
    constexpr int kVersions = 400000;
    std::vector<RCShdPtr<SeShapeParts>> run{makeParts({}, {7})};
    for (int index = 0; index < kVersions; ++index) {
        run.push_back(run.back()->withPointAppended(index));
    }
    EXPECT_TRUE(run.front()->isPointEmpty());
    EXPECT_EQ(run[kVersions / 2]->getSize(), kVersions / 2 + 1);
    EXPECT_EQ(run.back()->getPointRank(kVersions - 1), kVersions);
    EXPECT_TRUE(run.back()->hasHandle(7));
    while (run.size() > 1) {
        run.pop_back(); // each still leant on by the one before it
    }
    run.clear(); // the first lets go of the whole chain
    EXPECT_TRUE(run.empty());
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
    std::ostringstream text;
    makeParts({4, 1, 7}, {2})->dump(text);
    EXPECT_EQ(text.str(), "Indices: 4 1 7\nIndices: 2\n");
}

// Gradient-handle validators ---------------------------------------------------------------------

struct Handle {
    float offset;
    float position;
};

enum class Validator { ClosedCurve, Position, OpenedCurve };

// The offset and position that one validator leaves; the closed-curve one never reads the offset.
Handle validate(Validator validator, Handle handle, int count, bool closed = false,
                bool keepOffsetSign = false) {
    switch (validator) {
    case Validator::ClosedCurve:
        SeShapeParts::validateGradientHandleClosedCurve(handle.position, count);
        break;
    case Validator::Position:
        SeShapeParts::validateGradientHandlePosition(handle.offset, handle.position, count, closed,
                                                     keepOffsetSign);
        break;
    case Validator::OpenedCurve:
        SeShapeParts::validateGradientHandleOpenedCurve(handle.offset, handle.position, count);
        break;
    }
    return handle;
}

// Equal, NaN included; with exact, down to the sign of a zero.
bool same(float actual, float expected, bool exact) {
    if (std::isnan(expected)) {
        return std::isnan(actual);
    }
    return exact ? bitsOf(actual) == bitsOf(expected) : actual == expected;
}

TEST(SeShapePartsTest, ValidatorsWrapReflectOrFoldPositionsIntoTheCurve) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr Validator closedCurve = Validator::ClosedCurve;
    constexpr Validator position = Validator::Position;
    constexpr Validator opened = Validator::OpenedCurve;
    struct Row {
        const char *what;
        Validator validator;
        Handle given;
        int count;
        bool closed;
        bool keepOffsetSign;
        Handle expected;
        bool exact;
    };
    const Row rows[] = {
        {"closed: length to 0", closedCurve, {1, 4}, 4, true, false, {1, 0}, false},
        {"closed: below 0", closedCurve, {1, -0.5f}, 4, true, false, {1, 3.5f}, false},
        {"closed: twice round", closedCurve, {1, 9.25f}, 4, true, false, {1, 1.25f}, false},
        {"closed: one point", closedCurve, {1, 2.5f}, 1, true, false, {1, 0}, false},
        {"closed: two points", closedCurve, {1, 1.5f}, 2, true, false, {1, 1.5f}, false},
        // No step to take: a negative zero stays as it is.
        {"closed: -0 stays", closedCurve, {1, -0.0f}, 4, true, false, {1, -0.0f}, true},
        // -1e-9 + 4 rounds to 4 in single precision: used to leave the handle at the curve's end,
        // outside [0, 4), instead of at its start.
        {"closed: tiny negative", closedCurve, {1, -1e-9f}, 4, true, false, {1, 0}, true},
        {"closed: +inf", closedCurve, {1, inf}, 4, true, false, {1, 0}, true},
        {"closed: -inf", closedCurve, {1, -inf}, 4, true, false, {1, 0}, true},
        {"closed: NaN", closedCurve, {1, nan}, 4, true, false, {1, nan}, false},
        // On a closed curve the sign changes unless kept, even when the position stays.
        {"closed position: flip", position, {2, 1}, 4, true, false, {-2, 1}, false},
        {"closed position: kept", position, {2, -0.5f}, 4, true, true, {2, 3.5f}, false},
        {"closed position: 1 point", position, {2, 3}, 1, true, false, {2, 0}, false},
        {"closed position: -0", position, {-0.0f, 1}, 4, true, false, {0, 1}, true},
        {"closed position: tiny", position, {1, -1e-9f}, 4, true, true, {1, 0}, true},
        {"closed position: +inf", position, {2, inf}, 5, true, false, {-2, 0}, true},
        {"closed position: -inf", position, {2, -inf}, 5, true, false, {-2, 0}, true},
        // An open curve reflects at both ends; two reflections keep the sign, and keepOffsetSign
        // is not read. NaN takes no step, so no reflection.
        {"open: past the end", position, {1, 5.5f}, 5, false, true, {-1, 2.5f}, false},
        {"open: before 0", position, {1, -1}, 5, false, true, {-1, 1}, false},
        {"open: twice", position, {1, 9}, 5, false, false, {1, 1}, false},
        {"open: the start", position, {1, 0}, 5, false, false, {1, 0}, false},
        {"open: the end", position, {1, 4}, 5, false, true, {-1, 4}, false},
        {"open: one point", position, {1, 4}, 1, false, true, {1, 0}, false},
        {"open: +inf", position, {2, inf}, 5, false, true, {2, 0}, true},
        {"open: -inf", position, {2, -inf}, 5, false, true, {2, 0}, true},
        {"open: NaN", position, {2, nan}, 5, false, true, {2, nan}, true},
        // An opened curve folds into twice its length; a negative offset turns both signs.
        {"opened: once past", opened, {1, 5}, 4, false, false, {1, -3}, false},
        {"opened: negative offset", opened, {-1, 5}, 4, false, false, {1, 3}, false},
        {"opened: zero offset", opened, {0, 1.5f}, 4, false, false, {0, 1.5f}, false},
        {"opened: below 0", opened, {1, -1}, 4, false, false, {1, -1}, false},
        {"opened: the length", opened, {1, 4}, 4, false, false, {1, -4}, false},
        {"opened: twice", opened, {1, 8}, 4, false, false, {1, 0}, false},
        {"opened: inside", opened, {-2, 1.5f}, 4, false, false, {2, -1.5f}, false},
        {"opened: no point", opened, {-2, 1.5f}, 0, false, false, {-2, 0}, false},
        {"opened: one is enough", opened, {1, 0.5f}, 1, false, false, {1, 0.5f}, false},
        {"opened: +inf", opened, {2, inf}, 4, false, false, {2, 0}, true},
        {"opened: -inf", opened, {2, -inf}, 4, false, false, {2, 0}, true},
        {"opened: NaN", opened, {2, nan}, 4, false, false, {2, nan}, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const Handle actual =
            validate(row.validator, row.given, row.count, row.closed, row.keepOffsetSign);
        EXPECT_TRUE(same(actual.offset, row.expected.offset, row.exact)) << actual.offset;
        EXPECT_TRUE(same(actual.position, row.expected.position, row.exact)) << actual.position;
    }
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
            EXPECT_EQ(validate(Validator::ClosedCurve, {1, value}, count).position,
                      static_cast<float>(exactRemainder(value, 2 * length) % length));

            const std::uint64_t span = length - 1;
            const std::uint64_t folded = exactRemainder(value, 2 * span);
            const Handle open = validate(Validator::Position, {1, value}, count, false, true);
            EXPECT_EQ(open.position,
                      static_cast<float>(folded >= span ? 2 * span - folded : folded));
            EXPECT_EQ(open.offset, folded >= span ? -1.0f : 1.0f);

            const std::uint64_t twice = exactRemainder(value, 2 * length);
            const Handle opened = validate(Validator::OpenedCurve, {1, value}, count);
            EXPECT_EQ(opened.position, twice >= length ? static_cast<float>(twice) - 2.0f * count
                                                       : static_cast<float>(twice));
        }
    }
}

// Between 2^24 and 2^20 lengths, positions are brought in by single-precision steps of the length,
// one at a time, whose rounding the result keeps (an odd length's multiples are not all floats
// there): the same as the plain loop of steps, position and step count alike.
TEST(SeShapePartsTest, LargePositionsStepAsSinglePrecisionSteps) {
    const auto stepped = [](float position, float length, bool &odd) {
        odd = VoTest::StepModel::reduce(position, length);
        return position;
    };
    for (const int count : {100, 1000}) {
        for (const float value : {2.0e7f, -2.0e7f, 3.3554431e7f, -5.0e7f, 9.0e7f}) {
            SCOPED_TRACE(::testing::Message() << value << " count " << count);
            bool odd = false;
            const float closed = stepped(value, static_cast<float>(count), odd);
            EXPECT_EQ(validate(Validator::ClosedCurve, {1, value}, count).position, closed);
            const float span = static_cast<float>(count - 1);
            const float folded = stepped(value, span, odd);
            const Handle open = validate(Validator::Position, {1, value}, count, false, true);
            EXPECT_EQ(open.position, odd ? span - folded : folded);
            EXPECT_EQ(open.offset, odd ? -1.0f : 1.0f);
        }
    }
}

} // namespace
