#pragma once

#include "SeSelectionChange.h"
#include "SeShape.h"
#include "SeShapeInterface.h"
#include "VoShapeExport.h"

#include "base/CbEmptyType.h"
#include "base/LkCounter.h"
#include "base/RCBase.h"
#include "foundation/CbDispatcher.h"
#include "foundation/CbHandler.h"
#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Set.h"
#include "foundation/Vector.h"
#include "host/ObObserver.h"
#include "host/selection/Sn.h"
#include "host/selection/SnItemRun.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Vo {

class SnItem;
class SeShapeParts;
class SeSelectionBatch;
class SeSelectedKeys;
class SeAliveShapes;

// The library's own instantiations, declared before the selector's members use them. Exported
// explicitly: CbEmptyType has no export of its own, so they would be hidden otherwise.
extern template class VO_SHAPE_API CbDispatcher<CbEmptyType>;
extern template class VO_SHAPE_API CbHandler<CbEmptyType>;

/// The selection model of one shape editor: which shapes are selected (one shape item per shape, in
/// selection order), which is primary (the selection's primary item), which points and gradient
/// handles of the primary shape are selected and in which order, the picking tool's state, and
/// three lists of change callbacks. Owns one SnSelection and expresses everything as its items;
/// holds the shapes' editing sides weakly.
///
/// Lifetime: the selector lives on the heap and is shared through RCShdPtr (create, or `new`
/// handed to an RCShdPtr at once); the last pointer to let go deletes it. Its destructor is
/// protected, so a selector kept on the stack or as a member does not compile: handed out as
/// RCShdPtr(&selector), it would be deleted by the first pointer to let go, and the program would
/// abort at teardown.
///
/// Commit rule: every changing operation builds its result aside, compares it with what is there
/// and hands it over with one call only when it differs. An unchanged result touches nothing and
/// notifies no one; an exception raised while the result is built leaves the selection as it was.
/// The selector never calls its notify operations itself: a change reaches the selection's
/// observers (the selection updater), which call them; an exception an observer raises passes to
/// the caller of the changing operation.
///
/// Which callback lists run for which change (the updater calls them, never the selector): the
/// selection protocol, told once in docs/selection-protocol.md (\ref md_docs_selection_protocol).
///
/// Errors: raises RCExCastFailed when the selection holds an item that is not a shape item, or a
/// primary item whose parts are not an SeShapeParts; RCExNullPtr for a null shape given where a
/// shape is needed and when a selected shape that must be reached is gone. Thread safety: the count
/// is atomic; everything else is for the editor's thread only.
///
/// Example (docs/examples/selecting.cpp, run as a test): an editor of the example application,
/// then points of the primary shape in selection order.
/// \snippet selecting.cpp editor
/// \snippet selecting.cpp points
class VO_SHAPE_API SeShapeSelector : public RCBase<LkCounter<int>> {
public:
    /// The picking tool's kinds belong to the editor that sets them; the selector stores the value.
    /// The enumeration names no value: spell one as `SeShapeSelector::PickingType{2}`.
    enum PickingType : std::int32_t {};

    /// A new, empty selector, already shared: the way to make one (see Lifetime above).
    static RCShdPtr<SeShapeSelector> create();

    ///@{
    /// An empty selection; picking type 0, picking index -1 and picking extremity -1 (nothing
    /// picked).
    SeShapeSelector();
    SeShapeSelector(const SeShapeSelector &) = delete;
    SeShapeSelector &operator=(const SeShapeSelector &) = delete;
    ///@}

