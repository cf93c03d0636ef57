#include "SeShapeSelectorFixture.h"

#include "SeSelectionBatch.h"
#include "app/TestShape.h"

#include "base/CbEmptyType.h"
#include "foundation/CbHandler.h"
#include "foundation/Iterator.h"
#include "host/IteratorImpVector.h"
#include "base/RCExCastFailed.h"
#include "base/RCExNullPtr.h"
#include "host/selection/SnItemBasic.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::RCWeakPtr;
using Vo::SeShape;
using Vo::SeShapeInterface;
using Vo::SeShapeSelector;
using Vo::SnItem;
using Vo::SnParts;
using Vo::SnSelection;
using ShapeIterator = Vo::Iterator<RCShdPtr<SeShape>>;

const char *const kShapeItemName = "Vo::SnItemBasic<Vo::RCWeakPtr<Vo::SeShapeInterface> >";

class SeShapeSelectorTest : public VoTest::SeShapeSelectorFixture {
protected:
    ShapeIterator iterate(std::vector<RCShdPtr<SeShape>> elements) const {
        return Vo::IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(
            std::make_shared<const std::vector<RCShdPtr<SeShape>>>(std::move(elements)));
    }
    // From a temporary iterator, as an owner hands one out.
    void selectAll(std::vector<RCShdPtr<SeShape>> elements) {
        selector->selectAllShapes(iterate(std::move(elements)));
    }
    // The selection is still equal to `before` and nobody was told of a change.
    void expectUnchanged(const RCShdPtr<SnSelection> &before) {
        EXPECT_TRUE(selection->isEqual(before));
        EXPECT_EQ(takeNotifications(), 0);
    }
};

// Parts of another class than SeShapeParts.
class OtherParts : public SnParts {
public:
    SnParts *clone() const override { return new OtherParts(); }
    bool isEqual(const RCShdPtr<SnParts const> &) const override { return false; }
    bool contains(const RCShdPtr<SnParts const> &) const override { return false; }
    bool isEmpty() const override { return true; }
    int getSize() const override { return 0; }
    void clear() override {}
    void replaceAllParts(const RCShdPtr<SnParts const> &) override {}
    bool unionWith(const RCShdPtr<SnParts const> &) override { return false; }
    bool differenceWith(const RCShdPtr<SnParts const> &) override { return false; }
    bool xorWith(const RCShdPtr<SnParts const> &) override { return false; }
    void dump(std::ostream &) const override {}
};

// A callback handler that writes its name into a shared log and may then run an action.
class Recorder : public Vo::CbHandler<Vo::CbEmptyType> {
public:
    Recorder(std::vector<std::string> &log, std::string name) : log(log), name(std::move(name)) {}
    void call(const Vo::CbEmptyType &) override {
        log.push_back(name);
        if (action) {
            action();
        }
    }
    std::function<void()> action;

private:
    std::vector<std::string> &log;
    std::string name;
};

// Runs operation and expects the failed-cast error from `actual` to `target`, by readable names.
template <class Operation>
void expectCastFailed(Operation operation, const std::string &actual, const std::string &target) {
    try {
        operation();
        ADD_FAILURE() << "no RCExCastFailed from " << actual << " to " << target;
    } catch (const Vo::RCExCastFailed &error) {
        EXPECT_EQ(error.getActualType(), actual);
        EXPECT_EQ(error.getTargetType(), target);
        EXPECT_NE(std::string(error.what()).find(target), std::string::npos);
    }
}

