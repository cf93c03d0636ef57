#include "PyEditorBinding.h"

#include "PyApplicationSelection.h"
#include "PyBatch.h"
#include "PyEditor.h"
#include "PyHistory.h"
#include "PyLayer.h"
#include "PySelector.h"
#include "PyShape.h"
#include "PyShapeEvent.h"
#include "PySnapshot.h"

#include "SessionDemo.h"
#include "SessionScene.h"

#include <pybind11/stl.h>

#include <cerrno>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace py = pybind11;

namespace VoPython {

namespace {

using Editor = std::shared_ptr<PyEditor>;

constexpr std::size_t defaultMaxShapes = VoSession::SessionScene::defaultMaxShapes;

Editor fromString(const std::string &text, const std::string &source, std::size_t maxShapes) {
    const Editor editor = std::make_shared<PyEditor>(maxShapes);
    std::istringstream in(text);
    editor->build(in, source);
    return editor;
}

// The file is read line by line by the scene's reader, so its bounds hold whatever the file is.
Editor fromFile(const py::object &path, std::size_t maxShapes) {
    const py::module_ os = py::module_::import("os");
    const std::string bytes = os.attr("fsencode")(path).cast<std::string>();
    const std::string shown = os.attr("fsdecode")(path).cast<std::string>();
    std::ifstream in(bytes, std::ios::binary);
    if (!in) {
        errno = errno != 0 ? errno : ENOENT;
        PyErr_SetFromErrnoWithFilenameObject(PyExc_OSError, py::str(shown).ptr());
        throw py::error_already_set();
    }
    const Editor editor = std::make_shared<PyEditor>(maxShapes);
    editor->build(in, shown);
    if (in.bad()) {
        errno = EIO;
        PyErr_SetFromErrnoWithFilenameObject(PyExc_OSError, py::str(shown).ptr());
        throw py::error_already_set();
    }
    return editor;
}

py::list shapesOf(const Editor &editor, const std::vector<std::size_t> &records) {
    py::list shapes;
    for (const std::size_t record : records) {
        shapes.append(PyShape::object(editor, record));
    }
    return shapes;
}

void edit(const Editor &editor, py::handle shape, bool points, bool inserting, int index) {
    editor->edit(PyShape::recordFrom(*editor, shape), points, inserting, index);
}

} // namespace

void PyEditorBinding::bind(py::module_ &module) {
    module.attr("DEMO_SCENE") = VoSession::SessionDemo::scene();

    py::class_<PyEditor, Editor> editor(
        module, "Editor",
        "The example application's shape editor: its scene (shapes in a layer on the tool node "
        "'Roto', which feeds the primary output 'Output'; the editor's own node 'ShapeEditor'), "
        "its selector, the application's selection that the updater keeps in step, the undo "
        "history, batches and shape events. As a context manager, its end removes every handler "
        "the program subscribed and abandons the batches still open.");
    editor.attr("MAX_COUNT") = PyEditor::maxCount;

    // Building.
    editor
        .def(py::init([](std::size_t maxShapes) { return std::make_shared<PyEditor>(maxShapes); }),
             py::kw_only(), py::arg("max_shapes") = defaultMaxShapes,
             "An editor without shapes. max_shapes bounds the shapes it may ever have, deleted "
             "ones included.")
        .def_static("from_string", &fromString, py::arg("text"), py::kw_only(),
                    py::arg("source") = "<string>", py::arg("max_shapes") = defaultMaxShapes,
                    "An editor with the shapes of a scene text, one `shape NAME POINTS [HANDLES] "
                    "[single]` a line; SceneError names the first bad line.")
        .def_static("from_file", &fromFile, py::arg("path"), py::kw_only(),
                    py::arg("max_shapes") = defaultMaxShapes,
                    "An editor with the shapes of a scene file; OSError when it cannot be read.")
        .def(
            "add_shape",
            [](const Editor &e, const std::string &name, int points, int handles, bool single) {
                return PyShape::object(e, e->addShape(name, points, handles, single));
            },
            py::arg("name"), py::arg("points"), py::arg("handles") = 0, py::kw_only(),
            py::arg("single") = false,
            "Builds a shape (a name a scene line could hold, counts from 0 to MAX_COUNT) and "
            "sends its ShapeAdded event. single: one plain 'Points' input for every point.");

    // Reading the scene.
    editor.def_property_readonly("nodes", &PyEditor::getNodeNames)
        .def_property_readonly(
            "layer", [](const Editor &e) { return PyLayer(e, e->getActiveLayer()); },
            "The active layer.")
        .def(
            "layer_named",
            [](const Editor &e, const std::string &name) {
                return PyLayer(e, e->layerNamed(name));
            },
            py::arg("name"),
            "The layer of that name, active or not (ValueError for an unknown name): its shapes, "
            "and its editor's selector and history.")
        .def_property_readonly("layers", &PyEditor::getLayerNames,
                               "The layers' names (their tool nodes'), in creation order: the "
                               "first, then one for each `layer NAME` line of the scene.")
        .def_property(
            "active_layer", [](const Editor &e) { return e->getLayerNames()[e->getActiveLayer()]; },
            [](const Editor &e, const std::string &name) { e->activateLayer(name); },
            "The name of the layer whose editor the selector, history, batches, new shapes and "
            "new subscriptions reach. Setting it writes that editor's selection into the "
            "application's selection (republish); InvalidCallError while a batch is open.")
        .def_property_readonly(
            "shapes", [](const Editor &e) { return shapesOf(e, e->getLiveRecords()); },
            "The live shapes, in creation order.")
        .def(
            "shape",
            [](const Editor &e, const std::string &name) {
                return PyShape::object(e, e->recordNamed(name));
            },
            py::arg("name"), "The shape of that name, also once deleted.")
        .def_property_readonly(
            "pending_removals",
            [](const Editor &e) { return shapesOf(e, e->getPendingRemovals()); },
            "Shapes deleted with send_event=False, whose removal event is held back.");

    // Editing: the graph changes first, then the library hears of it.
    editor
        .def(
            "delete_shape",
            [](const Editor &e, py::handle shape, bool sendEvent) {
                e->deleteShape(PyShape::recordFrom(*e, shape), sendEvent);
            },
            py::arg("shape"), py::kw_only(), py::arg("send_event") = true,
            "Deletes the shape's editing side, then sends its removal event (unless "
            "send_event=False: send_removal sends it later), then takes its graph object out of "
            "the tool node.")
        .def(
            "send_removal",
            [](const Editor &e, py::handle shape) {
                e->sendRemoval(PyShape::recordFrom(*e, shape));
            },
            py::arg("shape"))
        .def(
            "insert_point",
            [](const Editor &e, py::handle shape, int index) { edit(e, shape, true, true, index); },
            py::arg("shape"), py::arg("index"),
            "Inserts a point at index (0 to the count) in the graph, then renumbers the "
            "selection.")
        .def(
            "delete_point",
            [](const Editor &e, py::handle shape, int index) {
                edit(e, shape, true, false, index);
            },
            py::arg("shape"), py::arg("index"))
        .def(
            "insert_handle",
            [](const Editor &e, py::handle shape, int index) {
                edit(e, shape, false, true, index);
            },
            py::arg("shape"), py::arg("index"))
        .def(
            "delete_handle",
            [](const Editor &e, py::handle shape, int index) {
                edit(e, shape, false, false, index);
            },
            py::arg("shape"), py::arg("index"));

    // The library's side.
    editor.def_property_readonly("selector", [](const Editor &e) { return PySelector(e); })
        .def_property_readonly("application_selection",
                               [](const Editor &e) { return PyApplicationSelection(e); })
        .def_property_readonly("history", [](const Editor &e) { return PyHistory(e); })
        .def(
            "batch", [](const Editor &e) { return std::make_unique<PyBatch>(e); },
            "A new batch scope, opened by `with`.")
        .def_property_readonly("open_batches", &PyEditor::getNbOpenBatches)
        .def(
            "save_selection",
            [](const Editor &e) {
                return PySnapshot(Vo::SeSelectionSnapshot::capture(e->getSharedSelector()));
            },
            "The selector's whole selection as a SelectionSnapshot; InvalidCallError when a "
            "selected shape is deleted.")
        .def(
            "restore_selection",
            [](const Editor &e, py::handle snapshot, bool skip) {
                if (py::isinstance<py::str>(snapshot)) {
                    return PySnapshot::restore(
                        *e, Vo::SeSelectionSnapshot::fromText(snapshot.cast<std::string>()), skip);
                }
                return PySnapshot::restore(*e, snapshot.cast<const PySnapshot &>().get(), skip);
            },
            py::arg("snapshot"), py::kw_only(), py::arg("skip") = false,
            "Puts a SelectionSnapshot (or its text) back as one change and one history step. An "
            "entry that no longer resolves raises InvalidCallError naming it, with nothing "
            "changed; skip=True leaves such entries out and gives their descriptions.")
        .def(
            "republish", [](const Editor &e) { e->getApplication().activate(); },
            "Writes the editor's selection into the application's selection now, as an "
            "application does when this editor becomes the active one.")
        .def_property_readonly(
            "published", [](const Editor &e) { return e->getApplication().isPublished(); },
            "Whether the application's selection shows this editor's selection.")
        .def(
            "undo", [](const Editor &e) { return e->travel(true); }, "history.undo()")
        .def(
            "redo", [](const Editor &e) { return e->travel(false); }, "history.redo()")
        .def(
            "on_shape_event",
            [](const Editor &e, PyShapeEvent::Kind kind, py::object handler) {
                return PyShapeEvent::subscribe(e, kind, std::move(handler));
            },
            py::arg("kind"), py::arg("handler"),
            "Calls handler(event) for each shape event of that kind (ShapeEvent.Kind).")
        .def(
            "send_shape_event",
            [](const Editor &e, PyShapeEvent::Kind kind, py::handle shape) {
                PyShapeEvent::send(*e, kind, PyShape::recordFrom(*e, shape));
            },
            py::arg("kind"), py::arg("shape"),
            "Sends a MOVED or RENAMED event for a live shape, as the application does when it "
            "moves or renames one.")
        .def("close", &PyEditor::close,
             "Removes every handler the program subscribed and abandons the open batches; the "
             "editor stays usable.")
        .def("__enter__", [](py::object self) { return self; })
        .def("__exit__",
             [](const Editor &e, const py::args &) {
                 e->close();
                 return false;
             })
        .def("__repr__", [](const Editor &e) {
            return "<voshape.Editor " + std::to_string(e->getLayer().getNbShapes()) + " shapes, " +
                   std::to_string(e->getSelector().getNbSelectedShape()) + " selected>";
        });
}

} // namespace VoPython
