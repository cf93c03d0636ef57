#include "PyApplicationItem.h"

#include "PyHeldItem.h"
#include "PyItemDicts.h"
#include "PyShape.h"

#include "SessionHostItems.h"

#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/selection/SnSelection.h"

#include <pybind11/stl.h>

#include <string>

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

py::dict PyApplicationItem::toDict() const { return PyItemDicts().of(described); }

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
        .def("__eq__", &PyHeldItem::equals<Item>, "The same item of the application (isEqual).")
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
