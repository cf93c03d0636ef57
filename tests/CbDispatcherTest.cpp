#include "foundation/CbDispatcher.h"
#include "base/CbEmptyType.h"
#include "foundation/CbHandler.h"

#include "base/RCExInvalidCall.h"
#include "base/RCExNullPtr.h"
#include "base/RCExUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

namespace {

// A polymorphic payload, as the shape events are.
class Event {
public:
    explicit Event(int value) : value(value) {}
    virtual ~Event() = default;
    int value;
};

} // namespace

// Every member must compile for both kinds of payload, not only those the tests happen to use.
// The empty payload is taken const here: the library itself instantiates the plain one.
template class Vo::CbDispatcher<Event const>;
template class Vo::CbHandler<Event const>;
template class Vo::CbDispatcher<Vo::CbEmptyType const>;
template class Vo::CbHandler<Vo::CbEmptyType const>;

namespace {

using Dispatcher = Vo::CbDispatcher<Event const>;
using Log = std::vector<std::string>;

static_assert(!std::is_copy_constructible_v<Dispatcher> && !std::is_copy_assignable_v<Dispatcher>);
static_assert(!std::is_move_constructible_v<Dispatcher> && !std::is_move_assignable_v<Dispatcher>);
static_assert(!std::is_copy_constructible_v<Vo::CbHandler<Event const>>);
static_assert(!std::is_copy_assignable_v<Vo::CbHandler<Event const>>);

std::string describe(const Event &event) { return std::to_string(event.value); }
std::string describe(const Vo::CbEmptyType &) { return ""; }

// Writes its name and the value into a shared log, then runs its action, if any.
template <class T> class Recorder : public Vo::CbHandler<T> {
public:
    Recorder(std::string name, Log &log) : name(std::move(name)), log(log) {}
    using Vo::CbHandler<T>::call;
    void call(const T &value) override {
        log.push_back(name + describe(value));
        if (action) {
            action();
        }
    }

    std::function<void()> action;

private:
    std::string name;
    Log &log;
};

using Handler = Recorder<Event const>;

class CbDispatcherTest : public ::testing::Test {
protected:
    Log callWith(int value) {
        log.clear();
        dispatcher.call(Event(value));
        return log;
    }
    void subscribeABC() {
        dispatcher.addHandler(&a);
        dispatcher.addHandler(&b);
        dispatcher.addHandler(&c);
    }