TEST_F(SeShapeSelectorTest, EmptySelectionReportsNothingAndLeavesOutputsAlone) {
    EXPECT_EQ(selector->getSelection().get(), selection.get());
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
    EXPECT_TRUE(selector->getPrimarySelectedShapeInterface().isNull());
    EXPECT_TRUE(selector->getPrimarySelectedShape().isNull());
    EXPECT_FALSE(selector->isShapeSelected(models[a]));
    EXPECT_FALSE(selector->isShapeSelected(RCShdPtr<SeShape>()));

    Vo::Vector<RCShdPtr<SeShape>> found{models[c]};
    selector->getSelectedShapes(found);
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].get(), models[c].get());
    Vo::Vector<RCWeakPtr<SeShapeInterface>> interfaces{weaks[c]};
    selector->getSelectedShapeInterfaces(interfaces);
    ASSERT_EQ(interfaces.size(), 1U);
    EXPECT_TRUE(interfaces[0] == weaks[c]);
}

TEST_F(SeShapeSelectorTest, UnchangedResultsNotifyNoOne) {
    selector->resetSelection();
    EXPECT_EQ(takeNotifications(), 0);

    selector->setSelectedShapes(shapes({a, b}));
    EXPECT_EQ(takeNotifications(), 1);
    selector->setSelectedShapes(shapes({a, b}));
    EXPECT_EQ(takeNotifications(), 0);
    select({item(a), item(b)}); // equal items built afresh
    EXPECT_EQ(takeNotifications(), 0);
    selector->replaceAllItems(selection);
    EXPECT_EQ(takeNotifications(), 0);
    selectAll({models[b], models[a]});
    EXPECT_EQ(takeNotifications(), 0);

    selector->selectPoint(3);
    EXPECT_EQ(takeNotifications(), 1);
    selector->selectPoint(3);
    selector->updateSelectionPointAdded(weaks[a], 4); // nothing at or above 4
    selector->updateSelectionPointDeleted(weaks[a], 4);
    selector->unselectHandles();
    EXPECT_EQ(takeNotifications(), 0);
    EXPECT_EQ(pointsAt(0), Indices{3});

    selector->setPrimarySelectedShape(models[b], 2);
    EXPECT_EQ(takeNotifications(), 1);
    selector->setPrimarySelectedShape(models[b], 2);
    EXPECT_EQ(takeNotifications(), 0);

    selector->resetSelection();
    EXPECT_EQ(takeNotifications(), 1);
    selector->resetSelection();
    EXPECT_EQ(takeNotifications(), 0);
}

TEST_F(SeShapeSelectorTest, SetSelectedShapesDropsPartsAndCountsRepeatedShapesAsItems) {
    select({item(a, {1, 2}, {0}), item(c)});
    selector->setSelectedShapes(shapes({a, b}));
    EXPECT_EQ(selectedShapes(), (Indices{a, b}));
    EXPECT_EQ(partsAt(0), nullptr);
    EXPECT_EQ(selector->getPrimarySelectedShape().get(), models[a].get());

    selector->setSelectedShapes(shapes({a, a}));
    EXPECT_EQ(selector->getNbSelectedShape(), 2);
    EXPECT_EQ(selectedShapes(), (Indices{a, a}));
    Vo::Vector<RCShdPtr<SeShape>> found;
    selector->getSelectedShapes(found);
    selector->getSelectedShapes(found); // appended to, not cleared
    ASSERT_EQ(found.size(), 4U);
    for (const RCShdPtr<SeShape> &shape : found) {
        EXPECT_EQ(shape.get(), models[a].get());
    }
    EXPECT_TRUE(selector->isShapeSelected(models[a]));
    EXPECT_FALSE(selector->isShapeSelected(models[b]));

    takeNotifications();
    selector->setSelectedShapes({});
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
    EXPECT_EQ(takeNotifications(), 1);
}

