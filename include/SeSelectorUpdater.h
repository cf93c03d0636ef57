#pragma once

#include "SeFrameworkPointers.h"
#include "SeShapeEditorControllerInterface.h"
#include "SeShapeEvent.h"
#include "SeShapeSelector.h"
#include "VoShapeExport.h"

#include "base/LkCounter.h"
#include "base/RCBase.h"
#include "foundation/CbMethod.h"
#include "foundation/FlatMap.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"
#include "host/ObObserver.h"
#include "host/PrdPredicate.h"
#include "host/PrdPredicateImp.h"
#include "host/graph/PiPath.h"
#include "host/selection/Sn.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <cstdint>
#include <functional>

namespace Vo {

class PiNode;

/// Keeps the editor's selection (the selector's SnSelection) and the application's global selection
/// (the composition graph's) in step, both ways, and is the one caller of the selector's three
/// notify operations. Observes both selections, subscribes to shape removals at the controller, and
/// drops removed shapes from the selection, together with any selected shape whose editing side is
/// gone (the removed one may be among them; a removal never raises for them). Borrows the
/// controller (which must outlive it); shares the selector, both selections and the editor node.
///
/// Which of the selector's callback lists it runs after a change of either selection, in which
/// order, and what it writes into the application's selection, when: the selection protocol,
/// told once in docs/selection-protocol.md (\ref md_docs_selection_protocol).
///
/// The item filter: which items of the application's selection may stand for shapes. The updater
/// looks at no other item: they are what the editor's shapes are compared with (which decides the
/// primary and shapes callbacks) and what it asks findShape about. It is the updater's own test,
/// that the item's graph object lives in a tool node, followed by the application's predicate. The
/// own test does not keep nodes out: a node is its own owner, so a selected tool node passes it,
/// and then counts as a first item that is not the editor's first shape. Give a predicate that
/// refuses nodes, such as graphObjectsNotNodes().
///
/// One item at a time: a change of either selection that its change hint reports as a splice of one
/// item (SnSelectionChangeHint), made while the other selection is still what the updater last
/// wrote there or found equal, is mirrored by that one item: a shape's object item in or out at its
/// place, or, for the single selected shape, the items of the one point or handle the selector's
/// last parts change (SeShapeSelector::PartsChange) added or removed, in either direction (as undo
/// and redo put items back). The application's selection is changed by one splice, or not at all
/// when the mirror stays the same (a renumbering whose graph changed first, parts of a primary
/// shape among several), and the callback lists are those the full mirroring decides. Everything
/// else is mirrored in full, as above: a whole write, a batch's commit, a put-back after a fault,
/// an application's item that stands for no live shape or comes before the editor's node, an item
/// filter that lets the editor's node or refuses a shape's object, and any change while the
/// selector does not know every selected shape alive (SeShapeSelector::areShapesKnownAlive: after
/// the end of a shape it held, until the next whole mirroring reads them all), since the full
/// mirroring leaves a gone shape out. The application's one-item changes are followed so after its
/// selection was taken in once (the editor's node item, or any other item that stands for no shape,
/// may come first).
///
/// Batches (SeSelectionBatch): while one is open on the selector, removal events only queue the id
/// (O(1)) and the application's selection is mirrored into the working selection, with no
/// callbacks; the commit at the end is one change of the editor's selection, mirrored once, whose
/// callbacks also count what changed since the batch's start (primary shape, shapes). When the
/// selector puts its selection back after a change that failed (a commit that raised, an index
/// without element), the updater puts back what the application's selection held before that
/// change, whoever wrote it, without callbacks. Outside a batch, a removal event for a shape that
/// is not selected costs O(1): the updater keeps the ids of the selected shapes as it mirrors. One
/// for a shape selected once, while every other selected shape is known alive and no item has
/// parts, takes that one item out of the editor's selection, a one-item change mirrored as such; so
/// also when that shape's editing side was released before the event, its end the one end since
/// every selected shape was known alive. Otherwise (another selected shape gone, parts, a shape
/// selected twice, or after a mirroring that raised) it walks the selection as described above.
///
/// Several editors, one application selection: an application with several layers gives each its
/// own controller, selector and updater, all on the same graph, and so the same application
/// selection. Each editor holds the shapes of its own controller (those findShape maps) that the
/// application's selection names, in its order; when it names none of them, the editor keeps its
/// selection (see above). An editor writes the application's selection only after a change made on
/// its side (its selector's operations, its removal events while it is shown, its history's undo
/// and redo, its batches) and when republish() is called, never in answer to the application's
/// selection: the write replaces the whole application's selection, so the other editors' shapes
/// leave it while those editors keep their own selections. The application's selection thus shows
/// the last editor to write (isPublished() tells whether it is this one); an application that
/// switches editors calls republish() on the one that becomes active, which writes its selection
/// out again even though it did not change. Give each updater an item test that accepts only its
/// own layer's objects (graphObjectsOf(toolNode)), so that another layer's items in the
/// application's selection count neither as this editor's shapes nor against them in the primary
/// and shapes callbacks. A removal event writes the application's selection only when it shows this
/// editor: the editor is published, or its selection is what it made of the application's current
/// one (the application named its shapes). Any other editor (another layer's, a second editor of
/// the same layer) takes the shape out of its own selection, runs its callbacks as for its own
/// change, and leaves the application's selection, and the editor it shows, alone. A refused change
/// of one editor (see SeShapeSelector's points and handles) leaves the application's selection
/// exactly as it was, the other editors' shapes included. Thread safety: the count is atomic;
/// everything else runs on the editor's thread.
///
/// Example (docs/examples/selecting.cpp): what the updater does after a change of the selector.
/// \snippet selecting.cpp select
class VO_SHAPE_API SeSelectorUpdater : public RCBase<LkCounter<int>>, public ObObserver<Sn> {
public:
    ///@{
    /// The application's test of items: derive from ItemTest, share it through ItemTestPtr;
    /// combine tests as ItemPredicate values with operator&.
    using ItemTest = PrdPredicateImp<RCShdPtr<SnItem const>>;
    using ItemTestPtr = RCShdPtr<ItemTest>;
    using ItemPredicate = PrdPredicate<RCShdPtr<SnItem const>>;
    ///@}

