#include "PyRenumbering.h"

#include "PyShape.h"

#include "SeShapeSelector.h"

#include <string>

namespace py = pybind11;

namespace VoPython {

using Renumbering = Vo::SeShapeSelector::Renumbering;

PySubscription PyRenumbering::subscribe(const std::shared_ptr<PyEditor> &editor,
                                        PyEditor::LayerChoice layer, py::object callable) {
    PyEditor *owner = editor.get(); // the handler lives no longer than the editor
    const auto convert = [owner](const Renumbering &report) {
        PyRenumbering converted;
        converted.shape =
            report.shape.get() == nullptr
                ? py::object(py::none())
                : PyShape::object(owner->shared_from_this(), owner->recordOf(report.shape));
        converted.points = report.points;
        converted.index = report.index;
        converted.added = report.added;
        return py::make_tuple(converted);
    };
    const auto link = [owner, layer](Vo::CbHandler<Renumbering const> *handler) {
        owner->getApplication(layer).getSelector().addRenumberingCallback(handler);
    };
    return PySubscription::subscribe<Renumbering const>(editor, std::move(callable), convert, link,
                                                        "renumbering");
}

void PyRenumbering::bind(py::module_ &module) {
    py::class_<PyRenumbering>(module, "Renumbering",
                              "An index the application inserted into or removed from a shape's "
                              "points or handles, as the selector hears of it.")
        .def_readonly("shape", &PyRenumbering::shape)
        .def_readonly("points", &PyRenumbering::points,
                      "True for the points, False for the handles.")
        .def_readonly("index", &PyRenumbering::index)
        .def_readonly("added", &PyRenumbering::added, "True for an insertion.")
        .def("__repr__", [](const PyRenumbering &report) {
            return std::string("<voshape.Renumbering ") +
                   (report.added ? "inserted " : "removed ") +
                   (report.points ? "point " : "handle ") + std::to_string(report.index) + " of " +
                   std::string(py::repr(report.shape)) + ">";
        });
}

} // namespace VoPython