TEST_F(SeShapeSelectorTest, GoneShapesAreSkippedOrEmptyTheSelection) {
    selector->setSelectedShapes(shapes({b, a}));
    app.deleteInterfaceOnly(b);
    EXPECT_TRUE(selector->getPrimarySelectedShape().isNull());
    const RCWeakPtr<SeShapeInterface> primary = selector->getPrimarySelectedShapeInterface();
    EXPECT_TRUE(primary == weaks[b]);
    EXPECT_TRUE(primary.isNull());
    Vo::Vector<RCWeakPtr<SeShapeInterface>> interfaces;
    selector->getSelectedShapeInterfaces(interfaces);
    ASSERT_EQ(interfaces.size(), 2U);
    EXPECT_TRUE(interfaces[0] == weaks[b]);
    EXPECT_TRUE(interfaces[1] == weaks[a]);

    takeNotifications();
    selector->setSelectedShapes(shapes({a, b, c}));
    EXPECT_EQ(selectedShapes(), (Indices{a, c}));
    EXPECT_EQ(takeNotifications(), 1);
    selectAll({models[b], models[c]});
    EXPECT_EQ(selectedShapes(), (Indices{a, c}));
    EXPECT_EQ(takeNotifications(), 0);

    selector->setSelectedShapes(shapes({c}));
    selectAll({models[b]});
    EXPECT_EQ(selectedShapes(), Indices{c});

    selector->setPrimarySelectedShape(models[b], 2);
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
    selector->setPrimarySelectedShape(models[a], 2);
    EXPECT_EQ(selectedShapes(), Indices{a});
    selector->setPrimarySelectedShape(RCShdPtr<SeShape>(), 2);
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
}

TEST_F(SeShapeSelectorTest, SetPrimarySelectedShapeSelectsOneShapeWithAtMostOnePoint) {
    select({item(b, {1}, {2}), item(a)});
    takeNotifications();

    selector->setPrimarySelectedShape(models[a], -1);
    EXPECT_EQ(selectedShapes(), Indices{a});
    EXPECT_EQ(partsAt(0), nullptr);
    EXPECT_EQ(takeNotifications(), 1);

    selector->setPrimarySelectedShape(models[a], 3);
    EXPECT_EQ(selectedShapes(), Indices{a});
    EXPECT_EQ(pointsAt(0), Indices{3});
    EXPECT_EQ(handlesAt(0), Indices{});
    EXPECT_EQ(takeNotifications(), 1);

    selector->setPrimarySelectedShape(models[a], -2); // an index like any other
    EXPECT_EQ(pointsAt(0), Indices{-2});

    app.editing(a).setPointsEditable(false);
    selector->setPrimarySelectedShape(models[a], 3);
    EXPECT_EQ(selectedShapes(), Indices{a});
    EXPECT_EQ(partsAt(0), nullptr);
    EXPECT_EQ(selector->getPrimarySelectedShape().get(), models[a].get());
}

TEST_F(SeShapeSelectorTest, SelectAllShapesAppendsUnselectedShapesAndKeepsParts) {
    select({item(a, {2}, {1})});
    const RCShdPtr<SnItem const> itemOfA = itemAt(0);
    takeNotifications();

    ShapeIterator layer = iterate({models[a], models[b], models[c]});
    selector->selectAllShapes(layer);
    EXPECT_EQ(selectedShapes(), (Indices{a, b, c}));
    EXPECT_EQ(itemAt(0).get(), itemOfA.get());
    EXPECT_EQ(partsAt(1), nullptr);
    EXPECT_EQ(partsAt(2), nullptr);
    EXPECT_EQ(takeNotifications(), 1);
    const ShapeIterator &unmoved = layer;
    EXPECT_TRUE(unmoved.atBegin());
    EXPECT_EQ(unmoved.item().get(), models[a].get());

    select({item(a, {2}, {1})});
    takeNotifications();
    layer.end();
    selector->selectAllShapes(layer);
    EXPECT_EQ(selectedShapes(), Indices{a});
    EXPECT_EQ(takeNotifications(), 0);

    // The shapes' own equality decides, not their editing sides: a twin of A (A's graph object, C's
    // editing side) counts as selected. What the walk yields twice is added twice.
    const RCShdPtr<SeShape> twinOfA(new VoTest::TestShape(models[a]->getGraphObject(), weaks[c]));
    EXPECT_TRUE(selector->isShapeSelected(twinOfA));
    selectAll({twinOfA, models[b], models[b]});
    EXPECT_EQ(selectedShapes(), (Indices{a, b, b}));
    EXPECT_EQ(pointsAt(0), Indices{2});
    EXPECT_EQ(handlesAt(0), Indices{1});
    EXPECT_EQ(takeNotifications(), 1);
}

