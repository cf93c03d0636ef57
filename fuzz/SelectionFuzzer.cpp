// Reference-model fuzzer of the whole editing state: decodes the input into a sequence of
// operations on two editors (two layers of the example application on one application
// selection): selector operations on any shape of an editor's layer (parts of shapes that are not
// primary, handles of shapes without a gradient, indices without element; SelectorSteps.cpp),
// points and handles inserted and removed anywhere in the graph, shapes deleted with their removal
// events, the application writing its own selection, undo and redo, batches, republishing, and
// snapshots saved and restored (with entries gone stale). Each operation runs on the library and
// on the ReferenceModel; after every step both editors' selections (and working selections), the
// application's selection, the published editor, the histories' counts, the picking states, the
// callback lists each editor ran and the error raised must be the model's. Aborts on the first
// difference, printing both states; VO_FUZZ_TRACE=1 prints every step and the model's state.

#include "FuzzByteReader.h"
#include "ModelChangeCheck.h"
#include "ModelItem.h"
#include "ReferenceModel.h"
#include "SelectionScene.h"
#include "SelectionStep.h"

#include "SeSelectionBatch.h"
#include "SeSelectionHistory.h"
#include "SeSelectionSnapshot.h"

#include "foundation/RCShdPtr.h"
#include "host/selection/SnItemSlice.h"
#include "host/selection/SnItemSource.h"
#include "host/selection/SnSelection.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using VoFuzz::ModelHostItem;
using VoFuzz::ModelItems;
using VoFuzz::ReferenceModel;
using VoFuzz::SelectionScene;
using Step = VoFuzz::SelectionStep;
using ByteReader = VoFuzz::FuzzByteReader;
using Error = ReferenceModel::Error;

// Points and handles never grow past this, so that index operations stay cheap.
constexpr int kMaxParts = 12;

bool tracing() {
    static const bool on = std::getenv("VO_FUZZ_TRACE") != nullptr;
    return on;
}

const char *errorName(Error error) {
    static const char *const names[] = {"nothing", "SeExMissingElement", "RCExInvalidCall"};
    return names[static_cast<int>(error)];
}

// The application inserts or removes a point or handle of any live shape (an index it may lack:
// then nothing happens), then reports it.
void runEdit(Step &step) {
    const std::uint8_t how = step.in.next();
    const std::string name = step.pickShape(-1);
    const std::uint8_t byte = step.in.next();
    if (name.empty()) {
        return;
    }
    const bool points = (how & 1U) != 0;
    const bool added = (how & 2U) != 0;
    const VoFuzz::ModelShapes::Shape &shape = step.model().getShapes().get(name);
    const int at = byte % ((points ? shape.points : shape.handles) + 2);
    if (added && (points ? shape.points : shape.handles) >= kMaxParts) {
        return;
    }
    step.say(std::string(added ? "insert" : "delete") + (points ? "Point " : "Handle ") + name,
             {at});
    const bool edits = step.model().getShapes().canEdit(name, points, at, added);
    VoExample::AppEditorController &controller = step.scene.editor(shape.layer).getController();
    VoExample::AppShapeInterface &edited = *step.scene.shape(name);
    bool done = false;
    step.runLibrary([&] {
        done = points ? (added ? controller.insertPoint(edited, at)
                               : controller.deletePoint(edited, at))
                      : (added ? controller.insertHandle(edited, at)
                               : controller.deleteHandle(edited, at));
    });
    step.check(done == edits, "the edit was made where the model says it cannot be, or not made");
    if (edits) {
        step.expected = step.model().edit(name, points, at, added);
    }
}

void runDelete(Step &step) {
    const std::string name = step.pickShape(-1);
    if (name.empty()) {
        return;
    }
    step.say("deleteShape " + name);
    const int layer = step.model().getShapes().get(name).layer;
    step.expected = step.model().remove(name);
    bool deleted = false;
    step.runLibrary([&] { deleted = step.scene.editor(layer).getController().deleteShape(name); });
    step.check(deleted, "a live shape could not be deleted");
}

