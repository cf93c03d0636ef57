#include "PySelector.h"

#include "PyIndices.h"
#include "PyRenumbering.h"
#include "PySelectedItem.h"
#include "PySelectionChange.h"
#include "PyShape.h"
#include "PySubscription.h"

#include "SeShapeSelector.h"

#include "base/CbEmptyType.h"
#include "foundation/Iterator.h"
#include "foundation/Set.h"
#include "host/IteratorImpVector.h"
#include "host/SnSelection.h"

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

Vo::RCShdPtr<SeShape> PySelector::shapeFrom(py::handle given) const {
    return editor->getRecord(PyShape::recordFrom(*editor, given)).model;
}

Vo::Vector<RCShdPtr<SeShape>> PySelector::shapesFrom(py::handle given) const {
    Vo::Vector<RCShdPtr<SeShape>> shapes;
    for (const py::handle element : py::iter(given)) {
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

// The count a whole-shape operation works on: the given one, or the primary shape's.
int countOr(const std::optional<int> &count, int primary) { return count ? *count : primary; }

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
    const RCShdPtr<SeShape> model = shapeFrom(shape);
    const auto partsOf = [](py::handle given, const char *what) {
        return given.is_none() ? std::optional<Vo::Vector<int>>()
                               : std::optional<Vo::Vector<int>>(PyIndices::toVector(given, what));
    };
    const std::optional<Vo::Vector<int>> pointSet = partsOf(points, "set_shape_parts points");
    const std::optional<Vo::Vector<int>> handleSet = partsOf(handles, "set_shape_parts handles");
    selector().setShapeParts(model, pointSet ? &*pointSet : nullptr,
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
        .def("__iter__", [](const S &s) { return py::iter(s.items()); })
        .def("__contains__",
             [](const S &s, py::handle shape) {
                 return s.selector().isShapeSelected(s.shapeFrom(shape));
             })
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
            "handles", [](const S &s) { return PyIndices::toList(handlesOf(s.selector())); })
        .def(
            "points_array", [](const S &s) { return PyIndices::toArray(pointsOf(s.selector())); },
            "The selected points as a NumPy int32 array (ImportError without NumPy).")
        .def("handles_array",
             [](const S &s) { return PyIndices::toArray(handlesOf(s.selector())); })
        .def_property_readonly("ordered_points",
                               [](const S &s) {
                                   Vo::Set<int, std::less<int>> points;
                                   s.selector().getOrderedSelectedPoints(points);
                                   return PyIndices::toList(points);
                               })
        .def_property_readonly("ordered_handles",
                               [](const S &s) {
                                   Vo::Set<int, std::less<int>> handles;
                                   s.selector().getOrderedSelectedHandles(handles);
                                   return PyIndices::toList(handles);
                               })
        .def(
            "point_rank",
            [](const S &s, int index) { return s.selector().getPointSelectionRank(index); },
            py::arg("index"), "1-based position in selection order; 0 when not selected.")
        .def(
            "handle_rank",
            [](const S &s, int index) { return s.selector().getHandleSelectionRank(index); },
            py::arg("index"))
        .def(
            "point_ranks",
            [](const S &s, py::handle indices) {
                return ranksOf(s.selector(), PyIndices::toVector(indices, "point_ranks"), true);
            },
            py::arg("indices"))
        .def(
            "handle_ranks",
            [](const S &s, py::handle indices) {
                return ranksOf(s.selector(), PyIndices::toVector(indices, "handle_ranks"), false);
            },
            py::arg("indices"))
        .def_property(
            "picking_type",
            [](const S &s) { return static_cast<int>(s.selector().getPickingType()); },
            [](S &s, int type) { s.selector().setPickingType(SeShapeSelector::PickingType{type}); },
            "Stored for the picking tool, never interpreted.")
        .def_property(
            "picking_index", [](const S &s) { return s.selector().getPickingIndex(); },
            [](S &s, int index) { s.selector().setPickingIndex(index); })
        .def_property(
            "picking_extremity", [](const S &s) { return s.selector().getPickingExtremity(); },
            [](S &s, int extremity) { s.selector().setPickingExtremity(extremity); })
        .def_property_readonly("is_batch_open",
                               [](const S &s) { return s.selector().isBatchOpen(); })
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
            [](S &s, py::handle shapes) { s.selector().setSelectedShapes(s.shapesFrom(shapes)); },
            py::arg("shapes"),
            "These shapes as wholes, in order (setSelectedShapes); deleted ones are left out.")
        .def(
            "set_primary",
            [](S &s, py::handle shape, int point) {
                s.selector().setPrimarySelectedShape(
                    shape.is_none() ? RCShdPtr<SeShape>() : s.shapeFrom(shape), point);
            },
            py::arg("shape"), py::arg("point") = -1,
            "This shape alone, with that point unless -1 (setPrimarySelectedShape); None or a "
            "deleted shape empties the selection.")
        .def(
            "select_all_shapes",
            [](S &s, py::object shapes) {
                if (shapes.is_none()) {
                    s.selector().selectAllShapes(
                        s.editor->getApplication(s.layer).getController().getLayer().getShapes());
                    return;
                }
                auto models = std::make_shared<std::vector<RCShdPtr<SeShape>>>();
                for (const RCShdPtr<SeShape> &shape : s.shapesFrom(shapes)) {
                    models->push_back(shape);
                }
                s.selector().selectAllShapes(
                    Vo::IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(std::move(models)));
            },
            py::arg("shapes") = py::none(),
            "Adds the given shapes (every shape of the selector's layer by default) that are not selected "
            "yet, after the selected ones (selectAllShapes).")
        .def(
            "add_shape",
            [](S &s, py::handle shape) { s.selector().addSelectedShape(s.shapeFrom(shape)); },
            py::arg("shape"))
        .def(
            "unselect_shape",
            [](S &s, py::handle shape) { s.selector().unselectShape(s.shapeFrom(shape)); },
            py::arg("shape"))
        .def(
            "reset", [](S &s) { s.selector().resetSelection(); }, "Nothing selected.")
        .def(
            "remove_selected_shape", [](S &s, int id) { s.selector().removeSelectedShape(id); },
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
            "select_point", [](S &s, int index) { s.selector().selectPoint(index); },
            py::arg("index"))
        .def(
            "select_points",
            [](S &s, py::handle indices) {
                s.selector().selectPoints(PyIndices::toVector(indices, "select_points"));
            },
            py::arg("indices"))
        .def(
            "select_all_points",
            [](S &s, std::optional<int> count) {
                s.selector().selectAllPoints(countOr(count, s.primaryCount(true)));
            },
            py::arg("count") = py::none(), "Count: the primary shape's points unless given.")
        .def(
            "select_next_point",
            [](S &s, std::optional<int> count) {
                s.selector().selectNextPoint(countOr(count, s.primaryCount(true)));
            },
            py::arg("count") = py::none())
        .def(
            "select_previous_point",
            [](S &s, std::optional<int> count) {
                s.selector().selectPreviousPoint(countOr(count, s.primaryCount(true)));
            },
            py::arg("count") = py::none())
        .def("unselect_points", [](S &s) { s.selector().unselectPoints(); })
        .def(
            "add_point", [](S &s, int index) { s.selector().addSelectedPoint(index); },
            py::arg("index"))
        .def(
            "unselect_point", [](S &s, int index) { s.selector().unselectPoint(index); },
            py::arg("index"))
        .def(
            "select_handle", [](S &s, int index) { s.selector().selectHandle(index); },
            py::arg("index"))
        .def(
            "select_handles",
            [](S &s, py::handle indices) {
                s.selector().selectHandles(PyIndices::toVector(indices, "select_handles"));
            },
            py::arg("indices"))
        .def(
            "select_all_handles",
            [](S &s, std::optional<int> count) {
                s.selector().selectAllHandles(countOr(count, s.primaryCount(false)));
            },
            py::arg("count") = py::none())
        .def(
            "select_next_handle",
            [](S &s, std::optional<int> count) {
                s.selector().selectNextHandle(countOr(count, s.primaryCount(false)));
            },
            py::arg("count") = py::none())
        .def(
            "select_previous_handle",
            [](S &s, std::optional<int> count) {
                s.selector().selectPreviousHandle(countOr(count, s.primaryCount(false)));
            },
            py::arg("count") = py::none())
        .def("unselect_handles", [](S &s) { s.selector().unselectHandles(); })
        .def(
            "add_handle", [](S &s, int index) { s.selector().addSelectedHandle(index); },
            py::arg("index"))
        .def(
            "unselect_handle", [](S &s, int index) { s.selector().unselectHandle(index); },
            py::arg("index"));

    // Whole item lists, for keepers of earlier states.
    selector
        .def(
            "replace_all_items",
            [](S &s, py::handle items) {
                s.selector().replaceAllItems(
                    selectionOf(PySelectedItem::itemsFrom(*s.editor, items)));
            },
            py::arg("items"),
            "Takes these items unless equal (replaceAllItems): SelectedItem objects, shapes, "
            "names, or (shape, points, handles) tuples.")
        .def(
            "restore",
            [](S &s, py::handle items) {
                s.selector().restoreSelection(
                    selectionOf(PySelectedItem::itemsFrom(*s.editor, items)));
            },
            py::arg("items"),
            "Puts earlier items back (restoreSelection); its write is put back when an observer "
            "raises before any callback ran.")
        .def(
            "restore_range",
            [](S &s, int position, int count, py::handle items) {
                s.selector().restoreRange(position, count,
                                          PySelectedItem::itemsFrom(*s.editor, items));
            },
            py::arg("position"), py::arg("count"), py::arg("items"));

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
                const std::size_t record = PyShape::recordFrom(*s.editor, shape);
                (s.selector().*renumber)(s.editor->getRecord(record).weak, index);
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
            py::arg("handler"))
        .def(
            "on_primary_selection_changed",
            [](S &s, py::object callable) {
                return subscribeList(s.editor, s.layer, std::move(callable),
                                     &SeShapeSelector::addPrimarySelectionChangedCallback,
                                     "primary");
            },
            py::arg("handler"))
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
