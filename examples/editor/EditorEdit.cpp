#include "EditorEdit.h"

#include <stdexcept>

namespace VoEditor {

VoExample::AppShapeInterface &EditorEdit::liveShape(VoSession::Session &session,
                                                    const std::string &name) {
    VoExample::AppShapeInterface *shape = session.findShape(name);
    if (shape == nullptr) {
        throw std::runtime_error("shape " + name + " is no more: the step cannot be replayed");
    }
    return *shape;
}

void EditorEdit::check(bool done, const char *what, const std::string &shape, int index) {
    if (!done) {
        throw std::runtime_error(std::string(what) + " " + std::to_string(index) + " of " + shape +
                                 " is out of range: the step cannot be replayed");
    }
}

} // namespace VoEditor
