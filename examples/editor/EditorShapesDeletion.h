#pragma once

#include "EditorEdit.h"
#include "EditorShapeMap.h"

#include "Session.h"
#include "SessionScene.h"

#include <string>
#include <vector>

namespace VoEditor {

// Whole shapes leaving the active layer, each deleted with its ShapeRemoved, all in one batch: one
// change of the selection. revert() builds each again with the counts and positions it had
// (Session::rebuildShape), a gradient left without handles included, in one batch, and tells the
// shape map which new shape stands for the old one. Keeps each shape's description and present weak
// pointer; borrows the session and the shape map.
class EditorShapesDeletion : public EditorEdit {
public:
    // names: live shapes of the active layer.
    EditorShapesDeletion(VoSession::Session &session, EditorShapeMap &map,
                         const std::vector<std::string> &names);

    void apply() override;
    void revert() override;

private:
    struct Deleted {
        VoSession::SessionScene::Shape shape;
        EditorShapeMap::Shape weak;
        // A gradient whose handles were all deleted: built again empty, so that undoing those
        // deletions next finds it.
        bool emptyGradient;
    };

    // The shape as it was, its empty gradient included.
    VoExample::AppShapeInterface *rebuild(const Deleted &deleted);

    VoSession::Session &session;
    EditorShapeMap &map;
    std::vector<Deleted> shapes;
};

} // namespace VoEditor
