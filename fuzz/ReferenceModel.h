#pragma once

#include "ModelHistory.h"
#include "ModelHostItem.h"
#include "ModelItem.h"
#include "ModelSelection.h"
#include "ModelShapes.h"
#include "ModelUpdater.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace VoFuzz {

// The reference model of the whole editing state of an application with several layers, one
// editor each, on one application selection, in plain values (docs/selection-protocol.md,
// docs/embedding.md "Points and handles", docs/batches-and-undo.md, docs/saving-selections.md,
// docs/several-editors.md): the shapes, each editor's selection, open batch, picking state and history, the
// application's selection, the editor it shows (the published one) and the editors whose
// selection is what they took from it. Each operation gives its Outcome: the error it raises, the
// callback lists each editor runs, and its result. Editor e edits the shapes of layer e; a
// refused operation changes nothing at all.
class ReferenceModel {
public:
    enum class Error { none, missingElement, invalidCall };

    struct Picking {
        int type = 0;
        int index = -1;
        int extremity = -1;
    };
    // A saved selection: its entries name shapes (its text gives their keys), in order.
    struct Snapshot {
        ModelItems entries;
        Picking picking;
    };
    // A point or handle the application inserted or removed, reported inside a batch.
    struct Renumbering {
        std::string shape;
        bool points;
        int at;
        bool added;
    };
    // An open batch: its depth, whether a scope was cancelled, whether the application's
    // selection was mirrored into it (replaced), whether a removal event came, the reports, and
    // the working selection every operation reads and changes.
    struct Batch {
        int depth = 1;
        bool cancelled = false;
        bool replaced = false;
        bool removed = false;
        std::vector<Renumbering> edits;
        ModelItems working;
    };
    struct Editor {
        std::string node;
        std::string path; // of its inputs: from the layer's tool node to the primary output
        ModelItems items;
        Picking picking;
        ModelHistory history{ModelItems()};
        std::optional<Batch> batch;
        // Its selection is what it took from the application's selection as it is now.
        bool followsHost = false;
    };
    struct Outcome {
        Error error = Error::none;
        std::vector<std::vector<std::string>> callbacks; // per editor, in the order they ran
        bool travelled = false;                          // undo, redo
        std::size_t skipped = 0; // entries a restore left out
    };
    using Operation = std::function<ModelItems(const ModelItems &)>;
    using HostItems = std::vector<ModelHostItem>;

    // The editor of the next layer: its node, and the path of its inputs ("Roto>Output").
    void addEditor(const std::string &node, const std::string &path) {
        editors.emplace_back();
        editors.back().node = node;
        editors.back().path = path;
    }
    void addShape(const ModelShapes::Shape &shape) { shapes.add(shape); }

