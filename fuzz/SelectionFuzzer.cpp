// Rule fuzzer of the selection updater on the example application: decodes the input into a
// sequence of editor-side selector operations, point and handle edits, host-side selections and
// shape deletions on a fresh scene, with undo, redo and batches, and after every step checks how
// the editor's selection, the application's selection and the three callback lists must relate, and
// that the editor's history agrees with a plain model of it (a list of states and a cursor);
// aborts on the first breach. Only inputs that no operation documents as raising are generated
// (undo inside a batch is checked to raise and change nothing), so any other exception is a
// finding.

#include "AppShapeEditor.h"
#include "FuzzByteReader.h"

#include "SeSelectionBatch.h"
#include "SeSelectionHistory.h"
#include "SeSelectorUpdater.h"
#include "SeShape.h"
#include "SeShapeItem.h"
#include "SeShapeParts.h"
#include "SeShapeSelector.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakAccessor.h"
#include "foundation/Vector.h"
#include "host/PiCompositeInput.h"
#include "host/PiGraphObject.h"
#include "host/PiGraphObjectPredicateSnItemAdapter.h"
#include "host/PiGraphObjectSnItemConst.h"
#include "host/PiInput.h"
#include "host/PiIsToolNode.h"
#include "host/PiMultivaluedInput.h"
#include "host/PiNode.h"
#include "host/PiSnItem.h"
#include "host/PiSnItemUtil.h"
#include "host/PiStructuredInput.h"
#include "host/RCExInvalidCall.h"
#include "host/SnItem.h"
#include "host/SnParts.h"
#include "host/SnSelection.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::SnItem;
using Vo::SnSelection;
using VoExample::AppShapeInterface;

using ByteReader = VoFuzz::FuzzByteReader;

void check(bool holds, const char *what) {
    if (!holds) {
        std::fprintf(stderr, "selection rule broken: %s\n", what);
        std::abort();
    }
}

// Points and handles never grow past this, so that index operations stay cheap.
constexpr int kMaxParts = 12;

// One shape of the scene: its graph object stays in the tool node after the shape is deleted, so
// host selections may still name it.
struct ShapeRecord {
    std::string name;
    RCShdPtr<Vo::PiGraphObject const> object;
    bool alive = true;
};

// A point or handle the application inserted or removed, as the selector was told of it.
struct PartEdit {
    Vo::RCWeakPtr<Vo::SeShapeInterface> shape;
    bool points = true;
    bool insert = true;
    int index = 0;
};

// The state as the selector renumbers its selection after the edit: the primary item only, when
// it is the edited shape's and has parts; other indices stay, a removed one goes, later ones move.
RCShdPtr<SnSelection const> renumbered(const RCShdPtr<SnSelection const> &state,
                                       const PartEdit &edit) {
    if (state->isEmpty()) {
        return state;
    }
    const auto &primary = dynamic_cast<const Vo::SeShapeItem &>(*state->getPrimaryItem());
    if (primary.getData() != edit.shape || !primary.hasParts()) {
        return state;
    }
    const auto &old = dynamic_cast<const Vo::SeShapeParts &>(*primary.getParts());
    const RCShdPtr<Vo::SeShapeParts> parts(new Vo::SeShapeParts);
    for (const int p : edit.points ? old.getPoints() : old.getHandles()) {
        if (edit.insert || p != edit.index) {
            const int moved = p < edit.index ? p : (edit.insert ? p + 1 : p - 1);
            edit.points ? parts->appendPoint(moved) : parts->appendHandle(moved);
        }
    }
    for (const int p : edit.points ? old.getHandles() : old.getPoints()) {
        edit.points ? parts->appendHandle(p) : parts->appendPoint(p);
    }
    SnSelection::Items items(state->begin(), state->end());
    items.front() = RCShdPtr<SnItem const>(new Vo::SeShapeItem(parts, edit.shape));
    return SnSelection::create(items);
}

// The history as a plain list of the editor's selections after each recorded change, and the
// place of the current one. Undo goes to the nearest earlier state that, without the items of
// deleted shapes, differs from the current selection; redo to the nearest later one.
struct HistoryModel {
    std::vector<RCShdPtr<SnSelection const>> states;
    std::size_t cursor = 0;
    std::size_t depth = Vo::SeSelectionHistory::defaultDepth;

