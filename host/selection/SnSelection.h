#pragma once

#include "../../base/RCBase.h"
#include "../../foundation/EpochIterator.h"
#include "../../foundation/List.h"
#include "../../foundation/RCShdPtr.h"
#include "../../foundation/Vector.h"
#include "../ObSubject.h"
#include "../PrdPredicate.h"
#include "../VoHostExport.h"
#include "Sn.h"
#include "SnItem.h"
#include "SnItemSlice.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace Vo {

class SnPlaceIndex;
class SnSelectionChangeHint;

/// An ordered selection of items, which it shares (an item may sit in several selections); the
/// first item is the primary one. Owns the subject through which it tells its observers that
/// insertItem, removeItem, replaceItem, replaceRange or replaceAllItems changed it: each of those
/// calls update on every attached observer before it returns, with one ObHints holding one
/// SnSelectionChangeHint whose subject is getSubject() and which says what changed (one splice, or
/// the whole list for replaceAllItems); observers may detach themselves or others meanwhile (see
/// ObSubject), and an exception from one passes to the caller with the change made. The other
/// operations notify no one. The selection never compares before a notifying change: leaving an
/// unchanged selection alone is the caller's business.
/// The same item may appear more than once. A null item is refused with RCExNullPtr naming
/// `Vo::SnItem const*`, a place outside the list with RCExInvalidCall, and the selection is then
/// left as it was.
/// Cost: the items sit in one contiguous vector, so a splice moves the items after it (a memmove of
/// one pointer each); a splice at the end, and replacing the primary item, cost O(1) apart from the
/// observers (amortised: a list that runs out of room grows by a constant factor, and a copied one
/// keeps room for more, see roomFor). replaceItem of another item, and removeItem, find the item
/// through an index of the items' places, built by the first call after a change in the middle
/// (O(n)) and kept by changes at the end; without one, removeItem compares pointers from the front.
/// Slices: a selection given its items as slices (replaceRangeBySlices; SnItemSlice) keeps them so,
/// the items of their runs unmade, until someone reads its items (begin, end, replaceItem,
/// removeItem, filter): that first read makes every item, in one list, and from then on the
/// selection holds that list as any other, so that the items read stay the same objects while they
/// are in it. Counting, the primary item, comparing (isEqual, isRangeEqual), cloning, taking over and
/// splicing a sliced selection make no item: they cost O(slices) (a splice that cuts one item out
/// of a run of 10^6 keeps two slices of the run), or O(items) where rows cannot tell that their
/// items are equal. The hints of a sliced selection's splices hold slices too and make their items
/// when read, from the same rows, so they give the same objects the selection gives.
/// Thread safety: plain count; a selection, its items and its observers stay on one thread.
class VO_HOST_API SnSelection : public RCBase<int> {
public:
    /// The items as given to create.
    using Items = List<RCShdPtr<SnItem const>>;
    /// An iterator over the items, valid until the selection changes (getRevision changes); a
    /// library built with its checks stops at a use after that.
    using const_iterator = EpochIterator<Vector<RCShdPtr<SnItem const>>::const_iterator>;
    /// Items given as slices (replaceRangeBySlices), runs of rows unmade.
    using Slices = Vector<SnItemSlice>;

    /// A new empty selection.
    static RCShdPtr<SnSelection> create();
    /// A new selection of items, in list order. Raises RCExNullPtr when one of them is null.
    /// \param items the items in selection order, shared
    static RCShdPtr<SnSelection> create(const Items &items);
    /// The same, taking items over without copying them (what an updater that has just built a long
    /// list wants). Raises RCExNullPtr when one of them is null, items then left as they were.
    /// \param items the items in selection order; left empty on success
    static RCShdPtr<SnSelection> createTaking(Vector<RCShdPtr<SnItem const>> &&items);
    /// The room worth giving a list of `size` items that a selection will hold: an eighth more, so
    /// that items added one at a time after a whole change find room without the list being moved.
    /// What the selection gives its own copies; a list to be taken over may be reserved so too.
    /// \param size the number of items
    static std::size_t roomFor(std::size_t size) noexcept;

    SnSelection(const SnSelection &) = delete;
    SnSelection &operator=(const SnSelection &) = delete;
    /// Detaches the observers still attached.
    ~SnSelection() noexcept override;