    Log log;
    Dispatcher dispatcher;
    Handler a{"A", log};
    Handler b{"B", log};
    Handler c{"C", log};
    Handler d{"D", log};
};

TEST_F(CbDispatcherTest, SubscribesAtTheEndTheFrontAndBeforeTheLast) {
    dispatcher.addHandler(&a);
    dispatcher.addHandler(&b);
    dispatcher.prependHandler(&c);
    EXPECT_EQ(callWith(1), (Log{"C1", "A1", "B1"}));
    dispatcher.insertHandler(&d);
    EXPECT_EQ(callWith(2), (Log{"C2", "A2", "D2", "B2"}));
    EXPECT_EQ(dispatcher.getNbHandlers(), 4);
    EXPECT_EQ(d.getNbDispatchers(), 1);

    Dispatcher empty;
    Handler e("E", log);
    empty.insertHandler(&e);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(e.getNbDispatchers(), 0);
}

TEST_F(CbDispatcherTest, IgnoresNullDuplicateAndUnsubscribedHandlers) {
    dispatcher.addHandler(&a);
    dispatcher.addHandler(&b);
    dispatcher.addHandler(&a);
    dispatcher.prependHandler(&b);
    dispatcher.insertHandler(&a);
    dispatcher.addHandler(nullptr);
    dispatcher.prependHandler(nullptr);
    dispatcher.insertHandler(nullptr);
    dispatcher.removeHandler(nullptr);
    dispatcher.removeHandler(&c);
    EXPECT_EQ(dispatcher.getNbHandlers(), 2);
    EXPECT_EQ(a.getNbDispatchers(), 1);
    EXPECT_EQ(b.getNbDispatchers(), 1);
    EXPECT_EQ(callWith(1), (Log{"A1", "B1"}));
    EXPECT_TRUE(dispatcher.isHandlerSubscribed(&a));
    EXPECT_FALSE(dispatcher.isHandlerSubscribed(&c));
    EXPECT_FALSE(dispatcher.isHandlerSubscribed(nullptr));
}

TEST_F(CbDispatcherTest, EitherSideDestroyedFirstUnlinksTheOther) {
    Dispatcher other;
    auto shared = std::make_unique<Handler>("S", log);
    dispatcher.addHandler(&a);
    dispatcher.addHandler(shared.get());
    other.addHandler(shared.get());
    other.addHandler(&b);
    shared.reset();
    EXPECT_EQ(dispatcher.getNbHandlers(), 1);
    EXPECT_EQ(other.getNbHandlers(), 1);
    EXPECT_EQ(callWith(1), (Log{"A1"}));
    other.call(Event(2));
    EXPECT_EQ(log, (Log{"A1", "B2"}));

    auto shortLived = std::make_unique<Dispatcher>();
    shortLived->addHandler(&a);
    EXPECT_EQ(a.getNbDispatchers(), 2);
    shortLived.reset();
    EXPECT_EQ(a.getNbDispatchers(), 1);
    EXPECT_EQ(callWith(3), (Log{"A3"}));
}

TEST_F(CbDispatcherTest, ResetAndRemoveAllUnlinkBothSides) {
    Dispatcher other;
    subscribeABC();
    other.addHandler(&c);
    other.addHandler(&a);
    a.reset();
    EXPECT_EQ(a.getNbDispatchers(), 0);
    EXPECT_FALSE(dispatcher.isHandlerSubscribed(&a));
    EXPECT_FALSE(other.isHandlerSubscribed(&a));
    EXPECT_EQ(callWith(1), (Log{"B1", "C1"}));

    dispatcher.removeAllHandlers();
    EXPECT_TRUE(dispatcher.isEmpty());
    EXPECT_EQ(b.getNbDispatchers(), 0);
    EXPECT_EQ(c.getNbDispatchers(), 1);
    EXPECT_TRUE(other.isHandlerSubscribed(&c));
    EXPECT_TRUE(callWith(2).empty());
}

TEST_F(CbDispatcherTest, UnsubscribingDuringACallSkipsHandlersStillToCome) {
    subscribeABC();
    a.action = [this] { dispatcher.removeHandler(&b); };
    EXPECT_EQ(callWith(1), (Log{"A1", "C1"}));
    EXPECT_EQ(b.getNbDispatchers(), 0);

    a.action = nullptr;
    c.action = [this] { dispatcher.removeHandler(&c); };
    EXPECT_EQ(callWith(2), (Log{"A2", "C2"}));
    EXPECT_EQ(callWith(3), (Log{"A3"}));

    dispatcher.addHandler(&b);
    dispatcher.addHandler(&c);
    c.action = nullptr;
    a.action = [this] { dispatcher.removeAllHandlers(); };
    EXPECT_EQ(callWith(4), (Log{"A4"}));
    EXPECT_TRUE(dispatcher.isEmpty());
}

TEST_F(CbDispatcherTest, SubscribingDuringACallWaitsForTheNextCall) {
    subscribeABC();
    a.action = [this] { dispatcher.addHandler(&d); };
    EXPECT_EQ(callWith(1), (Log{"A1", "B1", "C1"}));
    EXPECT_EQ(callWith(2), (Log{"A2", "B2", "C2", "D2"}));
}

TEST_F(CbDispatcherTest, ResubscribedHandlerIsCalledOnceAtItsOriginalPlaceIfItsTurnIsToCome) {
    subscribeABC();
    a.action = [this] {
        dispatcher.removeHandler(&c);
        dispatcher.prependHandler(&c);
    };
    EXPECT_EQ(callWith(1), (Log{"A1", "B1", "C1"}));
    a.action = nullptr;
    EXPECT_EQ(callWith(2), (Log{"C2", "A2", "B2"}));

    b.action = [this] {
        dispatcher.removeHandler(&c);
        dispatcher.addHandler(&c);
    };
    EXPECT_EQ(callWith(3), (Log{"C3", "A3", "B3"}));
    b.action = nullptr;

    a.action = [this] {
        dispatcher.removeAllHandlers();
        dispatcher.addHandler(&d);
        dispatcher.addHandler(&b);
    };
    EXPECT_EQ(callWith(4), (Log{"A4", "B4"}));
    a.action = nullptr;
    EXPECT_EQ(callWith(5), (Log{"D5", "B5"}));
}

TEST_F(CbDispatcherTest, HandlerDestroyedDuringACallIsNeverReached) {
    // Runs under the address sanitizer in CI: a snapshot that kept the destroyed handler would be
    // caught reading freed memory.
    auto doomed = std::make_unique<Handler>("X", log);
    dispatcher.addHandler(&a);
    dispatcher.addHandler(doomed.get());
    dispatcher.addHandler(&b);
    a.action = [&doomed] { doomed.reset(); };
    EXPECT_EQ(callWith(1), (Log{"A1", "B1"}));
    EXPECT_EQ(dispatcher.getNbHandlers(), 2);

    auto self = std::make_unique<Handler>("Y", log);
    dispatcher.prependHandler(self.get());
    self->action = [&self] { self.reset(); };
    EXPECT_EQ(callWith(2), (Log{"Y2", "A2", "B2"}));
    EXPECT_EQ(callWith(3), (Log{"A3", "B3"}));
}

TEST_F(CbDispatcherTest, LongListsFollowTheSameRulesDuringACall) {
    // Lists longer than a call keeps inside itself take another road; the rules must not change.
    std::vector<std::unique_ptr<Handler>> many;
    Log expected;
    for (int i = 0; i < 12; ++i) {
        many.push_back(std::make_unique<Handler>("H" + std::to_string(i), log));
        dispatcher.addHandler(many.back().get());
        if (i != 3 && i != 9) {
            expected.push_back("H" + std::to_string(i) + "1");
        }
    }
    many[0]->action = [this, &many] {
        dispatcher.removeHandler(many[3].get());
        dispatcher.removeHandler(many[6].get());
        dispatcher.prependHandler(many[6].get());
        many[9].reset();
        dispatcher.addHandler(&d);
    };
    EXPECT_EQ(callWith(1), expected);
    EXPECT_EQ(dispatcher.getNbHandlers(), 11);
    many[0]->action = nullptr;
    EXPECT_EQ(callWith(2).front(), "H62");
    EXPECT_EQ(log.back(), "D2");
}

TEST_F(CbDispatcherTest, InsertingBeforeTheLastDuringACallMovesTheLastWithoutCallingItTwice) {
    subscribeABC();
    Handler e("E", log);
    a.action = [&] { dispatcher.insertHandler(&d); };
    c.action = [&] { dispatcher.insertHandler(&e); }; // after its own turn: moves C past the call
    EXPECT_EQ(callWith(1), (Log{"A1", "B1", "C1"}));
    a.action = nullptr;
    c.action = nullptr;
    EXPECT_EQ(callWith(2), (Log{"A2", "B2", "D2", "E2", "C2"}));
}

TEST_F(CbDispatcherTest, ManyHandlersLeavingAndReturningKeepTheOrderAndTheRules) {
    // Empty places left by removals are skipped, then packed away; none of it may show.
    std::vector<std::unique_ptr<Handler>> many;
    for (int i = 0; i < 40; ++i) {
        many.push_back(std::make_unique<Handler>(std::to_string(i) + ":", log));
        dispatcher.addHandler(many.back().get());
    }
    Log everyone;
    for (int i = 0; i < 40; ++i) {
        everyone.push_back(std::to_string(i) + ":1");
        Handler *self = many[static_cast<std::size_t>(i)].get();
        self->action = i % 2 == 0 ? std::function<void()>([this, self] {
            dispatcher.removeHandler(self); // one-shot
        })
                                  : std::function<void()>([this, self] {
                                        dispatcher.removeHandler(self);
                                        dispatcher.prependHandler(self); // called once, here
                                    });
    }
    EXPECT_EQ(callWith(1), everyone);
    Log odd;
    for (int i = 39; i >= 1; i -= 2) {
        odd.push_back(std::to_string(i) + ":2");
        many[static_cast<std::size_t>(i)]->action = nullptr;
    }
    EXPECT_EQ(callWith(2), odd);
    for (int i = 39; i >= 5; i -= 2) {
        dispatcher.removeHandler(many[static_cast<std::size_t>(i)].get());
    }
    dispatcher.addHandler(&a);
    dispatcher.insertHandler(&b);
    dispatcher.prependHandler(&c);
    EXPECT_EQ(callWith(3), (Log{"C3", "3:3", "1:3", "B3", "A3"}));
    EXPECT_EQ(dispatcher.getNbHandlers(), 5);
    many.clear();
    EXPECT_EQ(callWith(4), (Log{"C4", "B4", "A4"}));
}

TEST_F(CbDispatcherTest, NestedCallsSeeTheChangesOfEachOther) {
    subscribeABC();
    a.action = [this] {
        if (log.size() == 1) {
            dispatcher.call(Event(2));
        }
    };
    b.action = [this] { dispatcher.removeHandler(&c); };
    EXPECT_EQ(callWith(1), (Log{"A1", "A2", "B2", "B1"}));

    a.action = nullptr;
    b.action = nullptr;
    EXPECT_EQ(callWith(3), (Log{"A3", "B3"}));
}

TEST_F(CbDispatcherTest, HandlerMayDestroyTheDispatcherCallingIt) {
    auto doomed = std::make_unique<Dispatcher>();
    doomed->addHandler(&a);
    doomed->addHandler(&b);
    a.action = [&doomed] { doomed.reset(); };
    doomed->call(Event(1));
    EXPECT_EQ(log, (Log{"A1"}));
    EXPECT_EQ(a.getNbDispatchers(), 0);
    EXPECT_EQ(b.getNbDispatchers(), 0);
}

TEST_F(CbDispatcherTest, ExceptionFromAHandlerEndsTheCallAndLeavesTheListsIntact) {
    subscribeABC();
    b.action = [] { Vo::RCExUtil::throwExNullPtr(typeid(Event *).name()); };
    log.clear();
    EXPECT_THROW(dispatcher.call(Event(1)), Vo::RCExNullPtr);
    EXPECT_EQ(log, (Log{"A1", "B1"}));
    EXPECT_EQ(dispatcher.getNbHandlers(), 3);
    EXPECT_EQ(b.getNbDispatchers(), 1);

    // The failed call must have left the chain of calls: a change now must not reach it.
    b.action = nullptr;
    dispatcher.removeHandler(&a);
    dispatcher.addHandler(&a);
    EXPECT_EQ(callWith(2), (Log{"B2", "C2", "A2"}));
}

TEST(CbDispatcherNoValueTest, CallsEmptyHandlersAndRejectsHandlersExpectingAValue) {
    Log log;
    Vo::CbDispatcher<Vo::CbEmptyType> changed;
    Recorder<Vo::CbEmptyType> first("first", log);
    Recorder<Vo::CbEmptyType> second("second", log);
    changed.addHandler(&first);
    changed.addHandler(&second);
    changed.call();
    EXPECT_EQ(log, (Log{"first", "second"}));

    Dispatcher events;
    EXPECT_NO_THROW(events.call());
    Handler handler("H", log);
    events.addHandler(&handler);
    log.clear();
    EXPECT_THROW(events.call(), Vo::RCExInvalidCall);
    EXPECT_THROW(handler.call(), Vo::RCExInvalidCall);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(events.getNbHandlers(), 1);
}

} // namespace