    // A selection equal to the current state (the renumbering the history made too) is no step.
    void record(const SnSelection &now) {
        if (now.isEqual(states[cursor])) {
            return;
        }
        states.erase(states.begin() + static_cast<std::ptrdiff_t>(cursor) + 1, states.end());
        states.emplace_back(now.clone());
        ++cursor;
        while (states.size() - 1 > depth) {
            states.erase(states.begin());
            --cursor;
        }
    }
    static RCShdPtr<SnSelection> withoutGone(const SnSelection &state) {
        const RCShdPtr<SnSelection> kept = SnSelection::create();
        for (const RCShdPtr<SnItem const> &item : state) {
            const auto *shape = dynamic_cast<const Vo::SeShapeItem *>(item.get());
            if (shape == nullptr || !shape->getData().isNull()) {
                kept->addItem(item);
            }
        }
        return kept;
    }
    // The state undo (redo) goes to and its place; null when there is none.
    RCShdPtr<SnSelection> target(const SnSelection &now, bool back, std::size_t &place) const {
        for (place = cursor; back ? place > 0 : place + 1 < states.size();) {
            place = back ? place - 1 : place + 1;
            RCShdPtr<SnSelection> restored = withoutGone(*states[place]);
            if (!now.isEqual(restored)) {
                return restored;
            }
        }
        return RCShdPtr<SnSelection>();
    }
};

// The scene: the example editor with four shapes (composite points without handles, composite
// points with gradient handles, single-valued points, and a small one with a handle), and whether
// the application's selection was last written by the updater for an editor-side change.
struct Scene {
    VoExample::AppShapeEditor editor;
    RCShdPtr<SnSelection> host = editor.getController().getApplicationSelection();
    std::vector<ShapeRecord> shapes;
    bool editorSynced = false;
    HistoryModel history;
    // The open batch's scopes, innermost last, and both selections when it opened.
    std::list<Vo::SeSelectionBatch> batches;
    RCShdPtr<SnSelection const> editorAtBatch;
    RCShdPtr<SnSelection const> hostAtBatch;
    bool hostWrittenInBatch = false;
    std::vector<PartEdit> batchEdits;
    // The edit the last Edit operation made, if any.
    std::vector<PartEdit> lastEdit;

    Scene() {
        addShape("A", 4, 0, false);
        addShape("B", 3, 2, false);
        addShape("C", 5, 0, true);
        addShape("D", 2, 1, false);
        editor.takeCallbacks();
        history.states.emplace_back(selector().getSelection()->clone());
    }

    void addShape(const std::string &name, int points, int handles, bool singleValued) {
        AppShapeInterface *shape =
            editor.getController().addShape(name, points, handles, singleValued);
        check(shape != nullptr, "scene shape could not be built");
        shapes.push_back({name, shape->getShape()->getGraphObject(), true});
    }

    Vo::SeShapeSelector &selector() const { return editor.getSelector(); }
    RCShdPtr<SnSelection> hostSelection() const { return host; }
    AppShapeInterface *live(const ShapeRecord &record) const {
        return record.alive ? editor.getController().getLayer().findShape(record.name) : nullptr;
    }
    // A live shape chosen by the byte, or null when none is left.
    AppShapeInterface *pickLive(std::uint8_t byte) const {
        std::vector<AppShapeInterface *> alive;
        for (const ShapeRecord &record : shapes) {
            if (AppShapeInterface *shape = live(record)) {
                alive.push_back(shape);
            }
        }
        return alive.empty() ? nullptr : alive[byte % alive.size()];
    }
    AppShapeInterface *primary() const {
        const RCShdPtr<Vo::SeShape> shape = selector().getPrimarySelectedShape();
        for (const ShapeRecord &record : shapes) {
            AppShapeInterface *candidate = live(record);
            if (candidate != nullptr && candidate->getShape().get() == shape.get()) {
                return candidate;
            }
        }
        return nullptr;
    }
};

Vo::Vector<RCShdPtr<Vo::SeShape>> drawShapes(const Scene &scene, ByteReader &in) {
    Vo::Vector<RCShdPtr<Vo::SeShape>> shapes;
    for (int count = in.next() % 4; count > 0; --count) {
        if (AppShapeInterface *shape = scene.pickLive(in.next())) {
            shapes.push_back(shape->getShape());
        }
    }
    return shapes;
}