    /// Raises RCExNullPtr for a null graph or selector, or when the graph's node controller is
    /// gone; RCExCastFailed when the node controller is not a composition graph. A null predicate
    /// accepts every item. Nothing is synchronised until the first change of either selection.
    /// \param controller the editor's controller: its selector, graph and application selection
    /// \param predicate which of the application's items the updater takes into the editor; shared
    SeSelectorUpdater(SeShapeEditorControllerInterface &controller, const ItemTestPtr &predicate);
    /// The same with a predicate value, which may combine several tests (a & b); the default one
    /// accepts every item.
    /// \param controller the editor's controller: its selector, graph and application selection
    /// \param predicate which of the application's items the updater takes into the editor
    SeSelectorUpdater(SeShapeEditorControllerInterface &controller, const ItemPredicate &predicate);
    SeSelectorUpdater(const SeSelectorUpdater &) = delete;
    SeSelectorUpdater &operator=(const SeSelectorUpdater &) = delete;

    /// Mirrors a change of either selection into the other; see the class comment.
    /// \param subject the selection that changed: the editor's or the application's
    /// \param hints what changed (SnSelectionChangeHint)
    void update(ObSubject<Sn> *subject, const ObHints &hints) override;

    /// Several editors: writes this editor's selection into the application's selection now, as
    /// after a change made in the editor (the editor's node, its shapes, the single shape's parts),
    /// in one write when it differs; call it when the editor becomes the active one (see Several
    /// editors above). Runs no callback list: the editor's selection is unchanged. The
    /// application's observers hear the write, the other editors' updaters among them. Raises
    /// RCExInvalidCall while a batch is open on the selector, and as the mirroring does
    /// (SeExMissingElement for an index the graph no longer has), the application's selection then
    /// unchanged.
    void republish();
    /// Whether the application's selection is what this updater last wrote (or found equal) for
    /// the editor's selection as it is: the editor is the one the application's selection shows.
    /// False once anyone else writes it, also the same items. O(1).
    bool isPublished() const noexcept;

