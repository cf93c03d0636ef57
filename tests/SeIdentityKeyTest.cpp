#include "SeShapeSelectorFixture.h"

#include "SeIdentityKey.h"
#include "base/RCExNullPtr.h"
#include "foundation/Iterator.h"
#include "host/IteratorImpVector.h"
#include "host/graph/PiGraphObject.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::SeShape;

// A shape equal to the shapes of its group; counts the equality questions it is asked.
class GroupShape : public SeShape {
public:
    GroupShape(int group, const Vo::RCWeakPtr<Vo::SeShapeInterface> &editing)
        : group(group), editing(editing) {}

    bool isEqual(const Vo::SeObject &other) const override {
        ++asked;
        const auto *shape = dynamic_cast<const GroupShape *>(&other);
        return shape != nullptr && shape->group == group;
    }
    RCShdPtr<Vo::PiGraphObject> getGraphObject() override { return {}; }
    RCShdPtr<Vo::PiGraphObject const> getGraphObject() const override { return {}; }
    Vo::RCWeakPtr<Vo::SeShapeInterface> getShapeInterface() const override { return editing; }

    static inline int asked = 0;

private:
    int group;
    Vo::RCWeakPtr<Vo::SeShapeInterface> editing;
};

// The same shape with the identity-key promise; a test may break the promise on purpose.
class KeyedShape : public GroupShape, public Vo::SeIdentityKey {
public:
    KeyedShape(int group, std::uint64_t key, const Vo::RCWeakPtr<Vo::SeShapeInterface> &editing)
        : GroupShape(group, editing), key(key) {}
    std::uint64_t getIdentityKey() const noexcept override { return key; }

private:
    std::uint64_t key;
};

class SeIdentityKeyTest : public VoTest::SeShapeSelectorFixture {
protected:
    // Shape i of the fixture becomes a keyed shape of group i and key i, or a plain one.
    RCShdPtr<SeShape> own(int shape, bool keyed) {
        const std::size_t at = static_cast<std::size_t>(shape);
        models[at] = keyed ? keyedShape(shape, static_cast<std::uint64_t>(shape), shape)
                           : RCShdPtr<SeShape>(new GroupShape(shape, weaks[at]));
        app.editing(shape).setShape(models[at]);
        return models[at];
    }
    RCShdPtr<SeShape> keyedShape(int group, std::uint64_t key, int editingSide = 0) const {
        return RCShdPtr<SeShape>(
            new KeyedShape(group, key, weaks[static_cast<std::size_t>(editingSide)]));
    }
    // Whether shape is selected, and how many equality questions that took.
    std::pair<bool, int> ask(const RCShdPtr<SeShape> &shape) const {
        GroupShape::asked = 0;
        const bool selected = selector->isShapeSelected(shape);
        return {selected, GroupShape::asked};
    }
};

TEST_F(SeIdentityKeyTest, IsShapeSelectedAsksIsEqualOnlyOfKeyMatchesWhenEveryShapePromises) {
    own(a, true);
    own(b, true);
    own(c, false);
    select({item(a), item(b)});
    struct Case {
        RCShdPtr<SeShape> shape;
        bool selected;
        int asked;
    };
    const Case cases[] = {
        {keyedShape(b, b), true, 1},  // the key finds b
        {keyedShape(c, c), false, 0}, // no key matches: no question
        {keyedShape(c, a), false, 1}, // key of a, but not equal: not selected
        {RCShdPtr<SeShape>(new GroupShape(b, {})), true, 2}, // no promise: the walk, a then b
    };
    for (const Case &one : cases) {
        EXPECT_EQ(ask(one.shape), std::make_pair(one.selected, one.asked));
    }

    select({item(a), item(c)}); // c makes no promise: the walk, whatever the shape asked about
    EXPECT_EQ(ask(keyedShape(c, 99)), std::make_pair(true, 2));
    select({item(b)}); // a new selection: the keys are read again
    EXPECT_EQ(ask(keyedShape(a, a)), std::make_pair(false, 0));
    EXPECT_EQ(ask(keyedShape(b, b)), std::make_pair(true, 1));
}

// A selected shape whose editing side went before the keys were read is passed over (no live shape
// can equal it), so the answer for a live shape does not depend on when the keys were read; one
// that goes after they were read raises when its own key is looked up.
TEST_F(SeIdentityKeyTest, AShapeGoneBeforeTheKeysWereReadIsPassedOver) {
    own(a, true);
    own(b, true);
    own(c, true);
    select({item(a), item(b)});
    app.deleteInterfaceOnly(a);
    EXPECT_EQ(ask(models[c]), std::make_pair(false, 0));
    EXPECT_EQ(ask(models[b]), std::make_pair(true, 1));
    EXPECT_FALSE(selector->isShapeSelected(models[a]));

    select({item(b), item(c)});
    EXPECT_EQ(ask(models[a]), std::make_pair(false, 0)); // the keys are read while c lives
    app.deleteInterfaceOnly(c);
    EXPECT_EQ(ask(models[a]), std::make_pair(false, 0));
    EXPECT_THROW(ask(models[c]), Vo::RCExNullPtr);
}

