#include "EditorSlotFinder.h"

namespace VoEditor {

int EditorSlotFinder::find(const std::string &name) {
    if (next != described.size() && described.at(next).name == name) { // never past the end
        return static_cast<int>(next++);
    }
    if (byName.empty()) {
        for (std::size_t slot = 0; slot < described.size(); ++slot) {
            byName.emplace(described[slot].name, static_cast<int>(slot));
        }
    }
    const int slot = byName.at(name);
    next = static_cast<std::size_t>(slot) + 1;
    return slot;
}

} // namespace VoEditor
