#include "EditorSelectionState.h"

#include "AppLayerInterface.h"

#include "host/RCException.h"

#include <QStringList>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace VoEditor {

namespace {

using Entry = Vo::SeSelectionSnapshot::Entry;

bool sameEntry(const Entry &a, const Entry &b) {
    return a.key == b.key && a.whole == b.whole && a.points == b.points && a.handles == b.handles;
}

} // namespace

bool EditorSelectionState::capture(VoSession::Session &session, EditorSelectionState &state) {
    try {
        state.snapshot =
            Vo::SeSelectionSnapshot::capture(session.getController().getShapeSelector());
    } catch (const Vo::RCException &) {
        return false;
    }
    state.layer = session.getActiveLayer();
    return true;
}

std::vector<std::string> EditorSelectionState::restore(VoSession::Session &session,
                                                       const EditorKeyMap &keys) const {
    VoExample::AppEditorController &controller = session.getController();
    const VoExample::AppLayerInterface &shapes = controller.getLayer();
    const auto resolve = [&shapes, &keys](std::uint64_t key) {
        const std::uint64_t now = keys.current(key);
        VoExample::AppShapeInterface *shape = now > static_cast<std::uint64_t>(INT_MAX)
                                                  ? nullptr
                                                  : shapes.findShapeById(static_cast<int>(now));
        return shape == nullptr ? Vo::RCShdPtr<Vo::SeShape>() : shape->getShape();
    };
    return snapshot.restore(controller.getShapeSelector(), resolve,
                            Vo::SeSelectionSnapshot::Unresolved::skip);
}

bool EditorSelectionState::isSameSelection(const EditorSelectionState &other) const {
    const std::vector<Entry> &mine = snapshot.getEntries();
    const std::vector<Entry> &theirs = other.snapshot.getEntries();
    return layer == other.layer && mine.size() == theirs.size() &&
           std::equal(mine.begin(), mine.end(), theirs.begin(), sameEntry);
}

bool EditorSelectionState::hasSameShapes(const EditorSelectionState &other) const {
    const std::vector<Entry> &mine = snapshot.getEntries();
    const std::vector<Entry> &theirs = other.snapshot.getEntries();
    return layer == other.layer && mine.size() == theirs.size() &&
           std::equal(mine.begin(), mine.end(), theirs.begin(),
                      [](const Entry &a, const Entry &b) { return a.key == b.key; });
}

QString EditorSelectionState::describe() const {
    const std::vector<Entry> &entries = snapshot.getEntries();
    if (entries.empty()) {
        return QStringLiteral("Nothing");
    }
    const Entry &primary = entries.front();
    if (entries.size() > 1 || primary.whole) {
        return counted(entries.size(), "Shape", "Shapes");
    }
    return describeParts(primary.points.size(), primary.handles.size());
}

QString EditorSelectionState::describeParts(std::size_t points, std::size_t handles) {
    QStringList parts;
    if (points > 0 || handles == 0) {
        parts << counted(points, "Point", "Points");
    }
    if (handles > 0) {
        parts << counted(handles, "Handle", "Handles");
    }
    return parts.join(QStringLiteral(", "));
}

QString EditorSelectionState::counted(std::size_t count, const char *one, const char *many) {
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

} // namespace VoEditor
