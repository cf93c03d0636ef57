#include "PySelectedItem.h"

#include "PyHeldItem.h"
#include "PyIndices.h"
#include "PyModuleError.h"
#include "PyShape.h"

#include "SeShapeItem.h"
#include "SeShapeParts.h"

#include "host/selection/SnSelection.h"

#include <string>

namespace py = pybind11;

namespace VoPython {

namespace {

const Vo::SeShapeItem &shapeItem(const Vo::SnItem &item) {
    return *Vo::rcCheckedCast<const Vo::SeShapeItem>(&item);
}

// Null for a shape selected as a whole.
const Vo::SeShapeParts *partsOf(const Vo::SnItem &item) {
    return Vo::rcCheckedCast<const Vo::SeShapeParts>(item.getParts().get());
}

py::list pointsOf(const PySelectedItem &selected) {
    const Vo::SeShapeParts *parts = partsOf(*selected.getItem());
    return parts == nullptr ? py::list() : PyIndices::toList(parts->getPoints());
}

py::list handlesOf(const PySelectedItem &selected) {
    const Vo::SeShapeParts *parts = partsOf(*selected.getItem());
    return parts == nullptr ? py::list() : PyIndices::toList(parts->getHandles());
}

Vo::RCShdPtr<Vo::SnItem const> itemOf(PyEditor &editor, std::size_t record, py::handle points,
                                      py::handle handles) {
    Vo::RCShdPtr<Vo::SnParts> parts;
    if (!points.is_none() || !handles.is_none()) {
        const Vo::RCShdPtr<Vo::SeShapeParts> made(new Vo::SeShapeParts);
        if (!points.is_none()) {
            for (const int index : PyIndices::toVector(points, "points")) {
                made->appendPoint(index);
            }
        }
        if (!handles.is_none()) {
            for (const int index : PyIndices::toVector(handles, "handles")) {
                made->appendHandle(index);
            }
        }
        parts = made;
    }
    return Vo::RCShdPtr<Vo::SnItem const>(
        new Vo::SeShapeItem(parts, editor.getRecord(record).weak));
}

} // namespace

py::list PySelectedItem::itemsOf(const std::shared_ptr<PyEditor> &editor,
                                 const Vo::SnSelection &selection) {
    py::list items;
    const Vo::SnItem *primary = selection.getPrimaryItem().get();
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : selection) {
        items.append(py::cast(PySelectedItem(editor, item, item.get() == primary)));
    }
    return items;
}

Vo::Vector<Vo::RCShdPtr<Vo::SnItem const>>
PySelectedItem::itemsFrom(PyEditor &editor, py::handle given, std::size_t layer) {
    Vo::Vector<Vo::RCShdPtr<Vo::SnItem const>> items;
    for (const py::handle element : PyShape::iterate(given, "items")) {
        if (py::isinstance<PySelectedItem>(element)) {
            const PySelectedItem &selected = element.cast<const PySelectedItem &>();
            if (&selected.getEditor() != &editor) {
                throw PyModuleError(PyModuleError::Kind::Value,
                                    "a selected item of another editor cannot be given back here");
            }
            PyShape::checkLayer(editor, editor.recordOf(shapeItem(*selected.getItem()).getData()),
                                layer);
            items.push_back(selected.getItem());
        } else if (py::isinstance<py::tuple>(element)) {
            const py::tuple given = py::reinterpret_borrow<py::tuple>(element);
            if (given.size() != 3) {
                throw py::type_error("an item as a tuple is (shape, points, handles), not a tuple "
                                     "of " +
                                     std::to_string(given.size()));
            }
            items.push_back(
                itemOf(editor, PyShape::recordIn(editor, given[0], layer), given[1], given[2]));
        } else {
            items.push_back(
                itemOf(editor, PyShape::recordIn(editor, element, layer), py::none(), py::none()));
        }
    }
    return items;
}

void PySelectedItem::bind(py::module_ &module) {
    py::class_<PySelectedItem>(
        module, "SelectedItem",
        "One item of the editor's selection as read: a shape selected as a whole or with parts "
        "(its selected points and handles, in selection order). Give it back to "
        "Selector.replace_all_items or Selector.restore to select it again as it was.")
        .def_property_readonly(
            "shape",
            [](const PySelectedItem &selected) {
                return PyShape::object(selected.editor, selected.editor->recordOf(
                                                            shapeItem(*selected.item).getData()));
            },
            "The shape the item selects (alive or not).")
        .def_readonly("primary", &PySelectedItem::primary,
                      "Whether the item is the selection's primary one (the first).")
        .def_property_readonly(
            "whole", [](const PySelectedItem &selected) { return !selected.item->hasParts(); },
            "True for a shape selected as a whole; False when it has parts, even empty ones.")
        .def_property_readonly("points", &pointsOf, "Selected point indices, in selection order.")
        .def_property_readonly("handles", &handlesOf,
                               "Selected handle indices, in selection order.")
        .def("__eq__", &PyHeldItem::equals<PySelectedItem>,
             "The same shape with the same parts (or both whole).")
        .def("__hash__",
             [](const PySelectedItem &selected) {
                 return std::hash<const void *>()(
                     shapeItem(*selected.item).getData().getCounter().get());
             })
        .def("__repr__", [](const PySelectedItem &selected) {
            const PyEditor::Record &record = selected.editor->getRecord(
                selected.editor->recordOf(shapeItem(*selected.item).getData()));
            std::string text = "<voshape.SelectedItem " + record.name;
            if (selected.primary) {
                text += " primary";
            }
            if (const Vo::SeShapeParts *parts = partsOf(*selected.item)) {
                text += " points=" + std::string(py::repr(PyIndices::toList(parts->getPoints()))) +
                        " handles=" + std::string(py::repr(PyIndices::toList(parts->getHandles())));
            } else {
                text += " whole";
            }
            return text + ">";
        });
}

} // namespace VoPython
