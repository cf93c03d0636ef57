#pragma once

#include "AppShapeEditor.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace VoSession {

// The layers an application edits, one editor each: the first over the application's graph (its
// tool node is "Roto"), the others sharing that graph and its application selection. Owns the
// editors, first one first, and knows which one is active. The session and the Python module set
// their layers up through it.
class SessionLayers {
public:
    SessionLayers();
    SessionLayers(const SessionLayers &) = delete;
    SessionLayers &operator=(const SessionLayers &) = delete;

    // A further layer whose tool node is named name; its editor, which is not made active.
    VoExample::AppShapeEditor &add(const std::string &name);
    std::size_t size() const noexcept { return editors.size(); }
    // By creation order; throws std::out_of_range past the end.
    VoExample::AppShapeEditor &at(std::size_t layer) const { return *editors.at(layer); }
    VoExample::AppShapeEditor &getActive() const noexcept { return *editors[active]; }
    std::size_t getActiveIndex() const noexcept { return active; }
    // The layers' names (their tool nodes'), in creation order; the place of one, none when no
    // layer has that name.
    std::vector<std::string> getNames() const;
    std::optional<std::size_t> find(const std::string &name) const;
    // Makes that layer's editor the active one, which writes its selection into the application's
    // selection again (AppShapeEditor::activate).
    void activate(std::size_t layer);
    // The graph's nodes, in creation order.
    std::vector<std::string> getNodeNames() const;

private:
    std::vector<std::unique_ptr<VoExample::AppShapeEditor>> editors;
    std::size_t active = 0;
};

} // namespace VoSession
