#include "PyEditor.h"

#include "PyModuleError.h"

#include "Session.h"
#include "SessionText.h"

#include "SeShapeEvent.h"

#include "host/graph/PiGraph.h"
#include "host/graph/PiNode.h"

#include <algorithm>
#include <utility>

namespace VoPython {

using Kind = PyModuleError::Kind;
using VoExample::AppShapeInterface;
using VoSession::SessionText;

namespace {

void checkCount(int count, const char *what) {
    if (count < 0 || count > PyEditor::maxCount) {
        throw PyModuleError(Kind::Scene, std::string(what) + " count " + std::to_string(count) +
                                             " out of range (expected 0 to " +
                                             std::to_string(PyEditor::maxCount) + ")");
    }
}

} // namespace

PyEditor::PyEditor(std::size_t maxShapes)
    : scene(layers.getNodeNames(), maxShapes) {}

PyEditor::~PyEditor() { close(); }

void PyEditor::build(std::istream &in, const std::string &source) {
    std::string error;
    if (!scene.read(in, source, error)) {
        throw PyModuleError(Kind::Scene, error);
    }
    for (const std::string &name : scene.getLayers()) {
        layers.add(name);
    }
    records.reserve(scene.getShapes().size());
    for (const VoSession::SessionScene::Shape &shape : scene.getShapes()) {
        const auto layer = static_cast<std::size_t>(shape.layer);
        VoExample::AppEditorController &controller = layers.at(layer).getController();
        AppShapeInterface *made = controller.getLayer().addShape(
            shape.name, shape.nbPoints, shape.nbHandles, shape.singleValuedPoints);
        place(*made, shape);
        record(*made, layer);
        controller.sendShapeEvent(
            Vo::SeShapeEvent::ShapeAdded(made->getShape(), controller.getLayer().getLayer()));
    }
}

std::vector<std::string> PyEditor::getLayerNames() const {
    return layers.getNames();
}

std::size_t PyEditor::layerNamed(const std::string &name) const {
    const std::optional<std::size_t> layer = layers.find(name);
    if (!layer) {
        throw PyModuleError(Kind::Value, "no layer is named " + SessionText::quote(name) +
                                             " (expected one of " +
                                             SessionText::join(getLayerNames(), ", ") + ")");
    }
    return *layer;
}

void PyEditor::activateLayer(const std::string &name) {
    checkThread();
    const std::size_t layer = layerNamed(name);
    if (!openBatches.empty()) {
        throw PyModuleError(Kind::InvalidCall,
                            "the active layer cannot change while a batch is open on its selector");
    }
    layers.activate(layer);
}

Vo::RCShdPtr<Vo::SeShape>
PyEditor::findShape(const Vo::RCShdPtr<Vo::PiGraphObject const> &object) const {
    for (std::size_t layer = 0; layer < layers.size(); ++layer) {
        Vo::RCShdPtr<Vo::SeShape> found = layers.at(layer).getController().findShape(object);
        if (!found.isNull()) {
            return found;
        }
    }
    return {};
}

std::vector<std::string> PyEditor::getNodeNames() const {
    return layers.getNodeNames();
}

// A name must be what a scene line could hold: one word, which the scene then checks as it checks
// its own (printable, short enough, not a node's, not taken).
std::size_t PyEditor::addShape(const std::string &name, int nbPoints, int nbHandles, bool single) {
    checkThread();
    const std::vector<std::string> words = SessionText::splitWords(name);
    if (words.size() != 1 || words.front() != name) {
        throw PyModuleError(Kind::Scene, "shape name " + SessionText::quote(name) +
                                             " is not one word (expected a name without blanks "
                                             "or '#', as a scene line holds it)");
    }
    VoSession::SessionScene::Shape described;
    // Counts of 0: the scene's bounds on points apply to its text, not to shapes made here.
    const std::string problem = scene.parseShape({name, "0"}, 0, described);
    if (!problem.empty()) {
        throw PyModuleError(Kind::Scene, problem);
    }
    checkCount(nbPoints, "point");
    checkCount(nbHandles, "handle");
    described.layer = static_cast<int>(layers.getActiveIndex());
    records.reserve(records.size() + 1);
    scene.add(described);
    AppShapeInterface *made = getLayer().addShape(name, nbPoints, nbHandles, single);
    described.nbPoints = nbPoints;
    described.nbHandles = nbHandles;
    described.singleValuedPoints = single;
    place(*made, described);
    const std::size_t index = record(*made, layers.getActiveIndex());
    getController().sendShapeEvent(
        Vo::SeShapeEvent::ShapeAdded(made->getShape(), getLayer().getLayer()));
    return index;
}

// As the session driver places them: each shape in the slot of its creation order, among the
// shapes made so far.
void PyEditor::place(AppShapeInterface &made, const VoSession::SessionScene::Shape &shape) const {
    const int slot = static_cast<int>(records.size());
    VoSession::Session::place(made, shape, slot, slot + 1);
}

std::size_t PyEditor::record(AppShapeInterface &made, std::size_t layer) {
    records.push_back({made.getName(), made.getId(), layer, made.getWeak(), made.getShape()});
    const std::size_t index = records.size() - 1;
    byCounter[records.back().weak.getCounter().get()] = index;
    byName[made.getName()] = index;
    byId[made.getId()] = index;
    return index;
}

std::size_t PyEditor::recordOf(const Vo::RCWeakPtr<Vo::SeShapeInterface> &weak) const {
    const auto found = byCounter.find(weak.getCounter().get());
    if (found == byCounter.end()) {
        throw PyModuleError(Kind::UnknownShape, "a shape that this editor did not build");
    }
    return found->second;
}

std::size_t PyEditor::recordOf(const Vo::SeShape &shape) const {
    return recordOf(shape.getShapeInterface());
}

std::size_t PyEditor::recordNamed(const std::string &name) const {
    const auto found = byName.find(name);
    if (found != byName.end()) {
        return found->second;
    }
    std::vector<std::string> names;
    for (const Record &known : records) {
        names.push_back(known.name);
    }
    throw PyModuleError(Kind::UnknownShape,
                        "unknown shape " + SessionText::quote(name) +
                            (names.empty()
                                 ? " (the editor has no shape)"
                                 : " (expected one of " + SessionText::join(names, ", ") + ")"));
}

const std::size_t *PyEditor::recordWithId(int id) const {
    const auto found = byId.find(id);
    return found == byId.end() ? nullptr : &found->second;
}

AppShapeInterface &PyEditor::live(std::size_t index) {
    const Record &known = getRecord(index);
    AppShapeInterface *shape = controllerOf(index).getLayer().findShape(known.name);
    if (shape == nullptr) {
        throw PyModuleError(Kind::ShapeGone, "shape " + SessionText::quote(known.name) + " (id " +
                                                 std::to_string(known.id) +
                                                 ") was deleted from the scene");
    }
    return *shape;
}

bool PyEditor::isAlive(std::size_t index) const { return !getRecord(index).weak.isNull(); }

VoExample::AppEditorController &PyEditor::controllerOf(std::size_t index) const {
    return layers.at(getRecord(index).layer).getController();
}

std::vector<std::size_t> PyEditor::getLiveRecords() {
    std::vector<std::size_t> live;
    for (std::size_t index = 0; index < records.size(); ++index) {
        if (isAlive(index)) {
            live.push_back(index);
        }
    }
    return live;
}

void PyEditor::deleteShape(std::size_t index, bool sendEvent) {
    checkThread();
    live(index); // a deleted shape raises ShapeGone here
    pending.reserve(pending.size() + 1);
    controllerOf(index).getLayer().removeShape(getRecord(index).name);
    if (!sendEvent) {
        pending.push_back(index);
        return;
    }
    announceRemoval(index);
}

void PyEditor::sendRemoval(std::size_t index) {
    checkThread();
    const auto found = std::find(pending.begin(), pending.end(), index);
    if (found == pending.end()) {
        throw PyModuleError(Kind::Value, "no removal event of shape " +
                                             SessionText::quote(getRecord(index).name) +
                                             " is held back (expected one of the shapes deleted "
                                             "with send_event=False)");
    }
    pending.erase(found);
    announceRemoval(index);
}

// The shape's removal event, then its graph objects dropped, whether a handler raised or not.
void PyEditor::announceRemoval(std::size_t index) {
    VoExample::AppEditorController &controller = controllerOf(index);
    try {
        controller.sendShapeEvent(
            Vo::SeShapeEvent::ShapeRemoved(getRecord(index).id, controller.getLayer().getLayer()));
    } catch (...) {
        removeFromGraph(index);
        throw;
    }
    removeFromGraph(index);
}

void PyEditor::removeFromGraph(std::size_t index) noexcept {
    controllerOf(index).getLayer().removeFromGraph(getRecord(index).id);
}

void PyEditor::edit(std::size_t index, bool points, bool inserting, int at) {
    checkThread();
    AppShapeInterface &shape = live(index);
    const char *noun = points ? "point" : "handle";
    if (!points && !shape.hasGradient()) {
        throw PyModuleError(Kind::Value, "shape " + SessionText::quote(shape.getName()) +
                                             " has no gradient, so no handle to insert or delete");
    }
    const int count = points ? shape.getNbPoints() : shape.getNbHandles();
    const int last = inserting ? count : count - 1;
    if (at < 0 || at > last) {
        throw PyModuleError(Kind::Index,
                            std::string(noun) + " index " + std::to_string(at) +
                                " out of range (expected " +
                                (last < 0 ? std::string("none: the shape has no ") + noun
                                          : "0 to " + std::to_string(last)) +
                                " for shape " + SessionText::quote(shape.getName()) + ")");
    }
    VoExample::AppEditorController &controller = controllerOf(index);
    if (points) {
        inserting ? controller.insertPoint(shape, at) : controller.deletePoint(shape, at);
    } else {
        inserting ? controller.insertHandle(shape, at) : controller.deleteHandle(shape, at);
    }
}

Vo::RCShdPtr<Vo::PiGraphObject const> PyEditor::findGraphObject(const std::string &name) {
    const auto found = byName.find(name);
    if (found != byName.end() && isAlive(found->second)) {
        return live(found->second).getShape()->getGraphObject();
    }
    const Vo::PiGraph &graph = *getController().getCompositionGraph();
    for (int index = 0; index < graph.getNbNodes(); ++index) {
        if (graph.getNode(index)->getName() == name) {
            return graph.getNode(index);
        }
    }
    std::vector<std::string> names;
    for (const std::size_t live : getLiveRecords()) {
        names.push_back(getRecord(live).name);
    }
    for (const std::string &node : getNodeNames()) {
        names.push_back(node);
    }
    throw PyModuleError(Kind::UnknownShape, "no live shape or node is named " +
                                                SessionText::quote(name) + " (expected one of " +
                                                SessionText::join(names, ", ") + ")");
}

int PyEditor::subscribe(std::shared_ptr<void> handler) {
    const int subscription = nextSubscription++;
    handlers.emplace(subscription, std::move(handler));
    return subscription;
}

bool PyEditor::isSubscribed(int subscription) const { return handlers.count(subscription) != 0; }

// The handler is taken out of the table before it is destroyed: its destruction may run Python
// code (the callable's own destruction) that reaches this table again.
void PyEditor::unsubscribe(int subscription) {
    const auto found = handlers.find(subscription);
    if (found == handlers.end()) {
        return;
    }
    const std::shared_ptr<void> handler = std::move(found->second);
    handlers.erase(found);
}

bool PyEditor::travel(bool back, LayerChoice layer) {
    checkThread();
    if (travelling) {
        throw PyModuleError(Kind::InvalidCall,
                            "undo and redo cannot run from a callback of an undo or redo in "
                            "progress (the selection history is not re-entrant)");
    }
    travelling = true;
    try {
        Vo::SeSelectionHistory &history = getApplication(layer).getHistory();
        const bool travelled = back ? history.undo() : history.redo();
        travelling = false;
        return travelled;
    } catch (...) {
        travelling = false;
        throw;
    }
}

void PyEditor::batchOpened(Vo::SeSelectionBatch &batch) {
    if (openBatches.empty()) {
        batchThread = std::this_thread::get_id();
    }
    openBatches.push_back(&batch);
}

void PyEditor::checkThread() const {
    if (!openBatches.empty() && std::this_thread::get_id() != batchThread) {
        throw PyModuleError(Kind::InvalidCall,
                            "the selection cannot change from another thread than the one that "
                            "opened the batch still open on it");
    }
}

void PyEditor::batchEnded(Vo::SeSelectionBatch &batch) noexcept {
    const auto found = std::find(openBatches.begin(), openBatches.end(), &batch);
    if (found != openBatches.end()) {
        openBatches.erase(found);
    }
}

// A cancelled scope makes the outermost end abandon the whole batch; the scopes end innermost
// first, each leaving the list as it ends.
void PyEditor::close() noexcept {
    if (!openBatches.empty()) {
        openBatches.back()->cancel();
    }
    while (!openBatches.empty()) {
        Vo::SeSelectionBatch *innermost = openBatches.back();
        openBatches.pop_back();
        try {
            innermost->commit(); // cancelled: abandons, which raises nothing
        } catch (...) {          // NOLINT(bugprone-empty-catch): an abandon reports nothing
        }
    }
    std::unordered_map<int, std::shared_ptr<void>> released;
    released.swap(handlers);
    released.clear();
}

} // namespace VoPython