    /// A new selection with count 0 and the same items in the same order; it has no observers.
    virtual SnSelection *clone() const;
    /// True when other holds equal items (SnItem::isEqual) in the same order. Raises RCExNullPtr
    /// when other is null.
    /// \param other the selection compared
    virtual bool isEqual(const RCShdPtr<SnSelection const> &other) const;
    /// Appends item without notifying; meant for selections being filled.
    /// \param item the item appended, shared; null raises RCExNullPtr
    virtual void addItem(const RCShdPtr<SnItem const> &item);
    /// Puts newItem in the place of oldItem (the first occurrence of that very object), so it takes
    /// over the primary role when oldItem had it, then notifies. False, with nothing changed and no
    /// one notified, when oldItem is not in the selection. Raises RCExNullPtr when newItem is null.
    /// \param oldItem the item taken out, found by address
    /// \param newItem the item put in its place, shared
    virtual bool replaceItem(const RCShdPtr<SnItem const> &oldItem,
                             const RCShdPtr<SnItem const> &newItem);
    /// Takes over other's items, primary item included, then notifies; other may be this selection.
    /// Raises RCExNullPtr when other is null.
    /// \param other the selection whose items are taken
    virtual void replaceAllItems(const RCShdPtr<SnSelection const> &other);
    /// The same for a pointer handed over: when it is the only holder of a plain selection that no
    /// one observes (a list built for the purpose), its items move in, none is copied, and the
    /// pointer is left null; otherwise as above, and the pointer is left as it was.
    /// \param other the selection whose items are taken; left null when they moved
    void replaceAllItems(RCShdPtr<SnSelection const> &&other);
    /// Puts item at position (0 .. getNbItems(); getNbItems() appends), then notifies. Raises
    /// RCExNullPtr for a null item and RCExInvalidCall for another position.
    /// \param position the item's place from now on
    /// \param item the item put in, shared
    void insertItem(int position, const RCShdPtr<SnItem const> &item);
    /// Removes the first occurrence of that very object, then notifies. False, with nothing changed
    /// and no one notified, when it is not in the selection.
    /// \param item the item taken out, found by address
    bool removeItem(const RCShdPtr<SnItem const> &item);
    ///@{
    /// Replaces the `count` items from position by `replacement`, in one change and one
    /// notification. Raises RCExInvalidCall when the range is not inside the list and RCExNullPtr
    /// for a null replacement item; an empty range with no replacement changes nothing and notifies
    /// no one. A list passed as an rvalue gives its items up (none is copied) and is left empty
    /// with a room, so that a caller may fill it again without allocating: its own, or, when its
    /// room holds the result and the selection's does not, the selection's former one (the
    /// selection then keeps the list's room, already touched, instead of taking a new one). On an
    /// exception it is left as it was.
    /// \param position the place of the first item replaced, 0 .. getNbItems()
    /// \param count the number of items replaced, 0 .. getNbItems() - position
    /// \param replacement the items put in their place, in order, none null
    void replaceRange(int position, int count, Vector<RCShdPtr<SnItem const>> &&replacement);
    void replaceRange(int position, int count, const Vector<RCShdPtr<SnItem const>> &replacement);
    ///@}
    /// The same for the items of `replacement`, whose runs stay unmade (see Slices above). Raises
    /// as replaceRange, RCExNullPtr for a slice of one null item; empty runs are left out.
    /// \param position the place of the first item replaced, 0 .. getNbItems()
    /// \param count the number of items replaced, 0 .. getNbItems() - position
    /// \param replacement the items put in their place, as slices, shared
    void replaceRangeBySlices(int position, int count, const Slices &replacement);
    /// Whether the `count` items from position equal those of `slices`, one by one (SnItem::isEqual),
    /// runs compared by their rows where these can tell. Raises RCExInvalidCall when the range is
    /// not inside the list.
    /// \param position the place of the first item compared, 0 .. getNbItems()
    /// \param count the number of items compared, 0 .. getNbItems() - position
    /// \param slices the items compared with them; a different number of items is unequal
    bool isRangeEqual(int position, int count, const Slices &slices) const;
    ///@{
    /// The number of items; whether there is none. A sliced selection makes no item for them.
    virtual int getNbItems() const;
    virtual bool isEmpty() const;
    ///@}
    /// The first item; null exactly when the selection is empty.
    virtual const RCShdPtr<SnItem const> &getPrimaryItem() const;
    /// A new selection of the items that predicate accepts, in order; it has no observers.
    /// \param predicate asked about each item in order; what it raises passes to the caller
    virtual RCShdPtr<SnSelection>
    filter(const PrdPredicate<RCShdPtr<SnItem const>> &predicate) const;