// A writer's run of the application's items, made when read (as the updater's rows of inputs).
class HostRow : public Vo::SnItemSource {
public:
    explicit HostRow(std::vector<Vo::RCShdPtr<Vo::SnItem const>> made)
        : SnItemSource(made.size()), items(std::move(made)) {}

private:
    Vo::RCShdPtr<Vo::SnItem const> makeItem(std::size_t i) const override { return items[i]; }
    std::vector<Vo::RCShdPtr<Vo::SnItem const>> items;
};

// The list written: its items one by one, or, from three on, the first alone and the others as a
// run, cut in two.
Vo::RCShdPtr<Vo::SnSelection> writtenList(const Vo::SnSelection::Items &written) {
    if (written.size() < 3) {
        return Vo::SnSelection::create(written);
    }
    const Vo::RCShdPtr<Vo::SnItemSource const> row(
        new HostRow(std::vector<Vo::RCShdPtr<Vo::SnItem const>>(std::next(written.begin()),
                                                                written.end())));
    const std::size_t rest = written.size() - 1;
    const Vo::RCShdPtr<Vo::SnSelection> list = Vo::SnSelection::create();
    list->replaceRangeBySlices(0, 0, {Vo::SnItemSlice(written.front()), Vo::SnItemSlice(row, 0, 1),
                                      Vo::SnItemSlice(row, 1, rest - 1)});
    return list;
}

// The application writes its own selection: a new list, or one item in or out at a place.
void runHostWrite(Step &step, int kind) {
    SelectionScene &scene = step.scene;
    ReferenceModel::HostItems items = scene.model.getHost();
    if (kind == 0) {
        items.clear();
        Vo::SnSelection::Items written;
        for (int count = step.in.next() % 5; count > 0; --count) {
            const int which = step.in.next() % scene.hostPoolSize();
            items.push_back(scene.modelHostItem(which));
            written.push_back(scene.hostItem(which));
        }
        step.say("host writes {" + Step::join(Step::textsOf(items), ", ") + "}");
        step.expected = scene.model.hostWrite(items);
        step.runLibrary([&] { scene.host->replaceAllItems(writtenList(written)); });
    } else if (kind == 1) {
        const int place = step.in.next() % (static_cast<int>(items.size()) + 1);
        const int which = step.in.next() % scene.hostPoolSize();
        items.insert(items.begin() + place, scene.modelHostItem(which));
        step.say("host inserts " + scene.modelHostItem(which).text() + " at", {place});
        step.expected = scene.model.hostWrite(items);
        step.runLibrary([&] { scene.host->insertItem(place, scene.hostItem(which)); });
    } else if (!items.empty()) {
        const int place = step.in.next() % static_cast<int>(items.size());
        items.erase(items.begin() + place);
        step.say("host removes item", {place});
        step.expected = scene.model.hostWrite(items);
        step.runLibrary([&] {
            step.check(scene.host->removeItem(*std::next(scene.host->begin(), place)),
                       "removeItem of a present item");
        });
    }
}

void runTravel(Step &step, bool back) {
    step.say(back ? "undo" : "redo");
    step.expected = step.model().travel(step.e, back);
    Vo::SeSelectionHistory &history = step.scene.editor(step.e).getHistory();
    bool travelled = false;
    step.runLibrary([&] { travelled = back ? history.undo() : history.redo(); });
    step.check(travelled == step.expected.travelled,
               "undo or redo did (not) travel where the model does (not)");
}

void runBatch(Step &step, int kind) {
    std::list<Vo::SeSelectionBatch> &scopes = step.scene.batches[static_cast<std::size_t>(step.e)];
    if (kind == 0) {
        step.say("batch open");
        step.model().openBatch(step.e);
        scopes.emplace_back(step.scene.editor(step.e).getSharedSelector());
    } else if (scopes.empty()) {
        return;
    } else if (kind == 1) {
        step.say("batch commit");
        step.expected = step.model().endBatch(step.e);
        step.runLibrary([&] { scopes.back().commit(); });
        // Whatever the commit raised, the scope has ended: a second commit is refused.
        bool refused = false;
        try {
            scopes.back().commit();
        } catch (const Vo::RCExInvalidCall &) {
            refused = true;
        }
        step.check(refused, "a second commit of an ended scope was not refused");
        scopes.pop_back();
    } else if (kind == 3) {
        // The scope's end commits as commit() does, reporting nothing of what that raises.
        step.say("batch scope ends");
        step.expected = step.model().endBatch(step.e);
        step.expected.error = ReferenceModel::Error::none;
        step.runLibrary([&] { scopes.pop_back(); });
    } else {
        step.say("batch cancel");
        step.model().cancelBatch(step.e);
        scopes.back().cancel();
    }
}

