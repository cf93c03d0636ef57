#pragma once

#include "SeShapeInterface.h"

#include "foundation/RCWeakPtr.h"

#include <unordered_map>

namespace VoEditor {

// Which shape stands now for a shape deleted and built again: undoing a shape's deletion builds a
// new shape, while the undo steps kept before hold selection items of the old one. Owns the pairs
// from the old shape (by the counter block its weak pointers share, which outlives it) to the new
// one; a shape replaced again follows on.
class EditorShapeMap {
public:
    using Shape = Vo::RCWeakPtr<Vo::SeShapeInterface>;

    void replace(const Shape &old, const Shape &now) { replaced[old.getCounter().get()] = now; }
    // The shape that stands for `shape` now: itself when it was never replaced. Follows one pair
    // per undo of the same deletion.
    Shape current(Shape shape) const {
        for (auto found = replaced.find(shape.getCounter().get()); found != replaced.end();
             found = replaced.find(shape.getCounter().get())) {
            shape = found->second;
        }
        return shape;
    }
    bool isEmpty() const noexcept { return replaced.empty(); }
    void clear() noexcept { replaced.clear(); }

private:
    std::unordered_map<const void *, Shape> replaced;
};

} // namespace VoEditor