enum PartOperation {
    One,
    Several,
    All,
    Next,
    Previous,
    Unselect,
    AddOne,
    RemoveOne,
    PartOperationCount
};

// A point or handle operation on the primary shape, with indices that exist on it.
void runPartOperation(Scene &scene, bool points, ByteReader &in) {
    const auto operation = static_cast<PartOperation>(in.next() % PartOperationCount);
    const AppShapeInterface *shape = scene.primary();
    const int count =
        shape == nullptr ? 0 : (points ? shape->getNbPoints() : shape->getNbHandles());
    Vo::SeShapeSelector &selector = scene.selector();
    switch (operation) {
    case One:
        if (count > 0) {
            const int index = in.next() % count;
            points ? selector.selectPoint(index) : selector.selectHandle(index);
        }
        break;
    case Several:
        if (points && count > 0) {
            Vo::Vector<int> indices;
            for (int length = in.next() % 4; length > 0; --length) {
                indices.push_back(in.next() % count);
            }
            selector.selectPoints(indices);
        }
        break;
    case All:
        points ? selector.selectAllPoints(count) : selector.selectAllHandles(count);
        break;
    case Next:
        points ? selector.selectNextPoint(count) : selector.selectNextHandle(count);
        break;
    case Previous:
        points ? selector.selectPreviousPoint(count) : selector.selectPreviousHandle(count);
        break;
    case AddOne:
        if (count > 0) {
            const int index = in.next() % count;
            points ? selector.addSelectedPoint(index) : selector.addSelectedHandle(index);
        }
        break;
    case RemoveOne: {
        const int index = in.next() % (count + 1);
        points ? selector.unselectPoint(index) : selector.unselectHandle(index);
        break;
    }
    default:
        points ? selector.unselectPoints() : selector.unselectHandles();
        break;
    }
}

// Inserts or removes a point or handle of any live shape through the controller, which then
// renumbers the selection.
void runEdit(Scene &scene, ByteReader &in) {
    const std::uint8_t how = in.next();
    AppShapeInterface *shape = scene.pickLive(in.next());
    if (shape == nullptr) {
        return;
    }
    const bool points = (how & 1U) != 0;
    const bool insert = (how & 2U) != 0;
    const int count = points ? shape->getNbPoints() : shape->getNbHandles();
    const std::uint8_t index = in.next();
    VoExample::AppEditorController &controller = scene.editor.getController();
    const PartEdit edit{shape->getShape()->getShapeInterface(), points, insert,
                        insert ? index % (count + 1) : (count > 0 ? index % count : 0)};
    bool done = false;
    if (insert && count < kMaxParts) {
        done = points ? controller.insertPoint(*shape, edit.index)
                      : controller.insertHandle(*shape, edit.index);
    } else if (!insert && count > 0) {
        done = points ? controller.deletePoint(*shape, edit.index)
                      : controller.deleteHandle(*shape, edit.index);
    }
    if (done) {
        scene.lastEdit.push_back(edit);
    }
}

// An item the application may select: the graph object of a shape (also a deleted one), the
// editor node or the tool node.
RCShdPtr<SnItem const> drawHostItem(Scene &scene, ByteReader &in) {
    VoExample::AppEditorController &controller = scene.editor.getController();
    const std::uint8_t which = in.next() % (scene.shapes.size() + 2);
    if (which == scene.shapes.size()) {
        return Vo::PiSnItemUtil::create(controller.getNode());
    }
    if (which == scene.shapes.size() + 1) {
        return Vo::PiSnItemUtil::create(controller.getLayer().getToolNode());
    }
    return Vo::PiSnItemUtil::createFromBase(scene.shapes[which].object);
}

// The live shapes the application's selection names, in its order.
std::vector<const Vo::SeShape *> hostShapesOf(const Scene &scene) {
    std::vector<const Vo::SeShape *> shapes;
    for (const RCShdPtr<SnItem const> &item : *scene.hostSelection()) {
        const auto *graphItem = dynamic_cast<const Vo::PiGraphObjectSnItemConst *>(item.get());
        for (const ShapeRecord &record : scene.shapes) {
            AppShapeInterface *shape = scene.live(record);
            if (shape != nullptr && graphItem != nullptr &&
                Vo::PiGraphObject::areEqual(graphItem->getGraphObject(), record.object)) {
                shapes.push_back(shape->getShape().get());
            }
        }
    }
    return shapes;
}