    ///@{
    /// Callback lists (which run for which change: see the class comment). Adding a null or an
    /// already added handler, or removing one that is not there, does nothing.
    /// \param handler the caller's handler; the list keeps a link to it, not ownership, and the
    ///        handler unlinks itself when it is destroyed first
    void addSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const;
    void removeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const;
    void addShapeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const;
    void removeShapeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const;
    void addPrimarySelectionChangedCallback(CbHandler<CbEmptyType> *handler) const;
    void removePrimarySelectionChangedCallback(CbHandler<CbEmptyType> *handler) const;
    ///@}
    ///@{
    /// Runs one callback list: a notification calls the handlers added when it starts, in the
    /// order added.
    void notifySelectionChangedCallbacks() const;
    void notifyShapeSelectionChangedCallbacks() const;
    void notifyPrimarySelectionChangedCallbacks() const;
    ///@}

    ///@{
    /// Picking state: stored and given back, never interpreted; no notification.
    PickingType getPickingType() const noexcept { return pickingType; }
    int getPickingIndex() const noexcept { return pickingIndex; }
    int getPickingExtremity() const noexcept { return pickingExtremity; }
    ///@}
    /// \param type what the picking tool picks next, kept as given
    void setPickingType(PickingType type) noexcept { pickingType = type; }
    /// \param index the index the picking tool works on, any value, kept as given
    void setPickingIndex(int index) noexcept { pickingIndex = index; }
    /// \param extremity the end of the curve the picking tool works from, any value, kept as given
    void setPickingExtremity(int extremity) noexcept { pickingExtremity = extremity; }

    /// This very selection object, not a copy.
    RCShdPtr<SnSelection> getSelection() const { return selection; }
    /// Takes over the given selection's items unless they are equal; raises RCExNullPtr for null.
    /// \param items the selection to copy the items of; it is read, not kept
    void replaceAllItems(const RCShdPtr<SnSelection const> &items);
    /// Empties the selection unless it is empty already.
    void resetSelection();

    /// Number of items (a shape listed twice counts twice).
    int getNbSelectedShape() const;
    ///@{
    /// Append to the vector, in selection order; the vector is unchanged when nothing is selected
    /// or when the call raises. Weak pointers are handed out as they are, also for gone shapes;
    /// getSelectedShapes raises RCExNullPtr when a selected shape is gone.
    /// \param shapes the caller's vector, appended to
    void getSelectedShapeInterfaces(Vector<RCWeakPtr<SeShapeInterface>> &shapes) const;
    void getSelectedShapes(Vector<RCShdPtr<SeShape>> &shapes) const;
    ///@}
    /// False for an empty selection, whatever the argument. Without the identity-key promise
    /// (SeIdentityKey) from shape and every selected shape, reads every selected shape and asks
    /// shape->isEqual of each in turn: O(S) per call. With it, the keys of the selected shapes are
    /// read once per change of the selection and kept beside the selector; a call then costs O(1)
    /// on average and asks isEqual only of selected shapes with shape's key. A selected shape gone
    /// since the keys were read raises RCExNullPtr only when its key matches; one gone before they
    /// were read is passed over (no live shape can be equal to it), so the answer for a live shape
    /// does not depend on when the keys were read.
    /// \param shape the shape asked about; null raises RCExNullPtr
    bool isShapeSelected(const RCShdPtr<SeShape> &shape) const;
    /// Null when nothing is selected; may read as null when the primary shape is gone.
    RCWeakPtr<SeShapeInterface> getPrimarySelectedShapeInterface() const;
    /// Null when nothing is selected or the primary shape is gone.
    RCShdPtr<SeShape> getPrimarySelectedShape() const;

