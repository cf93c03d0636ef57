#pragma once

#include "SeShapeSelector.h"
#include "VoShapeExport.h"

#include "foundation/RCShdPtr.h"

namespace Vo {

/// A scope in which many changes of one editor's selection make one: the selector's changing
/// operations, its replaceAllItems and resetSelection (the application's own writes), the
/// updater's handling of removal events and the mirroring in of the application's selection all
/// build on a working selection, which every read of the selector sees. Shares the selector.
/// Example (docs/examples/batches.cpp, run as a test):
/// \snippet batches.cpp batch
///
///
/// Scopes nest; the outermost decides. When it ends normally (commit(), or the end of the scope)
/// the net result is committed with one write of the selection object: its observers are told once,
/// so the updater mirrors it once into the application's selection and runs each callback list at
/// most once; a net result equal to the state at the start writes and notifies nothing. When an
/// exception leaves any scope of the batch, or any scope was cancelled, the outermost end abandons
/// the batch: both selections stay exactly as at its start and no one is notified; only what the
/// application reported inside the batch (the removal events, and the points and handles it
/// inserted or removed: updateSelection...) still applies afterwards, in one ordinary change, since
/// those reports will not come again (the same after a commit that raised). When the application
/// wrote its own selection inside the batch, the abandon writes the start state back into it (its
/// observers hear that write; no callback runs). Removal events cost O(1) each inside a batch; the
/// shapes they remove leave the working selection at its next read (one walk) or at the end.
///
/// Writes made to the selection object itself (getSelection()) bypass the batch. A history attached
/// to the selector records the commit as one step and refuses to restore while a batch is open.
/// Thread safety: the editor's thread only, like the selector.
class VO_SHAPE_API SeSelectionBatch {
public:
    /// Opens a batch on the selector, or a nested scope of the one open. Opening the outermost
    /// scope copies the selection's item list (linear in the number selected). Raises RCExNullPtr
    /// for a null selector.
    /// \param selector the selector to batch the operations of; shared for the batch's life
    explicit SeSelectionBatch(const RCShdPtr<SeShapeSelector> &selector);
    SeSelectionBatch(const SeSelectionBatch &) = delete;
    SeSelectionBatch &operator=(const SeSelectionBatch &) = delete;
    /// Ends the scope if commit() did not: abandons the batch when an exception is leaving the
    /// scope, else ends it as commit() does. Never raises, so a batch may sit in an optional, a
    /// container or a member and be ended while an exception unwinds. Like a file stream closed by
    /// its destructor, an error of that commit is not reported: both selections are then as at
    /// the start (or, when a callback handler raised, the announced change stands). To see errors,
    /// call commit().
    ~SeSelectionBatch() noexcept;

    /// Ends this scope now. The outermost commits the net result, unless the batch was cancelled
    /// (then it is abandoned, as described above), and raises what the selection's observers
    /// raise: the selector then puts its selection back (the updater puts the application's
    /// selection back too, without callbacks), so both selections are as at the start; should a
    /// callback handler raise, the change was announced and stands. A nested scope only ends its
    /// level. Raises RCExInvalidCall when the scope has ended already.
    void commit();
    ///@{
    /// Abandons the whole batch when its outermost scope ends; changes made meanwhile are still
    /// read inside it.
    void cancel() noexcept;
    bool isOutermost() const noexcept { return outermost; }
    ///@}
    /// Whether commit() ended this scope.
    bool isEnded() const noexcept { return ended; }

private:
    RCShdPtr<SeShapeSelector> selector;
    int uncaughtAtStart;
    bool outermost;
    bool ended = false;
};

} // namespace Vo