// Selects in the application, in drawn order; an empty draw clears the selection. Gives the live
// shapes selected.
std::vector<const Vo::SeShape *> runHostSelection(Scene &scene, ByteReader &in) {
    const RCShdPtr<SnSelection> items = SnSelection::create();
    for (int count = in.next() % 5; count > 0; --count) {
        items->addItem(drawHostItem(scene, in));
    }
    scene.hostSelection()->replaceAllItems(items);
    return hostShapesOf(scene);
}

// One item comes into the application's selection at a drawn place, or one leaves it.
std::vector<const Vo::SeShape *> runHostOneItem(Scene &scene, ByteReader &in, bool insert) {
    const RCShdPtr<SnSelection> host = scene.hostSelection();
    const int places = host->getNbItems() + (insert ? 1 : 0);
    const int place = in.next() % (places > 0 ? places : 1);
    if (insert) {
        host->insertItem(place, drawHostItem(scene, in));
    } else if (!host->isEmpty()) {
        check(host->removeItem(*std::next(host->begin(), place)), "removeItem of a present item");
    }
    return hostShapesOf(scene);
}

void deleteShape(Scene &scene, ByteReader &in) {
    const AppShapeInterface *shape = scene.pickLive(in.next());
    if (shape == nullptr) {
        return;
    }
    const std::string name = shape->getName();
    for (ShapeRecord &record : scene.shapes) {
        record.alive = record.alive && record.name != name;
    }
    check(scene.editor.getController().deleteShape(name), "deleteShape of a live shape");
}

bool isGraphItem(const RCShdPtr<SnItem const> &item, const RCShdPtr<Vo::PiGraphObject const> &o) {
    const auto *graphItem = dynamic_cast<const Vo::PiGraphObjectSnItemConst *>(item.get());
    return graphItem != nullptr && Vo::PiGraphObject::areEqual(graphItem->getGraphObject(), o);
}

// The number of application items that the selected points and handles of shape stand for.
std::size_t partItemCount(const Scene &scene, const AppShapeInterface &shape) {
    Vo::Vector<int> points;
    Vo::Vector<int> handles;
    scene.selector().getSelectedPoints(points);
    scene.selector().getSelectedHandles(handles);
    const std::size_t pointItems =
        points.empty() ? 0 : (shape.hasSingleValuedPoints() ? 1 : 2 * points.size());
    return pointItems + 2 * handles.size();
}

// The inputs a full mirroring lists for the selected points and handles of shape, in order: the
// components of each element (the single "Points" input once when it is not multi-valued).
std::vector<RCShdPtr<Vo::PiInput>> partInputs(const Scene &scene, AppShapeInterface &shape) {
    std::vector<RCShdPtr<Vo::PiInput>> inputs;
    const auto addComponents = [&inputs](const auto *element) {
        for (Vo::Iterator<RCShdPtr<Vo::PiInput>> component = element->getInputs(1);
             !component.atEnd(); component.next()) {
            inputs.push_back(component.item());
        }
    };
    Vo::Vector<int> points;
    Vo::Vector<int> handles;
    scene.selector().getSelectedPoints(points);
    scene.selector().getSelectedHandles(handles);
    if (!points.empty()) {
        const RCShdPtr<Vo::PiInput> curve = shape.getCurveInput();
        const RCShdPtr<Vo::PiInput> all =
            dynamic_cast<Vo::PiStructuredInput &>(*curve).getInput("Points", 0);
        if (!all->isMultivalued()) {
            inputs.push_back(all);
        }
        for (int index = 0; all->isMultivalued() && index < static_cast<int>(points.size());
             ++index) {
            const RCShdPtr<Vo::PiInput> element =
                dynamic_cast<Vo::PiMultivaluedInput &>(*all).getElement(points[index]);
            addComponents(&dynamic_cast<const Vo::PiCompositeInput &>(*element));
        }
    }
    for (int index : handles) {
        const RCShdPtr<Vo::PiInput> element =
            dynamic_cast<Vo::PiMultivaluedInput &>(*shape.getGradientInput()).getElement(index);
        addComponents(&dynamic_cast<const Vo::PiStructuredInput &>(*element));
    }
    return inputs;
}

