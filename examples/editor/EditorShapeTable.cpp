#include "EditorShapeTable.h"

#include "AppLayerInterface.h"

#include "SeSelectionChange.h"
#include "SeShapeItem.h"
#include "SeShapeParts.h"
#include "SeShapeSelector.h"

#include "host/selection/SnSelection.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <utility>

namespace VoEditor {

namespace {

bool isLabelled(const EditorShapeView &view) {
    return !view.points.empty() || !view.handles.empty();
}

// Whether two views of one slot are drawn the same (the number of items is not drawn).
bool drawnAlike(const EditorShapeView &a, const EditorShapeView &b) {
    return a.shape == b.shape && a.nbPoints == b.nbPoints && a.nbHandles == b.nbHandles &&
           a.selected == b.selected && a.primary == b.primary && a.points == b.points &&
           a.handles == b.handles;
}

EditorShapeView emptySlot(int slot) {
    EditorShapeView view;
    view.slot = slot;
    return view;
}

void assignParts(EditorShapeView &view, const Vo::SnItem &item) {
    view.points.clear();
    view.handles.clear();
    if (const auto *parts = dynamic_cast<const Vo::SeShapeParts *>(item.getParts().get())) {
        view.points.assign(parts->getPoints().begin(), parts->getPoints().end());
        view.handles.assign(parts->getHandles().begin(), parts->getHandles().end());
    }
}

// The one index a change appended to an order, or took from its end, and its rank there; index
// -1 when the order changed otherwise.
struct Tail {
    int index = -1;
    int rank = 0;
};

Tail tailOf(const std::vector<int> &before, const std::vector<int> &after,
            const Vo::Vector<int> &added, const Vo::Vector<int> &removed) {
    const auto extends = [](const std::vector<int> &longer, const std::vector<int> &shorter,
                            const Vo::Vector<int> &one) {
        return one.size() == 1 && longer.size() == shorter.size() + 1 &&
               longer.back() == one.front() &&
               std::equal(shorter.begin(), shorter.end(), longer.begin());
    };
    if (removed.empty() && extends(after, before, added)) {
        return {added.front(), static_cast<int>(after.size())};
    }
    if (added.empty() && extends(before, after, removed)) {
        return {removed.front(), static_cast<int>(before.size())};
    }
    return {};
}

void merge(EditorShapeTable::Damage &into, const EditorShapeTable::Damage &from) {
    into.all = into.all || from.all;
    into.shapes.insert(into.shapes.end(), from.shapes.begin(), from.shapes.end());
    into.markers.insert(into.markers.end(), from.markers.begin(), from.markers.end());
    into.labelsMoved = into.labelsMoved || from.labelsMoved;
}

} // namespace

EditorShapeTable::EditorShapeTable(const EditorDocument &editorDocument)
    : document(editorDocument) {
    reset();
}

std::vector<EditorShapeView> EditorShapeTable::readViews() {
    std::vector<EditorShapeView> read;
    read.reserve(static_cast<std::size_t>(document.getNbSlots()));
    for (int slot = 0; slot < document.getNbSlots(); ++slot) {
        read.push_back(emptySlot(slot));
    }
    primary = -1;
    for (EditorShapeView &view : document.describeShapes()) {
        primary = view.primary ? view.slot : primary;
        read[static_cast<std::size_t>(view.slot)] = std::move(view);
    }
    return read;
}

void EditorShapeTable::reset() {
    views = readViews();
    weak.assign(views.size(), Vo::RCWeakPtr<Vo::SeShapeInterface>());
    slotOfCounter.clear();
    slotOfName.clear();
    for (const EditorShapeView &view : views) {
        know(view);
    }
    settle();
}

// A shape built again (an undone deletion) takes its slot with a new counter block: the old one
// may go, and its address with it to another shape, so it is no longer looked up.
void EditorShapeTable::know(const EditorShapeView &view) {
    if (view.shape == nullptr) {
        return;
    }
    Vo::RCWeakPtr<Vo::SeShapeInterface> &known = weak[static_cast<std::size_t>(view.slot)];
    if (known.getCounter() != view.shape->getWeak().getCounter()) {
        slotOfCounter.erase(known.getCounter().get());
        known = view.shape->getWeak();
        slotOfCounter[known.getCounter().get()] = view.slot;
    }
    slotOfName[view.name] = view.slot;
}

EditorShapeTable::Damage EditorShapeTable::reread() {
    Damage damage;
    if (document.getNbSlots() != getNbSlots()) {
        reset();
        damage.all = true;
        return damage;
    }
    std::vector<EditorShapeView> read = readViews();
    for (std::size_t slot = 0; slot < views.size(); ++slot) {
        const bool wasLabelled = isLabelled(views[slot]);
        const bool differs = !drawnAlike(views[slot], read[slot]);
        views[slot] = std::move(read[slot]);
        know(views[slot]);
        if (differs) {
            damageShape(damage, static_cast<int>(slot), wasLabelled);
        }
    }
    settle();
    return damage;
}

void EditorShapeTable::settle() {
    const Vo::RCShdPtr<Vo::SnSelection> selection = document.getSelector().getSelection();
    revision = selection->getRevision();
    primaryItem = selection->getPrimaryItem();
}

EditorShapeTable::Damage EditorShapeTable::followSelection() {
    if (document.getSelector().getSelection()->getRevision() == revision) {
        return Damage();
    }
    Damage damage;
    if (!follow(damage)) {
        return reread();
    }
    settle();
    return damage;
}

bool EditorShapeTable::follow(Damage &damage) {
    const Vo::SeSelectionChange &change = document.getSelector().getLastChange();
    if (change.isWhole() || change.getRevisionBefore() != revision ||
        change.getRevisionAfter() != document.getSelector().getSelection()->getRevision()) {
        return false;
    }
    return change.arePartsChanged() ? followParts(damage) : followShapes(damage);
}

int EditorShapeTable::slotOf(const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape) const {
    const void *counter = shape.getCounter().get();
    if (counter == nullptr) {
        return -1;
    }
    const auto found = slotOfCounter.find(counter);
    return found == slotOfCounter.end() ? -2 : found->second;
}

bool EditorShapeTable::followShapes(Damage &damage) {
    const Vo::SeSelectionChange &change = document.getSelector().getLastChange();
    // By how many items each slot's shape changed; a slot of a deleted shape shows nothing.
    std::map<int, int> delta;
    for (const auto *list : {&change.getShapesRemoved(), &change.getShapesAdded()}) {
        for (const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape : *list) {
            const int slot = slotOf(shape);
            if (slot < 0) {
                return false;
            }
            delta[slot] += list == &change.getShapesAdded() ? 1 : -1;
        }
    }
    const int after = slotOf(change.getPrimaryAfter());
    const auto countable = [this](const std::pair<const int, int> &by) {
        const EditorShapeView &view = views[static_cast<std::size_t>(by.first)];
        return view.shape == nullptr || (view.nbItems <= 1 && view.nbItems + by.second >= 0 &&
                                         view.nbItems + by.second <= 1);
    };
    if (after == -2 || !std::all_of(delta.begin(), delta.end(), countable)) {
        return false; // a shape selected twice: which item's parts show is read again
    }
    for (const auto &[slot, by] : delta) {
        EditorShapeView &view = views[static_cast<std::size_t>(slot)];
        if (view.shape != nullptr) {
            const bool wasLabelled = isLabelled(view);
            view.nbItems += by;
            view.selected = view.nbItems > 0;
            readParts(slot);
            damageShape(damage, slot, wasLabelled);
        }
    }
    if (after != primary) {
        for (const int slot : {primary, after}) {
            if (slot >= 0 && views[static_cast<std::size_t>(slot)].shape != nullptr) {
                EditorShapeView &view = views[static_cast<std::size_t>(slot)];
                view.primary = slot == after;
                damageShape(damage, slot, isLabelled(view));
            }
        }
        primary = after;
    }
    return true;
}

bool EditorShapeTable::followParts(Damage &damage) {
    const Vo::SeShapeSelector &selector = document.getSelector();
    const Vo::SeSelectionChange &change = selector.getLastChange();
    const Vo::RCShdPtr<Vo::SnSelection> selection = selector.getSelection();
    // The change names no item: it is the primary one's only when that item is new.
    if (selection->getPrimaryItem() == primaryItem || slotOf(change.getPrimaryAfter()) != primary) {
        return false;
    }
    if (primary < 0 || views[static_cast<std::size_t>(primary)].shape == nullptr) {
        return true; // nothing of it is drawn
    }
    EditorShapeView &view = views[static_cast<std::size_t>(primary)];
    std::vector<int> points;
    std::vector<int> handles;
    points.swap(view.points);
    handles.swap(view.handles);
    assignParts(view, *selection->getPrimaryItem());
    // The primary shape is drawn last: its labels move no other shape's. One index in or out at
    // the end of an order leaves the others' markers and labels as they were, unless it is a
    // point and handle labels, which come after the point labels, may move.
    const Tail point =
        tailOf(points, view.points, change.getPointsAdded(), change.getPointsRemoved());
    const Tail handle =
        tailOf(handles, view.handles, change.getHandlesAdded(), change.getHandlesRemoved());
    if (point.index >= 0 && handles == view.handles && view.handles.empty()) {
        damage.markers.push_back({primary, true, point.index, point.rank});
    } else if (handle.index >= 0 && points == view.points) {
        damage.markers.push_back({primary, false, handle.index, handle.rank});
    } else if (points != view.points || handles != view.handles) {
        damage.shapes.push_back({primary, true});
    }
    return true;
}

void EditorShapeTable::readParts(int slot) {
    EditorShapeView &view = views[static_cast<std::size_t>(slot)];
    view.points.clear();
    view.handles.clear();
    if (view.nbItems == 0) {
        return;
    }
    // A shape comes in at the end of the selection far more often than anywhere else.
    const Vo::RCShdPtr<Vo::SnSelection> selection = document.getSelector().getSelection();
    for (auto at = selection->end(); at != selection->begin();) {
        --at;
        const auto *item = dynamic_cast<const Vo::SeShapeItem *>(at->get());
        if (item != nullptr && item->getData() == weak[static_cast<std::size_t>(slot)]) {
            assignParts(view, **at);
            return;
        }
    }
}

void EditorShapeTable::damageShape(Damage &damage, int slot, bool wasLabelled) const {
    const bool labelled = wasLabelled || isLabelled(views[static_cast<std::size_t>(slot)]);
    damage.shapes.push_back({slot, labelled});
    damage.labelsMoved = damage.labelsMoved || labelled;
}

EditorShapeTable::Damage EditorShapeTable::followGraph() {
    Damage damage;
    if (document.getNbSlots() == getNbSlots() && followLayer(damage)) {
        merge(damage, followSelection());
        return damage;
    }
    reset();
    Damage all;
    all.all = true;
    return all;
}

// Shapes leave the layer, the others keeping their order, or join the scene's end.
bool EditorShapeTable::followLayer(Damage &damage) {
    const VoExample::AppLayerInterface &layer = document.getSession().getController().getLayer();
    int live = 0;
    for (EditorShapeView &view : views) {
        if (view.shape == nullptr) {
            continue;
        }
        const bool wasLabelled = isLabelled(view);
        if (live < layer.getNbShapes() && &layer.getShapeAt(live) == view.shape) {
            ++live;
            if (view.nbPoints == view.shape->getNbPoints() &&
                view.nbHandles == view.shape->getNbHandles()) {
                continue;
            }
            view.nbPoints = view.shape->getNbPoints();
            view.nbHandles = view.shape->getNbHandles();
        } else {
            view = emptySlot(view.slot);
        }
        damageShape(damage, view.slot, wasLabelled);
    }
    return live == layer.getNbShapes();
}

int EditorShapeTable::getPrimarySlot() const noexcept {
    const bool live = primary >= 0 && primary < getNbSlots() && getView(primary).primary &&
                      getView(primary).shape != nullptr;
    return live ? primary : -1;
}

const EditorShapeView *EditorShapeTable::find(const std::string &name) const {
    const auto found = slotOfName.find(name);
    if (found == slotOfName.end()) {
        return nullptr;
    }
    const EditorShapeView &view = views[static_cast<std::size_t>(found->second)];
    return view.shape != nullptr ? &view : nullptr;
}

std::vector<int> EditorShapeTable::getLabelled() const {
    std::vector<int> labelled;
    for (const EditorShapeView &view : views) {
        if (view.shape != nullptr && isLabelled(view)) {
            labelled.push_back(view.slot);
        }
    }
    return labelled;
}

} // namespace VoEditor