void runRepublish(Step &step) {
    step.say("republish");
    step.expected = step.model().republish(step.e);
    step.runLibrary([&] { step.scene.editor(step.e).activate(); });
}

// Saves the editor's selection under a slot (its text must be the model's, and read back the
// same), or restores a slot into the editor, refusing or skipping entries that no longer
// resolve in its layer.
void runSnapshot(Step &step, bool save) {
    const auto slot = static_cast<std::size_t>(step.in.next() % SelectionScene::kSnapshots);
    const std::uint8_t mode = step.in.next();
    const bool skip = (mode & 1U) != 0;
    const bool counted = (mode & 2U) != 0; // the application counts single-valued points
    std::optional<SelectionScene::Saved> &saved = step.scene.saved[slot];
    const Vo::RCShdPtr<Vo::SeShapeSelector> &selector =
        step.scene.editor(step.e).getSharedSelector();
    if (save) {
        step.say("save", {static_cast<int>(slot)});
        const ReferenceModel::Snapshot snapshot = step.model().capture(step.e);
        std::string text;
        step.runLibrary([&] { text = Vo::SeSelectionSnapshot::capture(selector).toText(); });
        step.check(text == step.model().textOf(snapshot),
                   "saved text differs from the model's:\n" + text);
        step.check(Vo::SeSelectionSnapshot::fromText(text).toText() == text,
                   "a saved text read back writes another");
        saved = SelectionScene::Saved{text, snapshot};
        return;
    }
    if (!saved) {
        return;
    }
    step.say(std::string("restore") + (skip ? " skipping" : "") + (counted ? " counted" : ""),
             {static_cast<int>(slot)});
    step.expected = step.model().restore(step.e, saved->snapshot, skip, counted);
    VoExample::AppLayerInterface &layer = step.scene.editor(step.e).getController().getLayer();
    const auto resolve = [&layer](std::uint64_t key) {
        VoExample::AppShapeInterface *shape = layer.findShapeById(static_cast<int>(key));
        return shape == nullptr ? Vo::RCShdPtr<Vo::SeShape>() : shape->getShape();
    };
    std::size_t skipped = 0;
    step.runLibrary([&] {
        skipped = Vo::SeSelectionSnapshot::fromText(saved->text)
                      .restore(selector, resolve,
                               skip ? Vo::SeSelectionSnapshot::Unresolved::skip
                                    : Vo::SeSelectionSnapshot::Unresolved::refuse,
                               counted ? &VoExample::AppShapeInterface::countElements
                                       : Vo::SeSelectionSnapshot::Counter())
                      .size();
    });
    step.check(skipped == step.expected.skipped, "the restore skipped other entries");
}

void runPicking(Step &step) {
    const ReferenceModel::Picking picking{step.in.next() % 4, step.in.next() % 8 - 1,
                                          step.in.next() % 3 - 1};
    step.say("picking", {picking.type, picking.index, picking.extremity});
    step.model().setPicking(step.e, picking);
    Vo::SeShapeSelector &selector = step.selector();
    selector.setPickingType(Vo::SeShapeSelector::PickingType{picking.type});
    selector.setPickingIndex(picking.index);
    selector.setPickingExtremity(picking.extremity);
}