// Rule (a): the application's selection mirrors the editor's.
void checkMirrored(Scene &scene) {
    const RCShdPtr<SnSelection> host = scene.hostSelection();
    std::vector<RCShdPtr<SnItem const>> items(host->begin(), host->end());
    check(!items.empty() && isGraphItem(items[0], scene.editor.getController().getNode()),
          "application selection does not start with the editor node");
    Vo::Vector<RCShdPtr<Vo::SeShape>> selected;
    scene.selector().getSelectedShapes(selected);
    check(items.size() >= selected.size() + 1, "application selection misses shapes");
    for (std::size_t index = 0; index < selected.size(); ++index) {
        check(isGraphItem(items[index + 1], selected[index]->getGraphObject()),
              "application selection's shapes differ from the editor's");
    }
    const AppShapeInterface *primary = scene.primary();
    const std::size_t parts =
        selected.size() == 1 && primary != nullptr ? partItemCount(scene, *primary) : 0;
    check(items.size() == selected.size() + 1 + parts,
          "application selection has the wrong number of part items");
    const std::vector<RCShdPtr<Vo::PiInput>> inputs =
        parts == 0 ? std::vector<RCShdPtr<Vo::PiInput>>() : partInputs(scene, *scene.primary());
    for (std::size_t index = selected.size() + 1; index < items.size(); ++index) {
        const auto *input = dynamic_cast<const Vo::PiSnItem<Vo::PiInput> *>(items[index].get());
        check(input != nullptr, "a part item of the application selection is not an input item");
        check(Vo::PiGraphObject::areEqual(input->getInput(), inputs[index - selected.size() - 1]),
              "a part item stands for another input than a full mirroring gives");
    }
}

// Rule (b): a host selection with shapes becomes the editor's shapes, in host order.
void checkTakenOver(const Scene &scene, const std::vector<const Vo::SeShape *> &hostShapes) {
    Vo::Vector<RCShdPtr<Vo::SeShape>> selected;
    scene.selector().getSelectedShapes(selected);
    check(selected.size() == hostShapes.size(), "editor did not take the host's shape count");
    for (std::size_t index = 0; index < selected.size(); ++index) {
        check(selected[index].get() == hostShapes[index], "editor's shapes differ from the host's");
    }
}

enum Operation {
    SetShapes,
    SetPrimary,
    SelectAllShapes,
    Reset,
    Points,
    Handles,
    Edit,
    HostSelect,
    HostClear,
    Delete,
    AddShape,
    UnselectShape,
    HostInsert,
    HostRemove,
    Undo,
    Redo,
    BatchOpen,
    BatchEnd,
    BatchCancel,
    OperationCount
};

// Runs one operation; true when it came from the application's side.
bool runOperation(Scene &scene, Operation operation, ByteReader &in,
                  std::vector<const Vo::SeShape *> &hostShapes) {
    Vo::SeShapeSelector &selector = scene.selector();
    switch (operation) {
    case SetShapes:
        selector.setSelectedShapes(drawShapes(scene, in));
        return false;
    case SetPrimary: {
        AppShapeInterface *shape = scene.pickLive(in.next());
        const std::uint8_t point = in.next();
        if (shape != nullptr) {
            const int count = shape->getNbPoints();
            selector.setPrimarySelectedShape(shape->getShape(),
                                             count == 0 || point % 2 == 0 ? -1 : point % count);
        }
        return false;
    }
    case SelectAllShapes: {
        Vo::Iterator<RCShdPtr<Vo::SeShape>> shapes =
            scene.editor.getController().getLayer().getShapes();
        selector.selectAllShapes(shapes);
        return false;
    }
    case Reset:
        selector.resetSelection();
        return false;
    case Points:
    case Handles:
        runPartOperation(scene, operation == Points, in);
        return false;
    case Edit:
        runEdit(scene, in);
        return false;
    case HostSelect:
        hostShapes = runHostSelection(scene, in);
        return true;
    case HostClear:
        scene.hostSelection()->replaceAllItems(SnSelection::create());
        return true;
    case HostInsert:
    case HostRemove:
        hostShapes = runHostOneItem(scene, in, operation == HostInsert);
        return true;
    case AddShape:
    case UnselectShape:
        if (AppShapeInterface *shape = scene.pickLive(in.next())) {
            operation == AddShape ? selector.addSelectedShape(shape->getShape())
                                  : selector.unselectShape(shape->getShape());
        }
        return false;
    default:
        deleteShape(scene, in);
        return false;
    }
}

