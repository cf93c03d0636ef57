#pragma once

#include "SessionScene.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace VoEditor {

// Finds the scene's slot of each shape of a layer, asked in the layer's order: the scene lists a
// layer's shapes in that order too, so the slot after the last one found is tried first, and an
// index by name is built only at the first name found elsewhere. Borrows the scene's list.
class EditorSlotFinder {
public:
    explicit EditorSlotFinder(const std::vector<VoSession::SessionScene::Shape> &described)
        : described(described) {}

    // The slot of the shape of that name; raises std::out_of_range when the scene has none.
    int find(const std::string &name);

private:
    const std::vector<VoSession::SessionScene::Shape> &described;
    std::size_t next = 0;
    std::unordered_map<std::string, int> byName;
};

} // namespace VoEditor
