#pragma once

#include "SeShapeInterface.h"

#include "base/RCSWEndTally.h"
#include "foundation/RCWeakPtr.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <cstdint>

namespace Vo {

// What a selector knows of its selected shapes' lives without reading them: that every one was
// alive at a revision of its selection, and that none has ended since. The editing sides met report
// their ends to a tally of the selector's own (RCSWEndTally), so that objects ending elsewhere in
// the process, other editors' shapes among them, leave that knowledge standing. Holds the tally;
// the selector's thread only.
class SeAliveShapes {
public:
    SeAliveShapes();
    ~SeAliveShapes();
    SeAliveShapes(const SeAliveShapes &) = delete;
    SeAliveShapes &operator=(const SeAliveShapes &) = delete;

    // Whether every item of `selection`, at its current revision, is known to stand for a live
    // shape (or for no shape at all). O(1).
    bool areKnown(const SnSelection &selection) const noexcept;

    // A walk over a whole selection: read the tally first, see each of its shapes (enlisted, then
    // looked at: whether it lives), then establish when every one was alive.
    std::uint64_t startWalk() const noexcept { return tally.get(); }
    bool see(const RCWeakPtr<SeShapeInterface> &shape) noexcept {
        if (!shape.getCounter().isNull()) {
            shape.getCounter()->enlist(tally);
        }
        return !shape.isNull();
    }
    void establish(const SnSelection &selection, std::uint64_t reading) noexcept;
    // That walk over `selection` when nothing is known of it; whether every shape lives. O(S).
    bool lookAt(const SnSelection &selection) noexcept;

    // The selection changed as `change` tells: a splice made while the knowledge held is followed
    // by its items (those that come in are enlisted and looked at); a change of the whole list
    // leaves nothing known, until the next walk.
    void follow(const SnSelectionChangeHint &change) noexcept;
    // Whether `item` stands for the one shape that ended since every selected shape was known
    // alive; the caller knows it to be that shape's only item. When so, the next splice that takes
    // it out, as the only gone item it takes, leaves the other shapes known alive.
    bool expectEndedLeaving(const SnSelection &selection, const SnItem &item) noexcept;

private:
    bool seeItem(const SnItem &item) noexcept;
    static bool isGone(const SnItem &item) noexcept;

    RCSWEndTally &tally;
    std::uint64_t revision = 0; // the selection's revision when known alive; 0: nothing known
    std::uint64_t reading = 0;  // the tally then
    const SnItem *endedLeaving = nullptr;
};

} // namespace Vo
