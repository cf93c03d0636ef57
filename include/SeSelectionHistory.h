#pragma once

#include "SeShapeSelector.h"
#include "VoShapeExport.h"

#include "foundation/CbMethod.h"
#include "foundation/ChunkedList.h"
#include "foundation/RCShdPtr.h"
#include "host/ObObserver.h"
#include "host/selection/Sn.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace Vo {

/// The undo history of one editor's selection: records each net change of the selector's selection
/// object, whatever made it (an editor operation, the application's selection mirrored in, the end
/// of a batch: one step), and puts earlier states back. Observes the selection and listens to the
/// selector's renumbering reports; borrows the selector, whose going it notices (either may go
/// first). Owns its steps.
///
/// When the application inserts or removes points or handles (the selector's updateSelection...
/// operations), the kept states are renumbered as the selection is, so that a restore selects the
/// same points; the renumbering itself is no step. A step keeps only what changed: the position
/// where the old and new item lists first differ and the items between there and their common tail,
/// old and new. Items and parts never change once in a selection, so steps share them with the
/// selection: a change of points on the primary shape among 10^4 selected shapes stores two items.
/// The history also keeps one list of the items of its current state (shared, not copied).
///
/// undo and redo restore through the commit rule, as one write of the selection object: the updater
/// mirrors it and runs the callback lists as for any other change; the restore itself is not
/// recorded. A shape deleted since a step was recorded never comes back: its items are left out,
/// and a step that then changes nothing is skipped. A change recorded after an undo drops the steps
/// that redo would have restored. At most getDepth() steps are kept (100 unless set), the oldest
/// going first. Every change is recorded, whichever observers of the selection were attached before
/// the history and whatever they raise; should recording itself fail (memory runs out), the history
/// forgets its steps rather than offer an undo that skips a state, and records again from the next
/// change on.
///
/// Cost: a change that reaches the history as a splice of its revision (SnSelectionChangeHint), as
/// one-item changes do, is recorded from the splice: O(items changed), the history's list of the
/// current state being held in chunks (ChunkedList), where a splice moves one chunk's items and the
/// later chunks' starts, whatever the place. Any other change walks the current and the new item
/// lists once (pointer comparisons). undo and redo of a step put its items back as one splice
/// (SeShapeSelector::restoreRange) while every kept item's shape is known alive and the history is
/// in step with the selection: O(items changed), the updater then mirroring the splice alone;
/// otherwise they build the restored list, compare it with the selection and commit it, linear in
/// the number selected. Renumberings reach the current state at once, but inside a batch when the
/// batch's change is heard, and each kept step when it is next used; a long run of them reaches an
/// item in one pass over its indices (O(n log n)), not one copy of the indices each. Thread safety:
/// the editor's thread only.
///
/// Example (docs/examples/batches.cpp, run as a test): a batch is one step.
/// \snippet batches.cpp history
class VO_SHAPE_API SeSelectionHistory : public ObObserver<Sn> {
public:
    /// Steps kept unless setDepth says otherwise.
    static constexpr int defaultDepth = 100;

    /// A history attached to nothing.
    SeSelectionHistory() noexcept;
    /// A history attached to the selector, starting from its current selection. Raises RCExNullPtr
    /// for a null selector and RCExInvalidCall for a negative depth.
    /// \param selector the selector to record; held weakly (the history does not keep it alive)
    /// \param depth the most steps kept (see setDepth)
    explicit SeSelectionHistory(const RCShdPtr<SeShapeSelector> &selector,
                                int depth = defaultDepth);
    SeSelectionHistory(const SeSelectionHistory &) = delete;
    SeSelectionHistory &operator=(const SeSelectionHistory &) = delete;
    /// Detaches from the selector, if it is still there.
    ~SeSelectionHistory() override;

    /// Attaches to the selector (after detaching from any other), forgetting every step; the
    /// selector's current selection is the starting state. Raises RCExNullPtr for a null selector.
    /// \param selector the selector to record from now on
    void attach(const RCShdPtr<SeShapeSelector> &selector);
    ///@{
    /// Stops recording and forgets every step; nothing else changes. Also what happens when the
    /// selector is destroyed first.
    void detach() noexcept;
    bool isAttached() const noexcept {
        return selector != nullptr && renumberings.getNbDispatchers() != 0;
    }
    ///@}

    ///@{
    /// Restore the state before the last recorded change (after the last undone one), skipping
    /// steps that would change nothing once deleted shapes are left out. False, with nothing
    /// changed, when there is no such step or the history is detached. Raise RCExInvalidCall
    /// while a batch is open on the selector, and from a callback of this history's own undo or
    /// redo (the step being restored is not yet settled); raise what the selection's observers
    /// raise, the selector then putting both selections back as they were, with no callback run and
    /// the history unchanged (but for a callback handler that raises: the restore was announced,
    /// and stands).
    bool undo();
    bool redo();
    int getNbUndoSteps() const noexcept { return isAttached() ? static_cast<int>(cursor) : 0; }
    int getNbRedoSteps() const noexcept {
        return isAttached() ? static_cast<int>(steps.size() - cursor) : 0;
    }
    ///@}
    /// Forgets every step; the current selection is the starting state.
    void clear() noexcept;

