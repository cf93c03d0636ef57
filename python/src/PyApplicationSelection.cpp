#include "PyApplicationSelection.h"

#include "PyApplicationItem.h"
#include "PyApplicationIterator.h"
#include "PyItemDicts.h"
#include "PyModuleError.h"
#include "PyShape.h"

#include "foundation/List.h"
#include "foundation/Vector.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/selection/SnSelection.h"

#include <pybind11/stl.h>

#include <string>

namespace py = pybind11;

namespace VoPython {

Vo::RCShdPtr<Vo::SnItem const> PyApplicationSelection::itemFrom(py::handle given) const {
    if (py::isinstance<PyApplicationItem>(given)) {
        const PyApplicationItem &item = given.cast<const PyApplicationItem &>();
        if (&item.getEditor() != editor.get()) {
            throw PyModuleError(PyModuleError::Kind::Value,
                                "an item of another editor's application selection cannot be "
                                "written here");
        }
        return item.getItem();
    }
    if (py::isinstance<PyShape>(given)) {
        const std::size_t record = PyShape::recordFrom(*editor, given);
        return Vo::PiSnItemUtil::createFromBase(editor->live(record).getShape()->getGraphObject());
    }
    if (py::isinstance<py::str>(given)) {
        return Vo::PiSnItemUtil::createFromBase(editor->findGraphObject(given.cast<std::string>()));
    }
    throw py::type_error("expected a voshape.Item, a voshape.Shape or a graph object's name, not " +
                         std::string(py::str(py::type::handle_of(given).attr("__name__"))));
}

py::list PyApplicationSelection::items() const {
    py::list items;
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : selection()) {
        items.append(py::cast(PyApplicationItem(editor, item)));
    }
    return items;
}

int PyApplicationSelection::placeOf(int index, int extra, const char *what) const {
    const int count = selection().getNbItems();
    const int place = index < 0 ? index + count : index; // as Python lists count
    if (place < 0 || place >= count + extra) {
        throw PyModuleError(PyModuleError::Kind::Index,
                            std::string(what) + " " + std::to_string(index) +
                                " out of range (the application's selection holds " +
                                std::to_string(count) + " items)");
    }
    return place;
}

// Compared first, as every view of the application writes: an equal list writes nothing.
void PyApplicationSelection::replace(py::handle objects) {
    Vo::SnSelection &target = writable();
    Vo::List<Vo::RCShdPtr<Vo::SnItem const>> items;
    for (const py::handle object : py::iter(objects)) {
        items.push_back(itemFrom(object));
    }
    const Vo::RCShdPtr<Vo::SnSelection> wanted = Vo::SnSelection::create(items);
    if (!target.isEqual(wanted)) {
        target.replaceAllItems(wanted);
    }
}

void PyApplicationSelection::bind(py::module_ &module) {
    using A = PyApplicationSelection;
    py::class_<A>(module, "ApplicationSelection",
                  "The application's selection, which the updater keeps in step with the "
                  "editor's. Objects are written as voshape.Item, voshape.Shape, or by the name "
                  "of a live shape or a node ('ShapeEditor', 'Roto', 'Output').")
        .def(
            "__len__", [](const A &a) { return a.selection().getNbItems(); },
            "The number of items.")
        .def(
            "__iter__", [](const A &a) { return PyApplicationIterator(a.editor); },
            "__iter__() -> ApplicationSelectionIterator: the items one by one, each made as it "
            "is reached.")
        .def(
            "__getitem__",
            [](const A &a, int index) {
                const int place = a.placeOf(index, 0, "index");
                return PyApplicationItem(a.editor,
                                         *(a.selection().begin() + static_cast<long>(place)));
            },
            "The item at that place (negative from the end); IndexError outside.")
        .def(
            "__delitem__",
            [](A &a, int index) { a.writable().replaceRange(a.placeOf(index, 0, "index"), 1, {}); },
            "Takes the item at that place out, as one splice.")
        .def_property_readonly("items", &A::items, "The items, as a list of Item.")
        .def_property_readonly(
            "revision", [](const A &a) { return a.selection().getRevision(); },
            "Changes with every change of the application's selection.")
        .def("replace", &A::replace, py::arg("objects"),
             "Makes these objects the selection, in order, unless it holds them already.")
        .def(
            "select", [](A &a, const py::args &objects) { a.replace(objects); },
            "select(*objects): replace(objects).")
        .def(
            "clear", [](A &a) { a.replace(py::list()); }, "Nothing selected (unless so already).")
        .def(
            "insert",
            [](A &a, int index, py::handle object) {
                const Vo::RCShdPtr<Vo::SnItem const> item = a.itemFrom(object);
                a.writable().insertItem(a.placeOf(index, 1, "place"), item);
            },
            py::arg("place"), py::arg("object"), "One item in at that place (insertItem).")
        .def(
            "append",
            [](A &a, py::handle object) {
                const Vo::RCShdPtr<Vo::SnItem const> item = a.itemFrom(object);
                a.writable().insertItem(a.selection().getNbItems(), item);
            },
            py::arg("object"), "One item in at the end (insertItem).")
        .def(
            "remove",
            [](A &a, int index) { a.writable().replaceRange(a.placeOf(index, 0, "place"), 1, {}); },
            py::arg("place"), "The item at that place out, as one splice.")
        .def(
            "to_list", [](const A &a) { return PyItemDicts::listOf(a.selection()); },
            "to_list() -> list: the items as dictionaries, ready for json.dumps, made in one "
            "pass.")
        .def("__repr__", [](const A &a) {
            std::string text = "<voshape.ApplicationSelection";
            for (const py::handle item : a.items()) {
                text += " " + std::string(py::repr(item));
            }
            return text + ">";
        });
}

} // namespace VoPython