// A shape selected twice is found at its first item, a gone shape passed over on the way (the walk
// of every selected shape used to raise for it, whatever shape was asked about).
TEST_F(SeIdentityKeyTest, AShapeSelectedTwiceIsFoundPastAGoneOne) {
    own(a, true);
    own(b, true);
    own(c, true);
    select({item(a), item(b), item(c), item(b, {1}, {})});
    app.deleteInterfaceOnly(a);
    EXPECT_EQ(ask(models[b]), std::make_pair(true, 3)); // two key matches, then the walk from c
    selector->unselectShape(models[b]);
    EXPECT_EQ(pointsAt(2), Indices{1});
    EXPECT_FALSE(ask(keyedShape(b, a)).first); // a's key: a is gone, so no live shape is a
}

// The keys are carried along one-item changes; a shape without the promise coming in or going out
// switches the look-up to the walk and back.
TEST_F(SeIdentityKeyTest, KeysFollowOneItemChangesOfTheSelection) {
    own(a, true);
    own(b, true);
    own(c, false);
    select({item(a)});
    EXPECT_EQ(ask(keyedShape(a, a)), std::make_pair(true, 1));
    selector->addSelectedShape(models[b]);
    EXPECT_EQ(ask(keyedShape(b, b)), std::make_pair(true, 1));
    selector->selectPoint(2); // the primary item is replaced: its key stays
    EXPECT_EQ(ask(keyedShape(a, a)), std::make_pair(true, 1));
    selector->addSelectedShape(models[c]); // no promise: the walk
    EXPECT_EQ(ask(keyedShape(b, b)), std::make_pair(true, 2));
    selector->unselectShape(models[c]);
    EXPECT_EQ(ask(keyedShape(b, b)), std::make_pair(true, 1));
    selector->unselectShape(models[a]);
    EXPECT_EQ(ask(keyedShape(a, a)), std::make_pair(false, 0));
    EXPECT_EQ(ask(keyedShape(b, b)), std::make_pair(true, 1));

    // Two selected items of shapes equal to the one asked about: the first in order leaves,
    // whether the keys were read in that order or the first came in later.
    const RCShdPtr<SeShape> likeA = keyedShape(a, a);
    for (const bool firstCameLater : {false, true}) {
        if (firstCameLater) {
            select({item(b, {1}, {}), item(a, {2}, {})});
            EXPECT_TRUE(selector->isShapeSelected(likeA)); // the keys are read here
            selector->restoreRange(0, 0, {item(a, {3}, {})});
        } else {
            select({item(a, {3}, {}), item(b, {1}, {}), item(a, {2}, {})});
        }
        selector->unselectShape(likeA);
        EXPECT_EQ(selectedShapes(), (Indices{b, a}));
        EXPECT_EQ(pointsAt(1), Indices{2});
    }

    // The second item of a shape goes by other means: the keys still know the first.
    select({item(a, {3}, {}), item(b), item(a, {2}, {})});
    EXPECT_TRUE(selector->isShapeSelected(likeA));
    ASSERT_TRUE(selection->removeItem(itemAt(2)));
    selector->unselectShape(likeA);
    EXPECT_EQ(selectedShapes(), Indices{b});
    EXPECT_FALSE(selector->isShapeSelected(likeA));
}

// The keys keep where each item sat; a shape unselected leaves from there only while its item still
// sits there. After a change in front of it the item is looked for: taking the place as it was
// once unselected the shape after the one asked for.
TEST_F(SeIdentityKeyTest, AnUnselectedShapeLeavesFromWhereItsItemIsNow) {
    own(a, true);
    own(b, true);
    own(c, true);
    select({item(a), item(b), item(c), item(a, {1}, {})});
    EXPECT_TRUE(selector->isShapeSelected(models[c])); // the keys are read, with the places
    ASSERT_TRUE(selection->removeItem(itemAt(0)));     // b and c move one place forward
    selector->unselectShape(models[b]);
    EXPECT_EQ(selectedShapes(), (Indices{c, a}));
    selector->restoreRange(1, 0, {item(b)});
    selector->unselectShape(models[c]); // its place is now past the end
    EXPECT_EQ(selectedShapes(), (Indices{b, a}));
    selector->restoreRange(2, 0, {item(c)});
    selector->unselectShape(models[c]); // came in by the splice: its place is known
    EXPECT_EQ(selectedShapes(), (Indices{b, a}));
}

