#include "host/ObSubject.h"
#include "host/ObHint.h"
#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/RCExNullPtr.h"
#include "host/Sn.h"

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

TEST(ObSubjectTest, AttachAndDetachAreReportedToBothSides) {
    Log log;
    Subject subject;
    Recorder a("a", log);

    EXPECT_TRUE(subject.attachObserver(&a));
    EXPECT_FALSE(subject.attachObserver(&a));
    EXPECT_FALSE(subject.attachObserver(nullptr));
    EXPECT_EQ(subject.getNbObservers(), 1);
    EXPECT_EQ(a.getNbSubjects(), 1);
    EXPECT_TRUE(subject.isAttached(&a));

    EXPECT_TRUE(subject.detachObserver(&a));
    EXPECT_FALSE(subject.detachObserver(&a));
    EXPECT_FALSE(subject.detachObserver(nullptr));
    EXPECT_EQ(subject.getNbObservers(), 0);
    EXPECT_EQ(a.getNbSubjects(), 0);

    ObHints hints;
    subject.notify(hints);
    EXPECT_TRUE(log.empty());
}

TEST(ObSubjectTest, NotifyCallsEveryObserverInAttachOrderWithTheHints) {
    Log log;
    Subject subject;
    Recorder a("a", log), b("b", log), c("c", log);
    subject.attachObserver(&b);
    subject.attachObserver(&a);
    subject.attachObserver(&c);

    ObHints hints;
    subject.notify(hints);
    EXPECT_EQ(log, (Log{"b", "a", "c"}));
    EXPECT_EQ(a.lastSubject, &subject);
    EXPECT_EQ(c.lastHints, &hints);
}

TEST(ObSubjectTest, ObserversMayDetachDuringANotification) {
    Log log;
    Subject subject;
    Recorder a("a", log), b("b", log), c("c", log);
    subject.attachObserver(&a);
    subject.attachObserver(&b);
    subject.attachObserver(&c);
    int countSeenByA = -1;
    a.onUpdate = [&] {
        subject.detachObserver(&a);
        subject.detachObserver(&c);
        countSeenByA = subject.getNbObservers();
    };

    ObHints hints;
    subject.notify(hints);
    EXPECT_EQ(log, (Log{"a", "b"})); // c was detached before its turn
    EXPECT_EQ(countSeenByA, 1);
    EXPECT_EQ(c.getNbSubjects(), 0);

    log.clear();
    subject.notify(hints);
    EXPECT_EQ(log, (Log{"b"}));
    EXPECT_EQ(subject.getNbObservers(), 1);
}

TEST(ObSubjectTest, ManyDetachmentsKeepTheAttachOrderOfTheOthers) {
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

TEST(ObSubjectTest, ObserversAttachedDuringANotificationWaitForTheNextOne) {
    Log log;
    Subject subject;
    Recorder a("a", log), b("b", log), late("late", log);
    subject.attachObserver(&a);
    subject.attachObserver(&b);
    bool done = false;
    a.onUpdate = [&] {
        if (!done) {
            done = true;
            subject.attachObserver(&late);
            subject.detachObserver(&b);
            subject.attachObserver(&b); // back at the end of the list
        }
    };

    ObHints hints;
    subject.notify(hints);
    EXPECT_EQ(log, (Log{"a"}));

    log.clear();
    subject.notify(hints);
    EXPECT_EQ(log, (Log{"a", "late", "b"}));
}

TEST(ObSubjectTest, NestedNotificationsReachEveryObserverOnce) {
    Log log;
    Subject subject;
    Recorder a("a", log), b("b", log), c("c", log);
    subject.attachObserver(&a);
    subject.attachObserver(&b);
    subject.attachObserver(&c);
    ObHints hints;
    bool nested = false;
    b.onUpdate = [&] {
        if (!nested) {
            nested = true;
            subject.detachObserver(&a);
            subject.notify(hints);
        }
    };

    subject.notify(hints);
    EXPECT_EQ(log, (Log{"a", "b", "b", "c", "c"}));
    EXPECT_EQ(subject.getNbObservers(), 2);
}

// Every observer hears of a change, also after one before it raised, so that one observer's error
// cannot hide the change from another (an undo history attached after a failing one used to miss
// it). The first error passes to the caller once all were called.
TEST(ObSubjectTest, AnObserverErrorPassesAfterEveryObserverHeardAndLeavesTheSubjectUsable) {
    Log log;
    Subject subject;
    Recorder a("a", log), b("b", log), c("c", log);
    subject.attachObserver(&a);
    subject.attachObserver(&b);
    subject.attachObserver(&c);
    a.onUpdate = [&] {
        subject.detachObserver(&a);
        throw std::runtime_error("observer failed");
    };
    b.onUpdate = [&] { throw std::logic_error("second failure"); };

    ObHints hints;
    EXPECT_THROW(subject.notify(hints), std::runtime_error);
    EXPECT_EQ(log, (Log{"a", "b", "c"}));
    b.onUpdate = nullptr;

    log.clear();
    subject.notify(hints);
    EXPECT_EQ(log, (Log{"b", "c"}));
    EXPECT_EQ(subject.getNbObservers(), 2);
}

TEST(ObSubjectTest, DestroyingEitherSideUnlinksTheOther) {
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
