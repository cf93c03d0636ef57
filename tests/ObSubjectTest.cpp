#include "host/ObSubject.h"
#include "base/RCExNullPtr.h"
#include "host/ObHint.h"
#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/selection/Sn.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace Vo {
namespace ObSubjectTesting {

using Subject = ObSubject<Sn>;

// An observer that writes its name into a shared log at each update and then runs an optional
// action, the test's way of acting from inside a notification.
class Recorder : public ObObserver<Sn> {
public:
    Recorder(std::string observerName, std::vector<std::string> &sharedLog)
        : name(std::move(observerName)), log(sharedLog) {}

    void update(ObSubject<Sn> *subject, const ObHints &hints) override {
        log.push_back(name);
        lastSubject = subject;
        lastHints = &hints;
        if (onUpdate) {
            onUpdate();
        }
    }

    std::function<void()> onUpdate;
    const ObSubject<Sn> *lastSubject = nullptr;
    const ObHints *lastHints = nullptr;

private:
    std::string name;
    std::vector<std::string> &log;
};

using Log = std::vector<std::string>;

// A subject with observers a, b and c attached in that order, writing into one log.
class ObSubjectTest : public ::testing::Test {
protected:
    ObSubjectTest() {
        for (Recorder *observer : {&a, &b, &c}) {
            subject.attachObserver(observer);
        }
    }
    Log notified() {
        log.clear();
        subject.notify(hints);
        return log;
    }

