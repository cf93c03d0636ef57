#include "PySelectionChange.h"

#include "PyIndices.h"
#include "PyShape.h"

#include <string>

namespace py = pybind11;

namespace VoPython {

// A weak pointer keeps its shape's counter block, which names the record also once the shape is
// gone; a pointer to no shape is None.
py::object PySelectionChange::shapeOf(const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape) const {
    if (shape.get() == nullptr) {
        return py::none();
    }
    return PyShape::object(editor, editor->recordOf(shape));
}

py::list
PySelectionChange::shapesOf(const Vo::Vector<Vo::RCWeakPtr<Vo::SeShapeInterface>> &shapes) const {
    py::list list;
    for (const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape : shapes) {
        list.append(shapeOf(shape));
    }
    return list;
}

// Readers of the change's properties, each through one of its getters: as it is, as a list of
// indices, as a shape or as a list of shapes.
template <class Get> auto PySelectionChange::value(Get get) {
    return [get](const PySelectionChange &c) { return (c.change.*get)(); };
}

template <class Get> auto PySelectionChange::indices(Get get) {
    return [get](const PySelectionChange &c) { return PyIndices::toList((c.change.*get)()); };
}

template <class Get> auto PySelectionChange::shape(Get get) {
    return [get](const PySelectionChange &c) { return c.shapeOf((c.change.*get)()); };
}

template <class Get> auto PySelectionChange::shapes(Get get) {
    return [get](const PySelectionChange &c) { return c.shapesOf((c.change.*get)()); };
}

void PySelectionChange::bind(py::module_ &module) {
    using Change = PySelectionChange;
    py::class_<Change>(
        module, "SelectionChange",
        "What the last change of the editor's selection was (Selector.last_change): read it from "
        "a callback. When `whole` is True the change is not described: read the selection again.")
        .def_property_readonly(
            "whole", value(&Vo::SeSelectionChange::isWhole),
            "Whether the change is not described: a large change of the whole list, or one the "
            "application's selection brought in full. Read the selection again.")
        .def_property_readonly("revision_before", value(&Vo::SeSelectionChange::getRevisionBefore),
                               "The selection's revision before the change.")
        .def_property_readonly("revision_after", value(&Vo::SeSelectionChange::getRevisionAfter),
                               "The selection's revision after the change.")
        .def_property_readonly("shapes_added", shapes(&Vo::SeSelectionChange::getShapesAdded),
                               "The shapes the change added, in order.")
        .def_property_readonly("shapes_removed", shapes(&Vo::SeSelectionChange::getShapesRemoved),
                               "The shapes the change removed, in order.")
        .def_property_readonly(
            "places_removed", indices(&Vo::SeSelectionChange::getPlacesRemoved),
            "Where each of shapes_removed stood in the selection before the change, ascending.")
        .def_property_readonly(
            "places_added", indices(&Vo::SeSelectionChange::getPlacesAdded),
            "Where each of shapes_added stands in the selection after the change, ascending. "
            "To apply a change, delete places_removed from the last, then insert shapes_added "
            "at places_added from the first.")
        .def_property_readonly(
            "renumbering", value(&Vo::SeSelectionChange::isRenumbering),
            "Whether the change renumbered the parts of renumbered_shape's items, because the "
            "application inserted or removed a point or handle; no item came or went.")
        .def_property_readonly("renumbered_shape",
                               shape(&Vo::SeSelectionChange::getRenumberedShape),
                               "The shape whose points or handles were renumbered, or None.")
        .def_property_readonly("renumbered_points",
                               value(&Vo::SeSelectionChange::areRenumberedPoints),
                               "Whether the points were renumbered (else the handles).")
        .def_property_readonly("renumbered_index",
                               value(&Vo::SeSelectionChange::getRenumberedIndex),
                               "The index inserted or removed.")
        .def_property_readonly(
            "renumbered_insertion", value(&Vo::SeSelectionChange::isRenumberingInsertion),
            "Whether the index was inserted (indices from it up moved up) rather than removed.")
        .def_property_readonly("primary_before", shape(&Vo::SeSelectionChange::getPrimaryBefore),
                               "The primary shape before the change, or None.")
        .def_property_readonly("primary_after", shape(&Vo::SeSelectionChange::getPrimaryAfter),
                               "The primary shape after the change, or None.")
        .def_property_readonly("parts_changed", value(&Vo::SeSelectionChange::arePartsChanged),
                               "Whether the primary item's points or handles changed.")
        .def_property_readonly("parts_rewritten", value(&Vo::SeSelectionChange::arePartsRewritten),
                               "Whether the parts were replaced whole rather than one index.")
        .def_property_readonly("points_added", indices(&Vo::SeSelectionChange::getPointsAdded),
                               "The point indices the change added.")
        .def_property_readonly("points_removed", indices(&Vo::SeSelectionChange::getPointsRemoved),
                               "The point indices the change removed.")
        .def_property_readonly("handles_added", indices(&Vo::SeSelectionChange::getHandlesAdded),
                               "The handle indices the change added.")
        .def_property_readonly("handles_removed",
                               indices(&Vo::SeSelectionChange::getHandlesRemoved),
                               "The handle indices the change removed.")
        .def("__repr__", [](const Change &c) {
            if (c.change.isWhole()) {
                return std::string("<voshape.SelectionChange whole>");
            }
            return "<voshape.SelectionChange shapes_added=" +
                   std::string(py::repr(c.shapesOf(c.change.getShapesAdded()))) +
                   " shapes_removed=" +
                   std::string(py::repr(c.shapesOf(c.change.getShapesRemoved()))) +
                   " points_added=" +
                   std::string(py::repr(PyIndices::toList(c.change.getPointsAdded()))) +
                   " points_removed=" +
                   std::string(py::repr(PyIndices::toList(c.change.getPointsRemoved()))) + ">";
        });
}

} // namespace VoPython
