#pragma once

#include "SessionLayers.h"
#include "SessionScene.h"

#include "AppEditorController.h"
#include "AppLayerInterface.h"
#include "AppShapeEditor.h"
#include "AppShapeInterface.h"

#include "SeSelectionBatch.h"
#include "SeShape.h"
#include "SeShapeInterface.h"
#include "SeShapeSelector.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "host/graph/PiGraphObject.h"
#include "host/selection/SnSelection.h"

#include <cstddef>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace VoPython {

// One editor as Python sees it: the example application's shape editors, one a layer (controller,
// selector, updater, history; the scene's `layer` lines add layers after the first), of which one
// is active, the scene that names its shapes, a record of every shape it built (name, id, layer,
// editing side held weakly, model side held), the shapes deleted with their removal event held
// back, the Python handlers subscribed and the batches open. Owns all of it, and is shared by
// every Python object that reaches into it, so that none of them outlives what it points at.
// Used under the GIL only, which keeps it on one thread at a time as the library requires.
class PyEditor : public std::enable_shared_from_this<PyEditor> {
public:
    // What the module knows of a shape it built, also once the shape is deleted.
    struct Record {
        std::string name;
        int id;
        std::size_t layer;
        Vo::RCWeakPtr<Vo::SeShapeInterface> weak;
        Vo::RCShdPtr<Vo::SeShape> model;
    };
    // The most points, or handles, a shape made from Python may have. The scene text keeps its
    // own, smaller bounds (SessionScene).
    static constexpr int maxCount = 1000000;

    explicit PyEditor(std::size_t maxShapes);
    PyEditor(const PyEditor &) = delete;
    PyEditor &operator=(const PyEditor &) = delete;
    // Handlers leave their lists and batches end before the application goes.
    ~PyEditor();

    // Reads a scene (SessionScene's text) and builds its shapes in order; raises PyModuleError
    // (Scene) naming the source and line of the first bad line, having built nothing.
    void build(std::istream &in, const std::string &source);

    // The active layer's editor and what it holds: what the selector, the history, batches and
    // subscriptions made from Python reach at the time of the call.
    VoExample::AppShapeEditor &getApplication() const noexcept { return layers.getActive(); }
    // A layer by its index in creation order; none: the active one at the time of the call.
    using LayerChoice = std::optional<std::size_t>;
    // The editor of that layer: what voshape.Layer's selector and history reach, whichever layer
    // is active.
    VoExample::AppShapeEditor &getApplication(LayerChoice layer) const {
        return layer ? layers.at(*layer) : getApplication();
    }
    VoExample::AppEditorController &getController() noexcept {
        return getApplication().getController();
    }
    VoExample::AppLayerInterface &getLayer() noexcept { return getController().getLayer(); }
    Vo::SeShapeSelector &getSelector() const { return getApplication().getSelector(); }
    const Vo::RCShdPtr<Vo::SeShapeSelector> &getSharedSelector() const noexcept {
        return getApplication().getSharedSelector();
    }
    // Layers by their tool node's name, in creation order.
    std::vector<std::string> getLayerNames() const;
    std::size_t getActiveLayer() const noexcept { return layers.getActiveIndex(); }
    // The index of the named layer; raises PyModuleError (Value) for an unknown name.
    std::size_t layerNamed(const std::string &name) const;
    VoExample::AppLayerInterface &getLayerAt(std::size_t layer) const {
        return layers.at(layer).getController().getLayer();
    }
    // Makes the named layer's editor the active one, which writes its selection into the
    // application's (republish). Raises PyModuleError (Value) for an unknown name, (InvalidCall)
    // while a batch opened from Python is open, having changed nothing.
    void activateLayer(const std::string &name);
    // The live shape, in any layer, whose graph object that is; null when none.
    Vo::RCShdPtr<Vo::SeShape> findShape(const Vo::RCShdPtr<Vo::PiGraphObject const> &object) const;
    Vo::SnSelection &getApplicationSelection() {
        return *getController().getApplicationSelection();
    }
    std::vector<std::string> getNodeNames() const;

