#pragma once

#include "../../foundation/RCShdPtr.h"
#include "../../foundation/Vector.h"
#include "../ObHint.h"
#include "../ObSubject.h"
#include "../VoHostExport.h"
#include "Sn.h"
#include "SnItem.h"
#include "SnItemRun.h"
#include "SnItemSlice.h"

#include <cstdint>

namespace Vo {

/// The hint that a selection's items changed; names the subject of the changed selection, which it
/// borrows for identity only (it may be gone by the time the hint is read), and says what changed:
/// either the whole list (isWhole), or one splice: from getPosition(), the items getRemovedItems()
/// gave way to getAddedItems() (an insertion removes none, a removal adds none, a replacement does
/// one of each). The revisions are the selection's before and after the change: an observer that
/// keeps something derived from the items at the revision before may patch it by the splice instead
/// of reading every item again; any other observer reads the selection.
/// The hint holds the removed items. A selection that notifies it may lend the added items instead,
/// straight from its own list, so that a splice of many items copies none: the selection takes a
/// copy into the hint before it changes again, and when anyone still holds the hint after the
/// notification. The runs the getters give are valid while the hint lives and is not lent to again.
/// The hint of a sliced selection's splice holds slices (SnItemSlice) instead, and makes their items
/// when one of the getters is first called.
class VO_HOST_API SnSelectionChangeHint : public ObHint {
public:
    /// Items added or removed.
    using ItemList = Vector<RCShdPtr<SnItem const>>;
    /// A splice's items told as slices (ofSlices).
    using Slices = Vector<SnItemSlice>;

    /// A change of the whole list, revisions unknown (0).
    /// \param subject the changed selection's subject, borrowed for identity only, never followed
    explicit SnSelectionChangeHint(const ObSubject<Sn> *subject) noexcept;
    /// A change of the whole list between two known revisions.
    /// \param subject the changed selection's subject, borrowed for identity only, never followed
    /// \param revisionBefore, revisionAfter the selection's revisions before and after the change
    SnSelectionChangeHint(const ObSubject<Sn> *subject, std::uint64_t revisionBefore,
                          std::uint64_t revisionAfter) noexcept;
    /// One splice between two revisions.
    /// \param subject the changed selection's subject, borrowed for identity only, never followed
    /// \param revisionBefore, revisionAfter the selection's revisions before and after the change
    /// \param position the first place the splice touched, 0 or more
    /// \param removed, added the items that left, and those that came in their place, in order
    SnSelectionChangeHint(const ObSubject<Sn> *subject, std::uint64_t revisionBefore,
                          std::uint64_t revisionAfter, int position, ItemList removed,
                          ItemList added) noexcept;
    /// One splice between two revisions, told by slices.
    /// \param subject the changed selection's subject, borrowed for identity only, never followed
    /// \param revisionBefore, revisionAfter the selection's revisions before and after the change
    /// \param position the first place the splice touched, 0 or more
    /// \param removed, added the items that left, and those that came in their place, as slices
    static RCShdPtr<SnSelectionChangeHint> ofSlices(const ObSubject<Sn> *subject,
                                                    std::uint64_t revisionBefore,
                                                    std::uint64_t revisionAfter, int position,
                                                    Slices removed, Slices added);

    /// The selection's subject that sent the hint.
    const ObSubject<Sn> *getSubject() const noexcept { return subject; }
    /// Whether the whole list changed (no splice is told).
    bool isWhole() const noexcept { return position < 0; }
    ///@{
    /// The first place the splice touched; -1 for a change of the whole list.
    int getPosition() const noexcept { return position; }
    /// Both make the items of slices first (and raise what making them raises).
    SnItemRun getRemovedItems() const {
        makeSliced();
        return SnItemRun(removed.data(), removed.size());
    }
    SnItemRun getAddedItems() const {
        makeSliced();
        return lent ? lentAdded : owned(added);
    }

    /// For the selection that notifies this hint: the added items become `run`, which that
    /// selection holds, and the hint takes over `gone` as its removed items.
    /// \param run the added items in the selection's own list, valid until it changes again
    /// \param gone the removed items, taken over
    void lendAdded(SnItemRun run, ItemList gone) noexcept;
    /// Copies lent items into the hint, which no longer depends on the selection that lent them.
    void keepAdded();
    ///@{
    /// For that selection, once no one else holds the hint: the list of removed items, handed back
    /// so that its room serves the next splice. The hint then names no removed item.
    ItemList takeBackRemoved() noexcept;
    std::uint64_t getRevisionBefore() const noexcept { return revisionBefore; }
    std::uint64_t getRevisionAfter() const noexcept { return revisionAfter; }
    ///@}

protected:
    ~SnSelectionChangeHint() noexcept override;

private:
    const ObSubject<Sn> *subject;
    std::uint64_t revisionBefore;
    std::uint64_t revisionAfter;
    int position;
    static SnItemRun owned(const ItemList &list) noexcept {
        return SnItemRun(list.data(), list.size());
    }

    /// The items of the slices, both lists made at once.
    void makeSliced() const;

    mutable ItemList removed;
    mutable ItemList added;
    mutable Slices removedSlices;
    mutable Slices addedSlices;
    mutable bool unmade = false; // slices whose items are not made yet
    SnItemRun lentAdded;
    bool lent = false;
};

} // namespace Vo
