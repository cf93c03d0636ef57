#pragma once

#include "AppShapeInterface.h"

#include <string>
#include <vector>

namespace VoEditor {

// What the canvas draws of one live shape: its place in the scene (its slot, kept when shapes
// before it are deleted), its counts, and its part in the editor's selection, read from the
// selector. Plain values; the shape pointer is valid until the scene next changes.
struct EditorShapeView {
    VoExample::AppShapeInterface *shape = nullptr;
    std::string name;
    int slot = 0;
    int nbPoints = 0;
    int nbHandles = 0;
    bool selected = false;
    bool primary = false;
    // A shape of another layer than the active one: drawn pale under the active layer's, never
    // picked.
    bool dimmed = false;
    // The items of the selection that name the shape: more than one only when a command or the
    // application selected it twice; the parts shown are then those of the last one with parts.
    int nbItems = 0;
    // Selected points and handles in selection order: the rank of points[k] is k + 1.
    std::vector<int> points;
    std::vector<int> handles;
};

} // namespace VoEditor