    // A selector operation of editor e. Inside a batch it changes the working selection only.
    // Otherwise a result equal to the selection changes nothing, a single shape with an index
    // without element is refused (SeExMissingElement), and any other result is a change made in
    // the editor, recorded by its history (but a renumbering).
    Outcome change(int e, const Operation &operation, bool recorded = true) {
        start();
        Editor &editor = editors[e];
        if (editor.batch) {
            editor.batch->working = operation(editor.batch->working);
            return outcome;
        }
        const ModelItems after = operation(editor.items);
        if (after == editor.items) {
            return outcome;
        }
        if (isRefused(after)) {
            return fail(Error::missingElement);
        }
        commit(e, after, nullptr, std::string());
        if (recorded) {
            editor.history.record(editor.items);
        }
        return outcome;
    }
    // The selector's replaceAllItems with these items: as any selector operation, but inside a
    // batch it counts as the application's own write (an abandon writes the start back).
    Outcome replaceAll(int e, const ModelItems &items) {
        if (editors[e].batch) {
            editors[e].batch->replaced = true;
        }
        return change(e, [&](const ModelItems &) { return items; });
    }
    // The application inserted (removed) a point or handle in the graph, then reported it: the
    // inputs after it move (a removed one is gone), and every item of the shape with parts is
    // renumbered, in the history's states and as a selector operation of the shape's editor,
    // which is no step of its own.
    Outcome edit(const std::string &name, bool points, int at, bool added) {
        ModelShapes::Shape &shape = shapes.get(name);
        (points ? shape.points : shape.handles) += added ? 1 : -1;
        for (ModelHostItem &item : host) {
            const bool moves = item.kind == ModelHostItem::Kind::input && !item.gone &&
                               item.name == name && item.handle != points && item.element >= at;
            item.gone = item.gone || (moves && !added && item.element == at);
            item.element += moves && !item.gone ? (added ? 1 : -1) : 0;
        }
        Editor &editor = editors[shape.layer];
        editor.history.renumber(name, points, at, added);
        if (editor.batch) {
            editor.batch->edits.push_back(Renumbering{name, points, at, added});
        }
        const auto renumber = [&](const ModelItems &items) {
            return ModelSelection::renumber(items, name, points, at, added);
        };
        return change(shape.layer, renumber, false);
    }
    // The application deleted the shape, sent its removal event, then took the shape's inputs
    // out of the graph. Its editor, inside a batch, takes it out of the working selection;
    // otherwise the change is made in the editor, and written out only when the application's
    // selection shows the editor (published, or what it took from it). An editor not shown
    // leaves the application's selection alone and tells its callbacks against its own shapes.
    Outcome remove(const std::string &name) {
        start();
        shapes.get(name).alive = false;
        const int e = shapes.get(name).layer;
        Editor &editor = editors[e];
        const ModelItems after = ModelSelection::afterRemoval(
            editor.batch ? editor.batch->working : editor.items, gone());
        if (editor.batch) {
            editor.batch->removed = true;
            editor.batch->working = after;
        } else if (after != editor.items && (published == e || editor.followsHost)) {
            commit(e, after, nullptr, name);
            editor.history.record(editor.items);
        } else if (after != editor.items) {
            outcome.callbacks[e] = ModelUpdater::unshownCallbacks(editor.items, after);
            editor.items = after;
            editor.followsHost = false;
            editor.history.record(editor.items);
        }
        for (ModelHostItem &item : host) {
            item.gone = item.gone || (item.kind == ModelHostItem::Kind::input && item.name == name);
        }
        return outcome;
    }
    // The application writes its selection: no editor shows it now. Each editor whose live shapes
    // it names takes them, as wholes, in its order (a batch's working selection takes them with no
    // callback) and follows it; selection runs when that changes the editor's selection, primary
    // too when the first shape changes.
    Outcome hostWrite(HostItems items) {
        start();
        host = std::move(items);
        published = -1;
        for (int e = 0; e < static_cast<int>(editors.size()); ++e) {
            Editor &editor = editors[e];
            const std::vector<std::string> named = ModelUpdater::shown(host, e, shapes, "");
            editor.followsHost = !named.empty() && !editor.batch;
            if (named.empty()) {
                continue;
            }
            const ModelItems mapped = ModelSelection::wholes(named);
            if (editor.batch) {
                editor.batch->working = mapped;
                editor.batch->replaced = true;
            } else if (mapped != editor.items) {
                outcome.callbacks[e] = ModelUpdater::hostCallbacks(editor.items, mapped);
                editor.items = mapped;
                editor.history.record(editor.items);
            }
        }
        return outcome;
    }
    // undo (back) or redo: a change made in the editor, not recorded; refused inside a batch;
    // nothing at all from a detached history.
    Outcome travel(int e, bool back) {
        start();
        Editor &editor = editors[e];
        if (!editor.history.isAttached()) {
            return outcome;
        }
        if (editor.batch) {
            return fail(Error::invalidCall);
        }
        std::size_t place = 0;
        ModelItems restored;
        if (!editor.history.target(editor.items, back, gone(), place, restored)) {
            return outcome;
        }
        if (isRefused(restored)) {
            return fail(Error::missingElement);
        }
        commit(e, restored, nullptr, std::string());
        editor.history.moveTo(place, editor.items);
        outcome.travelled = true;
        return outcome;
    }
    void openBatch(int e) {
        Editor &editor = editors[e];
        if (editor.batch) {
            ++editor.batch->depth;
        } else {
            editor.batch = Batch{1, false, false, false, {}, editor.items};
        }
    }
    void cancelBatch(int e) { editors[e].batch->cancelled = true; }
    // The end of a scope. The outermost commits the working selection as one change made in the
    // editor (its callbacks also count what changed since the start), writes nothing when that
    // equals the start, and abandons a cancelled batch. A refused commit changes nothing and
    // raises; like an abandon, it still applies what the application reported inside.
    Outcome endBatch(int e) {
        start();
        Editor &editor = editors[e];
        if (--editor.batch->depth > 0) {
            return outcome;
        }
        const Batch ended = std::move(*editor.batch);
        editor.batch.reset();
        if (ended.cancelled) {
            abandon(e, ended);
        } else if (ended.working == editor.items) {
            return outcome;
        } else if (isRefused(ended.working)) {
            outcome.error = Error::missingElement;
            replay(e, ended);
        } else {
            const ModelItems origin = editor.items;
            commit(e, ended.working, &origin, std::string());
            editor.history.record(editor.items);
        }
        return outcome;
    }
    // republish: the editor's selection written out, with no callback; refused in a batch.
    Outcome republish(int e) {
        start();
        if (editors[e].batch) {
            return fail(Error::invalidCall);
        }
        publish(e);
        return outcome;
    }
    Snapshot capture(int e) const { return Snapshot{current(e), editors[e].picking}; }
    // Restores a snapshot into editor e, its keys resolved in layer e: an entry that no longer
    // resolves (its shape gone or of another layer, an index the shape lacks; counted: the
    // application tells the points of a single-valued curve) is refused (RCExInvalidCall, nothing
    // changes) or, with skip, left out and counted. The rest is one change made in the editor;
    // the picking state follows.
    Outcome restore(int e, const Snapshot &snapshot, bool skip, bool counted) {
        start();
        if (editors[e].batch) {
            return fail(Error::invalidCall);
        }
        ModelItems restored;
        for (const ModelItem &entry : snapshot.entries) {
            if (shapes.resolves(e, entry, counted)) {
                restored.push_back(entry);
            } else if (skip) {
                ++outcome.skipped;
            } else {
                return fail(Error::invalidCall);
            }
        }
        Editor &editor = editors[e];
        if (restored != editor.items) {
            commit(e, restored, nullptr, std::string());
            editor.history.record(editor.items);
        }
        editor.picking = snapshot.picking;
        return outcome;
    }
    void setPicking(int e, const Picking &picking) { editors[e].picking = picking; }
    void setHistoryDepth(int e, std::size_t depth) { editors[e].history.setDepth(depth); }
    void clearHistory(int e) {
        if (editors[e].history.isAttached()) {
            editors[e].history.clear(editors[e].items);
        }
    }
    // Detaches a history, or attaches it again, starting from the selection object's items.
    void switchHistory(int e) {
        ModelHistory &history = editors[e].history;
        if (history.isAttached()) {
            history.detach();
        } else {
            history.attach(editors[e].items);
        }
    }
    // The snapshot's text form: "voshape-selection 1", "picking T I E", then "shape KEY" for a
    // whole shape or "shape KEY points I... handles I..." a line.
    std::string textOf(const Snapshot &snapshot) const {
        std::string text = "voshape-selection 1\npicking " + std::to_string(snapshot.picking.type) +
                           " " + std::to_string(snapshot.picking.index) + " " +
                           std::to_string(snapshot.picking.extremity) + "\n";
        for (const ModelItem &entry : snapshot.entries) {
            text += "shape " + std::to_string(shapes.get(entry.shape).key);
            for (const bool pointSide : {true, false}) {
                text += entry.whole ? "" : (pointSide ? " points" : " handles");
                for (int index : entry.side(pointSide)) {
                    text += " " + std::to_string(index);
                }
            }
            text += "\n";
        }
        return text;
    }

