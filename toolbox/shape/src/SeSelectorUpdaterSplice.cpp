// The updater's splice mirroring: a splice of the editor's selection, or a change of one item of
// the application's, made while the other selection is still the mirror the updater last wrote or
// found, is mirrored by the items that changed alone, with the callback lists the full mirroring
// would run. Anything else is mirrored in full.

#include "SeSelectorUpdaterPrivate.h"

#include "SeScopedValue.h"
#include "SeShapeItem.h"
#include "SeShapeItems.h"
#include "SeUpdaterItems.h"

#include "base/DgReport.h"
#include "foundation/RCWeakAccessor.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiStructuredInput.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

namespace Vo {

namespace {

using Items = SeUpdaterItems;
using ItemList = Vector<RCShdPtr<SnItem const>>;
using PartsChange = SeShapeSelector::PartsChange;

const RCShdPtr<SnItem const> &itemAt(const SnSelection &selection, int position) {
    return *std::next(selection.begin(), position);
}

const RCWeakPtr<SeShapeInterface> &shapeOf(const RCShdPtr<SnItem const> &item) {
    return SeShapeItems::asShapeItem(item).getData();
}

bool isOneItem(const SnSelectionChangeHint &change) {
    const std::size_t removed = change.getRemovedItems().size();
    const std::size_t added = change.getAddedItems().size();
    return removed + added == 1 || (removed == 1 && added == 1);
}

} // namespace

// The item came in (delta 1) or left (-1): its shape's count, the last item of that shape, and
// the items with parts follow.
void SeSelectorUpdaterPrivate::countSelected(const RCShdPtr<SnItem const> &item, int delta) {
    const int id =
        item.get() == endedLeaving.item ? endedLeaving.id : Items::modelOf(shapeOf(item))->getId();
    SelectedId &counted = selectedIds.findOrInsert(id);
    counted.count += delta;
    if (delta > 0) {
        counted.item = item.get();
    } else if (counted.item == item.get()) {
        counted.item = nullptr; // which of the others is left is not known
    }
    itemsWithParts += item->hasParts() ? delta : 0;
    if (counted.count <= 0) {
        selectedIds.erase(id);
    }
}

// Usable when the application's selection is still the mirror last written, the editor's
// selection is at the revision right after it, and the change is not a batch's commit (mirrored in
// full, with callbacks of its own; a put-back after a fault never comes here).
bool SeSelectorUpdaterPrivate::followEditorSplice(const SnSelectionChangeHint &change,
                                                  Changes &changes) {
    const EditorMirror known = editorMirror; // the caller forgets it when this gives false
    if (change.isWhole() || !known.regular || change.getRevisionBefore() != known.editorRevision ||
        change.getRevisionAfter() != selectorSelection->getRevision() ||
        hostSelection->getRevision() != known.hostRevision || !selector->areShapesKnownAlive() ||
        !selector->getCommitOrigin().isNull()) {
        return false;
    }
    const int position = change.getPosition();
    const SnItemRun removed = change.getRemovedItems();
    const SnItemRun added = change.getAddedItems();
    const bool followed =
        removed.size() == 1 && added.size() == 1
            ? followItemReplaced(position, removed.front(), added.front(), changes)
            : followShapesSpliced(position, removed, added, changes);
    if (!followed) {
        return false;
    }
    editorMirror.editorRevision = selectorSelection->getRevision();
    editorMirror.hostRevision = hostSelection->getRevision();
    return true;
}

// Shapes that came or went, with two shapes or more before and after, so that no part item is
// mirrored: their object items come and go at their place after the node's. The shapes differ, so
// the shapes list runs; primary only when the new first shape is another object than the old
// first. The same shapes in a new order, or any shape gone, are left to the full mirroring, but for
// the removal event's item whose shape ended, its object item then leaving as the full mirroring
// leaves it out.
bool SeSelectorUpdaterPrivate::followShapesSpliced(int position, SnItemRun removed, SnItemRun added,
                                                   Changes &changes) {
    const auto after = static_cast<std::size_t>(selectorSelection->getNbItems());
    const std::size_t before = after - added.size() + removed.size();
    const auto gone = [this](const RCShdPtr<SnItem const> &item) {
        return item.get() != endedLeaving.item && shapeOf(item).isNull();
    };
    const bool sameShapes =
        removed.size() == added.size() &&
        std::equal(removed.begin(), removed.end(), added.begin(),
                   [](const auto &a, const auto &b) { return shapeOf(a) == shapeOf(b); });
    if (before < 2 || after < 2 || sameShapes || gone(*selectorSelection->begin()) ||
        std::any_of(removed.begin(), removed.end(), gone) ||
        std::any_of(added.begin(), added.end(), gone)) {
        return false;
    }
    ItemList objects;
    objects.reserve(added.size());
    bool passes = true;
    for (const RCShdPtr<SnItem const> &item : added) {
        objects.push_back(Items::objectItem(shapeOf(item)));
        passes = passes && itemFilter(objects.back());
    }
    changes.selection = true;
    changes.shapes = true;
    changes.primary = position == 0 && !Items::sameObject(itemAt(*hostSelection, 1),
                                                          shapeOf(itemAt(*selectorSelection, 0)));
    for (const RCShdPtr<SnItem const> &item : added) {
        countSelected(item, 1);
    }
    for (const RCShdPtr<SnItem const> &item : removed) {
        countSelected(item, -1);
    }
    editorMirror.regular = passes;
    spliceGuarded(*hostSelection, 1 + position, static_cast<int>(removed.size()),
                  std::move(objects));
    return true;
}

// Another shape in the same place, or the same shape with other parts: with two shapes or more the
// parts are not mirrored and only the object item may change; with one, its part items follow.
bool SeSelectorUpdaterPrivate::followItemReplaced(int position,
                                                  const RCShdPtr<SnItem const> &before,
                                                  const RCShdPtr<SnItem const> &after,
                                                  Changes &changes) {
    const RCWeakPtr<SeShapeInterface> &oldShape = shapeOf(before);
    const RCWeakPtr<SeShapeInterface> &newShape = shapeOf(after);
    const int shapes = selectorSelection->getNbItems();
    if (newShape.isNull() || oldShape.isNull()) {
        return false;
    }
    if (oldShape == newShape) {
        changes.selection = true; // the same shapes: neither primary nor shapes
        countSelected(after, 1);
        countSelected(before, -1);
        return shapes > 1 || followParts(before, after, newShape);
    }
    if (shapes == 1) {
        return false;
    }
    const RCShdPtr<SnItem const> object = Items::objectItem(newShape);
    const bool passes = itemFilter(object);
    changes.selection = true;
    changes.primary = position == 0 && !Items::sameObject(itemAt(*hostSelection, 1), newShape);
    changes.shapes =
        changes.primary || !Items::sameObject(itemAt(*hostSelection, 1 + position), newShape);
    countSelected(after, 1);
    countSelected(before, -1);
    editorMirror.regular = passes;
    spliceGuarded(*hostSelection, 1 + position, 1, {object});
    return true;
}

// The part items of the single shape: by the one index the selector says it changed (its last
// PartsChange, in either direction, as undo and redo put items back), else all of them again.
// The path of the part items changes when points come or all go: then all of them again too.
bool SeSelectorUpdaterPrivate::followParts(const RCShdPtr<SnItem const> &before,
                                           const RCShdPtr<SnItem const> &after,
                                           const RCWeakPtr<SeShapeInterface> &shape) {
    const PartsChange &note = selector->getLastPartsChange();
    const bool forward = note.from.get() == before.get() && note.to.get() == after.get();
    const bool backward = note.from.get() == after.get() && note.to.get() == before.get();
    const RCShdPtr<SeShapeParts const> oldParts = SeShapeItems::partsOf(*before);
    const RCShdPtr<SeShapeParts const> newParts = SeShapeItems::partsOf(*after);
    const bool pointsCome = !oldParts.isNull() && !newParts.isNull() &&
                            oldParts->isPointEmpty() == newParts->isPointEmpty();
    if ((forward || backward) && pointsCome && note.kind != PartsChange::Kind::renumbered) {
        const bool appended = note.kind == PartsChange::Kind::appended;
        const RCShdPtr<SeShapeParts const> &longer = appended == forward ? newParts : oldParts;
        // An appended index is the last of the longer order.
        const int rank = appended ? static_cast<int>(note.points ? longer->getPoints().size()
                                                                 : longer->getHandles().size())
                                  : note.rank;
        return spliceParts(note.points, rank, note.index, appended == forward, shape);
    }
    if (forward && pointsCome && note.kind == PartsChange::Kind::renumbered &&
        elementsFollow(note, shape)) {
        // The other indices name the same elements as before, whose items stay.
        return note.added || note.rank == 0 ||
               spliceParts(note.points, note.rank, note.index, false, shape);
    }
    PartsLayout layout;
    SnSelection::Slices slices;
    const PartsLayout &known = editorMirror.parts;
    const int count = known.pointItems + known.handleItems;
    appendPartItems(shape, slices, layout);
    const bool same = hostSelection->isRangeEqual(2, count, slices);
    editorMirror.parts = layout;
    if (!same) {
        const SeScopedValue<bool> guard(updating, true);
        hostSelection->replaceRangeBySlices(2, count, slices);
    }
    return true;
}

// Whether the application changed its graph by the one element the renumbering reports, since the
// part items were mirrored: the other selected indices then name the same elements as before. The
// count read becomes the one known.
bool SeSelectorUpdaterPrivate::elementsFollow(const SeShapeSelector::PartsChange &note,
                                              const RCWeakPtr<SeShapeInterface> &shape) {
    int &known = note.points ? editorMirror.parts.pointElements : editorMirror.parts.handleElements;
    if (known < 0) {
        return false;
    }
    const RCWeakAccessor<SeShapeInterface> access(shape);
    const RCShdPtr<PiInput> input =
        note.points
            ? rcDynamicCast<PiStructuredInput>(access->getCurveInput())->getInput("Points", 0)
            : access->getGradientInput();
    const int count = rcDynamicCast<PiMultivaluedInput>(input)->getNbElements();
    if (count != known + (note.added ? 1 : -1)) {
#if VO_CHECKS
        if (count == known) {
            reportEarlyRenumbering(note, shape, count);
        }
#endif
        return false;
    }
    known = count;
    return true;
}

#if VO_CHECKS
// A mistake that gives no error, only wrong inputs in the application's selection: debug builds
// name it where it happens.
void SeSelectorUpdaterPrivate::reportEarlyRenumbering(const SeShapeSelector::PartsChange &note,
                                                      const RCWeakPtr<SeShapeInterface> &shape,
                                                      int elements) {
    const std::string operation = std::string("updateSelection") +
                                  (note.points ? "Point" : "Handle") +
                                  (note.added ? "Added" : "Deleted");
    const std::string name = Items::modelOf(shape)->getGraphObject()->getName();
    const std::string message =
        "libVoshape: " + operation + "(shape \"" + name + "\", " + std::to_string(note.index) +
        ") came before the graph changed: its " + (note.points ? "\"Points\"" : "gradient") +
        " input still has " + std::to_string(elements) +
        " elements. Change the graph first, then renumber; the application's selection now holds "
        "the inputs of other " + (note.points ? "points." : "handles.");
    DgReport::note(__FILE__, __LINE__, message.c_str());
}
#endif

// One point's (handle's) items come in at, or leave from, its 1-based rank.
bool SeSelectorUpdaterPrivate::spliceParts(bool points, int rank, int index, bool insert,
                                           const RCWeakPtr<SeShapeInterface> &shape) {
    PartsLayout &layout = editorMirror.parts;
    if (points && layout.pointsSingle) {
        return true; // one item stands for every point
    }
    const int width = points ? layout.pointWidth : layout.handleWidth;
    if (width <= 0 || rank <= 0) {
        return false;
    }
    const int position = 2 + (points ? 0 : layout.pointItems) + (rank - 1) * width;
    ItemList items;
    if (insert) {
        const RCWeakAccessor<SeShapeInterface> access(shape);
        const int made =
            points ? Items::appendElementItems<PiCompositeInput>(
                         *rcDynamicCast<PiMultivaluedInput>(
                             rcDynamicCast<PiStructuredInput>(access->getCurveInput())
                                 ->getInput("Points", 0)),
                         {index}, layout.path, SeExMissingElement::Part::Point, shape, 0, items)
                   : Items::appendElementItems<PiStructuredInput>(
                         *rcDynamicCast<PiMultivaluedInput>(access->getGradientInput()), {index},
                         layout.path, SeExMissingElement::Part::Handle, shape, 0, items);
        if (made != width) {
            return false;
        }
    }
    (points ? layout.pointItems : layout.handleItems) += insert ? width : -width;
    spliceGuarded(*hostSelection, position, insert ? 0 : width, std::move(items));
    return true;
}

// The application's selection changed by one item while each of its items after the first
// `leading` ones (the editor's node, or others that stand for no shape) stood for a live shape,
// mirrored in the editor's selection at the same place less `leading`: the shape comes in or leaves
// there, as a whole. An item that stands for no shape, one among the leading ones, or the last
// shape's item leaving, is mirrored in full.
bool SeSelectorUpdaterPrivate::followHostSplice(const SnSelectionChangeHint &change,
                                                Changes &changes) {
    const HostMirror known = hostMirror;
    hostMirror = HostMirror();
    if (change.isWhole() || known.hostRevision == 0 || !isOneItem(change) ||
        !change.getAddedItems().empty() == !change.getRemovedItems().empty() ||
        change.getRevisionBefore() != known.hostRevision ||
        change.getRevisionAfter() != hostSelection->getRevision() ||
        selectorSelection->getRevision() != known.editorRevision ||
        change.getPosition() < known.leading || !selector->areShapesKnownAlive() ||
        selector->isBatchOpen()) {
        return false;
    }
    const int position = change.getPosition() - known.leading;
    const RCShdPtr<SnItem const> &oldPrimary = selectorSelection->getPrimaryItem();
    if (change.getAddedItems().empty()) {
        if (hostSelection->getNbItems() == known.leading) {
            return false;
        }
        const RCShdPtr<SnItem const> &gone = itemAt(*selectorSelection, position);
        changes.selection = true;
        changes.primary = position == 0 && !itemAt(*selectorSelection, 1)->isEqualImp(*oldPrimary);
        countSelected(gone, -1);
        spliceGuarded(*selectorSelection, position, 1, {});
    } else {
        const RCShdPtr<SnItem const> &item = change.getAddedItems().front();
        if (!itemFilter(item)) {
            return false;
        }
        const RCShdPtr<PiGraphObject const> object = Items::asGraphItem(item).getGraphObject();
        const RCShdPtr<SeShape> shape =
            object.isNull() ? RCShdPtr<SeShape>() : controller.findShape(object);
        const RCWeakPtr<SeShapeInterface> editing =
            shape.isNull() ? RCWeakPtr<SeShapeInterface>() : shape->getShapeInterface();
        if (editing.isNull()) {
            return false;
        }
        const RCShdPtr<SnItem const> mirrored(new SeShapeItem(RCShdPtr<SnParts>(), editing));
        changes.selection = true;
        changes.primary = position == 0 && !mirrored->isEqualImp(*oldPrimary);
        countSelected(mirrored, 1);
        spliceGuarded(*selectorSelection, position, 0, {mirrored});
    }
    hostMirror.hostRevision = hostSelection->getRevision();
    hostMirror.editorRevision = selectorSelection->getRevision();
    hostMirror.leading = known.leading;
    return true;
}

} // namespace Vo
