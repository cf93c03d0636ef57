#pragma once

#include "ModelItem.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace VoFuzz {

// The shape selector's operations on plain item lists, as docs/ documents them: each gives
// the list it leaves from the one it reads (the selection, or an open batch's working selection).
// The first item is the primary one; point and handle operations work on it alone, and change
// nothing in an empty list. `pointSide` picks the points, else the handles. Holds nothing.
struct ModelSelection {
    using IsGone = std::function<bool(const std::string &shape)>;

    // setSelectedShapes: these shapes as wholes, in order, repeats kept.
    static ModelItems wholes(const std::vector<std::string> &shapes) {
        ModelItems items;
        for (const std::string &shape : shapes) {
            items.push_back(ModelItem::wholeOf(shape));
        }
        return items;
    }
    // selectAllShapes: the layer's shapes not selected yet follow the selected items, which keep
    // their parts.
    static ModelItems selectAll(ModelItems items, const std::vector<std::string> &layerShapes) {
        for (const std::string &shape : layerShapes) {
            if (find(items, shape) == items.end()) {
                items.push_back(ModelItem::wholeOf(shape));
            }
        }
        return items;
    }
    // setPrimarySelectedShape: the shape alone, with that one point unless the index is -1.
    static ModelItems primaryAlone(const std::string &shape, int point) {
        ModelItem item = ModelItem::wholeOf(shape);
        if (point != -1) {
            item.whole = false;
            item.points.push_back(point);
        }
        return ModelItems{item};
    }
    // addSelectedShape appends the shape as a whole unless it is selected; unselectShape removes
    // its first item.
    static ModelItems addShape(ModelItems items, const std::string &shape) {
        if (find(items, shape) == items.end()) {
            items.push_back(ModelItem::wholeOf(shape));
        }
        return items;
    }
    static ModelItems unselectShape(ModelItems items, const std::string &shape) {
        const auto found = find(items, shape);
        if (found != items.end()) {
            items.erase(found);
        }
        return items;
    }
    // setShapeParts: the shape's first item takes exactly these sets (null for both: whole; null
    // for one: that set empty), in place; a shape not selected comes in at the end.
    static ModelItems setShapeParts(ModelItems items, const std::string &shape,
                                    const std::vector<int> *points,
                                    const std::vector<int> *handles) {
        const ModelItem item = itemOf(shape, points, handles);
        const auto found = find(items, shape);
        if (found == items.end()) {
            items.push_back(item);
        } else {
            *found = item;
        }
        return items;
    }

    // The item of a shape with exactly these sets, each index once (null for both: whole; null
    // for one: that set empty).
    static ModelItem itemOf(const std::string &shape, const std::vector<int> *points,
                            const std::vector<int> *handles) {
        ModelItem item = ModelItem::wholeOf(shape);
        item.whole = points == nullptr && handles == nullptr;
        for (int point : points != nullptr ? *points : std::vector<int>()) {
            ModelItem::appendOnce(item.points, point);
        }
        for (int handle : handles != nullptr ? *handles : std::vector<int>()) {
            ModelItem::appendOnce(item.handles, handle);
        }
        return item;
    }

    // selectPoint(s) / selectHandle(s): the side becomes these indices in order; the other stays.
    static ModelItems selectIndices(ModelItems items, bool pointSide,
                                    const std::vector<int> &indices) {
        return onPrimary(std::move(items), [&](ModelItem &primary) {
            primary.whole = false;
            primary.side(pointSide).clear();
            for (int index : indices) {
                ModelItem::appendOnce(primary.side(pointSide), index);
            }
        });
    }
    // selectAllPoints / Handles: 0 .. count - 1 after the selected ones, which keep their ranks.
    static ModelItems selectAllIndices(ModelItems items, bool pointSide, int count) {
        return onPrimary(std::move(items), [&](ModelItem &primary) {
            primary.whole = false;
            for (int index = 0; index < count; ++index) {
                ModelItem::appendOnce(primary.side(pointSide), index);
            }
        });
    }
    // selectNext / selectPrevious: alone, the index after (before) the rank-1 one, wrapping at
    // count; 0 when none is selected; nothing for a count of 0 or less.
    static ModelItems selectNeighbour(ModelItems items, bool pointSide, int count, bool forward) {
        if (count <= 0 || items.empty()) {
            return items;
        }
        const std::vector<int> &selected = items.front().side(pointSide);
        int target = 0;
        if (!selected.empty()) {
            const int first = selected.front();
            target = forward ? (first + 1 < count ? first + 1 : 0)
                             : (first - 1 < 0 ? count - 1 : first - 1);
        }
        return selectIndices(std::move(items), pointSide, {target});
    }
    // unselectPoints / Handles: the side cleared; nothing for a whole shape or an empty side;
    // whole again when the other side is empty too.
    static ModelItems unselectSide(ModelItems items, bool pointSide) {
        return onPrimary(std::move(items), [&](ModelItem &primary) {
            if (!primary.whole && !primary.side(pointSide).empty()) {
                primary.side(pointSide).clear();
                primary.whole = primary.isEmpty();
            }
        });
    }
    // addSelectedPoint / Handle appends the index unless selected; unselectPoint / Handle takes
    // it out, the shape whole again when nothing stays selected.
    static ModelItems addIndex(ModelItems items, bool pointSide, int index) {
        return onPrimary(std::move(items), [&](ModelItem &primary) {
            primary.whole = false;
            ModelItem::appendOnce(primary.side(pointSide), index);
        });
    }
    static ModelItems unselectIndex(ModelItems items, bool pointSide, int index) {
        return onPrimary(std::move(items), [&](ModelItem &primary) {
            std::vector<int> &indices = primary.side(pointSide);
            const auto found = std::find(indices.begin(), indices.end(), index);
            if (!primary.whole && found != indices.end()) {
                indices.erase(found);
                primary.whole = primary.isEmpty();
            }
        });
    }

    // The application inserted (removed) index `at` of the shape's points or handles: every item
    // of that shape that has parts is renumbered, not only the primary one.
    static ModelItems renumber(ModelItems items, const std::string &shape, bool pointSide, int at,
                               bool added) {
        for (ModelItem &item : items) {
            if (item.shape == shape && !item.whole) {
                item.side(pointSide) = ModelItem::renumbered(item.side(pointSide), at, added);
            }
        }
        return items;
    }
    // A removal event: the items of gone shapes leave and the rest become wholes, in order;
    // nothing changes when no selected shape is gone.
    static ModelItems afterRemoval(const ModelItems &items, const IsGone &isGone) {
        if (std::none_of(items.begin(), items.end(),
                         [&](const ModelItem &item) { return isGone(item.shape); })) {
            return items;
        }
        ModelItems kept;
        for (const ModelItem &item : items) {
            if (!isGone(item.shape)) {
                kept.push_back(ModelItem::wholeOf(item.shape));
            }
        }
        return kept;
    }
    // What the history restores of a kept state: the items of gone shapes left out, the rest as
    // they were.
    static ModelItems withoutGone(const ModelItems &items, const IsGone &isGone) {
        ModelItems kept;
        for (const ModelItem &item : items) {
            if (!isGone(item.shape)) {
                kept.push_back(item);
            }
        }
        return kept;
    }

    static ModelItems::iterator find(ModelItems &items, const std::string &shape) {
        return std::find_if(items.begin(), items.end(),
                            [&](const ModelItem &item) { return item.shape == shape; });
    }

private:
    template <class Change> static ModelItems onPrimary(ModelItems items, Change change) {
        if (!items.empty()) {
            change(items.front());
        }
        return items;
    }
};

} // namespace VoFuzz
