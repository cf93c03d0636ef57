#pragma once

#include "SeSelectorUpdater.h"

#include "foundation/FlatMap.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"
#include "host/graph/PiPath.h"
#include "host/selection/SnItemRun.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <climits>
#include <cstdint>

namespace Vo {

// What a SeSelectorUpdater keeps behind its one pointer: the records of what each selection last
// mirrored of the other, the ids of the selected shapes for removal events, and the mirroring
// itself, both ways. Owned by the updater; reads and writes the updater's own fields (the
// controller, the selector, both selections, the editor's node, the update guard, the item filter)
// through references to them.
class SeSelectorUpdaterPrivate {
public:
    explicit SeSelectorUpdaterPrivate(SeSelectorUpdater &owner) noexcept;

    // The updater's calls, as it describes them.
    void update(const ObHints &hints);
    void republish();
    bool isPublished() const noexcept;
    void onShapeRemoved(const SeShapeEvent &event);

    // How many selected items each shape id has, as last mirrored, and the last of them to come
    // in; valid only while selectedIdsKnown. With the items that have parts counted, and every
    // shape known alive by the selector, a removal event takes the one item out.
    struct SelectedId {
        int count = 0;
        const SnItem *item = nullptr;
    };
    // Flat: a shape costs no allocation of its own here. Keys are ids widened, so every int is
    // one.
    using SelectedIds = FlatMap<std::int64_t, SelectedId, INT64_MIN>;

private:
    // Which callback lists one `update` runs, across all its hints.
    struct Changes {
        bool primary = false;
        bool shapes = false;
        bool selection = false;
    };
    // Where the part items of the single selected shape sit in the application's selection, as
    // last mirrored: the points' items first, then the handles'.
    struct PartsLayout {
        int pointItems = 0;
        int handleItems = 0;
        // Items per point (handle) when every element gives as many; -1 otherwise.
        int pointWidth = 0;
        int handleWidth = 0;
        // The curve's "Points" is one plain input: one item stands for every selected point.
        bool pointsSingle = false;
        // Elements of the points (gradient) input when mirrored: a renumbering mirrored by one
        // index needs the graph changed first, by one element. -1 when not read.
        int pointElements = -1;
        int handleElements = -1;
        RCShdPtr<PiPath> path;
    };
    // The application's selection as the mirror of the editor's, when last written or found equal:
    // a one-item change between those revisions is mirrored by the one item it changed.
    struct EditorMirror {
        std::uint64_t editorRevision = 0;
        std::uint64_t hostRevision = 0;
        // The node item is refused by the item filter and every shape's item passes it: the host
        // view is the shapes' object items.
        bool regular = false;
        PartsLayout parts;
    };
    // The editor's selection as the mirror of the application's, when last written or found equal:
    // the application's items after the first `leading` ones (which stand for no shape, as the
    // editor's node) each stood for a live shape, at the same place less `leading`.
    struct HostMirror {
        std::uint64_t hostRevision = 0;
        std::uint64_t editorRevision = 0;
        int leading = 0;
    };
    // The application's selection before the updater mirrored the editor's last change into it:
    // should the selector put that change back after a fault, the application's selection goes
    // back to it too, whoever wrote it. Forgotten at the next change of the application's.
    struct HostBefore {
        std::uint64_t editorBefore = 0; // the editor's revisions around the change mirrored
        std::uint64_t editorAfter = 0;
        std::uint64_t hostRevision = 0; // the application's selection's revision then
        // Its items then; null when they were the mirror of the editor's selection before the
        // change (the editor was published), which the put-back mirrors again.
        RCShdPtr<SnSelection const> items;
        // The record of the editor's mirror when the editor was published then: a refused change
        // leaves it published.
        bool published = false;
        EditorMirror mirror;
    };
    // While a removal event takes out the item of a shape whose editing side is gone: the item,
    // and the id the event gave, which its shape can no longer tell.
    struct EndedLeaving {
        const SnItem *item = nullptr;
        int id = 0;
    };

    // Whether the application's selection shows this editor: written by it, or mirrored into it.
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
    // The shape's part items as slices: a row (SeElementItems) for the points and one for the
    // handles, whose items are made only when someone reads them.
    void appendPartItems(const RCWeakPtr<SeShapeInterface> &shape, SnSelection::Slices &slices,
                         PartsLayout &layout) const;
    // A list handed over (moved in, the only holder) gives its items up.
    void writeGuarded(SnSelection &target, RCShdPtr<SnSelection const> items);
    // The items move into the selection; the list is left empty with its room kept.
    void spliceGuarded(SnSelection &target, int position, int count,
                       Vector<RCShdPtr<SnItem const>> &&items);
    void countSelected(const RCShdPtr<SnItem const> &item, int delta);
    void knowIds(bool allAlive) noexcept;
    bool removeByEvent(int id);

    // The one-item mirroring (SeSelectorUpdaterSplice.cpp): each gives false, having changed
    // nothing, when the change must be mirrored in full.
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
    // Debug builds only: names an application that renumbered before changing its graph.
    static void reportEarlyRenumbering(const SeShapeSelector::PartsChange &note,
                                       const RCWeakPtr<SeShapeInterface> &shape, int elements);
    bool followHostSplice(const SnSelectionChangeHint &change, Changes &changes);
    void rememberHostMirror(bool followable, int leading);

    // The updater's own fields, which it keeps where its users expect them.
    SeShapeEditorControllerInterface &controller;
    RCShdPtr<SeShapeSelector> &selector;
    RCShdPtr<SnSelection> &hostSelection;
    RCShdPtr<SnSelection> &selectorSelection;
    RCShdPtr<PiNode> &editorNode;
    bool &updating;
    SeSelectorUpdater::ItemPredicate &itemFilter;

    SelectedIds selectedIds;
    bool selectedIdsKnown = false;
    int itemsWithParts = 0;
    EndedLeaving endedLeaving;
    EditorMirror editorMirror;
    HostMirror hostMirror;
    HostBefore hostBefore;
    // The revisions of both selections when the editor last took the application's selection in
    // (it named this editor's shapes).
    HostMirror hostFollowed;
    // While a removal event of an editor the application's selection does not show runs: the
    // editor's shapes before it.
    const Vector<RCWeakPtr<SeShapeInterface>> *unshownBefore = nullptr;
};

} // namespace Vo