    Log log;
    Subject subject;
    ObHints hints;
    Recorder a{"a", log}, b{"b", log}, c{"c", log};
};

TEST_F(ObSubjectTest, AttachDetachAndNotifyReachBothSidesInAttachOrder) {
    Recorder d("d", log);
    EXPECT_TRUE(subject.attachObserver(&d));
    EXPECT_FALSE(subject.attachObserver(&d));
    EXPECT_FALSE(subject.attachObserver(nullptr));
    EXPECT_EQ(subject.getNbObservers(), 4);
    EXPECT_EQ(d.getNbSubjects(), 1);
    EXPECT_TRUE(subject.isAttached(&d));
    EXPECT_TRUE(subject.detachObserver(&a));
    EXPECT_FALSE(subject.detachObserver(&a));
    EXPECT_FALSE(subject.detachObserver(nullptr));
    EXPECT_FALSE(subject.isAttached(&a));
    EXPECT_EQ(a.getNbSubjects(), 0);
    EXPECT_EQ(subject.getNbObservers(), 3);
    EXPECT_TRUE(subject.attachObserver(&a));

    EXPECT_EQ(notified(), (Log{"b", "c", "d", "a"}));
    EXPECT_EQ(b.lastSubject, &subject);
    EXPECT_EQ(d.lastHints, &hints);
}

TEST_F(ObSubjectTest, ObserversMayDetachDuringANotification) {
    int countSeenByA = -1;
    a.onUpdate = [&] {
        subject.detachObserver(&a);
        subject.detachObserver(&c);
        countSeenByA = subject.getNbObservers();
    };
    EXPECT_EQ(notified(), (Log{"a", "b"})); // c was detached before its turn
    EXPECT_EQ(countSeenByA, 1);
    EXPECT_EQ(c.getNbSubjects(), 0);
    EXPECT_EQ(notified(), (Log{"b"}));
}

TEST(ObSubjectListTest, ManyDetachmentsKeepTheAttachOrderOfTheOthers) {
    // Detached observers leave empty places that are packed away later; none of it may show.
    Log log;
    Subject subject;
    std::vector<std::unique_ptr<Recorder>> many;
    for (int i = 0; i < 30; ++i) {
        many.push_back(std::make_unique<Recorder>(std::to_string(i), log));
        subject.attachObserver(many.back().get());
    }
    for (int i = 0; i < 30; ++i) {
        if (i % 3 != 0) {
            EXPECT_TRUE(subject.detachObserver(many[static_cast<std::size_t>(i)].get()));
        }
    }
    EXPECT_FALSE(subject.detachObserver(many[1].get()));
    subject.attachObserver(many[1].get());
    Recorder *const first = many[0].get();
    first->onUpdate = [&] { // leaves and comes back: called again only by the next notification
        subject.detachObserver(first);
        subject.attachObserver(first);
    };
    ObHints hints;
    subject.notify(hints);
    EXPECT_EQ(log, (Log{"0", "3", "6", "9", "12", "15", "18", "21", "24", "27", "1"}));
    first->onUpdate = nullptr;
    log.clear();
    subject.notify(hints);
    EXPECT_EQ(log, (Log{"3", "6", "9", "12", "15", "18", "21", "24", "27", "1", "0"}));
    EXPECT_EQ(subject.getNbObservers(), 11);
    many.clear();
    EXPECT_EQ(subject.getNbObservers(), 0);
}

TEST_F(ObSubjectTest, ObserversAttachedDuringANotificationWaitForTheNextOne) {
    Recorder late("late", log);
    bool done = false;
    a.onUpdate = [&] {
        if (std::exchange(done, true)) {
            return;
        }
        subject.attachObserver(&late);
        subject.detachObserver(&b);
        subject.attachObserver(&b); // back at the end of the list
    };
    EXPECT_EQ(notified(), (Log{"a", "c"}));
    EXPECT_EQ(notified(), (Log{"a", "c", "late", "b"}));
}

TEST_F(ObSubjectTest, NestedNotificationsReachEveryObserverOnce) {
    bool nested = false;
    b.onUpdate = [&] {
        if (!std::exchange(nested, true)) {
            subject.detachObserver(&a);
            subject.notify(hints);
        }
    };
    EXPECT_EQ(notified(), (Log{"a", "b", "b", "c", "c"}));
    EXPECT_EQ(subject.getNbObservers(), 2);
}

// Every observer hears of a change, also after one before it raised, so that one observer's error
// cannot hide the change from another (an undo history attached after a failing one used to miss
// it). The first error passes to the caller once all were called.
TEST_F(ObSubjectTest, AnObserverErrorPassesAfterEveryObserverHeardAndLeavesTheSubjectUsable) {
    a.onUpdate = [&] {
        subject.detachObserver(&a);
        throw std::runtime_error("observer failed");
    };
    b.onUpdate = [&] { throw std::logic_error("second failure"); };
    EXPECT_THROW(notified(), std::runtime_error);
    EXPECT_EQ(log, (Log{"a", "b", "c"}));
    b.onUpdate = nullptr;
    EXPECT_EQ(notified(), (Log{"b", "c"}));
    EXPECT_EQ(subject.getNbObservers(), 2);
}

TEST(ObSubjectListTest, DestroyingEitherSideUnlinksTheOther) {
    Log log;
    Subject kept;
    auto observer = std::make_unique<Recorder>("gone", log);
    {
        Subject shortLived;
        kept.attachObserver(observer.get());
        shortLived.attachObserver(observer.get());
        EXPECT_EQ(observer->getNbSubjects(), 2);
    }
    EXPECT_EQ(observer->getNbSubjects(), 1);

    Recorder killer("killer", log), survivor("survivor", log);
    kept.detachObserver(observer.get());
    kept.attachObserver(&killer);
    kept.attachObserver(observer.get());
    kept.attachObserver(&survivor);
    killer.onUpdate = [&] { observer.reset(); };
    ObHints hints;
    kept.notify(hints); // the observer is destroyed before its turn
    EXPECT_EQ(log, (Log{"killer", "survivor"}));
    EXPECT_EQ(kept.getNbObservers(), 2);
}

// A hint of another kind than the framework's, as an application might send.
class NamedHint : public ObHint {
public:
    explicit NamedHint(int hintId) : id(hintId) {}
    const int id;
};

TEST(ObHintsTest, HintsKeepTheirOrderAndNullIsRefused) {
    ObHints hints;
    hints.add(RCShdPtr<ObHint>(new NamedHint(1)));
    hints.add(RCShdPtr<ObHint>(new NamedHint(2)));
    EXPECT_THROW(hints.add(RCShdPtr<ObHint>()), RCExNullPtr);

    std::vector<int> ids;
    for (const RCShdPtr<ObHint> &hint : hints.getContainer()) {
        ids.push_back(rcDynamicCast<NamedHint>(hint)->id);
    }
    EXPECT_EQ(ids, (std::vector<int>{1, 2}));
}

} // namespace ObSubjectTesting
} // namespace Vo