    // Builds a shape and sends its ShapeAdded; raises PyModuleError (Scene) for a name the scene
    // refuses or a count outside 0 .. maxCount. The shape stays built when a handler of the event
    // raises. Gives its record.
    std::size_t addShape(const std::string &name, int nbPoints, int nbHandles, bool single);
    std::size_t getNbRecords() const noexcept { return records.size(); }
    const Record &getRecord(std::size_t record) const { return records.at(record); }
    // The record of the shape whose editing side this is (alive or not); raises PyModuleError
    // (UnknownShape) for a shape this editor did not build.
    std::size_t recordOf(const Vo::RCWeakPtr<Vo::SeShapeInterface> &weak) const;
    std::size_t recordOf(const Vo::SeShape &shape) const;
    // Raises PyModuleError (UnknownShape) naming the shapes there are.
    std::size_t recordNamed(const std::string &name) const;
    // Null for an unknown id.
    const std::size_t *recordWithId(int id) const;
    // The live shape's application side; raises PyModuleError (ShapeGone) once it is deleted.
    VoExample::AppShapeInterface &live(std::size_t record);
    bool isAlive(std::size_t record) const;
    // The application side of the layer the shape was built in.
    VoExample::AppEditorController &controllerOf(std::size_t record) const;
    // Records of the live shapes, in creation order.
    std::vector<std::size_t> getLiveRecords();

    // Deletes the live shape: its editing side goes, then (unless held back) its removal event is
    // sent, then its graph object and inputs leave the tool node, also when a handler of the event
    // raised.
    void deleteShape(std::size_t record, bool sendEvent);
    // Sends the removal event held back for that shape; raises PyModuleError (Value) when none is.
    void sendRemoval(std::size_t record);
    const std::vector<std::size_t> &getPendingRemovals() const noexcept { return pending; }
    // Inserts or removes a point (points true) or handle of the live shape in the graph, then
    // renumbers the selection. Raises PyModuleError (Index) for an index outside the shape,
    // (Value) for handles of a shape without gradient, having changed nothing.
    void edit(std::size_t record, bool points, bool inserting, int index);

    // A live shape's graph object or a node, by name; raises PyModuleError (UnknownShape).
    Vo::RCShdPtr<Vo::PiGraphObject const> findGraphObject(const std::string &name);

    // Handlers: the editor owns each Python handler until it is unsubscribed or the editor
    // closes. Each is any object whose destruction unsubscribes it.
    int subscribe(std::shared_ptr<void> handler);
    bool isSubscribed(int subscription) const;
    void unsubscribe(int subscription);

    // Batches opened from Python, innermost last, until they end. The outermost one's thread is
    // the one that may change the selections until it ends.
    void batchOpened(Vo::SeSelectionBatch &batch);
    void batchEnded(Vo::SeSelectionBatch &batch) noexcept;
    int getNbOpenBatches() const noexcept { return static_cast<int>(openBatches.size()); }
    // Raises PyModuleError (InvalidCall) when a batch opened from Python is open and the calling
    // thread is not the one that opened it: the library keeps to one thread, and the GIL, which
    // Python threads take in turns, would interleave another thread's changes into the batch.
    // Called before anything changes by every call that may change a selection.
    void checkThread() const;

    // undo (back) or redo of the history of that layer's editor (the active one's by default).
    // Raises PyModuleError (InvalidCall) when called from a callback of an undo or redo in
    // progress: the history keeps references into its steps across the restore's notification,
    // which a nested undo or redo invalidates.
    bool travel(bool back, LayerChoice layer = {});

    // Unsubscribes every handler and abandons every open batch; the editor stays usable.
    void close() noexcept;

private:
    // Positions the new shape's points and handles: the scene's, or the session driver's.
    void place(VoExample::AppShapeInterface &made,
               const VoSession::SessionScene::Shape &shape) const;
    std::size_t record(VoExample::AppShapeInterface &made, std::size_t layer);
    void announceRemoval(std::size_t record);
    void removeFromGraph(std::size_t record) noexcept;

    VoSession::SessionLayers layers;
    VoSession::SessionScene scene;
    // After the application: the records' model sides go while the graph they point into lives.
    std::vector<Record> records;
    std::unordered_map<const void *, std::size_t> byCounter;
    std::unordered_map<std::string, std::size_t> byName;
    std::unordered_map<int, std::size_t> byId;
    std::vector<std::size_t> pending;
    std::unordered_map<int, std::shared_ptr<void>> handlers;
    int nextSubscription = 1;
    std::vector<Vo::SeSelectionBatch *> openBatches;
    std::thread::id batchThread;
    bool travelling = false;
};

} // namespace VoPython