    const Editor &editor(int e) const { return editors[e]; }
    // What editor e's operations read: its batch's working selection, else its selection.
    const ModelItems &current(int e) const {
        return editors[e].batch ? editors[e].batch->working : editors[e].items;
    }
    const HostItems &getHost() const { return host; }
    // The editor the application's selection shows; -1 when none does.
    int getPublished() const { return published; }
    const ModelShapes &getShapes() const { return shapes; }

private:
    void start() {
        outcome = Outcome();
        outcome.callbacks.resize(editors.size());
    }
    Outcome fail(Error error) {
        outcome.error = error;
        return outcome;
    }
    ModelSelection::IsGone gone() const {
        return [this](const std::string &name) { return !shapes.isAlive(name); };
    }
    // A single live shape that names an element it lacks: the mirror refuses it.
    bool isRefused(const ModelItems &items) const {
        return items.size() == 1 && shapes.isAlive(items.front().shape) &&
               shapes.lacksElement(items.front());
    }
    // Writes editor e's mirror (only when it differs, so that a write ends what the others took
    // from the application's selection): the application's selection shows e.
    void publish(int e) {
        const HostItems mirrored =
            ModelUpdater::mirror(editors[e].node, editors[e].path, editors[e].items, shapes);
        if (mirrored != host) {
            host = mirrored;
            for (Editor &editor : editors) {
                editor.followsHost = false;
            }
        }
        published = e;
    }
    // A change made in editor e: its lists run (told against what the application's selection
    // shows of its layer before the write), its selection takes the result, and it is written.
    void commit(int e, const ModelItems &after, const ModelItems *origin,
                const std::string &dying) {
        const std::vector<std::string> shown = ModelUpdater::shown(host, e, shapes, dying);
        outcome.callbacks[e] = ModelUpdater::editorCallbacks(shown, after, origin, shapes);
        editors[e].items = after;
        editors[e].followsHost = false;
        publish(e);
    }
    static ModelItems renumbered(ModelItems items, const std::vector<Renumbering> &edits) {
        for (const Renumbering &edit : edits) {
            items = ModelSelection::renumber(items, edit.shape, edit.points, edit.at, edit.added);
        }
        return items;
    }
    // What the application reported inside an ended batch still applies to the selection after
    // it, as one change of its own (a batch's commit); true when that changed the selection.
    bool replay(int e, const Batch &ended) {
        Editor &editor = editors[e];
        ModelItems after = renumbered(editor.items, ended.edits);
        after = ended.removed ? ModelSelection::afterRemoval(after, gone()) : after;
        if (after == editor.items || isRefused(after)) {
            return false;
        }
        const ModelItems origin = editor.items;
        commit(e, after, &origin, std::string());
        editor.history.record(editor.items);
        return true;
    }
    // Both selections stay as at the batch's start, the reports still applying; when the
    // application's selection was mirrored in and nothing was replayed, the start is written back
    // into it, with no callback.
    void abandon(int e, const Batch &ended) {
        if (!replay(e, ended) && ended.replaced) {
            editors[e].followsHost = false;
            publish(e);
        }
    }

    ModelShapes shapes;
    std::vector<Editor> editors;
    HostItems host;
    int published = -1;
    Outcome outcome;
};

} // namespace VoFuzz
