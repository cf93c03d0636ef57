#include "EditorSelectionState.h"

#include "SeShapeItem.h"
#include "SeShapeParts.h"

#include "host/selection/SnSelection.h"

#include <QStringList>

#include <algorithm>

namespace VoEditor {

namespace {

using Vo::RCShdPtr;

const Vo::SeShapeItem *shapeItem(const Vo::SnItem &item) {
    return dynamic_cast<const Vo::SeShapeItem *>(&item);
}

const void *shapeOf(const Vo::SnItem &item) {
    const Vo::SeShapeItem *shape = shapeItem(item);
    return shape != nullptr ? shape->getData().getCounter().get() : nullptr;
}

// The same item, or one for the same shape with the same parts in the same order: a shape that
// becomes whole again is a new item equal to the old one.
bool sameItem(const RCShdPtr<Vo::SnItem const> &a, const RCShdPtr<Vo::SnItem const> &b) {
    if (a.get() == b.get()) {
        return true;
    }
    const void *shape = shapeOf(*a);
    if (shape == nullptr || shape != shapeOf(*b) || a->hasParts() != b->hasParts()) {
        return false;
    }
    return !a->hasParts() || a->getParts()->isEqual(b->getParts());
}

} // namespace

EditorSelectionState EditorSelectionState::capture(VoSession::Session &session) {
    EditorSelectionState state;
    state.layer = session.getActiveLayer();
    const RCShdPtr<Vo::SnSelection> selection = session.getSelector().getSelection();
    state.items.reserve(static_cast<std::size_t>(selection->getNbItems()));
    for (const RCShdPtr<Vo::SnItem const> &item : *selection) {
        state.items.push_back(item);
    }
    return state;
}

EditorSelectionState::Items EditorSelectionState::resolve(const EditorShapeMap &shapes,
                                                          std::vector<std::string> &leftOut) const {
    if (shapes.isEmpty()) {
        return items;
    }
    Items resolved;
    resolved.reserve(items.size());
    for (std::size_t at = 0; at < items.size(); ++at) {
        const Vo::SeShapeItem *shape = shapeItem(*items[at]);
        if (shape == nullptr || !shape->getData().isNull()) {
            resolved.push_back(items[at]);
            continue;
        }
        const EditorShapeMap::Shape now = shapes.current(shape->getData());
        if (now.isNull()) {
            leftOut.push_back("item " + std::to_string(at + 1) + ": its shape is gone");
            continue;
        }
        const RCShdPtr<Vo::SnParts> parts(shape->hasParts() ? shape->getParts()->clone()
                                                            : static_cast<Vo::SnParts *>(nullptr));
        resolved.push_back(RCShdPtr<Vo::SnItem const>(new Vo::SeShapeItem(parts, now)));
    }
    return resolved;
}

std::vector<std::string> EditorSelectionState::restore(VoSession::Session &session,
                                                       const EditorShapeMap &shapes) const {
    std::vector<std::string> leftOut;
    const Items wanted = resolve(shapes, leftOut);
    const RCShdPtr<Vo::SnSelection> selection = session.getSelector().getSelection();
    const Items current(selection->begin(), selection->end());
    // Only the stretch between the common head and the common tail is written.
    const auto same = [](const RCShdPtr<Vo::SnItem const> &a, const RCShdPtr<Vo::SnItem const> &b) {
        return a.get() == b.get();
    };
    std::size_t head = 0;
    while (head < wanted.size() && head < current.size() && same(wanted[head], current[head])) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < wanted.size() - head && tail < current.size() - head &&
           same(wanted[wanted.size() - 1 - tail], current[current.size() - 1 - tail])) {
        ++tail;
    }
    const Vo::Vector<RCShdPtr<Vo::SnItem const>> stretch(wanted.begin() + head,
                                                         wanted.end() - tail);
    if (head + tail < wanted.size() || head + tail < current.size()) {
        session.getSelector().restoreRange(static_cast<int>(head),
                                           static_cast<int>(current.size() - head - tail), stretch);
    }
    return leftOut;
}

bool EditorSelectionState::isSameSelection(const EditorSelectionState &other) const {
    return layer == other.layer && items.size() == other.items.size() &&
           std::equal(items.begin(), items.end(), other.items.begin(), sameItem);
}

bool EditorSelectionState::hasSameShapes(const EditorSelectionState &other) const {
    return layer == other.layer && items.size() == other.items.size() &&
           std::equal(items.begin(), items.end(), other.items.begin(),
                      [](const auto &a, const auto &b) { return shapeOf(*a) == shapeOf(*b); });
}

QString EditorSelectionState::describe() const {
    if (items.empty()) {
        return QStringLiteral("Nothing");
    }
    const auto *parts = dynamic_cast<const Vo::SeShapeParts *>(items.front()->getParts().get());
    if (items.size() > 1 || parts == nullptr) {
        return counted(items.size(), "Shape", "Shapes");
    }
    return describeParts(parts->getPoints().size(), parts->getHandles().size());
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
