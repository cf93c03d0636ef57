#pragma once

#include "RCBase.h"
#include "RCSWEndTally.h"

#include <atomic>

namespace Vo {

/// Counter block of a weakly referenceable object. Its own count (the RCBase part) is the number of
/// weak and strong pointers that hold the block; the strong count is the number of strong holders
/// of the object. A strong count of 0 means the object is gone and never rises again.
/// Thread safety: with C = LkCounter<int> both counts may change on any thread.
template <class C> class RCSWCount : public RCBase<C> {
public:
    /// A block with no weak holder.
    /// \param initialStrong the number of strong holders the block starts with
    explicit RCSWCount(int initialStrong = 0) noexcept : strong(initialStrong) {}

    /// The number of strong holders now: 0 once the object has ended.
    int getStrongCount() const noexcept { return RCCountTraits<C>::load(strong); }
    /// Adds one strong holder unless the object is already gone; never raises the count from 0.
    bool tryAddStrong() const noexcept {
        int seen = RCCountTraits<C>::load(strong);
        while (seen != 0) {
            if (RCCountTraits<C>::compareExchange(strong, seen, seen + 1)) {
                return true;
            }
        }
        return false;
    }
    /// True when this release took the strong count to 0: the caller destroys the object.
    bool releaseStrong() const noexcept {
        if (RCCountTraits<C>::decrement(strong) != 0) {
            return false;
        }
        if (RCSWEndTally *tally = endTally.load()) {
            tally->count();
        }
        return true;
    }
    /// Reports the object's end to tally from now on (see RCSWEndTally for an object enlisted with
    /// two). Enlist first, then look whether the object is alive: an end that comes in between is
    /// reported to the tally.
    /// \param tally the tally to report to, from RCSWEndTally::acquire (tallies are never freed)
    void enlist(RCSWEndTally &tally) const noexcept {
        RCSWEndTally *held = endTally.load();
        while (held != &tally) {
            RCSWEndTally *const joined = RCSWEndTally::joined(held, tally);
            if (joined == held || endTally.compare_exchange_weak(held, joined)) {
                return;
            }
        }
    }

private:
    mutable C strong;
    mutable std::atomic<RCSWEndTally *> endTally{nullptr};
};

extern template class VO_BASE_API RCSWCount<LkCounter<int>>;

} // namespace Vo
