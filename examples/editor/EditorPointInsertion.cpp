#include "EditorPointInsertion.h"

#include <utility>

namespace VoEditor {

EditorPointInsertion::EditorPointInsertion(VoSession::Session &editorSession, std::string name,
                                           int at)
    : session(editorSession), shape(std::move(name)), index(at) {}

void EditorPointInsertion::apply() {
    check(session.getController().insertPoint(liveShape(session, shape), index), "point", shape,
          index);
}

void EditorPointInsertion::revert() {
    check(session.getController().deletePoint(liveShape(session, shape), index), "point", shape,
          index);
}

} // namespace VoEditor