    /// Selects these shapes as wholes, in order, dropping any selected points and handles; gone
    /// shapes are left out and repetitions kept. Raises RCExNullPtr for a null entry.
    /// \param shapes the shapes, in the order they are to be selected; read, not kept
    void setSelectedShapes(const Vector<RCShdPtr<SeShape>> &shapes);
    /// Adds the shapes from the iterator's position to its end that are not selected yet, after the
    /// selected ones, which keep their items and parts. The caller's iterator does not move.
    /// Whether a shape is selected is its SeObject::isEqual with each selected shape: the cost is
    /// the number of shapes walked times the number selected. When every selected shape makes the
    /// identity-key promise (SeIdentityKey), a walked shape that makes it too is looked up by key
    /// in a table built once per call, and isEqual is asked only of the selected shapes with its
    /// key: O(N + S) on average. An iterator at its end changes and reads nothing. Raises
    /// RCExNullPtr for a null element, or when there is an element and a selected shape is gone.
    /// \param shapes the iterator at the first shape to add; walked on a copy
    void selectAllShapes(Iterator<RCShdPtr<SeShape>> &shapes);
    /// The same from a temporary iterator, such as the one an owner hands out.
    /// \param shapes the iterator at the first shape to add
    void selectAllShapes(Iterator<RCShdPtr<SeShape>> &&shapes) { selectAllShapes(shapes); }
    /// Selects this shape alone; with a point index other than -1 and editable points, that point
    /// too. A null shape or a gone one empties the selection.
    /// \param shape the shape to select alone
    /// \param pointIndex the point to select with it, or -1 for the shape as a whole; not checked
    ///        against the shape's points (see the precondition on points below)
    void setPrimarySelectedShape(const RCShdPtr<SeShape> &shape, int pointIndex);
    ///@{
    /// One shape at a time; the other items keep their place, their parts and the primary role.
    /// addSelectedShape appends the shape as a whole after the selected ones (it becomes primary
    /// only in an empty selection); a selected shape (as isShapeSelected tells) or a gone one
    /// changes nothing and notifies no one. unselectShape removes the first selected item of a
    /// shape equal to it (the next item becomes primary when it was); a shape that is not selected
    /// changes nothing. Both raise RCExNullPtr for a null shape, and as isShapeSelected does. Cost:
    /// O(1) on average, apart from the selection's notification, when the shape and the selected
    /// ones make the identity-key promise; else one isEqual per selected shape. The change reaches
    /// the selection's observers as the splice it is (see SnSelectionChangeHint).
    /// \param shape the shape to add or to take out
    void addSelectedShape(const RCShdPtr<SeShape> &shape);
    void unselectShape(const RCShdPtr<SeShape> &shape);
    ///@}

    /// Selects the shape with exactly these points and handles, in this order, in one change: its
    /// first selected item takes them, keeping its place and the primary role, or the shape is
    /// appended when it is not selected (primary only in an empty selection). Null for both keeps
    /// (makes) the shape whole; null for one gives that set empty, as does an empty vector. What a
    /// keeper of selections (SeSelectionSnapshot) restores shape by shape. A gone shape changes
    /// nothing; raises RCExNullPtr for a null shape, and as isShapeSelected does. The indices are
    /// those of the points and handles below: one shape selected alone mirrors them element by
    /// element, and an index without element is refused (SeExMissingElement) with nothing changed.
    /// \param shape the shape to select with these parts
    /// \param points the point indices in selection order, or null (see above); read, not kept
    /// \param handles the handle indices in selection order, or null (see above); read, not kept
    void setShapeParts(const RCShdPtr<SeShape> &shape, const Vector<int> *points,
                       const Vector<int> *handles);

