#include "Session.h"

#include "SessionHostItems.h"
#include "SessionPlacement.h"

#include "AppLayerInterface.h"

#include "SeShapeEvent.h"
#include "SeShapeItem.h"
#include "SeShapeParts.h"

#include "foundation/List.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/selection/SnSelection.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <exception>
#include <new>
#include <optional>

namespace VoSession {

using Vo::RCShdPtr;
using VoExample::AppShapeInterface;

Session::Session(std::size_t maxShapes)
    : Session(SessionScene::Limits{maxShapes, SessionScene::defaultMaxCount,
                                   SessionScene::defaultMaxTotal}) {}

Session::Session(const SessionScene::Limits &limits)
    : applicationSelection(layers.at(0).getController().getApplicationSelection()),
      scene(layers.getNodeNames(), limits) {
    getController().addShapeEventCb(Vo::SeShapeEvent::ShapeAdded(), &recorder);
    getController().addShapeEventCb(Vo::SeShapeEvent::ShapeRemoved(), &recorder);
}

void Session::addLayer(const std::string &name) {
    VoExample::AppEditorController &controller = layers.add(name).getController();
    controller.addShapeEventCb(Vo::SeShapeEvent::ShapeAdded(), &recorder);
    controller.addShapeEventCb(Vo::SeShapeEvent::ShapeRemoved(), &recorder);
}

std::vector<std::string> Session::takeCallbacks() {
    if (layers.size() == 1) {
        return editor().takeCallbacks();
    }
    const std::vector<std::string> names = getLayerNames();
    std::vector<std::string> ran;
    for (std::size_t layer = 0; layer < layers.size(); ++layer) {
        for (const std::string &list : layers.at(layer).takeCallbacks()) {
            ran.push_back(names[layer] + ":" + list);
        }
    }
    return ran;
}

std::vector<std::string> Session::getLayerNames() const {
    return layers.getNames();
}

bool Session::activateLayer(const std::string &name) {
    const std::optional<std::size_t> layer = layers.find(name);
    if (!layer) {
        return false;
    }
    layers.activate(*layer);
    return true;
}

Session::~Session() { abandonBatches(); }

void Session::openBatch(long long line) {
    batches.push_back(std::make_unique<Vo::SeSelectionBatch>(editor().getSharedSelector()));
    if (batches.size() == 1) {
        batchLine = line;
    }
}

// The innermost scope leaves the list whatever its commit raises (the commit's observers).
bool Session::endBatch() {
    if (batches.empty()) {
        return false;
    }
    std::unique_ptr<Vo::SeSelectionBatch> innermost = std::move(batches.back());
    batches.pop_back();
    if (batches.empty()) {
        batchLine = 0;
    }
    innermost->commit();
    return true;
}

void Session::abandonBatches() noexcept {
    if (batches.empty()) {
        return;
    }
    batches.front()->cancel();
    while (!batches.empty()) {
        batches.pop_back(); // a cancelled batch commits nothing
    }
    batchLine = 0;
}

std::pair<std::uint64_t, std::uint64_t> Session::getRevisions() const noexcept {
    return {getSelector().getSelection()->getRevision(), applicationSelection->getRevision()};
}

std::vector<std::string> Session::getNodeNames() const { return layers.getNodeNames(); }

const SessionScene::Shape *Session::build(const SessionScene &described) {
    for (const std::string &layer : described.getLayers()) {
        scene.addLayer(layer);
        addLayer(layer);
    }
    placementSlots += static_cast<int>(described.getShapes().size());
    for (const SessionScene::Shape &shape : described.getShapes()) {
        try {
            addShape(shape);
        } catch (const std::bad_alloc &) {
            return &shape;
        }
    }
    recorder.take();
    return nullptr;
}

void Session::addShape(const SessionScene::Shape &shape) {
    builtAt.reserve(built.size() + 1); // so that the shape, once built, is found by its pointer
    // The positions live in the graph; the scene keeps what names and counts the shape.
    SessionScene::Shape counts;
    counts.name = shape.name;
    counts.nbPoints = shape.nbPoints;
    counts.nbHandles = shape.nbHandles;
    counts.singleValuedPoints = shape.singleValuedPoints;
    counts.layer = shape.layer;
    counts.line = shape.line;
    scene.add(counts);
    make(shape);
}

AppShapeInterface *Session::make(const SessionScene::Shape &shape) {
    builtAt.reserve(built.size() + 1);
    AppShapeInterface *made =
        layers.at(static_cast<std::size_t>(shape.layer))
            .getController()
            .addShape(shape.name, shape.nbPoints, shape.nbHandles, shape.singleValuedPoints);
    const int slot = static_cast<int>(built.size());
    placementSlots = std::max(placementSlots, slot + 1);
    place(*made, shape, slot, placementSlots);
    built.push_back({shape.name, made->getId(), made->getWeak()});
    builtAt.insert(built.back().weak.getCounter().get(), built.size() - 1);
    recorder.nameShape(made->getId(), shape.name);
    return made;
}

bool Session::describeShape(const std::string &name, SessionScene::Shape &shape) const {
    const AppShapeInterface *live = findShape(name);
    if (live == nullptr) {
        return false;
    }
    shape.name = name;
    shape.nbPoints = live->getNbPoints();
    shape.nbHandles = live->getNbHandles();
    shape.singleValuedPoints = live->hasSingleValuedPoints();
    shape.layer = static_cast<int>(layers.getActiveIndex());
    shape.line = 0;
    // Where its points and handles are, so that a shape built again from it stands where it stood.
    shape.points.clear();
    for (int index = 0; index < shape.nbPoints && !shape.singleValuedPoints; ++index) {
        double x = 0;
        double y = 0;
        live->getPoint(index, x, y);
        shape.points.push_back(x);
        shape.points.push_back(y);
    }
    shape.handles.clear();
    for (int index = 0; index < shape.nbHandles; ++index) {
        shape.handles.push_back(live->getHandle(index));
    }
    return true;
}

AppShapeInterface *Session::rebuildShape(const SessionScene::Shape &shape) {
    const auto layer = static_cast<std::size_t>(shape.layer);
    if (shape.layer < 0 || layer >= layers.size() ||
        layers.at(layer).getController().getLayer().findShape(shape.name) != nullptr) {
        return nullptr;
    }
    return make(shape);
}

void Session::place(AppShapeInterface &made, const SessionScene::Shape &shape, int slot,
                    int nbSlots) {
    const bool given = !shape.points.empty();
    for (int index = 0; index < shape.nbPoints && !shape.singleValuedPoints; ++index) {
        const auto at = static_cast<std::size_t>(2 * index);
        const SessionPlacement::Point point =
            given ? SessionPlacement::Point{shape.points[at], shape.points[at + 1]}
                  : SessionPlacement::getPoint(slot, nbSlots, index, shape.nbPoints);
        made.setPoint(index, point.x, point.y);
    }
    for (int index = 0; index < shape.nbHandles; ++index) {
        made.setHandle(index, shape.handles.empty()
                                  ? SessionPlacement::getHandle(index, shape.nbHandles)
                                  : shape.handles[static_cast<std::size_t>(index)]);
    }
}

AppShapeInterface *Session::findShape(const std::string &name) const {
    return getController().getLayer().findShape(name);
}

std::vector<std::string> Session::getShapeNames() const {
    const VoExample::AppLayerInterface &layer = getController().getLayer();
    std::vector<std::string> names;
    for (int index = 0; index < layer.getNbShapes(); ++index) {
        names.push_back(layer.getShapeAt(index).getName());
    }
    return names;
}

AppShapeInterface *Session::getPrimaryShape() const {
    const Vo::RCWeakPtr<Vo::SeShapeInterface> primary =
        getSelector().getPrimarySelectedShapeInterface();
    return primary.isNull() ? nullptr : findShape(nameOf(primary));
}

RCShdPtr<Vo::PiGraphObject const> Session::findGraphObject(const std::string &name) const {
    for (std::size_t layer = 0; layer < layers.size(); ++layer) {
        if (AppShapeInterface *shape = layers.at(layer).getController().getLayer().findShape(name)) {
            return shape->getShape()->getGraphObject();
        }
    }
    const Vo::PiGraph &graph = *getController().getCompositionGraph();
    for (int index = 0; index < graph.getNbNodes(); ++index) {
        if (graph.getNode(index)->getName() == name) {
            return graph.getNode(index);
        }
    }
    return RCShdPtr<Vo::PiGraphObject const>();
}

std::vector<std::string> Session::getGraphObjectNames() const {
    std::vector<std::string> names;
    for (std::size_t layer = 0; layer < layers.size(); ++layer) {
        const VoExample::AppLayerInterface &shapes = layers.at(layer).getController().getLayer();
        for (int index = 0; index < shapes.getNbShapes(); ++index) {
            names.push_back(shapes.getShapeAt(index).getName());
        }
    }
    const std::vector<std::string> nodes = getNodeNames();
    names.insert(names.end(), nodes.begin(), nodes.end());
    return names;
}

bool Session::deleteWithoutEvent(const std::string &name) {
    const AppShapeInterface *shape = findShape(name);
    if (shape == nullptr) {
        return false;
    }
    waiting.push_back({name, shape->getId(), shape->getWeak()});
    getController().getLayer().removeShape(name);
    return true;
}

bool Session::sendRemoval(const std::string &name) {
    const auto found = std::find_if(waiting.begin(), waiting.end(),
                                    [&name](const Built &shape) { return shape.name == name; });
    if (found == waiting.end()) {
        return false;
    }
    const int id = found->id;
    waiting.erase(found);
    getController().sendRemoval(id);
    return true;
}

std::vector<std::string> Session::getWaitingNames() const {
    std::vector<std::string> names;
    for (const Built &shape : waiting) {
        names.push_back(shape.name);
    }
    return names;
}

void Session::selectInApplication(const std::vector<RCShdPtr<Vo::PiGraphObject const>> &objects) {
    Vo::List<RCShdPtr<Vo::SnItem const>> items;
    for (const RCShdPtr<Vo::PiGraphObject const> &object : objects) {
        items.push_back(Vo::PiSnItemUtil::createFromBase(object));
    }
    const RCShdPtr<Vo::SnSelection> wanted = Vo::SnSelection::create(items);
    if (!applicationSelection->isEqual(wanted)) {
        applicationSelection->replaceAllItems(wanted);
    }
}

void Session::saveSelection(const std::string &name) {
    saved[name] = Vo::SeSelectionSnapshot::capture(editor().getSharedSelector());
}

bool Session::recallSelection(const std::string &name, bool skip,
                              std::vector<std::string> &skipped) {
    const auto found = saved.find(name);
    if (found == saved.end()) {
        return false;
    }
    skipped = restore(found->second, skip);
    return true;
}

std::vector<std::string> Session::getSavedNames() const {
    std::vector<std::string> names;
    for (const auto &entry : saved) {
        names.push_back(entry.first);
    }
    return names;
}

Vo::SeSelectionSnapshot Session::captureSelection() const {
    return Vo::SeSelectionSnapshot::capture(editor().getSharedSelector());
}

// Shapes by key: the active layer's, by their graph object's id (AppShape's identity key); their
// points counted by the application, as the commands that select points count them.
std::vector<std::string> Session::restore(const Vo::SeSelectionSnapshot &snapshot, bool skip) {
    const VoExample::AppLayerInterface &layer = getController().getLayer();
    const auto resolve = [&layer](std::uint64_t key) {
        AppShapeInterface *shape = key > static_cast<std::uint64_t>(INT_MAX)
                                       ? nullptr
                                       : layer.findShapeById(static_cast<int>(key));
        return shape == nullptr ? RCShdPtr<Vo::SeShape>() : shape->getShape();
    };
    return snapshot.restore(editor().getSharedSelector(), resolve,
                            skip ? Vo::SeSelectionSnapshot::Unresolved::skip
                                 : Vo::SeSelectionSnapshot::Unresolved::refuse,
                            &AppShapeInterface::countElements);
}

SessionState Session::capture() const {
    SessionState state;
    // Inside a batch, the working selection the editor reads.
    RCShdPtr<Vo::SnSelection const> selection;
    try {
        selection = getSelector().getCurrentSelection();
    } catch (const std::exception &) { // a queued removal that raises: it raises at the end too
        selection = getSelector().getSelection();
    }
    const Vo::SnItem *primary = selection->getPrimaryItem().get();
    for (const RCShdPtr<Vo::SnItem const> &item : *selection) {
        state.shapes.push_back(describe(*item, item.get() == primary));
    }
    if (layers.size() > 1) {
        state.layer = getLayerNames()[layers.getActiveIndex()];
    }
    for (const RCShdPtr<Vo::SnItem const> &item : *applicationSelection) {
        state.host.push_back(SessionHostItems::describe(*item));
    }
    return state;
}

std::string Session::nameOf(const Vo::RCWeakPtr<Vo::SeShapeInterface> &weak) const {
    const std::size_t *at = builtAt.find(weak.getCounter().get());
    return at == nullptr ? "(unknown shape)" : built[*at].name;
}

SessionState::Shape Session::describe(const Vo::SnItem &item, bool primary) const {
    SessionState::Shape shape;
    shape.primary = primary;
    shape.hasParts = item.hasParts();
    const auto *shapeItem = dynamic_cast<const Vo::SeShapeItem *>(&item);
    shape.name = shapeItem != nullptr ? nameOf(shapeItem->getData()) : "(not a shape item)";
    shape.alive = shapeItem != nullptr && !shapeItem->getData().isNull();
    const auto *parts = dynamic_cast<const Vo::SeShapeParts *>(item.getParts().get());
    if (parts != nullptr) {
        shape.points.assign(parts->getPoints().begin(), parts->getPoints().end());
        shape.handles.assign(parts->getHandles().begin(), parts->getHandles().end());
    }
    return shape;
}

} // namespace VoSession
