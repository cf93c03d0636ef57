#pragma once

#include "SessionEventRecorder.h"
#include "SessionLayers.h"
#include "SessionScene.h"
#include "SessionState.h"

#include "AppEditorController.h"
#include "AppShapeEditor.h"
#include "AppShapeInterface.h"

#include "SeSelectionBatch.h"
#include "SeSelectionHistory.h"
#include "SeSelectionSnapshot.h"
#include "SeShapeInterface.h"
#include "SeShapeSelector.h"

#include "foundation/PtrMap.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "host/graph/PiGraphObject.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace VoSession {

// One session: the application's shape editors, one a layer on one graph (the first layer's tool
// node is "Roto"; the scene's `layer` lines add more), of which one is active, the scene its shapes
// were built from (whose names stay taken once the shapes are deleted), the shapes deleted with
// their removal event held back, and the recorder of the shape events the controllers send. Plays
// the rest of the application around the editors: builds and deletes shapes, writes the
// application's selection and switches layers. The editor operations below are the active
// layer's. Owns all of it. Editor's thread only.
class Session {
public:
    // What the session's scene may describe (SessionScene).
    explicit Session(const SessionScene::Limits &limits = SessionScene::Limits());
    explicit Session(std::size_t maxShapes);
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;
    ~Session();

    VoExample::AppEditorController &getController() noexcept { return editor().getController(); }
    const VoExample::AppEditorController &getController() const noexcept {
        return editor().getController();
    }
    Vo::SeShapeSelector &getSelector() const { return editor().getSelector(); }
    Vo::SeSelectionHistory &getHistory() noexcept { return editor().getHistory(); }

    // Layers by their tool node's name, in creation order.
    std::vector<std::string> getLayerNames() const;
    int getActiveLayer() const noexcept { return static_cast<int>(layers.getActiveIndex()); }
    // The shapes of a layer, by its place in getLayerNames().
    const VoExample::AppLayerInterface &getLayer(std::size_t layer) const {
        return layers.at(layer).getController().getLayer();
    }
    // Makes that layer's editor the active one, which writes its selection into the application's
    // (SeSelectorUpdater::republish). False when no layer has that name.
    bool activateLayer(const std::string &name);

    // Opens a batch on the editor's selector, nested in any open one; `line` is where.
    void openBatch(long long line);
    // Ends the innermost open batch: the outermost commits, raising what the commit raises (both
    // selections are then as at its start). False when no batch is open.
    bool endBatch();
    // Ends every open batch without a commit: both selections as at the outermost one's start.
    void abandonBatches() noexcept;
    // The revisions of the active editor's selection and of the application's
    // (SnSelection::getRevision): they change with every write of either, which a caller compares
    // to tell that a failed operation wrote neither.
    std::pair<std::uint64_t, std::uint64_t> getRevisions() const noexcept;
    int getBatchDepth() const noexcept { return static_cast<int>(batches.size()); }
    // The line the outermost open batch was opened at; 0 when none is open.
    long long getBatchLine() const noexcept { return batchLine; }
    const SessionScene &getScene() const noexcept { return scene; }
    // The graph's nodes, in creation order.
    std::vector<std::string> getNodeNames() const;

    // Builds the shapes of a scene read against getNodeNames(), in order, and forgets their
    // ShapeAdded events: building the scene is no command. Gives null, or the shape whose building
    // ran out of memory (the session is then to be dropped).
    const SessionScene::Shape *build(const SessionScene &described);
    // Builds one shape in the layer it names, sending its ShapeAdded; its name must be free
    // (SessionScene::parseShape). Its points' x and y inputs and its handles' position inputs take
    // the positions the shape gives, or SessionPlacement's for its slot.
    void addShape(const SessionScene::Shape &shape);
    // The live shape of the active layer as a scene would describe it now (its present counts and
    // positions, the active layer); false when no live shape has that name.
    bool describeShape(const std::string &name, SessionScene::Shape &shape) const;
    // Builds again a shape deleted from the layer it names (as describeShape gave it before the
    // deletion: its name stays taken in the scene), sending its ShapeAdded: what undoing a deletion
    // does. The shape gets a new graph object, so a new id and identity key. Null, building
    // nothing, when there is no such layer or a live shape of that layer has the name.
    VoExample::AppShapeInterface *rebuildShape(const SessionScene::Shape &shape);
    // The number of slots SessionPlacement places the shapes built so far among: the scene's
    // count when it was built, and more as shapes are added.
    int getPlacementSlots() const noexcept { return placementSlots; }

