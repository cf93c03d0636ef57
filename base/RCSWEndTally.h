#pragma once

#include "VoBaseExport.h"

#include <atomic>
#include <cstdint>

namespace Vo {

/// Counts the ends of the weakly referenceable objects enlisted with it (RCSWCount::enlist), so
/// that a keeper of many weak pointers (a shape selector's selected shapes) tells, by comparing two
/// readings, whether one of them ended meanwhile, whatever other objects end in the process. An
/// object reports to one tally: enlisted with a second one while the first is held, it reports to
/// a count that every tally's reading includes, so that no keeper misses its end. Tallies come from
/// a pool and are never freed: an end reported late to a tally given back, or handed out again,
/// moves a reading for nothing, but no reading ever misses an end. Thread safety: any thread.
///
///     RCSWEndTally &tally = RCSWEndTally::acquire();
///     const std::uint64_t before = tally.get();
///     block->enlist(tally);              // then look: is the object alive?
///     ...
///     if (tally.get() == before) { /* no enlisted object ended since `before` */ }
///     tally.release();
class VO_BASE_API RCSWEndTally {
public:
    RCSWEndTally(const RCSWEndTally &) = delete;
    RCSWEndTally &operator=(const RCSWEndTally &) = delete;

    ///@{
    /// A tally no one else holds; give it back with release.
    static RCSWEndTally &acquire();
    void release() noexcept;
    ///@}
    /// Grows with every end of an object enlisted with this tally while it was held (and with some
    /// others): equal readings mean that none of them ended between the two.
    std::uint64_t get() const noexcept;

    /// For RCSWCount: the tally an object that reports to `held` (null: to none) reports to once
    /// enlisted with `wanted`.
    /// \param held the tally the object reports to now, or null
    /// \param wanted the tally it is enlisted with
    static RCSWEndTally *joined(RCSWEndTally *held, RCSWEndTally &wanted) noexcept;
    /// For RCSWCount: an object that reports here ended.
    void count() noexcept { ends.fetch_add(1); }

private:
    RCSWEndTally() noexcept = default;
    static RCSWEndTally &shared() noexcept;

    std::atomic<std::uint64_t> ends{0};
    std::atomic<bool> held{false};
    RCSWEndTally *nextFree = nullptr; // in the pool's list of free tallies
};

} // namespace Vo
