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
        const EditorShapeMap::Shape weak = liveShape(session, name).getWeak();
        VoSession::SessionScene::Shape described;
        session.describeShape(name, described);
        shapes.push_back({std::move(described), weak});
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
        const VoExample::AppShapeInterface *made = session.rebuildShape(deleted.shape);
        if (made == nullptr) {
            throw std::runtime_error("shape " + deleted.shape.name +
                                     " exists: its deletion cannot be undone");
        }
        map.replace(deleted.weak, made->getWeak());
        deleted.weak = made->getWeak();
    }
    batch.commit();
}

} // namespace VoEditor
