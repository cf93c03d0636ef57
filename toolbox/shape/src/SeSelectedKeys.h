#pragma once

#include "SeIdentityKey.h"
#include "SeShape.h"

#include "foundation/FlatMap.h"
#include "foundation/RCShdPtr.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace Vo {

// The selected shapes of one selector by identity key, with the place of each item, kept by the
// selector for the revision of the selection they were read from and carried along its splices, so
// that adding or removing one shape does not read them all again. Owns one flat table from key to
// item, which borrows the item pointers from the selection (an entry leaves with its item), and
// holds the items whose shapes were gone when they left. The selector's thread only.
class SeSelectedKeys {
public:
    static constexpr std::size_t kNoPlace = ~std::size_t(0);
    // What the look-up of a shape found among the selected ones.
    struct Found {
        const SnItem *item = nullptr; // the one selected item equal to the shape, when one
        bool several = false;         // more than one: the caller finds the first in order
        std::size_t place = kNoPlace; // where the item was last known to sit: check before use
    };

    // An empty table for `selection` as it is now, to be filled with add, item by item in order,
    // by a walk that reads each selected shape anyway (the updater's mirror), then finish. It
    // takes over the rooms of the table in cache, which must not be current: a selection filled
    // again to about the same size (select all after a reset) then takes no fresh pages for it.
    static std::unique_ptr<SeSelectedKeys> toFill(std::unique_ptr<SeSelectedKeys> &cache,
                                                  const SnSelection &selection);
    // The next item of the selection and the shape it stands for: null for a gone one. False once
    // a shape makes no promise: the table is then no use, and the walk may drop it.
    bool add(const SnItem *item, const SeShape *shape);
    void finish();

    // The keys of the selection, from cache when they were read from this selection at its
    // current revision, else read again into cache (a walk that reads every selected shape).
    // Raises RCExCastFailed for an item that is not a shape item, the cache then dropped.
    static const SeSelectedKeys &of(std::unique_ptr<SeSelectedKeys> &cache,
                                    const SnSelection &selection);
    // `selection`, whose keys may be cached, changed as `change` tells: a splice is followed, item
    // by item, when the cache shows the revision before it; anything else leaves the cache stale
    // (its entries to be read again when next needed, in its rooms), and a shape that cannot be
    // read drops it.
    static void follow(std::unique_ptr<SeSelectedKeys> &cache, const SnSelection &selection,
                       const SnSelectionChangeHint &change) noexcept;
    // Whether the cache holds the keys of this selection at its current revision.
    static bool isCurrent(const std::unique_ptr<SeSelectedKeys> &cache,
                          const SnSelection &selection) noexcept;

    // True when every selected shape makes the identity-key promise.
    bool isUsable() const noexcept { return unpromised == 0; }
    // The selected items whose shapes have this key and are equal to shape; isEqual is asked only
    // of those. Raises RCExNullPtr when such a shape is gone.
    Found findEqual(std::uint64_t key, const SeShape &shape) const;

private:
    // How an item's shape read when the item came in or left.
    enum class Kind : std::uint8_t { promised, unpromised, gone };
    struct Read {
        std::uint64_t key = 0;
        Kind kind = Kind::gone;
    };
    // The free-cell mark of the table; a key equal to it is stored as the key below it, and the
    // entry says which of the two it was.
    static constexpr std::uint64_t kFreeKey = ~std::uint64_t(0);
    struct Entry {
        const SnItem *item = nullptr;
        std::uint32_t place = 0;
        bool highest = false; // stored under kFreeKey - 1 for kFreeKey
    };
    struct Pending {
        const SnItem *item;
        Read read;
        std::size_t place;
    };

    explicit SeSelectedKeys(const SnSelection &selection) noexcept;
    // Empties the table for `selection`, its rooms sized for it; may raise, leaving it empty.
    void restart(const SnSelection &selection);
    // No longer current for any selection: holds nothing, keeps its rooms.
    void retire() noexcept;

    static Read read(const SeShape *shape) noexcept;
    static Read readItem(const RCShdPtr<SnItem const> &item);
    static std::uint64_t stored(std::uint64_t key) noexcept;
    void enter(const Pending &pending);
    void forget(const RCShdPtr<SnItem const> &item, const Read &read);
    void followSplice(const SnSelectionChangeHint &change);
    bool leftGoneHolds(const SnItem *item) const noexcept;

    const SnSelection *selection;
    std::uint64_t revision;
    FlatMap<std::uint64_t, Entry, kFreeKey> byKey;
    std::size_t unpromised = 0;
    // The items whose shapes were gone when they left: their keys can no longer be read, so their
    // entries stay, passed over by findEqual; held, so that no other item takes their addresses.
    std::vector<RCShdPtr<SnItem const>> leftGone;
    // Filled by add, entered by finish: entering them in one pass lets the table's cells be asked
    // for a few items ahead. Its room is kept for the next fill.
    std::vector<Pending> pending;
};

} // namespace Vo
