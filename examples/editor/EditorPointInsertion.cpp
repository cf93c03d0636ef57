#include "EditorPointInsertion.h"

#include <utility>

namespace VoEditor {

EditorPointInsertion::EditorPointInsertion(VoSession::Session &editorSession, std::string name,
                                           int at, const QPointF *where)
    : session(editorSession), shape(std::move(name)), index(at), placed(where != nullptr),
      place(placed ? *where : QPointF()) {}

void EditorPointInsertion::apply() {
    VoExample::AppShapeInterface &live = liveShape(session, shape);
    check(session.getController().insertPoint(live, index), "point", shape, index);
    if (placed) {
        live.setPoint(index, place.x(), place.y());
    }
}

void EditorPointInsertion::revert() {
    check(session.getController().deletePoint(liveShape(session, shape), index), "point", shape,
          index);
}

} // namespace VoEditor