    /// The ready-made test that keeps nodes out: accepts a graph-object item whose graph object is
    /// not a node, such as a shape's object inside its tool node.
    static ItemTestPtr graphObjectsNotNodes();
    /// The ready-made test of one layer, for several editors on one graph: accepts a graph-object
    /// item whose graph object is not a node and lives in node (the layer's tool node). Shares the
    /// node; raises RCExNullPtr for null.
    /// \param node the layer's tool node
    static ItemTestPtr graphObjectsOf(const RCShdPtr<PiNode const> &node);
    ///@{
    /// The application's own test as any callable, such as a lambda (as the callback lists take
    /// CbFunction): `itemTest([&](const RCShdPtr<SnItem const> &item) { return ...; })`. Owns a
    /// copy of the callable; raises RCExNullPtr for an empty function.
    using ItemFunction = std::function<bool(const RCShdPtr<SnItem const> &)>;
    /// \param test true for an item the updater takes into the editor
    static ItemTestPtr itemTest(ItemFunction test);
    ///@}

protected:
    /// Detaches from both selections; the shape-event handler leaves the controller's dispatcher.
    ~SeSelectorUpdater() override;

private:
    /// Which callback lists one `update` runs, across all its hints.
    struct Changes {
        bool primary = false;
        bool shapes = false;
        bool selection = false;
    };
    /// Where the part items of the single selected shape sit in the application's selection, as
    /// last mirrored: the points' items first, then the handles'.
    struct PartsLayout {
        int pointItems = 0;
        int handleItems = 0;
        ///@{
        /// Items per point (handle) when every element gives as many; -1 otherwise.
        int pointWidth = 0;
        int handleWidth = 0;
        ///@}
        /// The curve's "Points" is one plain input: one item stands for every selected point.
        bool pointsSingle = false;
        ///@{
        /// Elements of the points (gradient) input when mirrored: a renumbering mirrored by one
        /// index needs the graph changed first, by one element. -1 when not read.
        int pointElements = -1;
        int handleElements = -1;
        RCShdPtr<PiPath> path;
        ///@}
    };
    /// The application's selection as the mirror of the editor's, when last written or found equal:
    /// a one-item change between those revisions is mirrored by the one item it changed.
    struct EditorMirror {
        std::uint64_t editorRevision = 0;
        std::uint64_t hostRevision = 0;
        ///@{
        /// The node item is refused by the item filter and every shape's item passes it: the host
        /// view is the shapes' object items.
        bool regular = false;
        PartsLayout parts;
        ///@}
    };
    /// The editor's selection as the mirror of the application's, when last written or found equal:
    /// the application's items after the first `leading` ones (which stand for no shape, as the
    /// editor's node) each stood for a live shape, at the same place less `leading`.
    struct HostMirror {
        std::uint64_t hostRevision = 0;
        std::uint64_t editorRevision = 0;
        int leading = 0;
    };

    /// The application's selection before the updater mirrored the editor's last change into it:
    /// should the selector put that change back after a fault, the application's selection goes
    /// back to it too, whoever wrote it. Forgotten at the next change of the application's.
    struct HostBefore {
        std::uint64_t editorBefore = 0; // the editor's revisions around the change mirrored
        std::uint64_t editorAfter = 0;
        std::uint64_t hostRevision = 0; // the application's selection's revision then
        /// Its items then; null when they were the mirror of the editor's selection before the
        /// change (the editor was published), which the put-back mirrors again.
        RCShdPtr<SnSelection const> items;
        ///@{
        /// The record of the editor's mirror when the editor was published then: a refused change
        /// leaves it published.
        bool published = false;
        EditorMirror mirror;
        ///@}
    };

    void onShapeRemoved(const SeShapeEvent &event);
    ///@{
    /// Whether the application's selection shows this editor: written by it, or mirrored into it.
    bool isShown() const noexcept;
    void removeUnshown(int id);
    void onUnshownRemoval(Changes &changes);
    void followedHost() noexcept;
    void onSelectorChanged(const SnSelectionChangeHint &change, Changes &changes);
    void keepHostBefore(const SnSelectionChangeHint &change);
    void onEditorPutBack(const SnSelectionChangeHint &change);
    void rememberFollowed(bool ours, const HostBefore &before) noexcept;
    void decideEditorCallbacks(Changes &changes) const;
    void publish();
    EditorMirror mirrorOfEditor(RCShdPtr<SnSelection> &mirrored);
    void onHostChanged(const SnSelectionChangeHint &change, Changes &changes);
    bool haveSameShapes(const SnSelection &hostView) const;
    void addCommitChanges(Changes &changes) const;
    void notify(const Changes &changes) const;
    ///@}
    /// The shape's part items as slices: a row (SeElementItems) for the points and one for the
    /// handles, whose items are made only when someone reads them.
    void appendPartItems(const RCWeakPtr<SeShapeInterface> &shape, SnSelection::Slices &slices,
                         PartsLayout &layout) const;
    /// A list handed over (moved in, the only holder) gives its items up.
    void writeGuarded(SnSelection &target, RCShdPtr<SnSelection const> items);
    ///@{
    /// The items move into the selection; the list is left empty with its room kept.
    void spliceGuarded(SnSelection &target, int position, int count,
                       Vector<RCShdPtr<SnItem const>> &&items);
    void countSelected(const RCShdPtr<SnItem const> &item, int delta);
    void knowIds(bool allAlive) noexcept;
    bool removeByEvent(int id);
    ///@}

