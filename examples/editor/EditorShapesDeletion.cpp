#include "EditorShapesDeletion.h"

#include "SeSelectionBatch.h"

#include <stdexcept>

namespace VoEditor {

EditorShapesDeletion::EditorShapesDeletion(VoSession::Session &editorSession,
                                           EditorShapeMap &shapeMap,
                                           const std::vector<std::string> &names)
    : session(editorSession), map(shapeMap) {
    shapes.reserve(names.size());
    for (const std::string &name : names) {
        const VoExample::AppShapeInterface &live = liveShape(session, name);
        VoSession::SessionScene::Shape described;
        session.describeShape(name, described);
        const bool emptyGradient = live.hasGradient() && live.getNbHandles() == 0;
        shapes.push_back({std::move(described), live.getWeak(), emptyGradient});
    }
}

void EditorShapesDeletion::apply() {
    VoExample::AppEditorController &controller = session.getController();
    Vo::SeSelectionBatch batch(controller.getShapeSelector());
    for (const Deleted &deleted : shapes) {
        liveShape(session, deleted.shape.name); // raises when a command deleted it meanwhile
        controller.deleteShape(deleted.shape.name);
    }
    batch.commit();
}

void EditorShapesDeletion::revert() {
    Vo::SeSelectionBatch batch(session.getController().getShapeSelector());
    for (Deleted &deleted : shapes) {
        const VoExample::AppShapeInterface *made = rebuild(deleted);
        if (made == nullptr) {
            throw std::runtime_error("shape " + deleted.shape.name +
                                     " exists: its deletion cannot be undone");
        }
        map.replace(deleted.weak, made->getWeak());
        deleted.weak = made->getWeak();
    }
    batch.commit();
}

// A shape gets a gradient only with handles: it is built with one, which leaves again. Nothing of
// the new shape is selected, so nothing is renumbered.
VoExample::AppShapeInterface *EditorShapesDeletion::rebuild(const Deleted &deleted) {
    if (!deleted.emptyGradient) {
        return session.rebuildShape(deleted.shape);
    }
    VoSession::SessionScene::Shape withHandle = deleted.shape;
    withHandle.nbHandles = 1;
    withHandle.handles = {0};
    VoExample::AppShapeInterface *made = session.rebuildShape(withHandle);
    if (made != nullptr) {
        made->removeHandle(0);
    }
    return made;
}

} // namespace VoEditor