// The history keeps 0, 1, 2 or the default 100 steps, forgets them all, or is detached from its
// selector or attached to it again.
void runHistorySettings(Step &step, bool clear, bool attachment) {
    Vo::SeSelectionHistory &history = step.scene.editor(step.e).getHistory();
    if (attachment) {
        const bool attached = history.isAttached();
        step.say(attached ? "history detach" : "history attach");
        step.model().switchHistory(step.e);
        if (attached) {
            history.detach();
        } else {
            history.attach(step.scene.editor(step.e).getSharedSelector());
        }
        return;
    }
    if (clear) {
        step.say("history clear");
        step.model().clearHistory(step.e);
        history.clear();
        return;
    }
    const std::uint8_t byte = step.in.next();
    const int depth = byte % 4 == 3 ? Vo::SeSelectionHistory::defaultDepth : byte % 4;
    step.say("history depth", {depth});
    step.model().setHistoryDepth(step.e, static_cast<std::size_t>(depth));
    step.runLibrary([&] { history.setDepth(depth); });
}

enum Operation {
    SetShapes,
    SelectAllShapes,
    Reset,
    SetPrimary,
    AddShape,
    UnselectShape,
    SetShapeParts,
    Points,
    Handles,
    Edit,
    Delete,
    HostReplace,
    HostInsert,
    HostRemove,
    Undo,
    Redo,
    BatchOpen,
    BatchCommit,
    BatchCancel,
    Republish,
    Save,
    Restore,
    Picking,
    ReplaceAll,
    HistoryDepth,
    HistoryClear,
    HistoryAttachment,
    BatchScopeEnd,
    OperationCount
};

void runOperation(Step &step, Operation operation) {
    if (operation <= UnselectShape) {
        VoFuzz::runShapeStep(step, operation - SetShapes);
    } else if (operation == SetShapeParts) {
        VoFuzz::runShapePartsStep(step);
    } else if (operation == Points || operation == Handles) {
        VoFuzz::runPartsStep(step, operation == Points);
    } else if (operation == Edit) {
        runEdit(step);
    } else if (operation == Delete) {
        runDelete(step);
    } else if (operation <= HostRemove) {
        runHostWrite(step, operation - HostReplace);
    } else if (operation <= Redo) {
        runTravel(step, operation == Undo);
    } else if (operation <= BatchCancel) {
        runBatch(step, operation - BatchOpen);
    } else if (operation == Republish) {
        runRepublish(step);
    } else if (operation <= Restore) {
        runSnapshot(step, operation == Save);
    } else if (operation == Picking) {
        runPicking(step);
    } else if (operation == ReplaceAll) {
        VoFuzz::runReplaceAllStep(step);
    } else if (operation == BatchScopeEnd) {
        runBatch(step, 3);
    } else {
        runHistorySettings(step, operation == HistoryClear, operation == HistoryAttachment);
    }
}

// The items as SelectionScene::describe gives them: a gone shape cannot tell its name.
ModelItems asDescribed(const ReferenceModel &model, ModelItems items) {
    for (VoFuzz::ModelItem &item : items) {
        item.shape = model.getShapes().isAlive(item.shape) ? item.shape : "(gone)";
    }
    return items;
}

// After every step: the error, and every state the model keeps, editor by editor.
void checkState(Step &step) {
    SelectionScene &scene = step.scene;
    const ReferenceModel &model = scene.model;
    step.check(step.raised == step.expected.error, std::string("raised ") + errorName(step.raised) +
                                                       ", the model says " +
                                                       errorName(step.expected.error));
    for (int e = 0; e < SelectionScene::kEditors; ++e) {
        const std::string editor = "editor " + std::to_string(e) + ": ";
        const Vo::SeShapeSelector &selector = scene.selector(e);
        step.check(SelectionScene::describe(*selector.getSelection()) ==
                       asDescribed(model, model.editor(e).items),
                   editor + "the selection differs from the model's");
        const ModelItems working = SelectionScene::describe(*selector.getCurrentSelection());
        step.check(working == asDescribed(model, model.current(e)),
                   editor + "the working selection " + Step::textOf(working) +
                       " differs from the model's " + Step::textOf(model.current(e)));
        const std::vector<std::string> callbacks = scene.editor(e).takeCallbacks();
        step.check(callbacks == step.expected.callbacks[static_cast<std::size_t>(e)],
                   editor + "callbacks {" + Step::join(callbacks, ", ") + "}, the model's {" +
                       Step::join(step.expected.callbacks[static_cast<std::size_t>(e)], ", ") +
                       "}");
        step.check(scene.editor(e).isPublished() == (model.getPublished() == e),
                   editor + "published is not the model's " + std::to_string(model.getPublished()));
        Vo::SeSelectionHistory &history = scene.editor(e).getHistory();
        step.check(history.getNbUndoSteps() == model.editor(e).history.undoSteps() &&
                       history.getNbRedoSteps() == model.editor(e).history.redoSteps(),
                   editor + "history steps " + std::to_string(history.getNbUndoSteps()) + "/" +
                       std::to_string(history.getNbRedoSteps()) + ", the model's " +
                       std::to_string(model.editor(e).history.undoSteps()) + "/" +
                       std::to_string(model.editor(e).history.redoSteps()));
        const ReferenceModel::Picking &picking = model.editor(e).picking;
        step.check(selector.getPickingType() == picking.type &&
                       selector.getPickingIndex() == picking.index &&
                       selector.getPickingExtremity() == picking.extremity,
                   editor + "picking state differs");
    }
    step.check(SelectionScene::describeHost(*scene.host) == Step::textsOf(model.getHost()),
               "the application's selection differs from the model's");
}