    ///@{
    /// Points and handles of the primary shape. With no primary shape, or a gone one, the changing
    /// operations change nothing. Counts are the shape's number of points (handles); a negative
    /// count is taken as 0.
    ///
    /// Precondition: an index names a point (handle) the shape has. The selector does not check it
    /// and stores any index; but while exactly one shape is selected, the updater mirrors each
    /// selected index as the inputs of that element of the curve's "Points" (of the gradient), and
    /// for an index without element (any handle of a shape without a gradient) it raises
    /// SeExMissingElement, naming the shape and the index, from the changing operation. The selector
    /// then puts its old items back, which its observers take as no change: both selections are as
    /// they were, and no callback runs.
    ///
    /// Parts: a shape is selected as a whole (no parts) or with parts, the selected points and
    /// handles. Parts that hold no index are a state of their own: selectPoints with an empty
    /// vector, or updateSelectionPointDeleted (HandleDeleted) of the only selected index, leave it.
    /// It mirrors like the whole shape, but getSelectedPoints (Handles) gives an empty vector, and
    /// unselectPoints and unselectHandles change nothing. To return to the whole shapes, select
    /// them again: setSelectedShapes with what getSelectedShapes gives (one change).
    ///
    /// Makes the index the only selected point (handle): the point (handle) selection is replaced,
    /// the other set stays.
    /// \param index the point (handle) of the primary shape to select
    void selectPoint(int index);
    void selectHandle(int index);
    ///@}
    ///@{
    /// Makes these indices, in this order, the selected points (handles); the other set stays. An
    /// index given twice counts once, at its first place.
    /// \param indices the point (handle) indices of the primary shape, in selection order
    void selectPoints(const Vector<int> &indices);
    void selectHandles(const Vector<int> &indices);
    ///@}
    ///@{
    /// Adds 0 .. count - 1 after the selected indices, which keep their ranks; the missing ones
    /// follow in ascending order. Linear in count and the number selected.
    /// \param count the primary shape's number of points (handles)
    void selectAllPoints(int count);
    void selectAllHandles(int count);
    ///@}
    ///@{
    /// Select, alone, the index after (before) the rank-1 selected one, wrapping at `count`; 0 when
    /// none is selected. Nothing happens for a count of 0 or less.
    /// \param count the primary shape's number of points (handles)
    void selectNextPoint(int count);
    void selectNextHandle(int count);
    void selectPreviousPoint(int count);
    void selectPreviousHandle(int count);
    ///@}
    ///@{
    /// Clears the selected points (handles); when no handle (point) is selected either, the shape
    /// is selected as a whole. Parts that hold no index stay as they are (see Parts above).
    void unselectPoints();
    void unselectHandles();
    ///@}
    ///@{
    /// One index at a time, the other selected indices keeping their order: add appends the index
    /// at the end of the selection order (a whole shape gets parts holding just it); a selected
    /// index changes nothing. unselect removes it; an index that is not selected changes nothing,
    /// and when no point and no handle stay selected, the shape is selected as a whole, as with
    /// unselectPoints.
    /// \param index the point (handle) of the primary shape to add or to take out
    void addSelectedPoint(int index);
    void unselectPoint(int index);
    void addSelectedHandle(int index);
    void unselectHandle(int index);
    ///@}
    ///@{
    /// Selected indices in selection order; the vector is replaced, or left as it was when the
    /// primary shape has no parts.
    /// \param points the caller's vector, replaced
    void getSelectedPoints(Vector<int> &points) const;
    /// \param handles the caller's vector, replaced
    void getSelectedHandles(Vector<int> &handles) const;
    ///@}
    ///@{
    /// Inserts the selected indices into the set (ascending order); the set is not cleared.
    /// \param points the caller's set, added to
    void getOrderedSelectedPoints(Set<int, std::less<int>> &points) const;
    /// \param handles the caller's set, added to
    void getOrderedSelectedHandles(Set<int, std::less<int>> &handles) const;
    ///@}
    ///@{
    /// 1-based position in selection order; 0 when not selected.
    /// \param index the point (handle) of the primary shape asked about
    int getPointSelectionRank(int index) const;
    int getHandleSelectionRank(int index) const;
    ///@}
    ///@{
    /// Renumber the selected indices of `shape` after an index was inserted at (removed from)
    /// `index` of it: every selected item of that shape that has parts, primary or not, in one
    /// change; nothing happens when none has. The inserted index is not selected; a removed one is
    /// dropped. Indices wrap at the int range. Linear in the number selected; runs of consecutive
    /// indices go in a word of membership bits at a time. When only the primary item has parts,
    /// that is the whole cost; when another item has parts too, the selection is walked once.
    /// Order: change the graph first (insert or remove the element), then renumber. The renumbered
    /// selection reaches the updater at once, and it finds the inputs by index in the graph as it
    /// is: renumbered before the change, the application's selection gets the inputs of the wrong
    /// points, or, for an index past the old end, the updater raises SeExMissingElement and the
    /// renumbering is undone.
    /// \param shape the shape whose points (handles) the application renumbered
    /// \param index where the index was inserted (from where it was removed)
    void updateSelectionPointAdded(const RCWeakPtr<SeShapeInterface> &shape, int index);
    void updateSelectionPointDeleted(const RCWeakPtr<SeShapeInterface> &shape, int index);
    void updateSelectionHandleAdded(const RCWeakPtr<SeShapeInterface> &shape, int index);
    void updateSelectionHandleDeleted(const RCWeakPtr<SeShapeInterface> &shape, int index);
    ///@}