// Keys are any 64-bit numbers, the table's free-cell mark and the number below it included, which
// share cells: a shape with one of them is never compared with a selected shape with the other.
TEST_F(SeIdentityKeyTest, TheHighestKeysAreKeysLikeAnyOther) {
    const std::uint64_t highest = ~std::uint64_t(0);
    for (const std::uint64_t selectedKey : {highest, highest - 1}) {
        const std::uint64_t otherKey = selectedKey == highest ? highest - 1 : highest;
        models[a] = keyedShape(a, selectedKey, a);
        app.editing(a).setShape(models[a]);
        select({item(a)});
        EXPECT_EQ(ask(keyedShape(a, selectedKey)), std::make_pair(true, 1));
        EXPECT_EQ(ask(keyedShape(b, otherKey)), std::make_pair(false, 0));
        EXPECT_EQ(ask(keyedShape(a, otherKey)), std::make_pair(false, 0)); // a broken promise
        select({});
    }
}

// A selected item whose shape is gone may leave by a splice (a removal event does so): the keys
// let go of it without reading its shape, and a live shape of the same key is then not selected.
TEST_F(SeIdentityKeyTest, AGoneShapesItemLeavesTheKeys) {
    own(a, true);
    own(b, true);
    select({item(a), item(b)});
    EXPECT_TRUE(selector->isShapeSelected(models[b]));
    app.deleteInterfaceOnly(a);
    ASSERT_TRUE(selection->removeItem(itemAt(0)));
    EXPECT_EQ(ask(keyedShape(a, a)), std::make_pair(false, 0));
    EXPECT_EQ(ask(keyedShape(b, b)), std::make_pair(true, 1));
}

TEST_F(SeIdentityKeyTest, SelectAllShapesLooksWalkedShapesUpByKeyWithTheSameResult) {
    const RCShdPtr<SeShape> shapeA = own(a, true);
    const RCShdPtr<SeShape> shapeB = own(b, true);
    const RCShdPtr<SeShape> shapeC = own(c, true);
    select({item(a, {2}, {})});
    const std::vector<RCShdPtr<SeShape>> walked{shapeB, keyedShape(a, a, a), shapeC, shapeB};
    auto walk = Vo::IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(
        std::make_shared<const std::vector<RCShdPtr<SeShape>>>(walked));
    GroupShape::asked = 0;
    selector->selectAllShapes(walk);
    EXPECT_EQ(selectedShapes(), (Indices{a, b, c, b}));
    EXPECT_EQ(pointsAt(0), Indices{2});
    EXPECT_EQ(GroupShape::asked, 1); // only the twin of a shares a selected shape's key

    own(b, false); // one selected shape without the promise: the walk, every pair asked
    select({item(a), item(b)});
    GroupShape::asked = 0;
    auto again = Vo::IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(
        std::make_shared<const std::vector<RCShdPtr<SeShape>>>(
            std::vector<RCShdPtr<SeShape>>{shapeC}));
    selector->selectAllShapes(again);
    EXPECT_EQ(selectedShapes(), (Indices{a, b, c}));
    EXPECT_EQ(GroupShape::asked, 2);
}

// The keys read for one selector are its own: a selector made after another is destroyed, often
// at the same address with its selection at the same address too, never answers from the keys of
// the one before. Each selects a shape of its own group and key, and is asked about the shape the
// one before selected, which is still alive.
TEST_F(SeIdentityKeyTest, ANewSelectorNeverSeesTheKeysOfADestroyedOne) {
    std::vector<RCShdPtr<SeShape>> selected;
    int reused = 0;
    const void *lastAddress = nullptr;
    for (int round = 0; round < 16; ++round) {
        const int shape = round % 3;
        models[static_cast<std::size_t>(shape)] =
            keyedShape(100 + round, static_cast<std::uint64_t>(round), shape);
        app.editing(shape).setShape(models[static_cast<std::size_t>(shape)]);
        const RCShdPtr<Vo::SeShapeSelector> own = Vo::SeShapeSelector::create();
        reused += own.get() == lastAddress ? 1 : 0;
        lastAddress = own.get();
        own->setSelectedShapes(shapes({shape}));
        EXPECT_TRUE(own->isShapeSelected(models[static_cast<std::size_t>(shape)])) << round;
        if (!selected.empty()) {
            EXPECT_FALSE(own->isShapeSelected(selected.back())) << round;
        }
        selected.push_back(models[static_cast<std::size_t>(shape)]);
    }
    RecordProperty("selectorAddressesReused", reused);
}

} // namespace
