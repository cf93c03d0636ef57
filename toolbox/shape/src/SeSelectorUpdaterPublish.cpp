// The updater's mirroring of the editor's selection into the application's: the items it writes
// there (the editor's node, the shapes' objects, the single shape's part items), the callback lists
// a change made in the editor runs, and the put-back of the application's selection after a change
// the selector refused.

#include "SeSelectorUpdaterPrivate.h"
#include "SeShapeSelectorPrivate.h"

#include "SeAliveShapes.h"
#include "SeExMissingElement.h"
#include "SeSelectedKeys.h"
#include "SeShapeItems.h"
#include "SeUpdaterItems.h"

#include "base/RCExInvalidCall.h"
#include "foundation/RCWeakAccessor.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiSnItem.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/graph/PiStructuredInput.h"

#include <array>
#include <cstdint>
#include <utility>

namespace Vo {

namespace {

using Items = SeUpdaterItems;

// The shapes of a selection's items, in order, as their editing sides.
Vector<RCWeakPtr<SeShapeInterface>> shapesOf(const SnSelection &selection) {
    Vector<RCWeakPtr<SeShapeInterface>> shapes;
    SeShapeItems::collect(selection, shapes);
    return shapes;
}

// Counts the selected shapes' ids a few shapes behind the walk that meets them, each one's cell
// prefetched when it is met: at 10^5 shapes the table is larger than the cache, and a miss per
// shape was most of the walk's time. The caller sizes the table first.
template <class Ids> class DelayedIdCount {
public:
    explicit DelayedIdCount(Ids &ids) noexcept : ids(ids) {}
    DelayedIdCount(const DelayedIdCount &) = delete;
    DelayedIdCount &operator=(const DelayedIdCount &) = delete;
    ~DelayedIdCount() = default;

    void add(std::int64_t id, const SnItem *item) {
        ids.prefetch(id);
        if (pending == kAhead) {
            countOldest();
        }
        ring[(oldest + pending) % kAhead] = Pending{id, item};
        ++pending;
    }
    void finish() {
        while (pending != 0) {
            countOldest();
        }
    }

private:
    static constexpr std::size_t kAhead = 8;
    struct Pending {
        std::int64_t id = 0;
        const SnItem *item = nullptr;
    };
    void countOldest() {
        const Pending &next = ring[oldest];
        auto &selected = ids.findOrInsert(next.id);
        ++selected.count;
        selected.item = next.item;
        oldest = (oldest + 1) % kAhead;
        --pending;
    }

    Ids &ids;
    std::array<Pending, kAhead> ring{};
    std::size_t oldest = 0;
    std::size_t pending = 0;
};

} // namespace

// Whether the editor's shapes, from the second on, have the graph objects of the host view's items
// at the same positions; the counts are known to be equal.
bool SeSelectorUpdaterPrivate::haveSameShapes(const SnSelection &hostView) const {
    auto host = hostView.begin();
    auto editor = selectorSelection->begin();
    if (host == hostView.end() || editor == selectorSelection->end()) {
        return true;
    }
    for (++host, ++editor; host != hostView.end() && editor != selectorSelection->end();
         ++host, ++editor) {
        const RCWeakPtr<SeShapeInterface> &shape = SeShapeItems::asShapeItem(*editor).getData();
        if (shape.isNull() || !Items::sameObject(*host, shape)) {
            return false;
        }
    }
    return true;
}

void SeSelectorUpdaterPrivate::onSelectorChanged(const SnSelectionChangeHint &change,
                                                 Changes &changes) {
    if (selector->isRestoringAfterFault()) {
        if (selector->isAbandoningBatch()) {
            hostBefore = HostBefore(); // no change failed: nothing of before it to bring back
        }
        onEditorPutBack(change);
        return;
    }
    if (unshownBefore != nullptr) {
        onUnshownRemoval(changes);
        return;
    }
    keepHostBefore(change);
    if (followEditorSplice(change, changes)) {
        return;
    }
    editorMirror = EditorMirror();
    decideEditorCallbacks(changes);
    publish();
}

// The application's selection becomes the mirror of the editor's, in one write when it differs;
// the record of that mirror follows.
void SeSelectorUpdaterPrivate::publish() {
    RCShdPtr<SnSelection> mirrored;
    EditorMirror known = mirrorOfEditor(mirrored); // asked before the write, like the rest
    if (!hostSelection->isEqual(mirrored)) {
        writeGuarded(*hostSelection, std::move(mirrored));
    }
    known.editorRevision = selectorSelection->getRevision();
    known.hostRevision = hostSelection->getRevision();
    editorMirror = known;
}

void SeSelectorUpdaterPrivate::republish() {
    if (selector->isBatchOpen()) {
        throw RCExInvalidCall("cannot republish the editor's selection while a batch is open on "
                              "its selector");
    }
    editorMirror = EditorMirror();
    publish();
}

bool SeSelectorUpdaterPrivate::isShown() const noexcept {
    return isPublished() || (hostFollowed.editorRevision == selectorSelection->getRevision() &&
                             hostFollowed.hostRevision == hostSelection->getRevision());
}

bool SeSelectorUpdaterPrivate::isPublished() const noexcept {
    return editorMirror.editorRevision == selectorSelection->getRevision() &&
           editorMirror.hostRevision == hostSelection->getRevision();
}

// The editor's own change, told against its own selection before it: the application's selection
// shows another editor, so it is neither written nor compared with.
void SeSelectorUpdaterPrivate::onUnshownRemoval(Changes &changes) {
    editorMirror = EditorMirror();
    selectedIdsKnown = false; // the ids were those last mirrored
    const Vector<RCWeakPtr<SeShapeInterface>> after = shapesOf(*selectorSelection);
    const Vector<RCWeakPtr<SeShapeInterface>> &before = *unshownBefore;
    changes.selection = true;
    changes.primary = changes.primary || before.empty() != after.empty() ||
                      (!before.empty() && before.front() != after.front());
    changes.shapes = changes.shapes || before != after;
}

// Before anything of the change is mirrored. A copy of the application's items only when they are
// not the mirror of the editor's selection before the change: the one-item changes, mirrored from
// a mirror, cost no copy.
void SeSelectorUpdaterPrivate::keepHostBefore(const SnSelectionChangeHint &change) {
    const bool mirror = editorMirror.editorRevision == change.getRevisionBefore() &&
                        editorMirror.hostRevision == hostSelection->getRevision();
    hostBefore.items = mirror ? RCShdPtr<SnSelection const>()
                              : RCShdPtr<SnSelection const>(hostSelection->clone());
    hostBefore.editorBefore = change.getRevisionBefore();
    hostBefore.editorAfter = change.getRevisionAfter();
    hostBefore.hostRevision = hostSelection->getRevision();
    hostBefore.published = mirror;
    hostBefore.mirror = mirror ? editorMirror : EditorMirror();
}

// The editor's selection put back after a change that failed (SeShapeSelector::
// isRestoringAfterFault), which no one was told of: the application's selection goes back to what
// it held before that change, so that a refused change leaves both selections as they were. A
// put-back of a change this updater did not mirror is mirrored as any change. No callback runs.
void SeSelectorUpdaterPrivate::onEditorPutBack(const SnSelectionChangeHint &change) {
    const HostBefore before = std::exchange(hostBefore, HostBefore());
    editorMirror = EditorMirror();
    RCShdPtr<SnSelection> mirrored;
    EditorMirror known = mirrorOfEditor(mirrored);
    const bool ours = before.editorAfter == change.getRevisionBefore();
    if (!ours || hostSelection->getRevision() != before.hostRevision) {
        const RCShdPtr<SnSelection const> restored =
            ours && !before.items.isNull() ? before.items : RCShdPtr<SnSelection const>(mirrored);
        if (!hostSelection->isEqual(restored)) {
            writeGuarded(*hostSelection, restored);
        }
    }
    // A refused change of its own leaves the editor published, or not, as it was before it: the
    // application's selection is as it was, and so is the editor's.
    const bool unchanged = ours && hostSelection->getRevision() == before.hostRevision;
    if (unchanged && before.published) {
        known = before.mirror;
    }
    if ((unchanged && before.published) ||
        (hostSelection->isEqual(mirrored) && (!ours || before.published))) {
        known.editorRevision = selectorSelection->getRevision();
        known.hostRevision = hostSelection->getRevision();
        editorMirror = known;
    }
    rememberFollowed(ours, before);
}

void SeSelectorUpdaterPrivate::rememberFollowed(bool ours, const HostBefore &before) noexcept {
    // The editor's selection is again what mirrored the application's, when it was, and what it
    // made of it.
    for (HostMirror *record : {&hostMirror, &hostFollowed}) {
        if (ours && record->editorRevision == before.editorBefore &&
            record->hostRevision == hostSelection->getRevision()) {
            record->editorRevision = selectorSelection->getRevision();
        }
    }
}

// What a one-item change of the editor's selection needs to be mirrored by that item alone, once
// the host shows `mirrored`.
// Part items never pass the item filter: they are no graph-object items, which its tool-node test
// refuses. So the host view of a regular mirror is the shapes' object items, one a shape.
// Which lists a change made in the editor runs: selection always; primary and shapes when the
// editor's shapes differ from those the application's selection shows.
void SeSelectorUpdaterPrivate::decideEditorCallbacks(Changes &changes) const {
    changes.selection = true;
    const RCShdPtr<SnSelection> hostView = hostSelection->filter(itemFilter);
    changes.primary = true;
    if (!selectorSelection->isEmpty() && !hostView->isEmpty()) {
        const RCWeakPtr<SeShapeInterface> &first =
            SeShapeItems::asShapeItem(*selectorSelection->begin()).getData();
        if (!first.isNull()) {
            changes.primary = !Items::sameObject(*hostView->begin(), first);
        }
    }
    if (changes.primary || hostView->getNbItems() != selectorSelection->getNbItems() ||
        !haveSameShapes(*hostView)) {
        changes.shapes = true;
    }
    addCommitChanges(changes);
}

// The application's items for the editor's selection, and what is known of them. The same walk
// notes the selected shapes' ids, for removal events, and tests each object item against the item
// filter while it is at hand, so that each shape's model is asked for once and each item read once.
SeSelectorUpdaterPrivate::EditorMirror
SeSelectorUpdaterPrivate::mirrorOfEditor(RCShdPtr<SnSelection> &mirrored) {
    selectedIdsKnown = false;
    selectedIds.clearFor(static_cast<std::size_t>(selectorSelection->getNbItems()));
    itemsWithParts = 0;
    bool allAlive = true;
    Vector<RCShdPtr<SnItem const>> items;
    items.reserve(
        SnSelection::roomFor(static_cast<std::size_t>(selectorSelection->getNbItems()) + 1));
    items.push_back(PiSnItemUtil::create(editorNode));
    // Regular: the node item is refused and every shape's object item passes.
    bool regular = !itemFilter(items.back());
    DelayedIdCount<SelectedIds> counted(selectedIds);
    // The selector's key table, when it has none, from the models this walk reads anyway.
    std::unique_ptr<SeSelectedKeys> keys = selector->d->keysToFill();
    // What the selector knows of its shapes' lives, read afresh along the way.
    SeAliveShapes &lives = selector->d->getAliveShapes();
    const std::uint64_t livesReading = lives.startWalk();
    for (const RCShdPtr<SnItem const> &item : *selectorSelection) {
        const RCWeakPtr<SeShapeInterface> &shape = SeShapeItems::asShapeItem(item).getData();
        if (!lives.see(shape)) {
            allAlive = false;
            if (keys) {
                keys->add(item.get(), nullptr);
            }
            continue;
        }
        const RCShdPtr<SeShape> model = Items::modelOf(shape);
        if (keys && !keys->add(item.get(), model.get())) {
            keys.reset(); // a shape without the promise: the table would be no use
        }
        counted.add(model->getId(), item.get());
        itemsWithParts += item->hasParts() ? 1 : 0;
        items.push_back(PiSnItemUtil::createFromBase(model->getGraphObject()));
        regular = regular && itemFilter(items.back());
    }
    counted.finish();
    if (keys) {
        keys->finish();
        selector->d->adoptKeys(std::move(keys));
    }
    knowIds(allAlive);
    if (allAlive) {
        lives.establish(*selectorSelection, livesReading);
    }
    EditorMirror facts;
    facts.regular = regular && allAlive;
    SnSelection::Slices partItems;
    if (selectorSelection->getNbItems() == 1) {
        const RCWeakPtr<SeShapeInterface> primary = selector->getPrimarySelectedShapeInterface();
        if (!primary.isNull()) {
            appendPartItems(primary, partItems, facts.parts);
        }
    }
    mirrored = SnSelection::createTaking(std::move(items));
    mirrored->replaceRangeBySlices(mirrored->getNbItems(), 0, partItems);
    return facts;
}

// At the end of a batch the host view may already show what the application wrote
// meanwhile: what changed since the start counts as well.
void SeSelectorUpdaterPrivate::addCommitChanges(Changes &changes) const {
    const RCShdPtr<SnSelection const> &origin = selector->getCommitOrigin();
    if (origin.isNull()) {
        return;
    }
    const Vector<RCWeakPtr<SeShapeInterface>> before = shapesOf(*origin);
    const Vector<RCWeakPtr<SeShapeInterface>> after = shapesOf(*selectorSelection);
    if (before.empty() != after.empty() || (!before.empty() && before.front() != after.front())) {
        changes.primary = true;
    }
    if (before != after) {
        changes.shapes = true;
    }
}

// The inputs of the selected points, then of the selected handles, of the single selected shape,
// all along the path found from the curve input (or, with no point selected, the gradient input).
void SeSelectorUpdaterPrivate::appendPartItems(const RCWeakPtr<SeShapeInterface> &shape,
                                               SnSelection::Slices &slices,
                                               PartsLayout &layout) const {
    const RCWeakAccessor<SeShapeInterface> access(shape);
    RCShdPtr<PiPath> path;
    // The primary item's indices, read in place (as getSelectedPoints would copy them): the item
    // holds its parts while they are read, and only the graph is called meanwhile.
    const RCShdPtr<SnItem const> primary = selector->getCurrentSelection()->getPrimaryItem();
    const RCShdPtr<SeShapeParts const> parts =
        primary.isNull() || !primary->hasParts() ? nullptr : SeShapeItems::partsOf(*primary);
    const Vector<int> none;
    const Vector<int> &points = parts.isNull() ? none : parts->getPoints();
    const Vector<int> &handles = parts.isNull() ? none : parts->getHandles();
    RCShdPtr<PiMultivaluedInput> gradient;
    if (!handles.empty()) {
        gradient = Items::gradientOf(shape, handles.front());
    }
    layout.pointItems = 0;
    if (!points.empty()) {
        const RCShdPtr<PiInput> curve = access->getCurveInput();
        path = Items::pathToPrimaryOutput(curve);
        const RCShdPtr<PiInput> pointsInput =
            rcDynamicCast<PiStructuredInput>(curve)->getInput("Points", 0);
        layout.pointsSingle = !pointsInput->isMultivalued();
        if (layout.pointsSingle) {
            slices.emplace_back(PiSnItem<PiInput>::create(pointsInput, path));
            layout.pointItems = 1;
        } else {
            const RCShdPtr<PiMultivaluedInput> elements =
                rcDynamicCast<PiMultivaluedInput>(pointsInput);
            layout.pointElements = elements->getNbElements();
            layout.pointWidth = Items::appendPointRun(elements, points, path, shape, slices);
            layout.pointItems = static_cast<int>(slices.back().size());
        }
    }
    layout.handleItems = 0;
    if (!handles.empty()) {
        if (path.isNull()) {
            path = Items::pathToPrimaryOutput(gradient);
        }
        layout.handleElements = gradient->getNbElements();
        // A handle's element may gain inputs later: its items are made now, one by one.
        Vector<RCShdPtr<SnItem const>> items;
        layout.handleWidth = Items::appendElementItems<PiStructuredInput>(
            *gradient, handles, path, SeExMissingElement::Part::Handle, shape, 0, items);
        layout.handleItems = static_cast<int>(items.size());
        for (RCShdPtr<SnItem const> &item : items) {
            slices.emplace_back(std::move(item));
        }
    }
    layout.path = path;
}

} // namespace Vo