    /// What a removal event does to the selection: the first selected shape with this id leaves it,
    /// with every selected shape whose editing side is gone, and the rest are selected as wholes
    /// in order; nothing changes when neither is there. Outside a batch this walks the selection
    /// once; inside one it costs O(1) and the selection is worked out at the next read or change.
    /// \param shapeId the id of the shape that was removed (its graph object's SeObject::getId)
    void removeSelectedShape(int shapeId);

    /// Batches (opened and ended by SeSelectionBatch). While one is open, every operation above
    /// reads and changes a working selection; getSelection() keeps the state of the batch's start
    /// until its end commits the net result with one write, or abandons it.
    bool isBatchOpen() const noexcept { return batch != nullptr; }
    /// What the operations read: inside a batch its working selection (with the removal events
    /// received so far applied, which may raise as removeSelectedShape does), otherwise
    /// getSelection(). Only for reading, and only until the next change.
    RCShdPtr<SnSelection const> getCurrentSelection() const;
    /// While the selection object notifies the commit of a batch: the selection as it was before
    /// that commit. Null otherwise.
    const RCShdPtr<SnSelection const> &getCommitOrigin() const noexcept { return commitOrigin; }
    /// True while the selector puts its selection back after such a commit raised, or after a
    /// change for which the updater raised SeExMissingElement: observers take that change as no
    /// change (the updater puts the application's selection back as it was, without callbacks; a
    /// history forgets the step it recorded for the failed commit).
    bool isRestoringAfterFault() const noexcept { return restoringAfterFault; }
    /// True while an abandoned batch tells the observers again of its start state (read with
    /// isRestoringAfterFault): no change of the selection failed, so the application's selection
    /// becomes the mirror of that state, not what it held before the last change.
    bool isAbandoningBatch() const noexcept { return abandoningBatch; }

    /// For keepers of earlier states, such as SeSelectionHistory.
    ///
    /// Puts these items back as the selection, in one write, unless they are equal to it: the
    /// updater mirrors them and the callback lists run as for any change. When an observer raises
    /// before any callback list ran, the selector puts the old items back (observers take that as
    /// no change) and the error passes on. Raises RCExNullPtr for null.
    /// \param items the selection to put back; read, not kept
    void restoreSelection(const RCShdPtr<SnSelection const> &items);
    /// The same for one stretch of the selection: these items in place of the `count` items from
    /// position, in one write, unless they are equal to them; the observers hear of that splice
    /// (see SnSelectionChangeHint), so they may follow it by the items it changed. Raises
    /// RCExInvalidCall for a stretch outside the selection and RCExNullPtr for a null item,
    /// changing nothing. The put-back after an observer's error is a splice too; should an observer
    /// have changed the stretch again meanwhile, it is left as the observers made it.
    /// \param position the first item of the stretch
    /// \param count the number of items the stretch holds now
    /// \param items what the stretch holds after the call, in order
    void restoreRange(int position, int count, const Vector<RCShdPtr<SnItem const>> &items);
    /// What the application reported through updateSelection...: an index inserted at (removed
    /// from) `index` of the points (points true) or the handles of `shape`.
    struct Renumbering {
        /// The shape reported on.
        RCWeakPtr<SeShapeInterface> shape;
        /// True for a point, false for a handle.
        bool points;
        /// The index inserted or removed.
        int index;
        /// True when inserted, false when removed.
        bool added;
    };
    ///@{
    /// Handlers hear of each report before the selection is renumbered, also when the selection
    /// holds no parts of that shape; adding a null or present handler, or removing an absent one,
    /// does nothing. A handler's error passes to the caller once the selection was renumbered.
    /// \param handler the caller's handler, linked, not owned
    void addRenumberingCallback(CbHandler<Renumbering const> *handler) const;
    void removeRenumberingCallback(CbHandler<Renumbering const> *handler) const;
    ///@}
    /// The item as the selector renumbers its primary item for that report: a new item when it is
    /// a shape item of that shape whose parts change, else the item itself.
    /// \param item the item as it was before the report
    /// \param renumbering the report
    static RCShdPtr<SnItem const> renumberedItem(const RCShdPtr<SnItem const> &item,
                                                 const Renumbering &renumbering);