TEST_F(SeShapeSelectorTest, OneShapeComesOrGoesAndTheOthersKeepPlacePartsAndRole) {
    selector->addSelectedShape(models[b]); // an empty selection: it becomes primary
    EXPECT_EQ(selectedShapes(), (Indices{b}));
    EXPECT_EQ(takeNotifications(), 1);
    select({item(a, {1, 2}, {0}), item(b)});
    takeNotifications();

    selector->addSelectedShape(models[c]);
    EXPECT_EQ(selectedShapes(), (Indices{a, b, c}));
    EXPECT_EQ(pointsAt(0), (Indices{1, 2}));
    EXPECT_EQ(handlesAt(0), Indices{0});
    EXPECT_EQ(partsAt(2), nullptr);
    EXPECT_EQ(takeNotifications(), 1);
    selector->addSelectedShape(models[c]); // already selected
    selector->addSelectedShape(models[a]);
    EXPECT_EQ(takeNotifications(), 0);

    selector->unselectShape(models[b]); // from the middle
    EXPECT_EQ(selectedShapes(), (Indices{a, c}));
    selector->unselectShape(models[a]); // the primary one: the next takes the role
    EXPECT_EQ(selectedShapes(), Indices{c});
    EXPECT_EQ(selector->getPrimarySelectedShape().get(), models[c].get());
    EXPECT_EQ(takeNotifications(), 2);
    selector->unselectShape(models[a]); // not selected
    EXPECT_EQ(takeNotifications(), 0);
    selector->unselectShape(models[c]);
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
    EXPECT_EQ(takeNotifications(), 1);

    // A shape selected twice leaves from its first place.
    select({item(a), item(b), item(a, {3}, {})});
    takeNotifications();
    selector->unselectShape(models[a]);
    EXPECT_EQ(selectedShapes(), (Indices{b, a}));
    EXPECT_EQ(pointsAt(1), Indices{3});
    EXPECT_EQ(takeNotifications(), 1);
    EXPECT_FALSE(selector->isShapeSelected(models[c]));
    EXPECT_TRUE(selector->isShapeSelected(models[a]));

    // Null is refused, a gone shape is not added, and nothing changes for either.
    EXPECT_THROW(selector->addSelectedShape(RCShdPtr<SeShape>()), Vo::RCExNullPtr);
    EXPECT_THROW(selector->unselectShape(RCShdPtr<SeShape>()), Vo::RCExNullPtr);
    app.deleteInterfaceOnly(c);
    selector->addSelectedShape(models[c]);
    EXPECT_EQ(selectedShapes(), (Indices{b, a}));
    EXPECT_EQ(takeNotifications(), 0);
}

TEST_F(SeShapeSelectorTest, OnePointOrHandleComesOrGoesInSelectionOrder) {
    selector->addSelectedPoint(1); // no primary shape
    EXPECT_EQ(takeNotifications(), 0);
    select({item(a), item(b)});
    takeNotifications();

    selector->addSelectedPoint(4); // a whole shape gets parts holding just it
    selector->addSelectedPoint(2);
    selector->addSelectedHandle(3);
    selector->addSelectedPoint(4); // selected already
    EXPECT_EQ(pointsAt(0), (Indices{4, 2}));
    EXPECT_EQ(handlesAt(0), Indices{3});
    EXPECT_EQ(takeNotifications(), 3);
    selector->addSelectedPoint(7);
    selector->unselectPoint(2); // from the middle: the others keep their order
    EXPECT_EQ(pointsAt(0), (Indices{4, 7}));
    EXPECT_EQ(selector->getPointSelectionRank(7), 2);
    selector->unselectPoint(2); // not selected
    selector->unselectHandle(0);
    EXPECT_EQ(takeNotifications(), 2);

    selector->unselectPoint(4);
    selector->unselectPoint(7);
    EXPECT_EQ(pointsAt(0), Indices{});
    EXPECT_EQ(handlesAt(0), Indices{3});
    selector->unselectHandle(3); // nothing left: the shape is whole again
    EXPECT_EQ(partsAt(0), nullptr);
    EXPECT_EQ(selectedShapes(), (Indices{a, b}));
    EXPECT_EQ(takeNotifications(), 3);
}

