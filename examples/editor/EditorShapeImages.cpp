#include "EditorShapeImages.h"

#include <utility>

namespace VoEditor {

bool EditorShapeImages::Key::operator==(const Key &other) const {
    return revision == other.revision && scale == other.scale && offset == other.offset &&
           look == other.look && nbPoints == other.nbPoints && nbHandles == other.nbHandles &&
           ratio == other.ratio && area == other.area;
}

const EditorShapeImages::Image &EditorShapeImages::get(int slot, const Key &key,
                                                       const std::function<Image()> &draw) {
    if (bySlot.size() <= static_cast<std::size_t>(slot)) {
        bySlot.resize(static_cast<std::size_t>(slot) + 1);
    }
    std::array<Entry, 2> &kept = bySlot[static_cast<std::size_t>(slot)];
    if (kept[1].filled && kept[1].key == key) {
        std::swap(kept[0], kept[1]);
    } else if (!kept[0].filled || !(kept[0].key == key)) {
        kept[1] = Entry{key, draw(), true};
        std::swap(kept[0], kept[1]);
    }
    return kept[0].image;
}

const EditorShapeImages::Image *EditorShapeImages::find(int slot, const Key &key) const {
    if (bySlot.size() <= static_cast<std::size_t>(slot)) {
        return nullptr;
    }
    for (const Entry &entry : bySlot[static_cast<std::size_t>(slot)]) {
        if (entry.filled && entry.key == key) {
            return &entry.image;
        }
    }
    return nullptr;
}

std::size_t EditorShapeImages::getNbImages() const noexcept {
    std::size_t count = 0;
    for (const std::array<Entry, 2> &kept : bySlot) {
        count += (kept[0].filled ? 1 : 0) + (kept[1].filled ? 1 : 0);
    }
    return count;
}

} // namespace VoEditor