    // Live shapes, by name; null when none has that name.
    VoExample::AppShapeInterface *findShape(const std::string &name) const;
    std::vector<std::string> getShapeNames() const;
    // The primary shape; null when nothing is selected or the primary shape is gone.
    VoExample::AppShapeInterface *getPrimaryShape() const;
    // A live shape's graph object, or a node; null when nothing has that name.
    Vo::RCShdPtr<Vo::PiGraphObject const> findGraphObject(const std::string &name) const;
    std::vector<std::string> getGraphObjectNames() const;

    // Deletes a live shape's editing side, holding its removal event back for sendRemoval, as an
    // application that sends its events later does. False when no live shape has that name.
    bool deleteWithoutEvent(const std::string &name);
    // Sends the held-back removal event; false when no shape of that name waits for it.
    bool sendRemoval(const std::string &name);
    std::vector<std::string> getWaitingNames() const;

    // Makes the application's selection these objects' items, in order, unless it holds them
    // already (an application compares before it writes, as the library does).
    void selectInApplication(const std::vector<Vo::RCShdPtr<Vo::PiGraphObject const>> &objects);

    // Saved selections of the active layer's editor (SeSelectionSnapshot): kept under a name, or
    // given to the caller. Restoring is one change; an entry that no longer resolves is refused,
    // naming it, or, with skip, left out and described in the result. recall gives false for an
    // unknown name.
    void saveSelection(const std::string &name);
    bool recallSelection(const std::string &name, bool skip, std::vector<std::string> &skipped);
    std::vector<std::string> getSavedNames() const;
    Vo::SeSelectionSnapshot captureSelection() const;
    std::vector<std::string> restore(const Vo::SeSelectionSnapshot &snapshot, bool skip);

    // Reads both selections; raises nothing.
    SessionState capture() const;
    std::vector<std::string> takeEvents() { return recorder.take(); }
    // The callback lists that ran, layer by layer; with several layers each is named
    // "LAYER:list".
    std::vector<std::string> takeCallbacks();

    // Writes the shape's positions into made's inputs: the scene's, or SessionPlacement's for
    // slot among nbSlots when it gives none. What every builder of a scene's shapes does, so that
    // a scene stands the same wherever it is read.
    static void place(VoExample::AppShapeInterface &made, const SessionScene::Shape &shape,
                      int slot, int nbSlots);

private:
    // A shape the session built: its name and id outlive it, and its weak pointer still tells its
    // items apart once it reads as null (by its counter block, which the pointer keeps).
    struct Built {
        std::string name;
        int id;
        Vo::RCWeakPtr<Vo::SeShapeInterface> weak;
    };

    VoExample::AppShapeEditor &editor() const noexcept { return layers.getActive(); }
    // Builds a shape whose name the scene has taken, and keeps its name and id.
    VoExample::AppShapeInterface *make(const SessionScene::Shape &shape);
    // A further layer's editor, its name taken in the scene (SessionScene::addLayer).
    void addLayer(const std::string &name);
    std::string nameOf(const Vo::RCWeakPtr<Vo::SeShapeInterface> &weak) const;
    SessionState::Shape describe(const Vo::SnItem &item, bool primary) const;

    SessionLayers layers;
    // The application's selection, the same for every layer.
    Vo::RCShdPtr<Vo::SnSelection> applicationSelection;
    // Innermost last; before the recorder, which must outlive their commits.
    std::vector<std::unique_ptr<Vo::SeSelectionBatch>> batches;
    long long batchLine = 0;
    SessionScene scene;
    std::vector<Built> built;
    int placementSlots = 0;
    // The place in built of each shape's counter block.
    Vo::PtrMap<const void *, std::size_t> builtAt;
    std::vector<Built> waiting;
    std::map<std::string, Vo::SeSelectionSnapshot> saved;
    // Last: it leaves the controller's dispatchers before the editor goes.
    SessionEventRecorder recorder;
};

} // namespace VoSession
