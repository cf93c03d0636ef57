#include "PySelector.h"

#include "PyIndices.h"
#include "PyModuleError.h"
#include "PyRenumbering.h"
#include "PySelectedItem.h"
#include "PySelectionChange.h"
#include "PyShape.h"
#include "PySubscription.h"

#include "SessionText.h"

#include "SeShapeSelector.h"

#include "base/CbEmptyType.h"
#include "foundation/Iterator.h"
#include "foundation/Set.h"
#include "host/IteratorImpVector.h"
#include "host/selection/SnSelection.h"

#include <pybind11/stl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace py = pybind11;

namespace VoPython {

using Vo::RCShdPtr;
using Vo::SeShape;
using Vo::SeShapeSelector;

std::size_t PySelector::recordFrom(py::handle given) const {
    return PyShape::recordIn(*editor, given, layerIndex());
}

Vo::RCShdPtr<SeShape> PySelector::shapeFrom(py::handle given) const {
    return editor->getRecord(recordFrom(given)).model;
}

bool PySelector::contains(py::handle given) const {
    if (py::isinstance<PyShape>(given) &&
        &given.cast<const PyShape &>().getEditor() != editor.get()) {
        return false;
    }
    const std::size_t record = PyShape::recordFrom(*editor, given);
    return editor->getRecord(record).layer == layerIndex() &&
           selector().isShapeSelected(editor->getRecord(record).model);
}

Vo::Vector<RCShdPtr<SeShape>> PySelector::shapesFrom(py::handle given) const {
    Vo::Vector<RCShdPtr<SeShape>> shapes;
    for (const py::handle element : PyShape::iterate(given, "shapes")) {
        shapes.push_back(shapeFrom(element));
    }
    return shapes;
}

int PySelector::primaryCount(bool points) const {
    const Vo::RCWeakPtr<Vo::SeShapeInterface> primary =
        selector().getPrimarySelectedShapeInterface();
    if (primary.isNull()) {
        return 0;
    }
    const std::size_t record = editor->recordOf(primary);
    if (!editor->isAlive(record)) {
        return 0;
    }
    const VoExample::AppShapeInterface &shape = editor->live(record);
    return points ? shape.getNbPoints() : shape.getNbHandles();
}

// Also a deleted primary shape: the item still names it.
py::object PySelector::primary() const {
    const Vo::RCWeakPtr<Vo::SeShapeInterface> primary =
        selector().getPrimarySelectedShapeInterface();
    if (primary.get() == nullptr) {
        return py::none();
    }
    return PyShape::object(editor, editor->recordOf(primary));
}

py::list PySelector::shapes() const {
    Vo::Vector<RCShdPtr<SeShape>> selected;
    selector().getSelectedShapes(selected);
    py::list shapes;
    for (const RCShdPtr<SeShape> &shape : selected) {
        shapes.append(PyShape::object(editor, editor->recordOf(*shape)));
    }
    return shapes;
}

py::list PySelector::items() const {
    return PySelectedItem::itemsOf(editor, *selector().getCurrentSelection());
}

namespace {

// The count a whole-shape operation works on: the given one, or the primary shape's. A negative
// one is refused here, which the selector would take as 0.
int countOr(const std::optional<int> &count, int primary) {
    if (count && *count < 0) {
        throw PyModuleError(PyModuleError::Kind::Value, "count " + std::to_string(*count) +
                                                            " is negative (expected 0 or more)");
    }
    return count ? *count : primary;
}

Vo::Vector<int> pointsOf(const SeShapeSelector &selector) {
    Vo::Vector<int> points;
    selector.getSelectedPoints(points);
    return points;
}

Vo::Vector<int> handlesOf(const SeShapeSelector &selector) {
    Vo::Vector<int> handles;
    selector.getSelectedHandles(handles);
    return handles;
}

py::list ranksOf(const SeShapeSelector &selector, const Vo::Vector<int> &indices, bool points) {
    Vo::Vector<int> ranks;
    ranks.reserve(indices.size());
    for (const int index : indices) {
        ranks.push_back(points ? selector.getPointSelectionRank(index)
                               : selector.getHandleSelectionRank(index));
    }
    return PyIndices::toList(ranks);
}

Vo::RCShdPtr<Vo::SnSelection> selectionOf(const Vo::Vector<RCShdPtr<Vo::SnItem const>> &items) {
    Vo::SnSelection::Items list(items.begin(), items.end());
    return Vo::SnSelection::create(list);
}

PySubscription subscribeList(const std::shared_ptr<PyEditor> &editor, PyEditor::LayerChoice layer,
                             py::object callable,
                             void (SeShapeSelector::*add)(Vo::CbHandler<Vo::CbEmptyType> *) const,
                             const char *list) {
    PyEditor *owner = editor.get();
    return PySubscription::subscribe<Vo::CbEmptyType>(
        editor, std::move(callable), {},
        [owner, layer, add](Vo::CbHandler<Vo::CbEmptyType> *handler) {
            (owner->getApplication(layer).getSelector().*add)(handler);
        },
        list);
}

} // namespace

void PySelector::setShapeParts(py::handle shape, py::handle points, py::handle handles) const {
    const std::size_t record = recordFrom(shape);
    const RCShdPtr<SeShape> model = editor->getRecord(record).model;
    const auto partsOf = [](py::handle given, const char *what) {
        return given.is_none() ? std::optional<Vo::Vector<int>>()
                               : std::optional<Vo::Vector<int>>(PyIndices::toVector(given, what));
    };
    const std::optional<Vo::Vector<int>> pointSet = partsOf(points, "set_shape_parts points");
    const std::optional<Vo::Vector<int>> handleSet = partsOf(handles, "set_shape_parts handles");
    if (editor->isAlive(record)) { // a gone shape changes nothing
        const VoExample::AppShapeInterface &live = editor->live(record);
        // The selector stores any index of a shape that is not selected alone, which would then
        // mirror nothing once it is.
        PyIndices::checkElements(pointSet ? *pointSet : Vo::Vector<int>(), live.getNbPoints(),
                                 "set_shape_parts points", "point", live.getName());
        PyIndices::checkElements(handleSet ? *handleSet : Vo::Vector<int>(), live.getNbHandles(),
                                 "set_shape_parts handles", "handle", live.getName());
    }
    changing().setShapeParts(model, pointSet ? &*pointSet : nullptr,
                             handleSet ? &*handleSet : nullptr);
}

void PySelector::bind(py::module_ &module) {
    using S = PySelector;
    py::class_<S> selector(
        module, "Selector",
        "The editor's shape selector. Shapes are given as voshape.Shape or by name; index lists "
        "as any iterable or buffer of integers. Changes reach the application's selection and "
        "the callbacks through the updater, by the library's rules.");

    // Queries.
    selector
        .def(
            "__len__", [](const S &s) { return s.selector().getNbSelectedShape(); },
            "Selected items (a shape listed twice counts twice).")
        .def(
            "__iter__", [](const S &s) { return py::iter(s.items()); },
            "The selection's items (SelectedItem), in order.")
        .def("__contains__", &S::contains,
             "Whether that shape of this selector's layer is selected; False for a shape of "
             "another layer or editor.")
        .def_property_readonly("items", &S::items,
                               "The selection's items in order (a batch's working selection "
                               "while one is open).")
        .def_property_readonly(
            "committed_items",
            [](const S &s) {
                return PySelectedItem::itemsOf(s.editor, *s.selector().getSelection());
            },
            "The selection object's items: inside a batch, the state at its start (getSelection).")
        .def_property_readonly("shapes", &S::shapes,
                               "The selected shapes in order; raises NullPointerError when one "
                               "was deleted (getSelectedShapes).")
        .def_property_readonly("primary", &S::primary, "The primary shape (alive or not), or None.")
        .def_property_readonly(
            "points", [](const S &s) { return PyIndices::toList(pointsOf(s.selector())); },
            "The primary shape's selected points, in selection order.")
        .def_property_readonly(
            "handles", [](const S &s) { return PyIndices::toList(handlesOf(s.selector())); },
            "The primary shape's selected handles, in selection order.")
        .def(
            "points_array", [](const S &s) { return PyIndices::toArray(pointsOf(s.selector())); },
            "The selected points as a NumPy int32 array (ImportError without NumPy).")
        .def(
            "handles_array", [](const S &s) { return PyIndices::toArray(handlesOf(s.selector())); },
            "The selected handles as a NumPy int32 array (ImportError without NumPy).")
        .def_property_readonly(
            "ordered_points",
            [](const S &s) {
                Vo::Set<int, std::less<int>> points;
                s.selector().getOrderedSelectedPoints(points);
                return PyIndices::toList(points);
            },
            "The primary shape's selected points, ascending.")
        .def_property_readonly(
            "ordered_handles",
            [](const S &s) {
                Vo::Set<int, std::less<int>> handles;
                s.selector().getOrderedSelectedHandles(handles);
                return PyIndices::toList(handles);
            },
            "The primary shape's selected handles, ascending.")
        .def(
            "point_rank",
            [](const S &s, int index) { return s.selector().getPointSelectionRank(index); },
            py::arg("index"), "1-based position in selection order; 0 when not selected.")
        .def(
            "handle_rank",
            [](const S &s, int index) { return s.selector().getHandleSelectionRank(index); },
            py::arg("index"),
            "1-based position of the handle in selection order; 0 when not selected.")
        .def(
            "point_ranks",
            [](const S &s, py::handle indices) {
                return ranksOf(s.selector(), PyIndices::toVector(indices, "point_ranks"), true);
            },
            py::arg("indices"), "point_rank of each index, as a list.")
        .def(
            "handle_ranks",
            [](const S &s, py::handle indices) {
                return ranksOf(s.selector(), PyIndices::toVector(indices, "handle_ranks"), false);
            },
            py::arg("indices"), "handle_rank of each index, as a list.")
        .def_property(
            "picking_type",
            [](const S &s) { return static_cast<int>(s.selector().getPickingType()); },
            [](S &s, int type) { s.selector().setPickingType(SeShapeSelector::PickingType{type}); },
            "Stored for the picking tool, never interpreted.")
        .def_property(
            "picking_index", [](const S &s) { return s.selector().getPickingIndex(); },
            [](S &s, int index) { s.selector().setPickingIndex(index); },
            "Stored for the picking tool, never interpreted.")
        .def_property(
            "picking_extremity", [](const S &s) { return s.selector().getPickingExtremity(); },
            [](S &s, int extremity) { s.selector().setPickingExtremity(extremity); },
            "Stored for the picking tool, never interpreted.")
        .def_property_readonly(
            "is_batch_open", [](const S &s) { return s.selector().isBatchOpen(); },
            "Whether a batch is open on the selector.")
        .def_property_readonly(
            "last_change",
            [](const S &s) { return PySelectionChange(s.editor, s.selector().getLastChange()); },
            "What the last change of the selection was (getLastChange).")
        .def_property_readonly(
            "revision", [](const S &s) { return s.selector().getSelection()->getRevision(); },
            "Changes with every change of the selection object.");

    // Shapes and the primary shape.
    selector
        .def(
            "select",
            [](S &s, py::handle shapes) { s.changing().setSelectedShapes(s.shapesFrom(shapes)); },
            py::arg("shapes"),
            "These shapes as wholes, in order (setSelectedShapes); deleted ones are left out.")
        .def(
            "set_primary",
            [](S &s, py::handle shape, int point) {
                s.changing().setPrimarySelectedShape(
                    shape.is_none() ? RCShdPtr<SeShape>() : s.shapeFrom(shape), point);
            },
            py::arg("shape"), py::arg("point") = -1,
            "This shape alone, with that point unless -1 (setPrimarySelectedShape); None or a "
            "deleted shape empties the selection.")
        .def(
            "select_all_shapes",
            [](S &s, py::object shapes) {
                if (shapes.is_none()) {
                    s.changing().selectAllShapes(
                        s.editor->getApplication(s.layer).getController().getLayer().getShapes());
                    return;
                }
                auto models = std::make_shared<std::vector<RCShdPtr<SeShape>>>();
                for (const RCShdPtr<SeShape> &shape : s.shapesFrom(shapes)) {
                    models->push_back(shape);
                }
                s.changing().selectAllShapes(
                    Vo::IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(std::move(models)));
            },
            py::arg("shapes") = py::none(),
            "Adds the given shapes (every shape of the selector's layer by default) that are not "
            "selected "
            "yet, after the selected ones (selectAllShapes).")
        .def(
            "add_shape",
            [](S &s, py::handle shape) { s.changing().addSelectedShape(s.shapeFrom(shape)); },
            py::arg("shape"), "Appends the shape as a whole unless selected (addSelectedShape).")
        .def(
            "unselect_shape",
            [](S &s, py::handle shape) { s.changing().unselectShape(s.shapeFrom(shape)); },
            py::arg("shape"), "Takes the shape out of the selection (unselectShape).")
        .def(
            "reset", [](S &s) { s.changing().resetSelection(); }, "Nothing selected.")
        .def(
            "remove_selected_shape", [](S &s, int id) { s.changing().removeSelectedShape(id); },
            py::arg("shape_id"), "What a removal event of that id does to the selection.");

    // Points and handles of the primary shape.
    selector
        .def(
            "set_shape_parts",
            [](S &s, py::handle shape, py::handle points, py::handle handles) {
                s.setShapeParts(shape, points, handles);
            },
            py::arg("shape"), py::arg("points") = py::none(), py::arg("handles") = py::none(),
            "The shape becomes selected with exactly these points and handles, in this order "
            "(setShapeParts); both None: the shape as a whole. One change.")
        .def(
            "select_point", [](S &s, int index) { s.changing().selectPoint(index); },
            py::arg("index"),
            "Makes the index the primary shape's only selected point; the handles stay.")
        .def(
            "select_points",
            [](S &s, py::handle indices) {
                s.changing().selectPoints(PyIndices::toVector(indices, "select_points"));
            },
            py::arg("indices"),
            "Makes these indices, in order, the primary shape's selected points; the handles stay.")
        .def(
            "select_all_points",
            [](S &s, std::optional<int> count) {
                s.changing().selectAllPoints(countOr(count, s.primaryCount(true)));
            },
            py::arg("count") = py::none(), "Count: the primary shape's points unless given.")
        .def(
            "select_next_point",
            [](S &s, std::optional<int> count) {
                s.changing().selectNextPoint(countOr(count, s.primaryCount(true)));
            },
            py::arg("count") = py::none(),
            "Selects alone the point after the first selected one, wrapping at count (the primary "
            "shape's points unless given); ValueError for a negative count.")
        .def(
            "select_previous_point",
            [](S &s, std::optional<int> count) {
                s.changing().selectPreviousPoint(countOr(count, s.primaryCount(true)));
            },
            py::arg("count") = py::none(),
            "Selects alone the point before the first selected one, wrapping at count; ValueError "
            "for a negative count.")
        .def(
            "unselect_points", [](S &s) { s.changing().unselectPoints(); },
            "Clears the selected points; the shape whole when no handle stays.")
        .def(
            "add_point", [](S &s, int index) { s.changing().addSelectedPoint(index); },
            py::arg("index"), "Appends the point to the selected ones unless selected.")
        .def(
            "unselect_point", [](S &s, int index) { s.changing().unselectPoint(index); },
            py::arg("index"),
            "Takes the point out of the selected ones; the shape whole when nothing stays.")
        .def(
            "select_handle", [](S &s, int index) { s.changing().selectHandle(index); },
            py::arg("index"),
            "Makes the index the primary shape's only selected handle; the points stay.")
        .def(
            "select_handles",
            [](S &s, py::handle indices) {
                s.changing().selectHandles(PyIndices::toVector(indices, "select_handles"));
            },
            py::arg("indices"),
            "Makes these indices, in order, the primary shape's selected handles; the points stay.")
        .def(
            "select_all_handles",
            [](S &s, std::optional<int> count) {
                s.changing().selectAllHandles(countOr(count, s.primaryCount(false)));
            },
            py::arg("count") = py::none(),
            "Adds handles 0 .. count - 1 (the primary shape's unless given) after the selected "
            "ones; ValueError for a negative count.")
        .def(
            "select_next_handle",
            [](S &s, std::optional<int> count) {
                s.changing().selectNextHandle(countOr(count, s.primaryCount(false)));
            },
            py::arg("count") = py::none(),
            "Selects alone the handle after the first selected one, wrapping at count; ValueError "
            "for a negative count.")
        .def(
            "select_previous_handle",
            [](S &s, std::optional<int> count) {
                s.changing().selectPreviousHandle(countOr(count, s.primaryCount(false)));
            },
            py::arg("count") = py::none(),
            "Selects alone the handle before the first selected one, wrapping at count; ValueError "
            "for a negative count.")
        .def(
            "unselect_handles", [](S &s) { s.changing().unselectHandles(); },
            "Clears the selected handles; the shape whole when no point stays.")
        .def(
            "add_handle", [](S &s, int index) { s.changing().addSelectedHandle(index); },
            py::arg("index"), "Appends the handle to the selected ones unless selected.")
        .def(
            "unselect_handle", [](S &s, int index) { s.changing().unselectHandle(index); },
            py::arg("index"),
            "Takes the handle out of the selected ones; the shape whole when nothing stays.");

    // Whole item lists, for keepers of earlier states.
    selector
        .def(
            "replace_all_items",
            [](S &s, py::handle items) {
                s.changing().replaceAllItems(
                    selectionOf(PySelectedItem::itemsFrom(*s.editor, items, s.layerIndex())));
            },
            py::arg("items"),
            "Takes these items unless equal (replaceAllItems): SelectedItem objects, shapes, "
            "names, or (shape, points, handles) tuples.")
        .def(
            "restore",
            [](S &s, py::handle items) {
                s.changing().restoreSelection(
                    selectionOf(PySelectedItem::itemsFrom(*s.editor, items, s.layerIndex())));
            },
            py::arg("items"),
            "Puts earlier items back (restoreSelection); its write is put back when an observer "
            "raises before any callback ran.")
        .def(
            "restore_range",
            [](S &s, int position, int count, py::handle items) {
                s.changing().restoreRange(
                    position, count, PySelectedItem::itemsFrom(*s.editor, items, s.layerIndex()));
            },
            py::arg("position"), py::arg("count"), py::arg("items"),
            "Puts items back in place of count items from position (restoreRange).");

    // Regions of the scene.
    selector
        .def("select_points_in", &S::selectPointsIn, py::arg("region"), py::arg("mode") = "replace",
             "select_points_in(region, mode='replace'): the primary shape's points that lie in "
             "the region, a rectangle (x0, y0, x1, y1) or a polygon of (x, y) vertices, become "
             "its selected points ('replace'), join them ('add') or leave them ('remove'; the "
             "shape whole when no point or handle stays), in one change; its handles stay.")
        .def("select_shapes_in", &S::selectShapesIn, py::arg("region"), py::arg("mode") = "replace",
             "select_shapes_in(region, mode='replace'): the live shapes of the selector's layer "
             "whose every point lies in the region become the selection as wholes ('replace'), "
             "join it after the selected ones ('add') or leave it ('remove'), in one change.");

    // Renumbering after the application changed a shape's points or handles in its graph.
    using Renumber = void (SeShapeSelector::*)(const Vo::RCWeakPtr<Vo::SeShapeInterface> &, int);
    const std::pair<const char *, Renumber> renumberings[] = {
        {"update_point_added", &SeShapeSelector::updateSelectionPointAdded},
        {"update_point_deleted", &SeShapeSelector::updateSelectionPointDeleted},
        {"update_handle_added", &SeShapeSelector::updateSelectionHandleAdded},
        {"update_handle_deleted", &SeShapeSelector::updateSelectionHandleDeleted}};
    for (const auto &[name, renumber] : renumberings) {
        selector.def(
            name,
            [renumber = renumber](S &s, py::handle shape, int index) {
                const std::size_t record = s.recordFrom(shape);
                (s.changing().*renumber)(s.editor->getRecord(record).weak, index);
            },
            py::arg("shape"), py::arg("index"),
            "Renumbers after the graph changed; Editor.insert_point and the others do both.");
    }

    // Callback lists.
    selector
        .def(
            "on_selection_changed",
            [](S &s, py::object callable) {
                return subscribeList(s.editor, s.layer, std::move(callable),
                                     &SeShapeSelector::addSelectionChangedCallback, "selection");
            },
            py::arg("handler"), "Calls handler() after each change (the selection list).")
        .def(
            "on_shape_selection_changed",
            [](S &s, py::object callable) {
                return subscribeList(s.editor, s.layer, std::move(callable),
                                     &SeShapeSelector::addShapeSelectionChangedCallback, "shapes");
            },
            py::arg("handler"),
            "Calls handler() after each change of the selected shapes (the shapes list).")
        .def(
            "on_primary_selection_changed",
            [](S &s, py::object callable) {
                return subscribeList(s.editor, s.layer, std::move(callable),
                                     &SeShapeSelector::addPrimarySelectionChangedCallback,
                                     "primary");
            },
            py::arg("handler"),
            "Calls handler() after each change of the primary shape (the primary list).")
        .def(
            "on_renumbering",
            [](S &s, py::object callable) {
                return PyRenumbering::subscribe(s.editor, s.layer, std::move(callable));
            },
            py::arg("handler"), "Calls handler(renumbering) before each renumbering.")
        .def("__repr__", [](const S &s) {
            std::string text = "<voshape.Selector";
            for (const py::handle item : s.items()) {
                text += " " + std::string(py::repr(item));
            }
            return text + ">";
        });
}

} // namespace VoPython
