#pragma once

#include "ModelItem.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace VoFuzz {

// The shapes of the reference model, of every layer, in the order they were made, with what the
// selection rules ask of them: whether they live, and which points and handles they have.
// Owns the shapes' values.
class ModelShapes {
public:
    // A shape: a single-valued curve has one plain "Points" input and counts its points itself;
    // a shape without a gradient has no handles.
    struct Shape {
        std::string name;
        int layer = 0;
        int points = 0;
        int handles = 0;
        bool gradient = false;
        bool singleValued = false;
        std::uint64_t key = 0; // its identity key, as a snapshot writes it
        bool alive = true;
    };

    void add(const Shape &shape) { shapes.push_back(shape); }
    const Shape &get(const std::string &name) const { return *find(name); }
    Shape &get(const std::string &name) {
        return const_cast<Shape &>(*std::as_const(*this).find(name));
    }
    const Shape *find(const std::string &name) const {
        const auto found = std::find_if(shapes.begin(), shapes.end(),
                                        [&](const Shape &shape) { return shape.name == name; });
        return found == shapes.end() ? nullptr : &*found;
    }
    bool isAlive(const std::string &name) const { return get(name).alive; }
    // The live shapes of a layer (-1: of every layer), in the order they were made.
    std::vector<std::string> live(int layer) const {
        std::vector<std::string> names;
        for (const Shape &shape : shapes) {
            if (shape.alive && (layer < 0 || shape.layer == layer)) {
                names.push_back(shape.name);
            }
        }
        return names;
    }

    // Whether the item names a point or handle its shape has no element for, which the mirror of
    // a single shape refuses (SeExMissingElement). A single-valued curve mirrors all its points as
    // one input: no point of it is missing. A shape without a gradient has no handle.
    bool lacksElement(const ModelItem &item) const {
        const Shape &shape = get(item.shape);
        const auto outside = [](int index, int count) { return index < 0 || index >= count; };
        return std::any_of(
                   item.points.begin(), item.points.end(),
                   [&](int p) { return !shape.singleValued && outside(p, shape.points); }) ||
               std::any_of(item.handles.begin(), item.handles.end(),
                           [&](int h) { return outside(h, shape.handles); });
    }
    // Whether a snapshot's entry resolves in the layer: its shape lives there, and its points
    // and handles are the shape's (a single-valued curve tells no count: unless the application
    // counts its points, only a negative point is refused).
    bool resolves(int layer, const ModelItem &entry, bool counted) const {
        const Shape &shape = get(entry.shape);
        const bool bounded = !shape.singleValued || counted;
        const auto pointResolves = [&](int p) { return p >= 0 && (!bounded || p < shape.points); };
        return shape.alive && shape.layer == layer &&
               std::all_of(entry.points.begin(), entry.points.end(), pointResolves) &&
               std::all_of(entry.handles.begin(), entry.handles.end(),
                           [&](int h) { return h >= 0 && h < shape.handles; });
    }
    // Whether the application can insert (remove) that point or handle: a single-valued curve
    // counts its points too; handles need a gradient.
    bool canEdit(const std::string &name, bool points, int at, bool added) const {
        const Shape &shape = get(name);
        const int count = points ? shape.points : shape.handles;
        return shape.alive && (points || shape.gradient) && at >= 0 && at < count + (added ? 1 : 0);
    }

private:
    std::vector<Shape> shapes;
};

} // namespace VoFuzz
