#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakAccessor.h"
#include "foundation/RCWeakPtr.h"
#include "base/LkCounter.h"
#include "base/RCBase.h"
#include "host/RCOwner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace Vo {
namespace PointerStressTesting {

// Objects of this file alive at the moment; back to 0 when nothing leaked.
std::atomic<int> liveInstances{0};

// A shared model counted atomically; counts its own destructions in a record that outlives it.
class SharedModel : public RCBase<LkCounter<int>> {
public:
    explicit SharedModel(std::atomic<int> &destructionCount) : destructions(destructionCount) {
        ++liveInstances;
    }
    ~SharedModel() override {
        ++destructions;
        --liveInstances;
    }

private:
    std::atomic<int> &destructions;
};

// How one weakly held object ended, kept apart from the object so that it can be read afterwards.
struct Fate {
    std::atomic<int> destructions{0};
    std::atomic<bool> destroyed{false};
    std::atomic<bool> lockerStarted{false};
};

// An application-owned object. `value` is plain on purpose: a lock that did not order the
// destruction after its own use would show as a data race under the thread sanitizer.
class Watched {
public:
    explicit Watched(Fate &record) : fate(record) { ++liveInstances; }
    virtual ~Watched() {
        fate.destroyed = true;
        ++fate.destructions;
        --liveInstances;
    }
    int getValue() const { return value; }

private:
    Fate &fate;
    int value = 7;
};

// Holds each of a fixed number of threads until all of them have arrived; reusable round after
// round. Threads block rather than spin, so that a crowded machine does not starve the last one.
class RoundBarrier {
public:
    explicit RoundBarrier(int threadCount) : expected(threadCount) {}

    void arriveAndWait() {
        std::unique_lock<std::mutex> lock(mutex);
        const long round = generation;
        if (++arrived == expected) {
            arrived = 0;
            ++generation;
            allArrived.notify_all();
            return;
        }
        allArrived.wait(lock, [&] { return generation != round; });
    }

private:
    std::mutex mutex;
    std::condition_variable allArrived;
    const int expected;
    int arrived = 0;
    long generation = 0;
};

// Starts `count` threads running `body(index)` together and waits for all of them.
template <class Body> void runTogether(int count, Body body) {
    std::atomic<bool> go{false};
    std::vector<std::thread> pool;
    for (int index = 0; index < count; ++index) {
        pool.emplace_back([&go, &body, index] {
            while (!go.load()) {
                std::this_thread::yield();
            }
            body(index);
        });
    }
    go = true;
    for (auto &thread : pool) {
        thread.join();
    }
}

} // namespace PointerStressTesting

