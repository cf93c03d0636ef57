#include "SessionLayers.h"

#include "host/graph/PiGraph.h"
#include "host/graph/PiNode.h"

#include <algorithm>

namespace VoSession {

SessionLayers::SessionLayers() { editors.push_back(std::make_unique<VoExample::AppShapeEditor>()); }

VoExample::AppShapeEditor &SessionLayers::add(const std::string &name) {
    editors.reserve(editors.size() + 1);
    editors.push_back(std::make_unique<VoExample::AppShapeEditor>(*editors.front(), name));
    return *editors.back();
}

std::vector<std::string> SessionLayers::getNames() const {
    return VoExample::AppShapeEditor::layerNamesOf(editors);
}

std::optional<std::size_t> SessionLayers::find(const std::string &name) const {
    const std::vector<std::string> names = getNames();
    const auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - names.begin());
}

void SessionLayers::activate(std::size_t layer) {
    VoExample::AppShapeEditor &chosen = at(layer);
    active = layer;
    chosen.activate();
}

std::vector<std::string> SessionLayers::getNodeNames() const {
    const Vo::PiGraph &graph = *editors.front()->getController().getCompositionGraph();
    std::vector<std::string> names;
    for (int index = 0; index < graph.getNbNodes(); ++index) {
        names.push_back(graph.getNode(index)->getName());
    }
    return names;
}

} // namespace VoSession
