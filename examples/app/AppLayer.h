#pragma once

#include <VoShape/SeObject.h>
#include <VoShape/SeObjectInterface.h>

#include <VoShape/foundation/RCShdPtr.h>
#include <VoShape/foundation/RCWeakPtr.h>
#include <VoShape/host/graph/PiGraphObject.h>
#include <VoShape/host/graph/PiNode.h>

namespace VoExample {

// The model side of the layer that owns the shapes, represented in the graph by the tool node
// itself; shape events name it as the shapes' owner. Shared through RCShdPtr (its editing side
// holds the reference that keeps it alive); holds its editing side weakly.
class AppLayer : public Vo::SeObject {
public:
    AppLayer(const Vo::RCShdPtr<Vo::PiNode> &toolNode,
             const Vo::RCWeakPtr<Vo::SeObjectInterface> &editingSide);
    AppLayer(const AppLayer &) = delete;
    AppLayer &operator=(const AppLayer &) = delete;

    Vo::RCShdPtr<Vo::PiGraphObject> getGraphObject() override { return toolNode; }
    Vo::RCShdPtr<Vo::PiGraphObject const> getGraphObject() const override { return toolNode; }
    Vo::RCWeakPtr<Vo::SeObjectInterface> getObjectInterface() const override { return editingSide; }

private:
    // Only the last RCShdPtr destroys a layer.
    ~AppLayer() override;

    Vo::RCShdPtr<Vo::PiNode> toolNode;
    Vo::RCWeakPtr<Vo::SeObjectInterface> editingSide;
};

} // namespace VoExample
