#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace VoFuzz {

// One selected shape of the reference model as plain values: the shape's name, and either whole
// (no parts) or with parts, its selected points and handles in selection order, each index once.
// Parts may hold no index at all: that state is not the whole shape.
struct ModelItem {
    std::string shape;
    bool whole = true;
    std::vector<int> points;
    std::vector<int> handles;

    static ModelItem wholeOf(const std::string &shape) { return ModelItem{shape, true, {}, {}}; }

    // The points (pointSide) or the handles.
    std::vector<int> &side(bool pointSide) { return pointSide ? points : handles; }
    const std::vector<int> &side(bool pointSide) const { return pointSide ? points : handles; }
    // Both sets empty: what an unselected index or side leaves becomes whole again.
    bool isEmpty() const { return points.empty() && handles.empty(); }

    bool operator==(const ModelItem &other) const {
        return shape == other.shape && whole == other.whole && points == other.points &&
               handles == other.handles;
    }
    bool operator!=(const ModelItem &other) const { return !(*this == other); }

    // "A", "A[points 2 0; handles]": for traces and failure reports.
    std::string text() const {
        if (whole) {
            return shape;
        }
        std::string out = shape + "[points";
        for (int point : points) {
            out += " " + std::to_string(point);
        }
        out += "; handles";
        for (int handle : handles) {
            out += " " + std::to_string(handle);
        }
        return out + "]";
    }

    // An index set keeps each index once, at the place it first came.
    static void appendOnce(std::vector<int> &indices, int index) {
        if (std::find(indices.begin(), indices.end(), index) == indices.end()) {
            indices.push_back(index);
        }
    }
    // The indices after the application inserted (added) or removed index `at`: later ones move
    // up (down) by one, a removed one leaves, the order stays.
    static std::vector<int> renumbered(const std::vector<int> &indices, int at, bool added) {
        std::vector<int> moved;
        for (int index : indices) {
            if (index < at) {
                moved.push_back(index);
            } else if (added) {
                moved.push_back(index + 1);
            } else if (index > at) {
                moved.push_back(index - 1);
            }
        }
        return moved;
    }
};

// A selection of the model: its items in order, the first one primary.
using ModelItems = std::vector<ModelItem>;

} // namespace VoFuzz