TEST_F(SeShapeSelectorTest, ForeignItemsRaiseCastFailedAndChangeNothing) {
    const RCShdPtr<SnItem const> foreign(new Vo::SnItemBasic<int>(RCShdPtr<SnParts>(), 7));
    const std::string foreignName = "Vo::SnItemBasic<int>";
    select({item(a, {1}, {}), foreign});
    takeNotifications();
    RCShdPtr<SnSelection> before(selection->clone());

    Vo::Vector<RCWeakPtr<SeShapeInterface>> interfaces{weaks[c]};
    expectCastFailed([&] { selector->getSelectedShapeInterfaces(interfaces); }, foreignName,
                     kShapeItemName);
    ASSERT_EQ(interfaces.size(), 1U); // A's entry, appended before the failure, is taken back
    EXPECT_TRUE(interfaces[0] == weaks[c]);
    Vo::Vector<RCShdPtr<SeShape>> found{models[c]};
    expectCastFailed([&] { selector->getSelectedShapes(found); }, foreignName, kShapeItemName);
    EXPECT_EQ(found.size(), 1U);
    expectCastFailed([&] { selector->isShapeSelected(models[a]); }, foreignName, kShapeItemName);
    expectCastFailed([&] { selectAll({models[c]}); }, foreignName, kShapeItemName);
    expectUnchanged(before);

    select({foreign, item(a)});
    takeNotifications();
    before = RCShdPtr<SnSelection>(selection->clone());
    const std::vector<std::function<void()>> primaryReaders{
        [&] { selector->getPrimarySelectedShapeInterface(); },
        [&] { selector->getPrimarySelectedShape(); },
        [&] { selector->selectPoint(1); },
        [&] { selector->selectHandle(1); },
        [&] {
            selector->selectPoints(Vo::Vector<int>{1, 2});
        },
        [&] { selector->selectAllPoints(3); },
        [&] { selector->unselectPoints(); },
        [&] { selector->selectNextPoint(5); },
        [&] { selector->updateSelectionPointAdded(weaks[a], 0); },
        [&] { selector->updateSelectionHandleDeleted(weaks[a], 0); }};
    for (const std::function<void()> &reader : primaryReaders) {
        expectCastFailed(reader, foreignName, kShapeItemName);
    }
    expectUnchanged(before);

    const RCShdPtr<SnItem const> foreignParts(
        new Vo::SeShapeItem(RCShdPtr<SnParts>(new OtherParts), weaks[a]));
    select({foreignParts});
    takeNotifications();
    before = RCShdPtr<SnSelection>(selection->clone());
    const std::string partsName = "(anonymous namespace)::OtherParts";
    Vo::Vector<int> points{9};
    const std::vector<std::function<void()>> partsReaders{
        [&] { selector->selectPoint(1); },
        [&] { selector->selectAllHandles(2); },
        [&] { selector->unselectPoints(); },
        [&] { selector->updateSelectionPointDeleted(weaks[a], 0); },
        [&] { selector->getSelectedPoints(points); },
        [&] { selector->getPointSelectionRank(1); }};
    for (const std::function<void()> &reader : partsReaders) {
        expectCastFailed(reader, partsName, "Vo::SeShapeParts");
    }
    EXPECT_EQ(points, Vo::Vector<int>{9});
    expectUnchanged(before);
}

