#include "foundation/CbMethod.h"
#include "base/CbEmptyType.h"
#include "foundation/CbDispatcher.h"

#include "base/RCExNullPtr.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <vector>

namespace {

class Event {
public:
    explicit Event(int value) : value(value) {}
    virtual ~Event() = default;
    int value;
};

// Receives events and plain notifications, and owns a handler for each, as the selection updater
// does.
class Receiver {
public:
    void onEvent(const Event &event) { values.push_back(event.value); }
    void onChange(const Vo::CbEmptyType &) { ++changes; }

    std::vector<int> values;
    int changes = 0;
    Vo::CbMethod<Receiver, Event const> eventCb{this, &Receiver::onEvent};
    Vo::CbMethod<Receiver, Vo::CbEmptyType> changeCb{this, &Receiver::onChange};
};

static_assert(!std::is_copy_constructible_v<Vo::CbMethod<Receiver, Event const>>);
static_assert(!std::is_copy_assignable_v<Vo::CbMethod<Receiver, Event const>>);

TEST(CbMethodTest, ForwardsEachCallToTheMemberFunctionUntilItsObjectIsDestroyed) {
    auto receiver = std::make_unique<Receiver>();
    Vo::CbDispatcher<Event const> events;
    Vo::CbDispatcher<Vo::CbEmptyType> changed;
    events.addHandler(&receiver->eventCb);
    changed.addHandler(&receiver->changeCb);
    events.call(Event(4));
    events.call(Event(9));
    changed.call();
    receiver->changeCb.call();
    EXPECT_EQ(receiver->values, (std::vector<int>{4, 9}));
    EXPECT_EQ(receiver->changes, 2);

    receiver.reset(); // the embedded methods leave their lists
    EXPECT_TRUE(events.isEmpty());
    EXPECT_TRUE(changed.isEmpty());
    EXPECT_NO_THROW(events.call(Event(1)));
}

TEST(CbMethodTest, WithoutMethodDoesNothingAndWithoutObjectRaises) {
    Receiver receiver;
    Vo::CbMethod<Receiver, Event const> unset;
    Vo::CbMethod<Receiver, Event const> noMethod(&receiver, nullptr);
    Vo::CbDispatcher<Event const> events;
    events.addHandler(&unset);
    events.addHandler(&noMethod);
    events.addHandler(&receiver.eventCb);
    events.call(Event(1));
    EXPECT_EQ(receiver.values, (std::vector<int>{1}));

    Vo::CbMethod<Receiver, Event const> noObject(nullptr, &Receiver::onEvent);
    EXPECT_THROW(noObject.call(Event(2)), Vo::RCExNullPtr);
}

} // namespace
