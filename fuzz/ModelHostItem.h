#pragma once

#include <string>

namespace VoFuzz {

// An item of the application's selection in the reference model: a node, a shape's graph
// object, or an input of a point ("x", "y"; a single-valued curve's whole "Points", element -1)
// or of a handle ("position", "color"). An input is gone once its element or its shape left the
// graph; the application's selection may still hold it.
struct ModelHostItem {
    enum class Kind { node, object, input };
    Kind kind = Kind::node;
    std::string name; // the node's, or the shape's
    bool handle = false;
    int element = -1;
    std::string component;
    bool gone = false;
    std::string path; // an input's: the nodes from its shape's node to the primary output

    static ModelHostItem node(const std::string &name) {
        return ModelHostItem{Kind::node, name, false, -1, std::string(), false, std::string()};
    }
    static ModelHostItem object(const std::string &name) {
        return ModelHostItem{Kind::object, name, false, -1, std::string(), false, std::string()};
    }
    static ModelHostItem input(const std::string &shape, bool handle, int element,
                               const std::string &component, const std::string &path) {
        return ModelHostItem{Kind::input, shape, handle, element, component, false, path};
    }

    // "node ShapeEditor", "object A", "input A.curve/Points[2]/x via Roto>Output",
    // "input C.curve/Points via ...", "input B.gradient[1]/position via ...", "input (gone) x via
    // ...": as the fuzzer describes library items.
    std::string text() const {
        if (kind != Kind::input) {
            return (kind == Kind::node ? "node " : "object ") + name;
        }
        return "input " + place() + " via " + path;
    }
    std::string place() const {
        if (gone) {
            return "(gone) " + component;
        }
        if (handle) {
            return name + ".gradient[" + std::to_string(element) + "]/" + component;
        }
        return name + ".curve/Points" +
               (element < 0 ? std::string() : "[" + std::to_string(element) + "]/" + component);
    }
    // The same item: inputs that left the graph are told apart only by what they were.
    bool operator==(const ModelHostItem &other) const {
        return kind == other.kind && name == other.name && handle == other.handle &&
               element == other.element && component == other.component && gone == other.gone &&
               path == other.path;
    }
    bool operator!=(const ModelHostItem &other) const { return !(*this == other); }
};

} // namespace VoFuzz