// Undo or redo inside a batch raises and changes nothing; outside one it goes where the model
// says, or does nothing when the model has no such state.
void runTravel(Scene &scene, bool back) {
    Vo::SeSelectionHistory &history = scene.editor.getHistory();
    const SnSelection &now = *scene.selector().getSelection();
    if (!scene.batches.empty()) {
        bool raised = false;
        try {
            back ? history.undo() : history.redo();
        } catch (const Vo::RCExInvalidCall &) {
            raised = true;
        }
        check(raised, "undo or redo inside a batch did not raise");
        return;
    }
    std::size_t place = 0;
    const RCShdPtr<SnSelection> expected = scene.history.target(now, back, place);
    const bool done = back ? history.undo() : history.redo();
    check(done == !expected.isNull(), "undo or redo did not do what the model says");
    if (done) {
        check(now.isEqual(expected), "undo or redo restored another state than the model's");
        scene.history.cursor = place;
    }
    check(history.getNbUndoSteps() == static_cast<int>(scene.history.cursor),
          "the history's undo steps differ from the model's");
}

// Ends the innermost scope; the outermost commits the working selection it showed last.
void endBatch(Scene &scene) {
    const RCShdPtr<SnSelection const> working(scene.selector().getCurrentSelection()->clone());
    try {
        scene.batches.back().commit();
    } catch (...) {
        scene.batches.pop_back();
        throw;
    }
    scene.batches.pop_back();
    if (scene.batches.empty()) {
        check(scene.selector().getSelection()->isEqual(working),
              "the batch's end did not commit its working selection");
    }
}

// The selection at the batch's start, less the shapes deleted since: the removal events that
// came inside an abandoned batch still apply, as a removal event does (the rest as wholes).
RCShdPtr<SnSelection> withoutDeleted(const SnSelection &start) {
    const RCShdPtr<SnSelection> live = HistoryModel::withoutGone(start);
    if (live->getNbItems() == start.getNbItems()) {
        return RCShdPtr<SnSelection>(start.clone());
    }
    const RCShdPtr<SnSelection> wholes = SnSelection::create();
    for (const RCShdPtr<SnItem const> &item : *live) {
        wholes->addItem(RCShdPtr<SnItem const>(new Vo::SeShapeItem(
            RCShdPtr<Vo::SnParts>(), dynamic_cast<const Vo::SeShapeItem &>(*item).getData())));
    }
    return wholes;
}

void cancelBatch(Scene &scene) {
    scene.batches.front().cancel();
    scene.batches.clear();
    RCShdPtr<SnSelection const> edited = scene.editorAtBatch;
    for (const PartEdit &edit : scene.batchEdits) {
        edited = renumbered(edited, edit);
    }
    const RCShdPtr<SnSelection> expected = withoutDeleted(*edited);
    check(scene.selector().getSelection()->isEqual(expected),
          "a cancelled batch left another selection than its start, less the deleted shapes");
    check(scene.hostWrittenInBatch || !expected->isEqual(scene.editorAtBatch) ||
              scene.hostSelection()->isEqual(scene.hostAtBatch),
          "a cancelled batch changed the application's selection");
}

// Runs a history or batch operation; true when it ended the outermost scope of a batch.
bool runBatchOrHistory(Scene &scene, Operation operation) {
    switch (operation) {
    case Undo:
    case Redo:
        runTravel(scene, operation == Undo);
        return false;
    case BatchOpen:
        if (scene.batches.empty()) {
            scene.editorAtBatch =
                RCShdPtr<SnSelection const>(scene.selector().getSelection()->clone());
            scene.hostAtBatch = RCShdPtr<SnSelection const>(scene.hostSelection()->clone());
            scene.hostWrittenInBatch = false;
            scene.batchEdits.clear();
        }
        scene.batches.emplace_back(scene.editor.getSharedSelector());
        return false;
    case BatchEnd:
        if (!scene.batches.empty()) {
            endBatch(scene);
            return scene.batches.empty();
        }
        return false;
    default:
        if (!scene.batches.empty()) {
            cancelBatch(scene);
            return true;
        }
        return false;
    }
}