using ChangeChecks = std::array<VoFuzz::ModelChangeCheck *, SelectionScene::kEditors>;

// The operations that write the editor's selection themselves: a small change of the whole list
// they make must be described.
bool writesItself(Operation operation) {
    return operation <= UnselectShape || operation == SetShapeParts || operation == Points ||
           operation == Handles || operation == ReplaceAll || operation == BatchCommit ||
           operation == BatchScopeEnd || operation == Undo || operation == Redo;
}

// Every change was followed by its description; a refused operation (but a batch's commit,
// which applies the application's edits once refused) leaves the last change as it was.
void checkChanges(const Step &step, const ChangeChecks &checks, Operation operation,
                  const Vo::SeSelectionChange &before) {
    for (VoFuzz::ModelChangeCheck *check : checks) {
        check->strict = false;
        step.check(check->failure.empty(), check->failure);
    }
    const Vo::SeSelectionChange &after = step.scene.selector(step.e).getLastChange();
    const bool refused = step.raised == ReferenceModel::Error::missingElement &&
                         operation != BatchCommit && operation != BatchScopeEnd;
    step.check(!refused || (after.getRevisionBefore() == before.getRevisionBefore() &&
                            after.getRevisionAfter() == before.getRevisionAfter() &&
                            after.isWhole() == before.isWhole()),
               "a refused operation changed the last change");
}

void runStep(SelectionScene &scene, ByteReader &in, const ChangeChecks &checks) {
    const std::uint8_t byte = in.next();
    Step step(scene, in, byte & 1);
    const auto operation = static_cast<Operation>((byte >> 1U) % OperationCount);
    const Vo::SeSelectionChange before = scene.selector(step.e).getLastChange();
    checks[static_cast<std::size_t>(step.e)]->strict = writesItself(operation);
    runOperation(step, operation);
    checkChanges(step, checks, operation, before);
    if (tracing()) {
        std::fprintf(stderr, "%s -> %s\n", step.text.c_str(), errorName(step.raised));
        for (int e = 0; e < SelectionScene::kEditors; ++e) {
            const ReferenceModel::Editor &editor = scene.model.editor(e);
            std::fprintf(
                stderr, "  editor %d %s%s history %s callbacks {%s}\n", e,
                Step::textOf(editor.items).c_str(),
                editor.batch ? (" working " + Step::textOf(editor.batch->working)).c_str() : "",
                editor.history.text().c_str(),
                Step::join(step.expected.callbacks[static_cast<std::size_t>(e)], ", ").c_str());
        }
        std::fprintf(stderr, "  host {%s} published %d\n",
                     Step::join(Step::textsOf(scene.model.getHost()), ", ").c_str(),
                     scene.model.getPublished());
    }
    checkState(step);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ByteReader in(data, size);
    SelectionScene scene;
    VoFuzz::ModelChangeCheck roto(scene.selector(0));
    VoFuzz::ModelChangeCheck mask(scene.selector(1));
    const ChangeChecks checks{&roto, &mask};
    while (!in.atEnd()) {
        runStep(scene, in, checks);
    }
    return 0;
}
