#include "PyLayer.h"

#include "PyHistory.h"
#include "PyModuleError.h"
#include "PySelector.h"
#include "PyShape.h"

#include "SessionText.h"

#include "SeObject.h"

#include "host/graph/PiGraphObject.h"
#include "host/graph/PiNode.h"

#include <string>

namespace py = pybind11;

namespace VoPython {

py::list PyLayer::shapes() const {
    py::list shapes;
    for (const std::size_t record : editor->getLiveRecords()) {
        if (editor->getRecord(record).layer == layer) {
            shapes.append(PyShape::object(editor, record));
        }
    }
    return shapes;
}

bool PyLayer::holds(std::size_t record) const {
    return editor->isAlive(record) && editor->getRecord(record).layer == layer;
}

void PyLayer::bind(py::module_ &module) {
    py::class_<PyLayer>(module, "Layer",
                        "One owner of the editor's shapes, on its tool node: its live shapes in "
                        "creation order, and by name.")
        .def_property_readonly(
            "name", [](const PyLayer &layer) { return layer.get().getToolNode()->getName(); },
            "The layer's name: its tool node's.")
        .def_property_readonly(
            "id", [](const PyLayer &layer) { return layer.get().getLayer()->getId(); },
            "The id shape events name their owner by.")
        .def_property_readonly("shapes", &PyLayer::shapes,
                               "The layer's live shapes, in creation order.")
        .def_property_readonly(
            "selector", [](const PyLayer &layer) { return PySelector(layer.editor, layer.layer); },
            "The selector of this layer's editor, whichever layer is active: its selection, "
            "operations and callback lists.")
        .def_property_readonly(
            "history", [](const PyLayer &layer) { return PyHistory(layer.editor, layer.layer); },
            "The undo history of this layer's editor.")
        .def_property_readonly(
            "published",
            [](const PyLayer &layer) {
                return layer.editor->getApplication(layer.layer).isPublished();
            },
            "Whether the application's selection shows this layer's editor's selection "
            "(SeSelectorUpdater::isPublished).")
        .def(
            "__len__", [](const PyLayer &layer) { return layer.get().getNbShapes(); },
            "The number of live shapes in the layer.")
        .def(
            "__iter__", [](const PyLayer &layer) { return py::iter(layer.shapes()); },
            "The layer's live shapes, in creation order.")
        .def(
            "__getitem__",
            [](const PyLayer &layer, const std::string &name) {
                const std::size_t record = layer.editor->recordNamed(name);
                if (!layer.holds(record)) {
                    throw PyModuleError(PyModuleError::Kind::UnknownShape,
                                        "shape " + VoSession::SessionText::quote(name) +
                                            (layer.editor->isAlive(record)
                                                 ? " belongs to another layer"
                                                 : " was deleted from the layer"));
                }
                return PyShape::object(layer.editor, record);
            },
            "The live shape of that name in the layer; KeyError otherwise.")
        .def(
            "__contains__",
            [](const PyLayer &layer, py::handle shape) {
                if (py::isinstance<py::str>(shape)) {
                    return layer.get().findShape(shape.cast<std::string>()) != nullptr;
                }
                return py::isinstance<PyShape>(shape) &&
                       &shape.cast<const PyShape &>().getEditor() == layer.editor.get() &&
                       layer.holds(shape.cast<const PyShape &>().getIndex());
            },
            "Whether a live shape of the layer has that name (or is that shape).")
        .def("__repr__", [](const PyLayer &layer) {
            return "<voshape.Layer " + layer.get().getToolNode()->getName() + ": " +
                   std::to_string(layer.get().getNbShapes()) + " shapes>";
        });
}

} // namespace VoPython