    /// How the selector made the parts of its primary item `to` from those of `from` by one index,
    /// so that an observer (the updater, a view) can follow the difference instead of reading every
    /// index. Kept for the last such change only, with both items; any other change of the parts
    /// leaves an older description, which names other items.
    struct PartsChange {
        /// How the parts changed.
        enum class Kind : std::uint8_t {
            appended,  // `index` was appended to the selection order
            removed,   // `index` left from the 1-based `rank`
            renumbered // the application inserted (`added`) or removed `index`; a removed one that
                       // was selected left from `rank` (0 when it was not selected)
        };
        ///@{
        /// The primary item before and after.
        RCShdPtr<SnItem const> from;
        RCShdPtr<SnItem const> to;
        ///@}
        /// True when the points' order changed, false for the handles'.
        bool points = true; // the points' order changed, else the handles'
        /// What happened to `index`.
        Kind kind = Kind::appended;
        /// The index appended, removed or renumbered.
        int index = 0;
        /// The 1-based rank it left (0 when it was not selected).
        int rank = 0;
        /// For a renumbering: inserted (true) or removed (false).
        bool added = false;
    };
    /// The last such change (see PartsChange).
    const PartsChange &getLastPartsChange() const noexcept { return partsChange; }
    /// For observers that keep what they derived from the selected shapes (the updater, a
    /// history): whether every selected shape is known to be alive without reading them, O(1).
    /// The selector follows its selection's splices and looks at the shapes that come in; a change
    /// of the whole list, or the end of a shape this selector held, leaves it unknown (false) until
    /// lookAtShapesAlive reads them all again. Other objects that end, other editors' shapes among
    /// them, leave it standing.
    bool areShapesKnownAlive() const noexcept;
    /// Reads every selected shape when that is not known (O(S)); whether all are alive, which
    /// areShapesKnownAlive then answers in O(1).
    bool lookAtShapesAlive() const;

    /// What the last change of the selection object was (see SeSelectionChange): read it from a
    /// callback, which runs after the change; it describes the change until the next one, whoever
    /// made it (an operation here, the updater mirroring the application, a history's restore).
    const SeSelectionChange &getLastChange() const noexcept { return lastChange; }

protected:
    /// Releases the selection, then the three callback lists, each unlinking its handlers. Only the
    /// last RCShdPtr destroys a selector (see Lifetime above).
    ~SeShapeSelector() override;

private:
    friend class SeSelectionBatch;
    struct BatchState;

