#include "PyApplicationIterator.h"

#include "PyApplicationItem.h"

#include "host/selection/SnSelection.h"

namespace py = pybind11;

namespace VoPython {

PyApplicationIterator::PyApplicationIterator(std::shared_ptr<PyEditor> owner)
    : editor(std::move(owner)), revision(editor->getApplicationSelection().getRevision()) {}

py::object PyApplicationIterator::next() {
    const Vo::SnSelection &selection = editor->getApplicationSelection();
    if (selection.getRevision() != revision) {
        // As a dict's iterator does: the walk would mix two states.
        PyErr_SetString(PyExc_RuntimeError, "the application's selection changed during iteration");
        throw py::error_already_set();
    }
    if (place >= selection.getNbItems()) {
        throw py::stop_iteration();
    }
    return py::cast(PyApplicationItem(editor, *(selection.begin() + place++)));
}

void PyApplicationIterator::bind(py::module_ &module) {
    py::class_<PyApplicationIterator>(module, "ApplicationSelectionIterator",
                                      "Walks the application's selection item by item.")
        .def(
            "__iter__", [](py::object self) { return self; }, "__iter__() -> self")
        .def("__next__", &PyApplicationIterator::next,
             "__next__() -> Item: the next item; RuntimeError when the selection changed since "
             "the walk began.");
}

} // namespace VoPython