void checkCallbacks(const std::vector<std::string> &callbacks, bool changed, bool fromHost) {
    const auto count = [&callbacks](const char *list) {
        return std::count(callbacks.begin(), callbacks.end(), list);
    };
    check(count("selection") <= 1, "selection-changed list ran more than once in one step");
    check((count("selection") == 1) == changed,
          "selection-changed list ran without a change, or a change went unannounced");
    check(!fromHost || count("shapes") == 0, "shape-selection list ran for a host-side change");
}

// The graph object of each shape the selection names, in order; null for a gone shape.
std::vector<RCShdPtr<Vo::PiGraphObject const>> objectsOf(const SnSelection &selection) {
    std::vector<RCShdPtr<Vo::PiGraphObject const>> objects;
    for (const RCShdPtr<SnItem const> &item : selection) {
        const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape =
            dynamic_cast<const Vo::SeShapeItem &>(*item).getData();
        objects.push_back(
            shape.isNull()
                ? RCShdPtr<Vo::PiGraphObject const>()
                : Vo::RCWeakAccessor<Vo::SeShapeInterface>(shape)->getShape()->getGraphObject());
    }
    return objects;
}

// The primary and shapes lists of one step, exactly as a full mirroring decides them: for a change
// in the editor, against the application's items before it that are no nodes; for one in the
// application, primary when the first shape changed, and never shapes.
void checkListsExactly(const std::vector<std::string> &callbacks, const SnSelection &hostBefore,
                       const SnSelection &editorBefore, const SnSelection &editorAfter,
                       bool fromHost) {
    bool primary = false;
    bool shapes = false;
    if (fromHost) {
        primary = !editorAfter.isEqual(RCShdPtr<SnSelection const>(&editorBefore)) &&
                  (editorBefore.isEmpty() ||
                   !editorAfter.getPrimaryItem()->isEqualImp(*editorBefore.getPrimaryItem()));
    } else {
        // The updater's item filter: the object lives in a tool node, and is no node itself.
        static const Vo::SeSelectorUpdater::ItemTestPtr inToolNode(
            new Vo::PiGraphObjectPredicateSnItemAdapter<Vo::PiNode>(
                Vo::PiIsToolNode::getPredicate()));
        static const Vo::SeSelectorUpdater::ItemTestPtr notNodes =
            Vo::SeSelectorUpdater::graphObjectsNotNodes();
        std::vector<RCShdPtr<Vo::PiGraphObject const>> view;
        for (const RCShdPtr<SnItem const> &item : hostBefore) {
            if (inToolNode->evaluate(item) && notNodes->evaluate(item)) {
                view.push_back(
                    dynamic_cast<const Vo::PiGraphObjectSnItemConst &>(*item).getGraphObject());
            }
        }
        const std::vector<RCShdPtr<Vo::PiGraphObject const>> editor = objectsOf(editorAfter);
        primary = editor.empty() || view.empty() || editor[0].isNull() ||
                  !Vo::PiGraphObject::areEqual(view[0], editor[0]);
        shapes = primary || view.size() != editor.size();
        for (std::size_t at = 1; !shapes && at < view.size(); ++at) {
            shapes = editor[at].isNull() || !Vo::PiGraphObject::areEqual(view[at], editor[at]);
        }
    }
    const auto ran = [&callbacks](const char *list) {
        return std::find(callbacks.begin(), callbacks.end(), list) != callbacks.end();
    };
    if (std::getenv("VO_FUZZ_TRACE") != nullptr) {
        std::fprintf(stderr, "lists: primary %d/%d shapes %d/%d fromHost %d\n", ran("primary"),
                     primary, ran("shapes"), shapes, fromHost);
        for (const RCShdPtr<SnItem const> &item : hostBefore) {
            item->dump(std::cerr);
        }
        std::cerr << "-- editor after\n";
        for (const RCShdPtr<SnItem const> &item : editorAfter) {
            item->dump(std::cerr);
        }
    }
    check(ran("primary") == primary, "the primary list ran other than a full mirroring decides");
    check(ran("shapes") == shapes, "the shapes list ran other than a full mirroring decides");
}