    ///@{
    /// The first item, and the place past the last, in selection order. Both make the items of a
    /// sliced selection first (and raise what making them raises).
    const_iterator begin() const {
        makeItems();
        return const_iterator(items.begin(), &revision);
    }
    const_iterator end() const {
        makeItems();
        return const_iterator(items.end(), &revision);
    }
    ///@}
    ///@{
    /// A number that changes with every change of the items and that no other selection of this
    /// process ever shows: what a reader that keeps something derived from the items compares.
    std::uint64_t getRevision() const noexcept { return revision; }
    ObSubject<Sn> &getSubject() noexcept { return subject; }
    const ObSubject<Sn> &getSubject() const noexcept { return subject; }
    ///@}

protected:
    SnSelection() noexcept;
    ///@{
    /// Raises RCExNullPtr when one of items is null.
    /// \param items the items in selection order, copied or taken over
    explicit SnSelection(const Items &items);
    explicit SnSelection(Vector<RCShdPtr<SnItem const>> &&items);
    ///@}

private:
    static void checkItem(const RCShdPtr<SnItem const> &item);
    void checkRange(int position, int count) const;
    /// A sliced selection's items made, in one list that replaces its slices.
    void makeItems() const;
    /// The splice of a sliced selection, or of one that slices come into: O(slices).
    void spliceSlices(std::size_t at, std::size_t count, Slices added);
    /// A copy of other's slices in place of every item, then the observers told.
    void replaceAllBySlices(const SnSelection &other);
    /// Replaces count items from `at` (checked) by `added` (checked), then notifies.
    void splice(std::size_t at, std::size_t count, Vector<RCShdPtr<SnItem const>> &&added);
    /// Keeps the place index in step with a splice at the end, or drops it.
    void placesAfterSplice(std::size_t at, std::size_t count,
                           const Vector<RCShdPtr<SnItem const>> &added) noexcept;
    /// The hints that tell observers of a change, made before the change (none without observers):
    /// of the whole list, or of a splice, between this revision and `after`.
    ObHints newsOfChange(std::uint64_t after) const;
    ///@{
    /// The whole-list change to the items `take` gives, called once everything that allocates is
    /// done and before anything changes.
    template <class Take> void replaceAllBy(Take take);
    ObHints newsOfSplice(std::uint64_t after, std::size_t at, std::size_t count,
                         const Vector<RCShdPtr<SnItem const>> &added) const;
    ///@}
    /// Tells the observers; keeps this selection alive meanwhile.
    void tell(const ObHints &news);
    ///@{
    /// Tells the observers of a splice whose added items `hint` borrows from this list.
    void tellLending(const ObHints &news, SnSelectionChangeHint &hint);
    void endLending(SnSelectionChangeHint &hint);
    ///@}
    /// Before any change of the items: a hint that borrows them takes its own copy.
    void settleLent();
    /// Every change of the items: a new revision, and the place index forgotten.
    void changed() noexcept;
    /// The place index, built when missing.
    SnPlaceIndex &places();

    /// The items, or, while `sliced`, none: the slices stand for them until first read.
    mutable Vector<RCShdPtr<SnItem const>> items;
    mutable Slices slices;
    mutable bool sliced = false;
    std::size_t slicedCount = 0; // the items of the slices
    ///@{
    /// The room of the last splice's removed items, given back by its hint when no one kept that:
    /// removing 10^6 items again then touches no fresh memory. As large as the largest removal.
    Vector<RCShdPtr<SnItem const>> removedRoom;
    std::uint64_t revision;
    std::unique_ptr<SnPlaceIndex> placeIndex;
    SnSelectionChangeHint *lentTo = nullptr; // borrows items while its observers are told
    ObSubject<Sn> subject;
    ///@}
};

} // namespace Vo