namespace {

using PointerStressTesting::Fate;
using PointerStressTesting::liveInstances;
using PointerStressTesting::RoundBarrier;
using PointerStressTesting::runTogether;
using PointerStressTesting::SharedModel;
using PointerStressTesting::Watched;

constexpr int threadCount = 4;

TEST(PointerStress, ConcurrentCopiesCountExactlyAndLeaveNothingBehind) {
    constexpr int iterations = 150000;
    std::atomic<int> destructionsA{0};
    std::atomic<int> destructionsB{0};
    std::atomic<long> operations{0};
    std::atomic<int> falselyUnique{0};
    {
        const RCShdPtr<SharedModel> a(new SharedModel(destructionsA));
        const RCShdPtr<SharedModel> b(new SharedModel(destructionsB));
        runTogether(threadCount, [&](int) {
            RCShdPtr<SharedModel const> mine;
            for (int i = 0; i < iterations; ++i) {
                mine = (i & 1) != 0 ? a : b; // counts one object up and the other down
                RCShdPtr<SharedModel> copy((i & 2) != 0 ? a : b);
                if (copy.isUnique()) {
                    ++falselyUnique;
                }
                RCShdPtr<SharedModel> moved(std::move(copy));
            }
            operations += 4L * iterations;
        });
        EXPECT_EQ(a->getRefCount(), 1);
        EXPECT_EQ(b->getRefCount(), 1);
        EXPECT_EQ(destructionsA.load() + destructionsB.load(), 0);
    }
    EXPECT_EQ(falselyUnique.load(), 0);
    EXPECT_EQ(destructionsA.load(), 1);
    EXPECT_EQ(destructionsB.load(), 1);
    EXPECT_EQ(liveInstances.load(), 0);
    EXPECT_GE(operations.load(), 1000000L);
}

TEST(PointerStress, RacingLastReleasesDestroyEachObjectOnce) {
    constexpr int objectCount = 20000;
    std::unique_ptr<std::atomic<int>[]> destructions(new std::atomic<int>[objectCount]);
    std::vector<RCShdPtr<SharedModel>> roots;
    for (int k = 0; k < objectCount; ++k) {
        destructions[k] = 0;
        roots.emplace_back(new SharedModel(destructions[k]));
    }
    std::vector<std::vector<RCShdPtr<SharedModel>>> held(threadCount);
    for (auto &copies : held) {
        copies = roots;
    }
    roots.clear();
    runTogether(threadCount, [&](int index) {
        auto &copies = held[static_cast<std::size_t>(index)];
        if (index % 2 == 0) {
            copies.clear();
            return;
        }
        while (!copies.empty()) {
            copies.pop_back();
        }
    });
    int wrong = 0;
    for (int k = 0; k < objectCount; ++k) {
        wrong += destructions[k].load() != 1 ? 1 : 0;
    }
    EXPECT_EQ(wrong, 0) << "objects not destroyed exactly once";
    EXPECT_EQ(liveInstances.load(), 0);
}

// Each round, one thread locks the round's object a few times and then lets its owner go, while
// the other threads lock it until they see it gone; accessors held at that moment end the object
// themselves. The next round checks that the previous object stays gone.
TEST(PointerStress, LocksNeverReviveAnObjectWhoseOwnerLetGo) {
    constexpr int roundCount = 1500;
    constexpr int releaserLocks = 20;
    constexpr int lockerAttempts = 500;
    struct Round {
        Fate fate;
        RCOwner<Watched> owner;
        RCWeakPtr<Watched> weak;
    };
    std::unique_ptr<Round[]> rounds(new Round[roundCount]);
    for (int r = 0; r < roundCount; ++r) {
        rounds[r].owner = RCOwner<Watched>(new Watched(rounds[r].fate));
        rounds[r].weak = rounds[r].owner.getWeak();
    }
    std::atomic<long> operations{0};
    std::atomic<int> revived{0};
    std::atomic<int> nestedFailures{0};
    std::atomic<int> badValues{0};
    std::atomic<int> lockedAtRelease{0};

    // One successful or failed lock with its checks; false once the object is gone.
    const auto lockOnce = [&](const Round &round) {
        RCWeakAccessor<Watched> accessor(round.weak);
        if (accessor.isNull()) {
            return false;
        }
        revived += round.fate.destroyed.load() ? 1 : 0;
        badValues += accessor->getValue() != 7 ? 1 : 0;
        RCWeakAccessor<Watched> nested(round.weak);
        nestedFailures += nested.isNull() ? 1 : 0;
        return true;
    };
    RoundBarrier barrier(threadCount);
    runTogether(threadCount, [&](int index) {
        long done = 0;
        for (int r = 0; r < roundCount; ++r) {
            Round &round = rounds[r];
            barrier.arriveAndWait();
            if (r > 0) {
                revived += lockOnce(rounds[r - 1]) ? 1 : 0;
                ++done;
            }
            if (index == 0) {
                while (!round.fate.lockerStarted.load()) {
                    std::this_thread::yield();
                }
                for (int k = 0; k < releaserLocks; ++k, ++done) {
                    lockOnce(round);
                }
                lockedAtRelease += round.owner.getCounter()->getStrongCount() > 1 ? 1 : 0;
                round.owner.reset();
                continue;
            }
            round.fate.lockerStarted = true;
            for (int k = 0; k < lockerAttempts; ++k) {
                ++done;
                if (!lockOnce(round)) {
                    ++done;
                    revived += lockOnce(round) ? 1 : 0;
                    break;
                }
            }
        }
        operations += done;
    });

    EXPECT_EQ(revived.load(), 0) << "a lock succeeded on an object whose strong count was 0";
    EXPECT_EQ(nestedFailures.load(), 0) << "a lock failed while another accessor held the object";
    EXPECT_EQ(badValues.load(), 0);
    int wrongEnds = 0;
    int leakedShares = 0;
    for (int r = 0; r < roundCount; ++r) {
        wrongEnds += rounds[r].fate.destructions.load() != 1 ? 1 : 0;
        const auto &block = rounds[r].weak.getCounter();
        leakedShares += block->getRefCount() != 1 || block->getStrongCount() != 0 ? 1 : 0;
    }
    EXPECT_EQ(wrongEnds, 0) << "rounds whose object was not destroyed exactly once";
    EXPECT_EQ(leakedShares, 0) << "blocks still held by something other than their weak pointer";
    EXPECT_EQ(liveInstances.load(), 0);
    ::testing::Test::RecordProperty("operations", static_cast<int>(operations.load()));
    ::testing::Test::RecordProperty("releasesRacingAnAccessor", lockedAtRelease.load());
}

} // namespace
} // namespace Vo