    /// Keeps at most `depth` steps, dropping the oldest undo steps first, then the farthest redo
    /// steps. Raises RCExInvalidCall for a negative depth, changing nothing.
    /// \param depth the most steps kept, undo and redo together; 0 keeps none
    void setDepth(int depth);
    /// The most steps kept (setDepth).
    int getDepth() const noexcept { return depth; }
    /// Items held by the steps, old and new (what their memory is proportional to).
    std::size_t getNbStoredItems() const noexcept;

    /// Records the change of the selection (see the class comment).
    /// \param subject the selector's selection, which notifies
    /// \param hints what changed (SnSelectionChangeHint)
    void update(ObSubject<Sn> *subject, const ObHints &hints) override;

private:
    using ItemPtr = RCShdPtr<SnItem const>;
    using Items = std::vector<ItemPtr>;
    /// One recorded change: from position `at`, the items `before` became `after`; its items
    /// follow the renumberings numbered below `renumbered`.
    struct Step {
        std::size_t at;
        Items before;
        Items after;
        std::uint64_t renumbered;
    };

    /// Renumbers the kept states' items as the selector renumbers its own.
    void renumber(const SeShapeSelector::Renumbering &renumbering);
    ///@{
    /// Detaches when the selector went while its selection lives on elsewhere; false then.
    bool checkAttached() noexcept;
    void record();
    bool followLeavingGone();
    void recordSplice(const SnSelectionChangeHint &change);
    void addStep(Step step);
    void forgetFailedCommit(const SnSelectionChangeHint *change);
    void forgetSteps() noexcept;
    void resynchronise();
    bool travel(bool back);
    ///@}
    ///@{
    /// undo or redo by splices; false, with nothing done, when the history cannot tell that way.
    bool travelBySplice(bool back, bool &travelled);
    void restore(const RCShdPtr<SnSelection> &restored);
    ///@}
    ///@{
    /// Brings the step's items (the current state's) along the renumberings not followed yet.
    void catchUp(Step &step);
    void catchUpState();
    ///@}
    ///@{
    /// The state's items from `at`: `count` of them give way to [first, last), or all of them to
    /// `items`; the count of items with parts follows.
    template <class It> void spliceState(std::size_t at, std::size_t count, It first, It last);
    void adoptState(Items &&items);
    template <class It> static std::size_t countParts(It first, It last) noexcept;
    ///@}
    ///@{
    /// Takes the selector's renumbered primary item into the state when the change is the
    /// renumbering itself, instead of renumbering the state's own; false, with nothing done,
    /// otherwise.
    bool takeRenumbered(const SnSelectionChangeHint *change);
    void forgetOldRenumberings() noexcept;
    ///@}
    ///@{
    /// Drops steps beyond the depth; the oldest dropped go to `oldest` (room reserved) when given.
    void trim(std::vector<Step> *oldest = nullptr) noexcept;
    void takeBackDropped();
    void releaseDropped() noexcept;
    void releaseSome(std::size_t budget) noexcept;
    static void apply(Items &items, const Step &step, bool back);
    static RCShdPtr<SnSelection> withoutGoneShapes(const Items &items,
                                                   std::vector<const SnItem *> &leftOut);
    template <class List>
    static bool isSame(const List &items, const SnSelection &selection) noexcept;
    template <class It, class Other> static bool isEqualRange(It first, It last, Other other);
    static bool isGone(const ItemPtr &item) noexcept;
    ///@}

    SeShapeSelector *selector;
    /// Held, so that it stays observable until the history notices that the selector went.
    RCShdPtr<SnSelection> selection;
    ///@{
    /// Linked to the selector's renumbering list while it lives: its dispatcher unlinks it when the
    /// selector goes.
    CbMethod<SeSelectionHistory, SeShapeSelector::Renumbering const> renumberings;
    ChunkedList<SnItem const> state;
    std::deque<Step> steps;
    std::size_t cursor;
    int depth;
    bool restoring;
    ///@}
    /// What recording the last change dropped, kept until that change is known to stand: a change
    /// that is put back after a fault takes them back.
    struct Dropped {
        std::vector<Step> redo;
        std::vector<Step> oldest;
    };
    Dropped dropped;
    /// The items of steps no longer kept, given back a few per recorded change (releaseSome): the
    /// step of a whole change, dropped all at once, would make the next one-item change cost the
    /// whole selection.
    std::vector<Items> releasing;
    /// True after a change could not be recorded: state no longer matches the selection.
    bool lost = false;
    /// The selection's revision that `state` shows; 0 when unknown.
    std::uint64_t stateRevision = 0;
    /// The gone items the last full restore left out of the selection, sorted: the state keeps them
    /// (its steps count them in their positions), the selection never holds them again.
    std::vector<const SnItem *> leftOut;
    /// The selection's revision after the change the last step recorded.
    std::uint64_t recordedRevision = 0;
    /// The revision of the restore being written, as its own notification tells.
    std::uint64_t restoredRevision = 0;
    ///@{
    /// The renumberings the kept steps follow lazily, numbered from `renumberingBase`.
    std::deque<SeShapeSelector::Renumbering> renumberingLog;
    std::uint64_t renumberingBase = 0;
    ///@}
    /// The renumberings numbered below this one are in `state` (inside a batch it lags behind, and
    /// outside one until the selector's renumbered item arrives: see takeRenumbered).
    std::uint64_t stateRenumbered = 0;
    /// The state's primary item was the selection's when the renumberings it lags behind came.
    bool renumberedBySelector = false;
    /// Items of `state` with parts: beside the primary one, they make a renumbering walk the state.
    std::size_t stateParts = 0;
};

} // namespace Vo
