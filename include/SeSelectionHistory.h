#pragma once

#include "SeShapeSelector.h"
#include "VoShapeExport.h"

#include "foundation/RCShdPtr.h"
#include "host/ObObserver.h"
#include "host/selection/Sn.h"

#include <cstddef>
#include <memory>

namespace Vo {

class SeSelectionHistoryPrivate;

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
/// current state being held in chunks, where a splice moves one chunk's items and the
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

    /// A history attached to nothing. Raises std::bad_alloc when memory runs out.
    SeSelectionHistory();
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
    bool isAttached() const noexcept;
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
    int getNbUndoSteps() const noexcept;
    int getNbRedoSteps() const noexcept;
    ///@}
    /// Forgets every step; the current selection is the starting state.
    void clear() noexcept;

    /// Keeps at most `depth` steps, dropping the oldest undo steps first, then the farthest redo
    /// steps. Raises RCExInvalidCall for a negative depth, changing nothing.
    /// \param depth the most steps kept, undo and redo together; 0 keeps none
    void setDepth(int depth);
    /// The most steps kept (setDepth).
    int getDepth() const noexcept;
    /// Items held by the steps, old and new (what their memory is proportional to).
    std::size_t getNbStoredItems() const noexcept;

    /// Records the change of the selection (see the class comment).
    /// \param subject the selector's selection, which notifies
    /// \param hints what changed (SnSelectionChangeHint)
    void update(ObSubject<Sn> *subject, const ObHints &hints) override;

private:
    /// The steps, the current state and the renumberings they follow.
    std::unique_ptr<SeSelectionHistoryPrivate> d;
};

} // namespace Vo
