#include "PyShape.h"

#include "PyModuleError.h"
#include "PyPositions.h"

#include "SessionText.h"

#include <functional>
#include <string>
#include <vector>

namespace py = pybind11;

namespace VoPython {

py::object PyShape::object(const std::shared_ptr<PyEditor> &editor, std::size_t record) {
    return py::cast(PyShape(editor, record));
}

std::size_t PyShape::recordFrom(PyEditor &editor, py::handle given) {
    if (py::isinstance<PyShape>(given)) {
        const PyShape &shape = given.cast<const PyShape &>();
        if (&shape.getEditor() != &editor) {
            throw PyModuleError(PyModuleError::Kind::Value,
                                "shape " + VoSession::SessionText::quote(shape.getRecord().name) +
                                    " belongs to another editor");
        }
        return shape.getIndex();
    }
    if (py::isinstance<py::str>(given)) {
        return editor.recordNamed(given.cast<std::string>());
    }
    throw py::type_error("expected a voshape.Shape or a shape's name, not " +
                         std::string(py::str(py::type::handle_of(given).attr("__name__"))));
}

std::size_t PyShape::recordIn(PyEditor &editor, py::handle given, std::size_t layer) {
    const std::size_t record = recordFrom(editor, given);
    checkLayer(editor, record, layer);
    return record;
}

void PyShape::checkLayer(const PyEditor &editor, std::size_t record, std::size_t layer) {
    const PyEditor::Record &known = editor.getRecord(record);
    if (known.layer != layer) {
        const std::vector<std::string> names = editor.getLayerNames();
        throw PyModuleError(PyModuleError::Kind::Value,
                            "shape " + VoSession::SessionText::quote(known.name) + " is in layer " +
                                VoSession::SessionText::quote(names[known.layer]) +
                                ", not in this selector's layer " +
                                VoSession::SessionText::quote(names[layer]));
    }
}

py::iterator PyShape::iterate(py::handle given, const char *what) {
    if (py::isinstance<py::str>(given) || py::isinstance<py::bytes>(given)) {
        throw py::type_error(std::string(what) + ": expected a list of shapes or names, not a " +
                             std::string(py::str(py::type::handle_of(given).attr("__name__"))) +
                             " (a list holding one name is [name])");
    }
    return py::iter(given);
}

namespace {

std::string describe(PyShape &shape) {
    const PyEditor::Record &record = shape.getRecord();
    std::string text = "<voshape.Shape " + std::string(py::repr(py::str(record.name))) +
                       " id=" + std::to_string(record.id);
    if (!shape.getEditor().isAlive(shape.getIndex())) {
        return text + " deleted>";
    }
    const VoExample::AppShapeInterface &live = shape.live();
    text += " points=" + std::to_string(live.getNbPoints());
    if (live.hasGradient()) {
        text += " handles=" + std::to_string(live.getNbHandles());
    }
    return text + (live.hasSingleValuedPoints() ? " single>" : ">");
}

} // namespace

void PyShape::bind(py::module_ &module) {
    py::class_<PyShape>(module, "Shape",
                        "One shape of an editor's scene. Its name and id stay readable once the "
                        "shape is deleted; everything else then raises ShapeGoneError. Selector "
                        "operations given a deleted shape do what the library does with a shape "
                        "whose editing side is gone.")
        .def_property_readonly(
            "name", [](const PyShape &shape) { return shape.getRecord().name; },
            "The name, unique in the editor for its whole life.")
        .def_property_readonly(
            "id", [](const PyShape &shape) { return shape.getRecord().id; },
            "The graph object's id, which removal events carry.")
        .def_property_readonly(
            "alive",
            [](const PyShape &shape) { return shape.getEditor().isAlive(shape.getIndex()); },
            "False once the shape's editing side is deleted.")
        .def_property_readonly(
            "point_count", [](const PyShape &shape) { return shape.live().getNbPoints(); },
            "The number of points of the live shape (its curve's, single-valued or not).")
        .def_property_readonly(
            "handle_count", [](const PyShape &shape) { return shape.live().getNbHandles(); },
            "The number of gradient handles of the live shape; 0 without a gradient.")
        .def_property_readonly(
            "has_gradient", [](const PyShape &shape) { return shape.live().hasGradient(); },
            "Whether the live shape has a gradient input, so handles.")
        .def_property_readonly(
            "single_valued",
            [](const PyShape &shape) { return shape.live().hasSingleValuedPoints(); },
            "True when the curve's points are one plain 'Points' input.")
        .def_property_readonly(
            "positions",
            [](const PyShape &shape) {
                return PyPositions::pairsOut(PyPositions::points(shape.live()));
            },
            "The points' (x, y) positions: an (N, 2) float64 NumPy array (a list of (x, y) "
            "tuples without NumPy); ValueError for a single-valued curve.")
        .def_property_readonly(
            "handle_positions",
            [](const PyShape &shape) {
                return PyPositions::valuesOut(PyPositions::handles(shape.live()));
            },
            "The handles' places along the gradient: an (N,) float64 NumPy array (a list "
            "without NumPy).")
        .def(
            "set_positions",
            [](const PyShape &shape, py::handle indices, py::handle xy) {
                PyPositions::write(shape.live(), indices, xy);
            },
            py::arg("indices"), py::arg("xy"),
            "set_positions(indices, xy): moves the points at indices to the (x, y) pairs of xy "
            "(an (N, 2) array or a sequence of pairs), all or none: IndexError for an index "
            "outside the shape, ValueError for a count that differs or a value that is not "
            "finite, TypeError for anything but pairs of real numbers.")
        .def(
            "set_handle_positions",
            [](const PyShape &shape, py::handle indices, py::handle positions) {
                PyPositions::writeHandles(shape.live(), indices, positions);
            },
            py::arg("indices"), py::arg("positions"),
            "set_handle_positions(indices, positions): moves the gradient handles at indices to "
            "the places along the gradient given (an (N,) array or a sequence of real numbers, "
            "one an index), all or none: IndexError for an index outside the shape's handles, "
            "ValueError for a count that differs or a value that is not finite, TypeError for "
            "anything but real numbers.")
        .def_property_readonly(
            "selected",
            [](const PyShape &shape) {
                return shape.getEditor().getSelector().isShapeSelected(shape.getRecord().model);
            },
            "Whether the editor's selector has it selected (isShapeSelected).")
        .def(
            "__eq__",
            [](const PyShape &shape, py::object other) {
                return py::isinstance<PyShape>(other) &&
                       &other.cast<const PyShape &>().getEditor() == &shape.getEditor() &&
                       other.cast<const PyShape &>().getIndex() == shape.getIndex();
            },
            "The same shape of the same editor.")
        .def("__hash__",
             [](const PyShape &shape) {
                 return std::hash<const void *>()(&shape.getEditor()) ^ shape.getIndex();
             })
        .def("__repr__", &describe);
}

} // namespace VoPython
