#pragma once

#include "AppShapeInterface.h"

#include <VoShape/SeObject.h>
#include <VoShape/SeObjectInterface.h>
#include <VoShape/SeShape.h>

#include <VoShape/foundation/FlatMap.h>
#include <VoShape/foundation/Iterator.h>
#include <VoShape/foundation/RCShdPtr.h>
#include <VoShape/host/RCOwner.h>
#include <VoShape/host/graph/PiGraphObject.h>
#include <VoShape/host/graph/PiNode.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace VoExample {

// The editing side of the layer that owns the shapes: builds them in its tool node and owns their
// editing sides through RCOwner, in creation order, with tables of them by name and by graph object
// id (so that a lookup and a new shape cost O(1) whatever their number), together with the
// reference that keeps its own model side alive. Owned by the controller through RCOwner; the
// library reaches it only weakly (SeObject::getObjectInterface). Shares the tool node with the
// graph.
class AppLayerInterface : public Vo::SeObjectInterface {
public:
    // A layer on toolNode, owned by the result, with its model side.
    static Vo::RCOwner<AppLayerInterface> create(const Vo::RCShdPtr<Vo::PiNode> &toolNode);
    ~AppLayerInterface() override;

    Vo::RCShdPtr<Vo::SeObject> getLayer() const { return layer; }
    const Vo::RCShdPtr<Vo::PiNode> &getToolNode() const noexcept { return toolNode; }

    // A new shape (AppShapeInterface::create); null, building nothing, when the name is taken.
    // An allocation failure leaves the layer and the tool node as they were.
    AppShapeInterface *addShape(const std::string &name, int nbPoints, int nbHandles,
                                bool singleValuedPoints);
    // Deletes the shape's editing side, and with it its model side: the library's weak pointers to
    // it read as null from then on. False when no shape has that name. The shape's graph object and
    // inputs stay in the tool node until removeFromGraph: the updater tells which shapes its
    // removal event took out by the items of the application's selection that it still accepts,
    // so they leave the node only once the event is sent. Linear in the number of shapes, as the
    // tool node's own removals are.
    bool removeShape(const std::string &name);
    // Takes the graph object and inputs of the shape removed with that id out of the tool node.
    // Items of the application's selection that still hold them keep them alive, owned by no node,
    // standing for no shape. False when no removed shape has that id.
    bool removeFromGraph(int id);

    int getNbShapes() const noexcept { return static_cast<int>(shapes.size()); }
    // The shape at index, in creation order; index must be in [0, getNbShapes()).
    AppShapeInterface &getShapeAt(int index) const;
    // Null when no shape has that name.
    AppShapeInterface *findShape(const std::string &name) const;
    // The live shape whose graph object has that id; null when none has.
    AppShapeInterface *findShapeById(int id) const;
    // The model side of the shape that object stands for; null when it stands for none.
    Vo::RCShdPtr<Vo::SeShape> findShape(const Vo::RCShdPtr<Vo::PiGraphObject const> &object) const;
    // The shapes' model sides in creation order, positioned at the first: what
    // SeShapeSelector::selectAllShapes walks. Later changes of the layer do not show in it.
    Vo::Iterator<Vo::RCShdPtr<Vo::SeShape>> getShapes() const;

private:
    explicit AppLayerInterface(const Vo::RCShdPtr<Vo::PiNode> &toolNode);

    // What a removed shape left in the tool node, until removeFromGraph.
    struct Leftovers {
        int id;
        Vo::RCShdPtr<Vo::PiGraphObject> object;
        Vo::RCShdPtr<Vo::PiInput> curve;
        Vo::RCShdPtr<Vo::PiInput> gradient; // null for a shape without gradient
    };

    Vo::RCShdPtr<Vo::PiNode> toolNode;
    Vo::RCShdPtr<Vo::SeObject> layer;
    std::vector<Vo::RCOwner<AppShapeInterface>> shapes;
    // The shapes above by name and by their graph object's id (ids are never 0).
    std::unordered_map<std::string, AppShapeInterface *> byName;
    Vo::FlatMap<int, AppShapeInterface *, 0> byId;
    std::vector<Leftovers> removed;
};

} // namespace VoExample