    ///@{
    /// The selection the operations read and change: the working one inside a batch, with the
    /// removals received so far applied.
    SnSelection &current() const;
    void settleRemovals() const;
    void beginBatch();
    ///@}
    ///@{
    /// Ends one level; the outermost commits unless `keep` is false or the batch was cancelled.
    void endBatch(bool keep);
    void cancelBatch() noexcept;
    void abandon(BatchState &ended) noexcept;
    void replayEdits(BatchState &ended) noexcept;
    ///@}
    /// Marks the change being written as announced, then runs the list.
    void announce(CbDispatcher<CbEmptyType> &list) const;
    /// Which errors of a write put the old items back: an index without element only, or any
    /// error raised before the change was announced.
    enum class PutBack { onMissingElement, beforeAnnouncement };
    /// Hands `items`, which differ, to the selection object, putting the old items back by `rule`;
    /// showOrigin lets the observers read the old items (getCommitOrigin) meanwhile.
    void write(const RCShdPtr<SnSelection const> &items, PutBack rule, bool showOrigin);

    struct PartsChannel;
    struct PrimaryShape;
    static const PartsChannel pointsChannel;
    static const PartsChannel handlesChannel;

    bool findPrimaryShape(PrimaryShape &primary) const;
    RCShdPtr<SeShapeParts> copyParts(const SnItem &item) const;
    static RCShdPtr<SeShapeParts> partsWithout(const PartsChannel &channel,
                                               const RCShdPtr<SeShapeParts const> &current);
    /// Makes parts the item's (the primary one's, but for setShapeParts), unless equal; `change`,
    /// when given, describes how (see PartsChange) to the observers of that change.
    void install(const PrimaryShape &primary, const RCShdPtr<SnParts> &parts,
                 const PartsChange *change = nullptr);
    ///@{
    /// Takes the result over: a whole list goes in without a copy of its items.
    void commit(RCShdPtr<SnSelection> result);
    bool spliceIn(const SnSelection &result);
    ///@}
    ///@{
    /// A pointer handed over (moved in, the only holder) gives its items up.
    void handOver(RCShdPtr<SnSelection const> items);
    /// `start`: the selection object's revision before the write that is put back.
    template <class Restore> void putBack(std::uint64_t start, Restore restore) noexcept;
    void collectShapes(Vector<RCWeakPtr<SeShapeInterface>> &shapes) const;
    const SeSelectedKeys &keysOf(const SnSelection &items) const;
    ///@}
    ///@{
    /// The first selected item of a shape equal to shape; null when there is none. `place`, when
    /// given, receives where it was last known to sit (see SeSelectedKeys::Found).
    RCShdPtr<SnItem const> findSelectedItem(const RCShdPtr<SeShape> &shape,
                                            std::size_t *place = nullptr) const;
    static RCShdPtr<SnItem const> firstEqualAlive(const SnSelection &items, const SeShape &shape);
    ///@}
    ///@{
    /// For the updater's walk over the whole selection, which reads every selected shape anyway: a
    /// key table to fill for the selection as it is now, or null when the selector has one (or a
    /// batch is open); adoptKeys takes it once filled, if the selection is still as it was.
    friend class SeSelectorUpdater;
    std::unique_ptr<SeSelectedKeys> keysToFill() const;
    void adoptKeys(std::unique_ptr<SeSelectedKeys> keys) const noexcept;
    ///@}

    void selectIndex(const PartsChannel &channel, int index);
    void selectIndices(const PartsChannel &channel, const Vector<int> &indices);
    void selectAll(const PartsChannel &channel, int count);
    void selectNeighbour(const PartsChannel &channel, int count, bool forward);
    void unselect(const PartsChannel &channel);
    void addSelectedIndex(const PartsChannel &channel, int index);
    void unselectIndex(const PartsChannel &channel, int index);
    const Vector<int> *selectedIndices(const PartsChannel &channel) const;
    int selectionRank(const PartsChannel &channel, int index) const;
    void renumber(const PartsChannel &channel, const RCWeakPtr<SeShapeInterface> &shape, int index,
                  bool added);
    void renumberSelection(const PartsChannel &channel, const RCWeakPtr<SeShapeInterface> &shape,
                           int index, bool added);
    void renumberEveryItem(const PartsChannel &channel, const RCWeakPtr<SeShapeInterface> &shape,
                           int index, bool added);
    bool hasPartsBeyondPrimary() const;

