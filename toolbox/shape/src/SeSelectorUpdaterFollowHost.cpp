// The updater's mirroring of the application's selection into the editor's, in full: the items
// that stand for this editor's shapes become its selection, in their order.

#include "SeSelectorUpdaterPrivate.h"
#include "SeShapeSelectorPrivate.h"

#include "SeAliveShapes.h"
#include "SeShapeItem.h"
#include "SeUpdaterItems.h"

#include "base/RCExUtil.h"
#include "host/graph/PiGraphObject.h"

#include <algorithm>
#include <typeinfo>
#include <utility>

namespace Vo {

namespace {

using Items = SeUpdaterItems;

} // namespace

// Either record stays valid only while both selections show the revisions it names, so a change of
// one direction's selection ends the other's without being told.
void SeSelectorUpdaterPrivate::onHostChanged(const SnSelectionChangeHint &change,
                                             Changes &changes) {
    // A put-back after this is none of the editor change last mirrored: an abandoned batch's,
    // which brings the application's selection back in step.
    hostBefore = HostBefore();
    if (followHostSplice(change, changes)) { // which forgets the record it read, either way
        followedHost();
        return;
    }
    RCShdPtr<SnSelection> mirrored = SnSelection::create();
    const RCShdPtr<SnSelection> hostView = hostSelection->filter(itemFilter);
    SelectedIds ids;
    ids.reserve(static_cast<std::size_t>(hostView->getNbItems()));
    SeAliveShapes &lives = selector->d->getAliveShapes();
    const std::uint64_t livesReading = lives.startWalk();
    bool allAlive = true;
    std::size_t lastRun = 0; // the items that stand for shapes since the last that stands for none
    for (const RCShdPtr<SnItem const> &item : *hostView) {
        const RCShdPtr<PiGraphObject const> object = Items::asGraphItem(item).getGraphObject();
        if (object.isNull()) {
            RCExUtil::throwExNullPtr(typeid(PiGraphObject const *).name());
        }
        const RCShdPtr<SeShape> shape = controller.findShape(object);
        lastRun = shape.isNull() ? 0 : lastRun + 1;
        if (!shape.isNull()) {
            const RCWeakPtr<SeShapeInterface> editing = shape->getShapeInterface();
            allAlive = lives.see(editing) && allAlive;
            const RCShdPtr<SnItem const> whole(new SeShapeItem(RCShdPtr<SnParts>(), editing));
            SelectedId &selected = ids.findOrInsert(shape->getId());
            ++selected.count;
            selected.item = whole.get();
            mirrored->addItem(whole);
        }
    }
    if (mirrored->isEmpty()) {
        return;
    }
    if (selector->isBatchOpen()) {
        selector->replaceAllItems(mirrored); // the working selection; the batch's end notifies
        return;
    }
    // The shapes' items end the application's selection, every item before them standing for no
    // shape (the editor's node): a change of one of them is followed by one item.
    const auto shapes = static_cast<std::size_t>(mirrored->getNbItems());
    const bool followable =
        allAlive && lastRun == shapes &&
        std::equal(hostView->end() - static_cast<std::ptrdiff_t>(shapes), hostView->end(),
                   hostSelection->end() - static_cast<std::ptrdiff_t>(shapes));
    const int leading = hostSelection->getNbItems() - static_cast<int>(shapes);
    if (selectorSelection->isEqual(mirrored)) {
        if (allAlive) {
            lives.establish(*selectorSelection, livesReading);
        }
        rememberHostMirror(followable, leading);
        followedHost();
        return;
    }
    changes.selection = true;
    const RCShdPtr<SnItem const> &primary = selectorSelection->getPrimaryItem();
    if (primary.isNull() || !mirrored->getPrimaryItem()->isEqualImp(*primary)) {
        changes.primary = true;
    }
    selectedIdsKnown = false;
    writeGuarded(*selectorSelection, std::move(mirrored));
    selectedIds.swap(ids);
    itemsWithParts = 0; // wholes
    knowIds(allAlive);
    if (allAlive) {
        lives.establish(*selectorSelection, livesReading);
    }
    rememberHostMirror(followable, leading);
    followedHost();
}

void SeSelectorUpdaterPrivate::rememberHostMirror(bool followable, int leading) {
    if (followable) {
        hostMirror.hostRevision = hostSelection->getRevision();
        hostMirror.editorRevision = selectorSelection->getRevision();
        hostMirror.leading = leading;
    }
}

void SeSelectorUpdaterPrivate::followedHost() noexcept {
    hostFollowed.hostRevision = hostSelection->getRevision();
    hostFollowed.editorRevision = selectorSelection->getRevision();
}

} // namespace Vo
