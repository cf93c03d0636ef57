#include "PyApplicationItem.h"

#include "PyShape.h"

#include "SessionHostItems.h"

#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/selection/SnSelection.h"

#include <pybind11/stl.h>

#include <string>
#include <unordered_map>

namespace py = pybind11;

namespace VoPython {

PyApplicationItem::PyApplicationItem(std::shared_ptr<PyEditor> owner,
                                     Vo::RCShdPtr<Vo::SnItem const> held)
    : editor(std::move(owner)), item(std::move(held)),
      described(VoSession::SessionHostItems::describe(*item)) {}

// The shape whose graph object the item holds, while the application finds it (a live shape).
py::object PyApplicationItem::shape() const {
    const auto *object = dynamic_cast<const Vo::PiGraphObjectSnItemConst *>(item.get());
    if (object == nullptr || described.kind != "object") {
        return py::none();
    }
    const Vo::RCShdPtr<Vo::SeShape> found = editor->findShape(object->getGraphObject());
    return found.isNull() ? py::object(py::none())
                          : PyShape::object(editor, editor->recordOf(*found));
}

namespace {

// Python strings made once for a run of dictionaries: the keys, and the kinds and path names
// (a handful of distinct ones, against one name an item).
class SharedStrings {
public:
    py::handle get(const std::string &text) {
        const auto found = made.find(text);
        if (found != made.end()) {
            return found->second;
        }
        return made.emplace(text, py::str(text)).first->second;
    }

private:
    std::unordered_map<std::string, py::str> made;
};

py::dict dictOf(const VoSession::SessionState::HostItem &described, SharedStrings &shared) {
    py::dict dict;
    dict[shared.get("kind")] = shared.get(described.kind);
    dict[shared.get("name")] = py::str(described.name);
    if (described.kind == "input") {
        py::list path(described.path.size());
        for (std::size_t at = 0; at < described.path.size(); ++at) {
            path[at] = shared.get(described.path[at]);
        }
        dict[shared.get("path")] = std::move(path);
    }
    return dict;
}

} // namespace

py::dict PyApplicationItem::toDict() const {
    SharedStrings shared;
    return dictOf(described, shared);
}

py::list PyApplicationItem::dictsOf(const Vo::SnSelection &selection) {
    SharedStrings shared;
    py::list dicts(static_cast<std::size_t>(selection.getNbItems()));
    std::size_t at = 0;
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : selection) {
        dicts[at++] = dictOf(VoSession::SessionHostItems::describe(*item), shared);
    }
    return dicts;
}

void PyApplicationItem::bind(py::module_ &module) {
    using Item = PyApplicationItem;
    py::class_<Item>(module, "Item",
                     "One item of the application's selection: kind 'node', 'object' (a graph "
                     "object such as a shape's), 'input' (with its place and path) or 'item' (of "
                     "a class the editor does not know). Write it back with "
                     "ApplicationSelection.insert or replace.")
        .def_property_readonly(
            "kind", [](const Item &i) { return i.described.kind; },
            "'node', 'object', 'input' or 'item'.")
        .def_property_readonly(
            "name", [](const Item &i) { return i.described.name; },
            "The node's or object's name; for an input, its place.")
        .def_property_readonly(
            "place",
            [](const Item &i) {
                return i.described.kind == "input" ? py::object(py::str(i.described.name))
                                                   : py::object(py::none());
            },
            "An input's place under its node's inputs, such as 'A.curve/Points[2]/x'; None for "
            "other kinds.")
        .def_property_readonly(
            "path", [](const Item &i) { return py::tuple(py::cast(i.described.path)); },
            "The names of the nodes an input item was reached along; empty for other kinds.")
        .def_property_readonly("shape", &Item::shape,
                               "The live shape whose graph object this is, or None.")
        .def("to_dict", &Item::toDict, "kind, name and, for an input, path: for JSON.")
        .def(
            "__eq__",
            [](const Item &i, py::object other) {
                return py::isinstance<Item>(other) &&
                       i.item->isEqual(*other.cast<const Item &>().item);
            },
            "The same item of the application (isEqual).")
        .def("__hash__",
             [](const Item &i) {
                 return py::hash(py::make_tuple(i.described.kind, i.described.name));
             })
        .def("__repr__", [](const Item &i) {
            std::string text = "<voshape.Item " + i.described.kind + " " + i.described.name;
            for (std::size_t index = 0; index < i.described.path.size(); ++index) {
                text += (index == 0 ? " via " : ">") + i.described.path[index];
            }
            return text + ">";
        });
}

} // namespace VoPython