    mutable CbDispatcher<CbEmptyType> primarySelectionChangedDispatcher;
    mutable CbDispatcher<CbEmptyType> shapeSelectionChangedDispatcher;
    mutable CbDispatcher<CbEmptyType> selectionChangedDispatcher;
    mutable CbDispatcher<Renumbering const> renumberingDispatcher;
    PickingType pickingType;
    int pickingIndex;
    int pickingExtremity;
    RCShdPtr<SnSelection> selection;
    std::unique_ptr<BatchState> batch;
    RCShdPtr<SnSelection const> commitOrigin;
    bool restoringAfterFault = false;
    bool abandoningBatch = false;
    ///@{
    /// Set by the notify operations: the change being written was announced, and stands.
    mutable bool announced = false;
    PartsChange partsChange;
    ///@}
    /// The selected shapes by identity key, read by the updater's walk after a whole change (else
    /// at the first look-up) and carried along splices by watch, the selection's first observer.
    mutable std::unique_ptr<SeSelectedKeys> selectedKeys;
    ///@{
    /// Whether every selected shape is alive, known while none of them ends; kept by watch.
    std::unique_ptr<SeAliveShapes> aliveShapes;
    SeSelectionChange lastChange;
    ///@}
    /// How many items of one list (the selection, or a batch's working one) have parts, at one of
    /// its revisions: read once after a whole change, carried along splices by watch, so that a
    /// renumbering knows at once whether items other than the primary one need it.
    struct PartsTally {
        const SnSelection *list = nullptr;
        std::uint64_t revision = 0;
        std::size_t count = 0;
    };
    mutable PartsTally partsTally;
    void followPartsTally(const SnSelectionChangeHint &change) noexcept;
    /// The selector's own observer of its selection: carries the key table along and describes
    /// each change, before any other observer hears of it.
    struct Watch : ObObserver<Sn> {
        explicit Watch(SeShapeSelector &owner) noexcept : selector(owner) {}
        void update(ObSubject<Sn> *subject, const ObHints &hints) override;
        SeShapeSelector &selector;
    };
    Watch watch{*this};
    void describe(const SnSelectionChangeHint &change) noexcept;
    void describeRenumbering() noexcept;
    void describeForeseen() noexcept;
    /// Fills `into` with how the items `gone`, from `position`, gave way to `come`; false when that
    /// takes more than `limit` places.
    bool describeDelta(SeSelectionChange &into, int position, SnItemRun gone, SnItemRun come,
                       std::size_t limit) const;
    void describeParts(SeSelectionChange &into, const SnItem *before, const SnItem *after) const;
    RCWeakPtr<SeShapeInterface> primaryBefore(const SnSelectionChangeHint &change) const;
    /// Describes, while the lists are at hand, the change of the whole list to `after` about to be
    /// written, when it is small (see SeSelectionChange).
    void foresee(const SnSelection &after) noexcept;
    static constexpr std::uint64_t kNoRevision = UINT64_MAX;
    /// The change described before lastChange, put back with the selection after a refused write.
    SeSelectionChange previousChange;
    /// The primary shape after the last change described, and the revision that change led to.
    RCWeakPtr<SeShapeInterface> shownPrimary;
    std::uint64_t shownRevision = kNoRevision;
    /// What describe takes for the change that leaves from revision foreseenFrom (a whole write) or
    /// renumberingFrom (a renumbering being written); kNoRevision when none is being written.
    SeSelectionChange foreseen;
    std::uint64_t foreseenFrom = kNoRevision;
    Renumbering renumbering{};
    std::uint64_t renumberingFrom = kNoRevision;
};

extern template class RCBasePtr<SeShapeSelector>;
extern template class RCShdPtr<SeShapeSelector>;
extern template class Iterator<RCShdPtr<SeShape>>;
extern template class RCPvtEngPtr<IteratorImp<RCShdPtr<SeShape>>>;

} // namespace Vo
