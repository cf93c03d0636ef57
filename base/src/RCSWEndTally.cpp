#include "base/RCSWEndTally.h"

#include <mutex>

namespace Vo {

namespace {

// The tallies given back, for the next keepers; never destroyed, as an object may report to a
// tally at any time, also while the process ends.
struct TallyPool {
    std::mutex mutex;
    RCSWEndTally *free = nullptr;
};

TallyPool &pool() {
    static TallyPool *const tallies = new TallyPool;
    return *tallies;
}

} // namespace

RCSWEndTally &RCSWEndTally::shared() noexcept {
    static RCSWEndTally *const crowded = new RCSWEndTally;
    return *crowded;
}

RCSWEndTally &RCSWEndTally::acquire() {
    TallyPool &tallies = pool();
    RCSWEndTally *tally = nullptr;
    {
        const std::lock_guard<std::mutex> lock(tallies.mutex);
        tally = tallies.free;
        if (tally != nullptr) {
            tallies.free = tally->nextFree;
        }
    }
    if (tally == nullptr) {
        tally = new RCSWEndTally;
    }
    tally->held = true;
    return *tally;
}

void RCSWEndTally::release() noexcept {
    held = false;
    TallyPool &tallies = pool();
    const std::lock_guard<std::mutex> lock(tallies.mutex);
    nextFree = tallies.free;
    tallies.free = this;
}

std::uint64_t RCSWEndTally::get() const noexcept {
    const RCSWEndTally &crowded = shared();
    return this == &crowded ? ends.load() : ends.load() + crowded.ends.load();
}

// A tally given back no longer has a keeper: its objects may join another one. Objects enlisted
// with two held tallies report to the shared count, for good.
RCSWEndTally *RCSWEndTally::joined(RCSWEndTally *held, RCSWEndTally &wanted) noexcept {
    if (held == nullptr || (held != &shared() && !held->held.load())) {
        return &wanted;
    }
    return held == &wanted ? held : &shared();
}

} // namespace Vo
