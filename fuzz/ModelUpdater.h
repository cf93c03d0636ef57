#pragma once

#include "ModelHostItem.h"
#include "ModelItem.h"
#include "ModelShapes.h"

#include <string>
#include <vector>

namespace VoFuzz {

// The selection updater's rules on plain values (docs/selection-protocol.md, what runs and what
// the updater writes): the application's selection that mirrors an editor's, which of the application's
// items an editor takes for its shapes, and which callback lists a change runs ("primary",
// "shapes", "selection", in that order). Holds nothing.
struct ModelUpdater {
    using HostItems = std::vector<ModelHostItem>;
    using Names = std::vector<std::string>;

    // The editor's node, the objects of its live shapes in order and, for a single shape, the
    // inputs of its points ("x", "y" each; a single-valued curve's "Points" once) then of its
    // handles ("position", "color" each), each with the path from the layer's tool node.
    static HostItems mirror(const std::string &node, const std::string &path,
                            const ModelItems &items, const ModelShapes &shapes) {
        HostItems mirrored{ModelHostItem::node(node)};
        for (const ModelItem &item : items) {
            if (shapes.isAlive(item.shape)) {
                mirrored.push_back(ModelHostItem::object(item.shape));
            }
        }
        if (items.size() != 1 || !shapes.isAlive(items.front().shape)) {
            return mirrored;
        }
        const ModelItem &item = items.front();
        const bool single = shapes.get(item.shape).singleValued;
        if (single && !item.points.empty()) {
            mirrored.push_back(ModelHostItem::input(item.shape, false, -1, "Points", path));
        }
        for (int point : single ? std::vector<int>() : item.points) {
            mirrored.push_back(ModelHostItem::input(item.shape, false, point, "x", path));
            mirrored.push_back(ModelHostItem::input(item.shape, false, point, "y", path));
        }
        for (int handle : item.handles) {
            mirrored.push_back(ModelHostItem::input(item.shape, true, handle, "position", path));
            mirrored.push_back(ModelHostItem::input(item.shape, true, handle, "color", path));
        }
        return mirrored;
    }
    // The layer's shapes whose objects the application's selection names while they are in the
    // layer's tool node (live, or `dying`, whose removal event is being handled), in its order:
    // what an editor's shapes are compared with.
    static Names shown(const HostItems &host, int layer, const ModelShapes &shapes,
                       const std::string &dying) {
        Names names;
        for (const ModelHostItem &item : host) {
            const ModelShapes::Shape *shape =
                item.kind == ModelHostItem::Kind::object ? shapes.find(item.name) : nullptr;
            if (shape != nullptr && shape->layer == layer && (shape->alive || item.name == dying)) {
                names.push_back(item.name);
            }
        }
        return names;
    }
    static Names namesOf(const ModelItems &items) {
        Names names;
        for (const ModelItem &item : items) {
            names.push_back(item.shape);
        }
        return names;
    }
    // A change made in the editor, from what the application's selection showed of its layer:
    // primary when the first shape is not the first shown (or either is empty), shapes when the
    // shapes in order differ from those shown; a batch's commit (origin: its start) also counts
    // what changed since the start.
    static Names editorCallbacks(const Names &shownBefore, const ModelItems &after,
                                 const ModelItems *origin, const ModelShapes &shapes) {
        const Names names = namesOf(after);
        bool primary = names.empty() || shownBefore.empty() || !shapes.isAlive(names.front()) ||
                       shownBefore.front() != names.front();
        bool shapesChanged = primary || shownBefore != names;
        if (origin != nullptr) {
            changedSince(namesOf(*origin), names, primary, shapesChanged);
        }
        return lists(primary, shapesChanged, true);
    }
    // A removal event of an editor the application's selection does not show: told against its
    // own shapes before it.
    static Names unshownCallbacks(const ModelItems &before, const ModelItems &after) {
        bool primary = false;
        bool shapesChanged = false;
        changedSince(namesOf(before), namesOf(after), primary, shapesChanged);
        return lists(primary, shapesChanged, true);
    }
    // The application's selection mirrored into the editor (wholes): selection, and primary when
    // the first shape is not the editor's primary one.
    static Names hostCallbacks(const ModelItems &before, const ModelItems &after) {
        return lists(before.empty() || before.front().shape != after.front().shape, false, true);
    }

private:
    static void changedSince(const Names &before, const Names &after, bool &primary,
                             bool &shapesChanged) {
        primary = primary || before.empty() != after.empty() ||
                  (!before.empty() && before.front() != after.front());
        shapesChanged = shapesChanged || before != after;
    }
    static Names lists(bool primary, bool shapesChanged, bool selection) {
        Names ran;
        for (const auto &[runs, list] :
             {std::pair{primary, "primary"}, std::pair{shapesChanged, "shapes"},
              std::pair{selection, "selection"}}) {
            if (runs) {
                ran.emplace_back(list);
            }
        }
        return ran;
    }
};

} // namespace VoFuzz
