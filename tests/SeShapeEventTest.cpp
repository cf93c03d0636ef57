#include "SeShapeEvent.h"

#include "foundation/CbDispatcher.h"
#include "foundation/CbMethod.h"
#include "host/graph/PiGraphObject.h"

#include <gtest/gtest.h>

#include <typeinfo>
#include <vector>

namespace {

using namespace Vo;

// A shape that reports its destruction, so that tests can see who destroyed it.
class TracedShape : public SeShape {
public:
    explicit TracedShape(bool &destroyed) : destroyed(destroyed) {}
    RCShdPtr<PiGraphObject> getGraphObject() override { return {}; }
    RCShdPtr<PiGraphObject const> getGraphObject() const override { return {}; }
    RCWeakPtr<SeShapeInterface> getShapeInterface() const override { return {}; }

private:
    ~TracedShape() override { destroyed = true; }
    bool &destroyed;
};

class Owner : public SeObject {
public:
    RCShdPtr<PiGraphObject> getGraphObject() override { return {}; }
    RCShdPtr<PiGraphObject const> getGraphObject() const override { return {}; }
    RCWeakPtr<SeObjectInterface> getObjectInterface() const override { return {}; }
};

TEST(SeShapeEvent, DefaultEventsAreEmptySamplesOfTheirKind) {
    const SeShapeEvent::ShapeRemoved removed;
    EXPECT_EQ(removed.getShapeId(), -1);
    EXPECT_TRUE(removed.getOwner().isNull());
    EXPECT_TRUE(SeShapeEvent::ShapeAdded().getShape().isNull());
    EXPECT_TRUE(SeShapeEvent::ShapeMoved().getNewOwner().isNull());
    EXPECT_TRUE(SeShapeEvent::ShapeRenamed().getShape().isNull());
}

TEST(SeShapeEvent, EventsKeepTheirShapesAndOwnersAliveWhileTheyLive) {
    bool destroyed = false;
    RCShdPtr<SeShape const> shape(new TracedShape(destroyed));
    const RCShdPtr<SeObject const> owner(new Owner);
    const RCShdPtr<SeObject const> after(new Owner);
    {
        const SeShapeEvent::ShapeAdded added(shape, owner);
        const SeShapeEvent::ShapeMoved moved(shape, owner, after);
        EXPECT_EQ(added.getShape().get(), shape.get());
        EXPECT_EQ(added.getOwner().get(), owner.get());
        EXPECT_EQ(moved.getShape().get(), shape.get());
        EXPECT_EQ(moved.getPreviousOwner().get(), owner.get());
        EXPECT_EQ(moved.getNewOwner().get(), after.get());
        EXPECT_EQ(SeShapeEvent::ShapeRenamed(shape).getShape().get(), shape.get());
        EXPECT_EQ(owner->getRefCount(), 3);
        shape = RCShdPtr<SeShape const>();
        EXPECT_FALSE(destroyed);
        EXPECT_EQ(added.getShape()->getRefCount(), 2);
    }
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(owner->getRefCount(), 1);
}

// Receives events through a shape-event dispatcher and tells the kinds apart by class.
class Receiver {
public:
    void onEvent(const SeShapeEvent &event) {
        kinds.push_back(&typeid(event));
        if (const auto *removed = dynamic_cast<const SeShapeEvent::ShapeRemoved *>(&event)) {
            ids.push_back(removed->getShapeId());
        }
    }
    std::vector<const std::type_info *> kinds;
    std::vector<int> ids;
};

TEST(SeShapeEvent, KindIsRecognisedByClassThroughTheDispatcher) {
    Receiver receiver;
    CbMethod<Receiver, SeShapeEvent const> handler(&receiver, &Receiver::onEvent);
    CbDispatcher<SeShapeEvent const> dispatcher;
    dispatcher.addHandler(&handler);
    dispatcher.call(SeShapeEvent::ShapeRemoved(7, RCShdPtr<SeObject const>()));
    dispatcher.call(SeShapeEvent::ShapeRenamed());
    ASSERT_EQ(receiver.kinds.size(), 2u);
    EXPECT_TRUE(*receiver.kinds[0] == typeid(SeShapeEvent::ShapeRemoved));
    EXPECT_TRUE(*receiver.kinds[1] == typeid(SeShapeEvent::ShapeRenamed));
    EXPECT_EQ(receiver.ids, std::vector<int>{7});
}

} // namespace