TEST_F(SeShapeSelectorTest, GoneOrNullShapesRaiseNullPtrAndChangeNothing) {
    select({item(a, {1}, {}), item(b)});
    app.deleteInterfaceOnly(b);
    takeNotifications();
    const RCShdPtr<SnSelection> before(selection->clone());

    Vo::Vector<RCShdPtr<SeShape>> found{models[c]};
    try {
        selector->getSelectedShapes(found);
        ADD_FAILURE() << "a gone selected shape was reached";
    } catch (const Vo::RCExNullPtr &error) {
        EXPECT_NE(error.getPointerType().find("SeShapeInterface"), std::string::npos);
    }
    ASSERT_EQ(found.size(), 1U); // A's shape, appended before the failure, is taken back
    EXPECT_EQ(found[0].get(), models[c].get());
    EXPECT_THROW(selector->isShapeSelected(models[a]), Vo::RCExNullPtr);
    EXPECT_THROW(selectAll({models[c]}), Vo::RCExNullPtr);
    // With nothing to add the selected shapes are not looked at: they used to be collected before
    // the walk, so that a gone one raised even then.
    EXPECT_NO_THROW(selectAll({}));
    expectUnchanged(before);

    selector->setSelectedShapes(shapes({a}));
    takeNotifications();
    EXPECT_THROW(selector->setSelectedShapes({models[c], RCShdPtr<SeShape>()}), Vo::RCExNullPtr);
    EXPECT_THROW(selector->isShapeSelected(RCShdPtr<SeShape>()), Vo::RCExNullPtr);
    EXPECT_THROW(selectAll({models[c], RCShdPtr<SeShape>()}), Vo::RCExNullPtr);
    // A null selection to take over, inside a batch as well, which then commits nothing.
    EXPECT_THROW(selector->replaceAllItems(RCShdPtr<SnSelection const>()), Vo::RCExNullPtr);
    {
        Vo::SeSelectionBatch batch(selector);
        EXPECT_THROW(selector->replaceAllItems(RCShdPtr<SnSelection const>()), Vo::RCExNullPtr);
        EXPECT_EQ(selector->getNbSelectedShape(), 1);
    }
    EXPECT_EQ(selectedShapes(), Indices{a});
    EXPECT_EQ(takeNotifications(), 0);

    // Renumbering a null shape on an empty selection: the two null weak pointers are equal and the
    // missing primary item is reached.
    selector->resetSelection();
    const RCWeakPtr<SeShapeInterface> none;
    EXPECT_THROW(selector->updateSelectionPointAdded(none, 0), Vo::RCExNullPtr);
    EXPECT_THROW(selector->updateSelectionPointDeleted(none, 0), Vo::RCExNullPtr);
    EXPECT_THROW(selector->updateSelectionHandleAdded(none, 0), Vo::RCExNullPtr);
    EXPECT_THROW(selector->updateSelectionHandleDeleted(none, 0), Vo::RCExNullPtr);
    EXPECT_NO_THROW(selector->updateSelectionPointAdded(weaks[a], 0));
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
}

TEST_F(SeShapeSelectorTest, CallbackListsCallEachHandlerOnceInOrder) {
    std::vector<std::string> log;
    Recorder first(log, "first");
    Recorder second(log, "second");
    Recorder third(log, "third");
    selector->addSelectionChangedCallback(&first);
    selector->addSelectionChangedCallback(&second);
    selector->addSelectionChangedCallback(&first);
    selector->addSelectionChangedCallback(nullptr);
    selector->addSelectionChangedCallback(&third);
    selector->notifySelectionChangedCallbacks();
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second", "third"}));

    log.clear();
    first.action = [&] { selector->removeSelectionChangedCallback(&third); };
    selector->notifySelectionChangedCallbacks();
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(third.getNbDispatchers(), 0);
    first.action = nullptr;

    log.clear();
    selector->removeSelectionChangedCallback(&third);
    selector->addShapeSelectionChangedCallback(&third);
    selector->addPrimarySelectionChangedCallback(&second);
    selector->notifyShapeSelectionChangedCallbacks();
    EXPECT_EQ(log, std::vector<std::string>{"third"});
    log.clear();
    selector->notifyPrimarySelectionChangedCallbacks();
    EXPECT_EQ(log, std::vector<std::string>{"second"});

    // The selector's own changes reach the selection's observers only; the updater calls the lists.
    log.clear();
    selector->setSelectedShapes(shapes({a}));
    selector->selectPoint(1);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(takeNotifications(), 2);
}

