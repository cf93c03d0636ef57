#include "PyHistory.h"

#include "SeSelectionHistory.h"

#include <string>

namespace py = pybind11;

namespace VoPython {

void PyHistory::bind(py::module_ &module) {
    using H = PyHistory;
    py::class_<H>(module, "History",
                  "The undo history of the editor's selection: each net change is a step, "
                  "whatever made it. undo() and redo() restore through the library's commit rule, "
                  "so the application's selection and the callbacks follow; they raise "
                  "InvalidCallError while a batch is open.")
        .def(
            "undo", [](H &h) { return h.editor->travel(true, h.layer); },
            "Restores the state before the last step; False when there is none to restore.")
        .def("redo", [](H &h) { return h.editor->travel(false, h.layer); })
        .def_property_readonly("undo_count",
                               [](const H &h) { return h.history().getNbUndoSteps(); })
        .def_property_readonly("redo_count",
                               [](const H &h) { return h.history().getNbRedoSteps(); })
        .def_property(
            "depth", [](const H &h) { return h.history().getDepth(); },
            [](H &h, int depth) { h.history().setDepth(depth); },
            "The most steps kept (100 unless set); a negative depth raises InvalidCallError.")
        .def_property_readonly(
            "stored_items", [](const H &h) { return h.history().getNbStoredItems(); },
            "Items the steps hold, old and new.")
        .def_property_readonly("attached", [](const H &h) { return h.history().isAttached(); })
        .def(
            "clear", [](H &h) { h.history().clear(); },
            "Forgets every step; the current selection is the starting state.")
        .def(
            "detach", [](H &h) { h.history().detach(); }, "Stops recording and forgets every step.")
        .def(
            "attach",
            [](H &h) {
                h.history().attach(h.editor->getApplication(h.layer).getSharedSelector());
            },
            "Records again, from the current selection.")
        .def("__repr__", [](const H &h) {
            return "<voshape.History " + std::to_string(h.history().getNbUndoSteps()) +
                   " to undo, " + std::to_string(h.history().getNbRedoSteps()) + " to redo>";
        });
}

} // namespace VoPython