void runStep(Scene &scene, ByteReader &in) {
    const bool inBatch = !scene.batches.empty();
    const RCShdPtr<SnSelection> editorBefore(
        (inBatch ? scene.editorAtBatch : scene.selector().getSelection())->clone());
    const RCShdPtr<SnSelection> hostBefore(scene.hostSelection()->clone());
    std::vector<const Vo::SeShape *> hostShapes;
    const auto operation = static_cast<Operation>(in.next() % OperationCount);
    if (std::getenv("VO_FUZZ_TRACE") != nullptr) {
        std::fprintf(stderr, "step %d: host %d items, editor %d items\n",
                     static_cast<int>(operation), scene.hostSelection()->getNbItems(),
                     scene.selector().getNbSelectedShape());
    }
    bool fromHost = false;
    bool batchEnded = false;
    if (operation >= Undo) {
        batchEnded = runBatchOrHistory(scene, operation);
    } else {
        fromHost = runOperation(scene, operation, in, hostShapes);
    }
    const bool editorChanged = !scene.selector().getSelection()->isEqual(editorBefore);
    const bool hostChanged = !scene.hostSelection()->isEqual(hostBefore);
    // The history renumbers its states as the selector renumbers the selection, at once, also
    // inside a batch; the renumbering is no step of its own.
    for (const PartEdit &edit : scene.lastEdit) {
        for (RCShdPtr<SnSelection const> &state : scene.history.states) {
            state = renumbered(state, edit);
        }
        scene.batchEdits.push_back(edit);
    }
    scene.lastEdit.clear();
    if (!scene.batches.empty()) {
        // Inside a batch nothing reaches the selection object or the callbacks; the working
        // selection still takes the application's shapes over.
        scene.hostWrittenInBatch = scene.hostWrittenInBatch || fromHost;
        check(!editorChanged, "the editor's selection object changed inside a batch");
        check(scene.editor.takeCallbacks().empty(), "a callback ran inside a batch");
        if (fromHost && !hostShapes.empty()) {
            checkTakenOver(scene, hostShapes);
        }
        return;
    }
    if (editorChanged && operation != Undo && operation != Redo) {
        scene.history.record(*scene.selector().getSelection());
    }
    if (std::getenv("VO_FUZZ_TRACE") != nullptr) {
        std::fprintf(
            stderr, "  history %d undo %d redo; model cursor %zu of %zu; editor changed %d\n",
            scene.editor.getHistory().getNbUndoSteps(), scene.editor.getHistory().getNbRedoSteps(),
            scene.history.cursor, scene.history.states.size(), editorChanged);
    }
    check(scene.editor.getHistory().getNbUndoSteps() == static_cast<int>(scene.history.cursor) &&
              scene.editor.getHistory().getNbRedoSteps() ==
                  static_cast<int>(scene.history.states.size() - 1 - scene.history.cursor),
          "the history's steps differ from the model's");
    if (batchEnded) {
        // The commit is one change of the editor's selection, announced as such; an application
        // write inside the batch is not mirrored back when the editor's selection stays.
        checkCallbacks(scene.editor.takeCallbacks(), editorChanged, false);
        scene.editorSynced = editorChanged || (scene.editorSynced && !scene.hostWrittenInBatch);
        if (scene.editorSynced) {
            checkMirrored(scene);
        }
        return;
    }
    // A host-side change that leaves the editor's shapes alone (no shape in it, or the same ones)
    // is not announced: the editor's lists tell of the editor's selection.
    const std::vector<std::string> callbacks = scene.editor.takeCallbacks();
    const bool announced = editorChanged || (!fromHost && hostChanged);
    checkCallbacks(callbacks, announced, fromHost);
    // A deletion takes the shape's object out of the tool node around its event, so the items the
    // updater saw as shapes cannot be read back afterwards.
    if (announced && operation != Delete) {
        checkListsExactly(callbacks, *hostBefore, *editorBefore, *scene.selector().getSelection(),
                          fromHost);
    }
    if (fromHost) {
        scene.editorSynced = false;
        if (!hostShapes.empty()) {
            checkTakenOver(scene, hostShapes);
        }
    } else if (editorChanged) {
        scene.editorSynced = true;
    }
    if (scene.editorSynced) {
        checkMirrored(scene);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ByteReader in(data, size);
    Scene scene;
    while (!in.atEnd()) {
        runStep(scene, in);
    }
    return 0;
}
