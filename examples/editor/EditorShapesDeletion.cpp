#include "EditorShapesDeletion.h"

#include "SeSelectionBatch.h"

#include <stdexcept>

namespace VoEditor {

EditorShapesDeletion::EditorShapesDeletion(VoSession::Session &editorSession, EditorKeyMap &keyMap,
                                           const std::vector<std::string> &names)
    : session(editorSession), keys(keyMap) {
    shapes.reserve(names.size());
    for (const std::string &name : names) {
        Deleted deleted{{}, liveShape(session, name).getId()};
        session.describeShape(name, deleted.shape);
        shapes.push_back(std::move(deleted));
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
        keys.replace(static_cast<std::uint64_t>(deleted.id),
                     static_cast<std::uint64_t>(made->getId()));
        deleted.id = made->getId();
    }
    batch.commit();
}

} // namespace VoEditor