TEST_F(SeShapeSelectorTest, DestroyedSelectorUnlinksItsHandlers) {
    std::vector<std::string> log;
    Recorder handler(log, "handler");
    Notifications observer;
    {
        const RCShdPtr<SeShapeSelector> own(new SeShapeSelector);
        own->addSelectionChangedCallback(&handler);
        own->addShapeSelectionChangedCallback(&handler);
        own->addPrimarySelectionChangedCallback(&handler);
        own->getSelection()->getSubject().attachObserver(&observer);
        EXPECT_EQ(handler.getNbDispatchers(), 3);
        EXPECT_EQ(observer.getNbSubjects(), 1);
    }
    EXPECT_EQ(handler.getNbDispatchers(), 0);
    EXPECT_EQ(observer.getNbSubjects(), 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(SeShapeSelectorTest, PickingStateIsStoredAsGiven) {
    EXPECT_EQ(selector->getPickingType(), SeShapeSelector::PickingType(0));
    EXPECT_EQ(selector->getPickingIndex(), -1);
    EXPECT_EQ(selector->getPickingExtremity(), -1);

    selector->setPickingType(SeShapeSelector::PickingType(7));
    selector->setPickingIndex(-5);
    selector->setPickingExtremity(2);
    EXPECT_EQ(selector->getPickingType(), SeShapeSelector::PickingType(7));
    EXPECT_EQ(selector->getPickingIndex(), -5);
    EXPECT_EQ(selector->getPickingExtremity(), 2);
    EXPECT_EQ(takeNotifications(), 0);
}

} // namespace

// Whether every selected shape lives, known from one read of them and followed along splices: the
// end of one of this selector's shapes ends that knowledge, the end of another editor's does not.
TEST_F(SeShapeSelectorTest, ShapesAreKnownAliveUntilOneOfTheSelectorsOwnEnds) {
    select({item(a), item(b)});
    EXPECT_FALSE(selector->areShapesKnownAlive()); // a whole change: not read yet
    EXPECT_TRUE(selector->lookAtShapesAlive());
    EXPECT_TRUE(selector->areShapesKnownAlive());
    selector->addSelectedShape(models[static_cast<std::size_t>(c)]);
    EXPECT_TRUE(selector->areShapesKnownAlive());

    VoTest::TestController other;
    const int elsewhere = other.addShape("Z", 3, 0);
    other.getShapeSelector()->setSelectedShapes({other.shape(elsewhere)});
    EXPECT_TRUE(other.getShapeSelector()->lookAtShapesAlive());
    other.deleteInterfaceOnly(elsewhere);
    EXPECT_TRUE(selector->areShapesKnownAlive());
    EXPECT_FALSE(other.getShapeSelector()->areShapesKnownAlive());

    app.deleteInterfaceOnly(b);
    EXPECT_FALSE(selector->areShapesKnownAlive());
    EXPECT_FALSE(selector->lookAtShapesAlive());
    ASSERT_TRUE(selection->removeItem(itemAt(1)));
    EXPECT_FALSE(selector->areShapesKnownAlive()); // an end no one accounted for
    EXPECT_TRUE(selector->lookAtShapesAlive());
    selector->restoreRange(0, 0, {item(b)}); // a gone shape comes in
    EXPECT_FALSE(selector->areShapesKnownAlive());
    EXPECT_FALSE(selector->lookAtShapesAlive());
}