    ///@{
    /// The one-item mirroring (SeSelectorUpdaterSplice.cpp): each gives false, having changed
    /// nothing, when the change must be mirrored in full.
    bool followEditorSplice(const SnSelectionChangeHint &change, Changes &changes);
    bool followShapesSpliced(int position, SnItemRun removed, SnItemRun added, Changes &changes);
    bool followItemReplaced(int position, const RCShdPtr<SnItem const> &before,
                            const RCShdPtr<SnItem const> &after, Changes &changes);
    bool followParts(const RCShdPtr<SnItem const> &before, const RCShdPtr<SnItem const> &after,
                     const RCWeakPtr<SeShapeInterface> &shape);
    bool spliceParts(bool points, int rank, int index, bool insert,
                     const RCWeakPtr<SeShapeInterface> &shape);
    bool elementsFollow(const SeShapeSelector::PartsChange &note,
                        const RCWeakPtr<SeShapeInterface> &shape);
    ///@}
    ///@{
    /// Debug builds only: names an application that renumbered before changing its graph.
    static void reportEarlyRenumbering(const SeShapeSelector::PartsChange &note,
                                       const RCWeakPtr<SeShapeInterface> &shape, int elements);
    bool followHostSplice(const SnSelectionChangeHint &change, Changes &changes);
    void rememberHostMirror(bool followable, int leading);
    ///@}

    SeShapeEditorControllerInterface &controller;
    RCShdPtr<SeShapeSelector> selector;
    RCShdPtr<SnSelection> hostSelection;
    RCShdPtr<SnSelection> selectorSelection;
    RCShdPtr<PiNode> editorNode;
    bool updating;
    CbMethod<SeSelectorUpdater, SeShapeEvent const> shapeEventHandler;
    PrdPredicate<RCShdPtr<SnItem const>> itemFilter;
    /// How many selected items each shape id has, as last mirrored, and the last of them to come
    /// in; valid only while selectedIdsKnown. With the items that have parts counted, and every
    /// shape known alive by the selector, a removal event takes the one item out.
    struct SelectedId {
        int count = 0;
        const SnItem *item = nullptr;
    };
    ///@{
    /// Flat: a shape costs no allocation of its own here. Keys are ids widened, so every int is
    /// one.
    using SelectedIds = FlatMap<std::int64_t, SelectedId, INT64_MIN>;
    SelectedIds selectedIds;
    bool selectedIdsKnown = false;
    int itemsWithParts = 0;
    ///@}
    /// While a removal event takes out the item of a shape whose editing side is gone: the item,
    /// and the id the event gave, which its shape can no longer tell.
    struct EndedLeaving {
        const SnItem *item = nullptr;
        int id = 0;
    };
    EndedLeaving endedLeaving;
    EditorMirror editorMirror;
    HostMirror hostMirror;
    HostBefore hostBefore;
    /// The revisions of both selections when the editor last took the application's selection in
    /// (it named this editor's shapes).
    HostMirror hostFollowed;
    /// While a removal event of an editor the application's selection does not show runs: the
    /// editor's shapes before it.
    const Vector<RCWeakPtr<SeShapeInterface>> *unshownBefore = nullptr;
};

extern template class RCBasePtr<SeSelectorUpdater>;
extern template class RCShdPtr<SeSelectorUpdater>;
extern template class CbMethod<SeSelectorUpdater, SeShapeEvent const>;
extern template class Iterator<RCShdPtr<PiInput>>;
extern template class RCPvtEngPtr<IteratorImp<RCShdPtr<PiInput>>>;

} // namespace Vo
